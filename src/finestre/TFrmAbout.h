// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui_TFrmAbout.h"

#include <QDialog>

// The About window: what the program is, its version, the site link and the information request by
// mail. Created once at start-up and shown again at each "About". Its labels LabelPrg and LabelVers
// show the program's key and version label (Identita.h).
class TFrmAbout : public QDialog, public Ui::TFrmAbout
{
    Q_OBJECT
public:
    explicit TFrmAbout(QWidget *genitore = nullptr);

    void sbEsciClick();
    void lblLinkClick();
    void Label13Click();

protected:
    void resizeEvent(QResizeEvent *evento) override;
};
