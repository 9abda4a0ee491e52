#pragma once

class TFrmMain;

// The windows that live for the whole run, reachable from anywhere in the program.
namespace Finestre {
inline TFrmMain *FrmMain = nullptr;
}
