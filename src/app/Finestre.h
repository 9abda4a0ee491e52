#pragma once

class TFrmMain;
class TFrmAbout;
class TfrmStart;

// The windows that live for the whole run, reachable from anywhere in the program.
namespace Finestre {
inline TFrmMain *FrmMain = nullptr;
inline TFrmAbout *FrmAbout = nullptr;
inline TfrmStart *frmStart = nullptr;
}
