// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "avvio/Avvio.h"

#include "Configurazione.h"
#include "finestre/TFrmAbout.h"
#include "finestre/TfrmStart.h"
#include "kit/Applicazione.h"
#include "principale/TFrmMain.h"

#include <cstdio>
#include <string_view>

namespace Avvio
{

std::optional<int> RispondiOpzioni(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view opzione = argv[i];
        if (opzione == "--help") {
            std::printf(
                "Uso: kelmo-dravolo [--help | --version]\n"
                "Estrae combinazioni di sei numeri diversi, da 1 a 90, da giocare al super enalotto.\n"
                "Le tabelle delle impostazioni e della lingua (impostazioni.db, lingua.db) sono\n"
                "aperte dalla cartella di lavoro; ogni altro argomento è ignorato.\n"
                "\n"
                "  --help     mostra questo aiuto ed esce\n"
                "  --version  mostra il nome, la versione e la licenza del programma ed esce\n");
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
        if (opzione == "--version") {
            // The name and version, then the notice every copy of a GPL program carries, as the help
            // page shows it too.
            std::printf(
                "%s %s\n"
                "Copyright (C) 2026 The Kelmo_Dravolo developers\n"
                "Licenza GPLv3+: GNU GPL versione 3 o successiva <https://gnu.org/licenses/gpl.html>.\n"
                "Questo è software libero: si è liberi di modificarlo e ridistribuirlo.\n"
                "Non c'è ALCUNA GARANZIA, nei limiti consentiti dalla legge.\n",
                qPrintable(Applicazione::Titolo), Configurazione::EtichettaVersione);
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
    }
    return std::nullopt;
}

int Esegui(int &argc, char **argv)
{
    Applicazione applicazione(argc, argv);
    return EseguiFinestre(TfrmStart::IntervalloPredefinito);
}

int EseguiFinestre(int intervalloSplash)
{
    // The three windows in their order; the main window's controls come later (below).
    TFrmMain finestraPrincipale(nullptr, TFrmMain::Controlli::Differiti);
    TFrmAbout finestraAbout;
    finestraPrincipale.ImpostaAbout(&finestraAbout);
    // Its creation (title and translation pass) runs now, before any window is on screen.
    TfrmStart finestraStart(intervalloSplash);

    // The splash comes on screen first and alone; the program's icon and the main window's controls come
    // once its first frame is up, and the main window comes up when the splash's timer closes it.
    finestraStart.MostraAllAvvio(&finestraPrincipale, [&finestraPrincipale] {
        Applicazione::ImpostaIcona();
        finestraPrincipale.CreaControlli();
    });
    return QApplication::exec();
}

} // namespace Avvio
