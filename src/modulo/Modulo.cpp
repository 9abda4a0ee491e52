// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "modulo/Modulo.h"

#include "Configurazione.h"
#include "kit/RapportoErrori.h"
#include "stampa/StampaGiocate.h"
#if KELMO_CONTROLLO_AGGIORNAMENTI
#include "aggiornamento/TFrmControllaVersione.h"
#endif

#include <QPrinter>

namespace Modulo
{

namespace
{
// Nothing the module throws reaches the caller: each failure shows its box here, as the main window's
// handlers would show it.
#if KELMO_CONTROLLO_AGGIORNAMENTI
void ControllaVersione(QWidget *genitore)
{
    RapportoErrori::Protetto([&] {
        // A new window at each use, destroyed when its modal run ends, however it ends.
        TFrmControllaVersione finestra(genitore);
        finestra.exec();
    });
}
#endif

void StampaGiocate(QWidget *genitore, const QFont &carattereCampo, const std::function<qsizetype()> &righe,
                   const std::function<QString(qsizetype)> &riga)
{
    RapportoErrori::Protetto([&] {
        QPrinter stampante(QPrinter::HighResolution);
        if (StampaGiocate::ScegliStampante(stampante, genitore))
            StampaGiocate::StampaRiepilogo(stampante, StampaGiocate::CarattereStampa(carattereCampo), righe,
                                           riga);
    });
}
} // namespace

const ModuloSuRichiesta::Funzioni &Funzioni()
{
    static constexpr ModuloSuRichiesta::Funzioni funzioni
    {
        Configurazione::EtichettaVersione, sizeof(ModuloSuRichiesta::Funzioni),
#if KELMO_CONTROLLO_AGGIORNAMENTI
            &ControllaVersione,
#else
            nullptr,
#endif
            &StampaGiocate
    };
    return funzioni;
}

} // namespace Modulo
