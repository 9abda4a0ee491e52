// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "aggiornamento/ControlloVersione.h"

#include <QDialog>

#include <memory>

namespace Ui
{
class TFrmControllaVersione;
}

class QEventLoop;

// The update-check window: shows what its check (ControlloVersione) finds of the latest published
// build, and offers its download. Created anew at each "Aggiorna versione", shown modally and destroyed
// by the main window when it closes.
//
// "Controlla" waits for the check's end in its click handler, processing events in the meantime: the
// wait runs nested inside the window's modal loop. A close request during that wait stops the check and
// ends the wait first; the window closes only once the handler has left the stack, so it can never be
// destroyed under a running handler.
class TFrmControllaVersione : public QDialog
{
    Q_OBJECT
public:
    // The keys of the buttons that take no focus (sbEsci's is Escape).
    static constexpr const char *TastoControlla = "Alt+C";
    static constexpr const char *TastoScarica = "Alt+S";

    explicit TFrmControllaVersione(QWidget *genitore = nullptr);
    ~TFrmControllaVersione() override;

    ControlloVersione &Controllo() { return m_controllo; }
    // Whether "Controlla" waits for its check.
    bool InAttesa() const { return m_attesa != nullptr; }

    void done(int esito) override;

private:
    void FormCreate();
    void FormActivate();
    void FormDestroy();
    void sbControllaClick();
    void sbScaricaClick();
    void sbEsciClick();

    void TraduciInterfaccia();
    void MostraEsito(qint32 pubblicata, bool nuova);
    void MostraFallimento();
    void MostraScaricamentoFallito();
    // Ends the wait of "Controlla", if any.
    void fineAttesa();

    ControlloVersione m_controllo;
    // The wait of "Controlla" for its check, while it runs.
    QEventLoop *m_attesa = nullptr;
    // The window was asked to close during the wait; it closes once the handler has unwound.
    bool m_chiusuraRichiesta = false;
    int m_esitoRichiesto = QDialog::Rejected;
    // A check has put its result in the large label, which no failed check clears afterwards.
    bool m_esitoMostrato = false;

    const std::unique_ptr<Ui::TFrmControllaVersione> m_ui;
};
