// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "regole/Estrazione.h"

#include <QMainWindow>
#include <QPointer>
#include <QScopeGuard>

#include <array>
#include <functional>
#include <memory>

namespace Ui
{
class TFrmMain;
}

class QLineEdit;
class TFrmAbout;
namespace ModuloSuRichiesta
{
struct Funzioni;
}

// The main window: six number fields, the play, print and settings buttons, the hidden play log and
// the menu. Closing it ends the program. The menu "Giocate" gives the three buttons' actions to the
// keyboard, each through its button's own click, and copies or saves the session's plays.
class TFrmMain : public QMainWindow
{
    Q_OBJECT
public:
    // When the controls are built: with the window, or later, when CreaControlli is called (the
    // start-up does so once the splash is on screen) and at the latest just before the window is first
    // shown. Until then the window has no controls at all.
    enum class Controlli { Subito, Differiti };

    explicit TFrmMain(QWidget *genitore = nullptr, Controlli quando = Controlli::Subito);
    ~TFrmMain() override;

    // Builds the controls, lays the window out and centres it; once only.
    void CreaControlli();

    // The six number fields in field order.
    std::array<QLineEdit *, 6> CampiNumero() const;
    Estrazione::Combinazione Combinazione() const;

    // The session's plays as the log holds them, oldest first; none before the first play.
    QStringList Giocate() const;
    // The session's plays as the summary prints them, one line each, every line ended by a line feed.
    QString TestoGiocate() const;

    // The About window, made at start-up after this one and shown again at each "About".
    void ImpostaAbout(TFrmAbout *about);

    void setVisible(bool visibile) override;

protected:
    void closeEvent(QCloseEvent *evento) override;
    bool eventFilter(QObject *oggetto, QEvent *evento) override;

private:
    void BTSgiocaClick();
    void BTSstampaClick();
    void BTSimpClick();
    void Help1Click();
    void About1Click();
    void SegnalBug1Click();
    void Controllaversione1Click();
    void CopiaGiocate1Click();
    void SalvaGiocate1Click();
    void GiocaPiuVolte1Click();
    void MostraGiocate1Click();
    void VerificaVincite1Click();

    // Gives the main window the keyboard back when the returned guard goes out of scope.
    QScopeGuard<std::function<void()>> RiprendiTastieraAllaFine();
    // The first-play rule: the first play enables printing and what else needs a play, and empties
    // the log of its placeholder.
    void PrimaGiocata();
    void EstraiCombinazione();
    // One draw, shown in the fields and recorded; none of `diverseDa` is drawn again. Returns the play.
    Estrazione::Combinazione GiocaUna(const QList<Estrazione::Combinazione> &diverseDa);
    void AggiungiZeriIniziali();
    bool VerificaEMemorizza();
    void StampaTutteLeGiocate();
    void StampaGiocataCorrente();
    // The module's functions for `servizio` (the update check, printing), loaded on the first request;
    // where the module cannot be loaded, an error that names the service and says why.
    static const ModuloSuRichiesta::Funzioni &Modulo(const QString &servizio);

    bool m_controlliCreati = false;
    QPointer<TFrmAbout> m_about;
    // The window of the session's plays, while it is open.
    QPointer<QWidget> m_giocate;

    const std::unique_ptr<Ui::TFrmMain> m_ui;
};
