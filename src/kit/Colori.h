// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "regole/Contrasto.h"

#include <QColor>

class QWidget;

// The colours of the windows under any desktop palette, light or dark. Where a window uses the
// desktop's colours it follows the palette; where it fixes a colour of its own, that colour stays,
// and a text in a fixed colour always stands on a background it can be read against: the one around
// it when that is enough, otherwise the light window colour its colour was chosen for. A control
// given a role here keeps it when the palette changes while it lives.
namespace Colori
{

inline constexpr QColor Blu{0x00, 0x00, 0xff};
inline constexpr QColor Verde{0x00, 0x80, 0x00};
inline constexpr QColor Rosso{0xff, 0x00, 0x00};
inline constexpr QColor Argento{0xc0, 0xc0, 0xc0};

// A panel painted in a colour of its own in every palette.
void SfondoFisso(QWidget *pannello, const QColor &colore);

// A panel painted in the desktop's window colour, also when it stands inside a coloured panel.
void SfondoDiSistema(QWidget *pannello);

// A text in a colour of its own (see above). A label is given it once its text is in place: an empty
// label gets no background.
void TestoFisso(QWidget *controllo, const QColor &colore);

// A text in the desktop's text colour again, on what stands behind it.
void TestoDiSistema(QWidget *controllo);

} // namespace Colori
