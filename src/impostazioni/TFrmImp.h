// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QChar>
#include <QDialog>
#include <QString>

#include <memory>

namespace Ui
{
class TFrmImp;
}

// The settings window: one number, from 1 to 90, played fixed in the first field, kept in the
// fixed-number file (next to the executable, or in the user's configuration folder when the program's
// folder cannot be written: NumeroFisso::Percorso). Ticking the box and confirming writes the file; unticking
// and confirming deletes it. Created anew at each use and shown modally by the main window.
class TFrmImp : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmImp(QWidget *genitore = nullptr);
    ~TFrmImp() override;

protected:
    bool eventFilter(QObject *oggetto, QEvent *evento) override;
    void keyPressEvent(QKeyEvent *evento) override;

private:
    void FormActivate();
    void Check1Click();
    void EDTnumFISKeyPress(QChar &Key);
    void BTMsalvaClick();
    void BTMannullaClick();

    const std::unique_ptr<Ui::TFrmImp> m_ui;
};
