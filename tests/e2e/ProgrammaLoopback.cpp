// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The program as the end-to-end run of the update check starts it: the same code as kelmo-dravolo,
// with the maker's site replaced by the web server that the run has started on this machine. Built only
// with the tests; the program users get has its site fixed when it is built, and no setting changes it.
#include "avvio/Avvio.h"
#include "kit/ModuloSuRichiesta.h"
#include "modulo/Modulo.h"
#include "support/SostituzioniProva.h"

#include <QString>

#include <cstdio>

int main(int argc, char *argv[])
{
    // Never anything but this machine: a run without its server must not reach out to the real site.
    const QString sito = qEnvironmentVariable("KELMO_SITO_PROVA");
    if (!sito.startsWith(QLatin1String("http://127.0.0.1:"))) {
        std::fputs("kelmo-dravolo-loopback: KELMO_SITO_PROVA must name the test server, "
                   "http://127.0.0.1:<port>\n",
                   stderr);
        return 2;
    }
    // The module's code is linked in, so that the site set here is the one its update check uses.
    SostituzioniProva sostituzioni;
    sostituzioni.IndirizzoSito(sito);
    ModuloSuRichiesta::Incorpora(&Modulo::Funzioni());
    return Avvio::Esegui(argc, argv);
}
