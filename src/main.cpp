// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "avvio/Avvio.h"

int main(int argc, char *argv[])
{
    if (const auto esito = Avvio::RispondiOpzioni(argc, argv))
        return *esito;
    return Avvio::Esegui(argc, argv);
}
