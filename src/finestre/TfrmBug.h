// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>

#include <memory>

namespace Ui
{
class TfrmBug;
}

// The bug-report window: starts a prefilled mail to the support mailbox and points to the forum on
// the site. Created anew at each "Segnala Bug", with its texts translated while it is created.
class TfrmBug : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmBug(QWidget *genitore = nullptr);
    ~TfrmBug() override;

private:
    void FormCreate();
    void ButSegnalaClick();
    void ButEsciClick();
    void lblLinkClick();

    void TraduciInterfaccia();

    const std::unique_ptr<Ui::TfrmBug> m_ui;
};
