// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>

// Start-up: the application object, its title, the windows that live for the whole run in their
// order of creation, and the message loop.
namespace Avvio
{

// What a Linux command answers without a display: --help prints the usage and --version the name and
// version label, and the program then ends with this status. Nothing for any other arguments, which
// the program ignores.
std::optional<int> RispondiOpzioni(int argc, char **argv);

// Makes the application, then runs the windows (EseguiFinestre) with the splash's own ten seconds.
int Esegui(int &argc, char **argv);

// The run over an application that exists: the windows that live for the whole run in their order of
// creation, the splash shown for `intervalloSplash` milliseconds (tests shorten it), and the message
// loop, whose exit status it returns.
int EseguiFinestre(int intervalloSplash);

} // namespace Avvio
