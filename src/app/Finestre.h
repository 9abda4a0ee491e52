// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QWidget;
class TFrmAbout;

// The windows that live for the whole run, reachable from anywhere in the program. The main window is
// known only as a window: whoever shows it need not know its class, and the windows it opens stay
// free of it.
namespace Finestre
{
inline QWidget *FrmMain = nullptr;
inline TFrmAbout *FrmAbout = nullptr;
} // namespace Finestre
