// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui_TfrmBug.h"

#include <QDialog>

// The bug-report window: starts a prefilled mail to the support mailbox and points to the forum on
// the site. Created anew at each "Segnala Bug", with its texts translated while it is created.
class TfrmBug : public QDialog, public Ui::TfrmBug
{
    Q_OBJECT
public:
    explicit TfrmBug(QWidget *genitore = nullptr);

    void FormCreate();
    void ButSegnalaClick();
    void ButEsciClick();
    void lblLinkClick();

private:
    void TraduciInterfaccia();
};
