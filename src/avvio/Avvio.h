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

int Esegui(int &argc, char **argv);

} // namespace Avvio
