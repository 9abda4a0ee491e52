// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "kit/Identita.h"

#include "Configurazione.h"
#include "kit/Sostituzioni.h"

namespace Identita
{

QString Chiave()
{
    const QString &chiave = Sostituzioni::Attuali().Chiave;
    return chiave.isEmpty() ? QString::fromUtf8(Configurazione::ChiaveProgramma) : chiave;
}

QString EtichettaVersione()
{
    const QString &etichetta = Sostituzioni::Attuali().EtichettaVersione;
    return etichetta.isEmpty() ? QString::fromUtf8(Configurazione::EtichettaVersione) : etichetta;
}

} // namespace Identita
