// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui_TFrmImp.h"

#include <QChar>
#include <QDialog>
#include <QString>

// The settings window: one number, from 1 to 90, played fixed in the first field, kept in the
// fixed-number file (next to the executable, or in the user's configuration folder when the program's
// folder cannot be written: NumeroFisso::Percorso). Ticking the box and confirming writes the file; unticking
// and confirming deletes it. Created anew at each use and shown modally by the main window.
class TFrmImp : public QDialog, public Ui::TFrmImp
{
    Q_OBJECT
public:
    explicit TFrmImp(QWidget *genitore = nullptr);

    void FormActivate();
    void Check1Click();
    void EDTnumFISKeyPress(QChar &Key);
    void BTMsalvaClick();
    void BTMannullaClick();

protected:
    bool eventFilter(QObject *oggetto, QEvent *evento) override;
    void keyPressEvent(QKeyEvent *evento) override;
};
