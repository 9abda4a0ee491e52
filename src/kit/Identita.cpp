// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "kit/Identita.h"

#include "Configurazione.h"

namespace Identita
{

namespace
{
QString g_chiave;
QString g_etichettaVersione;
} // namespace

QString Chiave()
{
    return g_chiave.isEmpty() ? QString::fromUtf8(Configurazione::ChiaveProgramma) : g_chiave;
}

QString EtichettaVersione()
{
    return g_etichettaVersione.isEmpty() ? QString::fromUtf8(Configurazione::EtichettaVersione)
                                         : g_etichettaVersione;
}

void Imposta(const QString &chiave, const QString &etichettaVersione)
{
    g_chiave = chiave;
    g_etichettaVersione = etichettaVersione;
}

} // namespace Identita
