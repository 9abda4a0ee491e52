// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "regole/Scansione.h"

#include <QList>
#include <QString>

// The criterion table of the update check: one row per program of the maker, keyed by its program key
// in lower case. Every row carries the same criterion.
namespace TabellaCriteri
{

struct Riga {
    const char *Chiave;
    Scansione::Criterio Criterio;
};

// The twelve rows, in table order.
const QList<Riga> &Righe();

// The program key as the table keys it: the letters A to Z turned to lower case, everything else as it
// stands.
QString ChiaveMinuscola(const QString &chiave);

} // namespace TabellaCriteri
