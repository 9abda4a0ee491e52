// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The first use of the module the program loads on request, as bench/istruzioni.sh counts it: the main
// window comes up idle, then, with callgrind's count started, the module is loaded from beside this
// program and the update check's window (argument "aggiornamento") or the printer dialog ("stampa") is
// opened; callgrind dumps its count after that window's first frame is on screen.

#include "kit/Applicazione.h"
#include "kit/ModuloSuRichiesta.h"
#include "principale/TFrmMain.h"

#include <QTimer>

#include <cstdio>
#include <cstring>
#include <valgrind/callgrind.h>

int main(int argc, char **argv)
{
    const bool stampa = argc > 1 && std::strcmp(argv[1], "stampa") == 0;
    if (argc < 2 || (!stampa && std::strcmp(argv[1], "aggiornamento") != 0)) {
        std::fputs("uso: primo-uso aggiornamento|stampa\n", stderr);
        return 2;
    }
    Applicazione applicazione(argc, argv);
    TFrmMain finestra;
    finestra.show();
    // Once the main window has been drawn and is idle.
    QTimer::singleShot(1000, &finestra, [&finestra, stampa] {
        CALLGRIND_TOGGLE_COLLECT;
        const ModuloSuRichiesta::Funzioni &modulo = ModuloSuRichiesta::Carica();
        if (stampa)
            modulo.StampaGiocate(
                &finestra, finestra.font(), [] { return qsizetype(1); },
                [](qsizetype) { return QStringLiteral("01 02 03 04 05 06"); });
        else
            modulo.ControllaVersione(&finestra);
    });
    return applicazione.exec();
}
