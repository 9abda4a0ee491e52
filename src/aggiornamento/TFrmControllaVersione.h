// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "regole/Scansione.h"
#include "ui_TFrmControllaVersione.h"

#include <QByteArray>
#include <QDialog>
#include <QList>
#include <QString>

class QEventLoop;

// The update-check window: asks the maker's site for the latest published build, compares it with this
// program's own and, when a newer one is there, downloads its setup file. Created anew at each
// "Aggiorna versione", shown modally and destroyed by the main window when it closes.
//
// The page arrives while a click handler waits for it, processing events in the meantime: a check runs
// nested inside the window's modal loop. A close request during that wait stops the page's loading and
// ends the wait first; the window closes only once the check has left the stack, so it can never be
// destroyed under a running handler.
class TFrmControllaVersione : public QDialog, public Ui::TFrmControllaVersione
{
    Q_OBJECT
public:
    // The program's short code: its setup file on the site is named after it.
    static inline const QString CodiceBreve = QStringLiteral("DRAVOL");

    explicit TFrmControllaVersione(QWidget *genitore = nullptr);
    ~TFrmControllaVersione() override;

    // The site the check and the download address point at: the build's site address unless set
    // otherwise (tests and the loopback build point it at a server on this machine). An empty text
    // restores the build's address. Windows created afterwards use it.
    static void ImpostaIndirizzoSito(const QString &indirizzo);
    static QString IndirizzoSito();

    void FormCreate();
    void FormActivate();
    void FormDestroy();
    void sbControllaClick();
    void sbScaricaClick();
    void sbEsciClick();
    void WebBrowser1DocumentComplete();

    // What the window has gathered, for whoever needs to look: the body markup of every completed
    // document, the check address and whether a check is waiting for its page.
    const QList<QByteArray> &PagineCaricate() const { return ListaPagine; }
    const QString &IndirizzoControllo() const { return URLControllo; }
    bool InAttesa() const { return m_attesa != nullptr; }

    void done(int esito) override;

private:
    void ApriIndirizzo(const QString &indirizzo);
    void TraduciInterfaccia();
    void WebBrowser1NavigazioneFallita();
    void WebBrowser1ScaricamentoTerminato();
    // Ends the wait of a running check, if any.
    void fineAttesa();

    QList<QByteArray> ListaPagine;
    QByteArray TestoVersione;
    QString URLControllo;
    QString ChiaveProgramma;
    // The version criterion, from the criterion table.
    Scansione::Criterio CriterioVersione;
    qint32 VersioneAttuale = 0;
    // Set when the page of a check failed to load (refused, error status, time limit...) or its
    // loading was given up for a download: the wait ends without a page.
    bool ErroreNavigazione = false;
    bool PaginaCompleta = false;

    // The wait of a check for its page, while it runs.
    QEventLoop *m_attesa = nullptr;
    // The browser's navigation is the download's: whatever answers it, a page included, ends it.
    bool m_scaricamento = false;
    // The window was asked to close while a check waited; it closes once the check has unwound.
    bool m_chiusuraRichiesta = false;
    int m_esitoRichiesto = QDialog::Rejected;
    // A check has put its result in the large label, which no failed check clears afterwards.
    bool m_esitoMostrato = false;
};
