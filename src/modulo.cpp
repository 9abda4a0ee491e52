// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The module the program loads on request (kit/ModuloSuRichiesta.h): this function is all it exports.
#include "modulo/Modulo.h"

extern "C" Q_DECL_EXPORT const ModuloSuRichiesta::Funzioni *kelmo_dravolo_modulo()
{
    return &Modulo::Funzioni();
}
