// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "regole/TabellaCriteri.h"

namespace TabellaCriteri
{

namespace
{

// The version criterion: the build number after the first hyphen that follows "Versione", up to the
// next "<".
Riga RigaVersione(const char *chiave)
{
    Scansione::Criterio criterio;
    criterio.Ancora = "Versione";
    criterio.Separatore = "-";
    criterio.Apertura = "-";
    criterio.Chiusura = "<";
    return {chiave, criterio};
}

} // namespace

const QList<Riga> &Righe()
{
    static const QList<Riga> tabella{
        RigaVersione("kelmo_totovolo"), RigaVersione("kelmo_superdrav"), RigaVersione("kelmo_ambovolo"),
        RigaVersione("kelmo_dravolo"),  RigaVersione("kelmo_cinquina"),  RigaVersione("kelmo_totogol"),
        RigaVersione("kelmo_bingolo"),  RigaVersione("kelmo_sistemix"),  RigaVersione("kelmo_ruotalotto"),
        RigaVersione("kelmo_rubrica"),  RigaVersione("kelmo_agenda"),    RigaVersione("kelmo_ricettario"),
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

} // namespace TabellaCriteri
