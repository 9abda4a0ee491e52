// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "regole/TestiStampa.h"

#include <QFont>
#include <QString>

#include <functional>

class QPrinter;
class QWidget;

// The printed play summary: a blank line, the header, a blank line, then one line per play behind an
// indent of seven blanks.
namespace StampaGiocate
{

// The header with the site and mail addresses of this build.
QString Intestazione();

// The printing font: the given screen font (the first number field's) at its size rounded to whole
// points.
QFont CarattereStampa(const QFont &carattereCampo);

// Prints the summary on the printer: opens the job, sets the font, writes the blank line, the header
// and the blank line, then each of the lines behind the indent, and closes the job. `righe` is called
// once, when the plays are written, and gives their number; `riga` gives each play by its index.
// Returns the number of pages printed.
int StampaRiepilogo(QPrinter &stampante, const QFont &carattere, const std::function<qsizetype()> &righe,
                    const std::function<QString(qsizetype)> &riga);

// The printer selection dialog, unless replaced (Sostituzioni::Valori::SceltaStampante: tests set up a
// PDF file there). True when the user confirms, with the printer set up as chosen.
bool ScegliStampante(QPrinter &stampante, QWidget *genitore);

} // namespace StampaGiocate
