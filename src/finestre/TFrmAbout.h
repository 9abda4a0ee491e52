// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>

#include <memory>

namespace Ui
{
class TFrmAbout;
}

// The About window: what the program is, its version, the site link and the information request by
// mail. Created once at start-up and shown again at each "About". Its labels LabelPrg and LabelVers
// show the program's key and version label (Identita.h).
class TFrmAbout : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmAbout(QWidget *genitore = nullptr);
    ~TFrmAbout() override;

protected:
    void resizeEvent(QResizeEvent *evento) override;

private:
    void sbEsciClick();
    void lblLinkClick();
    void Label13Click();

    const std::unique_ptr<Ui::TFrmAbout> m_ui;
};
