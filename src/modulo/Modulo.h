// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "kit/ModuloSuRichiesta.h"

// The functions of the module loaded on request: the update check's window and printing, over the
// libraries only they need. The module file exports this table; the tests link it in.
namespace Modulo
{

const ModuloSuRichiesta::Funzioni &Funzioni();

} // namespace Modulo
