// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "regole/Contrasto.h"

#include <algorithm>
#include <cmath>

namespace Contrasto
{

namespace
{

double Luminanza(const QColor &colore)
{
    const auto lineare = [](double v) {
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colore.toRgb();
    return 0.2126 * lineare(rgb.redF()) + 0.7152 * lineare(rgb.greenF()) + 0.0722 * lineare(rgb.blueF());
}

} // namespace

double Rapporto(const QColor &a, const QColor &b)
{
    const double la = Luminanza(a);
    const double lb = Luminanza(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor Leggibile(const QColor &testo, const QColor &sfondo)
{
    const QColor rgb = testo.toRgb();
    // Darkening scales the three channels alike, lightening moves them alike towards white: either
    // way the hue stays. Black and white are the ends of the two roads.
    const bool scurisci = Rapporto(sfondo, Qt::black) >= Rapporto(sfondo, Qt::white);
    for (int passo = 0; passo <= 100; ++passo) {
        const double t = passo / 100.0;
        const auto canale = [&](int c) {
            return scurisci ? qRound(c * (1.0 - t)) : qRound(c + (255 - c) * t);
        };
        const QColor prova(canale(rgb.red()), canale(rgb.green()), canale(rgb.blue()), rgb.alpha());
        if (Rapporto(prova, sfondo) >= Minimo)
            return prova;
    }
    return scurisci ? QColor(Qt::black) : QColor(Qt::white);
}

} // namespace Contrasto
