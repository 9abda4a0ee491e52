#pragma once

// Start-up: the application object, its title, the windows that live for the whole run in their
// order of creation, and the message loop.
namespace Avvio {
int Esegui(int &argc, char **argv);
}
