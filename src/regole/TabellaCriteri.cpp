// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "regole/TabellaCriteri.h"

namespace ControllaVersione
{

namespace
{

// The version criterion: the build number after the first hyphen that follows "Versione", up to the
// next "<".
RigaCriterio Riga(const char *chiave)
{
    Scansione::Criterio criterio;
    criterio.Ancora = "Versione";
    criterio.Separatore = "-";
    criterio.Apertura = "-";
    criterio.Chiusura = "<";
    return {chiave, criterio};
}

} // namespace

const QList<RigaCriterio> &TabellaCriteri()
{
    static const QList<RigaCriterio> tabella{
        Riga("kelmo_totovolo"),   Riga("kelmo_superdrav"), Riga("kelmo_ambovolo"), Riga("kelmo_dravolo"),
        Riga("kelmo_cinquina"),   Riga("kelmo_totogol"),   Riga("kelmo_bingolo"),  Riga("kelmo_sistemix"),
        Riga("kelmo_ruotalotto"), Riga("kelmo_rubrica"),   Riga("kelmo_agenda"),   Riga("kelmo_ricettario"),
    };
    return tabella;
}

QString ChiaveMinuscola(const QString &chiave)
{
    QString minuscola = chiave;
    for (QChar &c : minuscola)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    return minuscola;
}

} // namespace ControllaVersione
