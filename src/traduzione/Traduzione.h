// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "traduzione/TabelleTraduzione.h"

#include <QList>
#include <QString>

#include <functional>

class QAbstractButton;
class QLabel;
class QWidget;

// The translation pass of the windows: their texts replaced by those that the tables give for the
// language set (the reads are TabelleTraduzione.h's), and the settings read shown as an error box when
// it fails.
namespace Traduzione
{

// Reads one field of the settings table's first record into `uscita`. A failure is reported with the
// error box "Errore di lettura in parametri di impostazione, campo: " + field and leaves `uscita` as it
// was; a read stopped by a limit or by the table's state (ErroreTabella) adds a second line that names
// the table and the cause.
void LeggiImpostazione(const QString &campo, QString &uscita);

// One text of a window that the translation pass replaces: how to read it and how to set it.
struct Voce {
    std::function<QString()> Leggi;
    std::function<void(const QString &)> Scrivi;
};

Voce VoceTitolo(QWidget *finestra);
// A label keeps sizing itself to its text, and shows it as plain text whatever it holds.
Voce VoceTesto(QLabel *etichetta);
Voce VoceTesto(QAbstractButton *pulsante);

// Which language values end the pass before any lookup besides "Italiano".
enum class Guardia {
    SoloItaliano,   // an empty value goes on to the lookups, which the database then rejects
    ItalianoOVuoto, // an empty value means that no language is set
};

// The translation pass of a window: nothing when "lingua.db" is not next to the executable;
// otherwise the language value is read and, past the guard, each text is looked up in list order and
// replaced. A failing lookup ends the pass there: earlier texts keep their translation, that one and
// the later ones stay Italian, and the failure goes on to the caller.
void TraduciVoci(const QList<Voce> &voci, Guardia guardia);

} // namespace Traduzione
