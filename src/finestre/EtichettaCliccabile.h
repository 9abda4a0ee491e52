// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLabel>

// A label or picture that answers a click: the site and mail links and the splash logo. The click
// counts when the left button is released over the label, as with a button. Screen readers meet it
// as a link whose "press" action does what a click does; like any label it never takes the keyboard
// focus, so the windows' tab orders stay as they are.
class EtichettaCliccabile : public QLabel
{
    Q_OBJECT
public:
    explicit EtichettaCliccabile(QWidget *genitore = nullptr);

    // What a click does, for those who cannot click.
    void Premi();

signals:
    void Cliccata();

protected:
    void mousePressEvent(QMouseEvent *evento) override;
    void mouseReleaseEvent(QMouseEvent *evento) override;

private:
    bool m_premuta = false;
};
