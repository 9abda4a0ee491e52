// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// The message boxes of every window, and where a window stands when it opens.
namespace Messaggi
{

// The four message boxes. Each has its fixed caption, icon and buttons; the caller gives only the
// text. A box has no owner window: the caller waits for the answer while the program's other windows
// stay usable.
void MessaggioInfo(const QString &testo);
void MessaggioAttenzione(const QString &testo);
void MessaggioErrore(const QString &testo);
bool DomandaSiNo(const QString &testo);

// Shows a box without owner and waits for it to be dismissed; returns the button pressed.
// Boxes with Yes and No cannot be left by Escape or by a close request.
QMessageBox::StandardButton MostraBox(QMessageBox::Icon icona, const QString &titolo, const QString &testo,
                                      QMessageBox::StandardButtons pulsanti);

// Places a window in the centre of the desktop it stands on, before it is shown: the window manager
// and Qt then leave it there rather than over its owner.
void CentraSulDesktop(QWidget *finestra);

} // namespace Messaggi
