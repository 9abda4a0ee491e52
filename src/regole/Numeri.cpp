// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "regole/Numeri.h"

#include "regole/Errore.h"

namespace Numeri
{

QString DueCifre(const QString &testo)
{
    return testo.size() == 1 ? QLatin1Char('0') + testo : testo;
}

int DalTesto(const QString &testo)
{
    bool valido = !testo.isEmpty();
    for (QChar c : testo)
        valido = valido && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    const int numero = valido ? testo.toInt(&valido) : 0;
    if (!valido)
        throw Errore(QStringLiteral("'%1' non è un valore intero valido").arg(testo));
    return numero;
}

} // namespace Numeri
