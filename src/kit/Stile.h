// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QProxyStyle>

// The desktop's own style, with one difference: the arrow of a menu bar too narrow for its menus is
// read from its picture only when it is first drawn. The style's own reader, asked for it when the
// menu bar is made, would load every image-format plugin on the way.
class Stile : public QProxyStyle
{
public:
    // Takes over BASE, the style the application would use without it.
    explicit Stile(QStyle *base);

    QIcon standardIcon(StandardPixmap quale, const QStyleOption *opzione = nullptr,
                       const QWidget *controllo = nullptr) const override;
};
