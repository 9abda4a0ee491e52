// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QProxyStyle>

class QPushButton;

// The desktop's own style, with two differences. The arrow of a menu bar too narrow for its menus is
// read from its picture only when it is first drawn: the style's own reader, asked for it when the menu
// bar is made, would load every image-format plugin on the way. And the speed buttons of the window
// designs are drawn as such.
class Stile : public QProxyStyle
{
public:
    // Takes over BASE, the style the application would use without it.
    explicit Stile(QStyle *base);

    // A button drawn as the window's speed buttons are: its icon and a white caption (grey while it is
    // disabled) over what lies behind it, a raised edge under the mouse and a sunken one while pressed.
    static void PulsantePiatto(QPushButton *pulsante);

    void drawControl(ControlElement elemento, const QStyleOption *opzione, QPainter *pittore,
                     const QWidget *controllo = nullptr) const override;

    QIcon standardIcon(StandardPixmap quale, const QStyleOption *opzione = nullptr,
                       const QWidget *controllo = nullptr) const override;
};
