#pragma once

#include <QChar>
#include <QMessageBox>
#include <QString>

// Routines shared by every window: the message boxes, the numeric key filter and the folder of the
// executable.
namespace Fx {

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

// Lets digits, Backspace and Enter through; any other character becomes the null character, which
// cancels the keystroke.
void FiltraTastoNumerico(QChar &carattere);

// The folder that holds the executable, with the trailing separator.
QString CartellaEseguibile();

// Points the executable's folder elsewhere (tests use a temporary folder); an empty path restores the
// real one.
void ImpostaCartellaEseguibile(const QString &cartella);

} // namespace Fx
