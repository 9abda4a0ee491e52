// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>

// The contrast arithmetic of the windows' colours: plain values in and out (Colori.h applies it to
// controls).
namespace Contrasto
{

// The contrast ratio of two colours, from 1 (equal) to 21 (black on white), by their relative
// luminance in sRGB.
double Rapporto(const QColor &a, const QColor &b);

// The least contrast a text keeps with what stands behind it.
inline constexpr double Minimo = 4.5;

// The light window colour that the fixed text colours were chosen against.
inline constexpr QColor SfondoChiaro{0xf0, 0xf0, 0xf0};

// The colour nearest to testo, in the same hue, that reaches the least contrast against sfondo:
// darker on a light background, lighter on a dark one. A colour that already reaches it is returned
// unchanged.
QColor Leggibile(const QColor &testo, const QColor &sfondo);

} // namespace Contrasto
