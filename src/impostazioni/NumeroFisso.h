// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "regole/FormatoNumeroFisso.h"

#include <QString>

// The fixed-number file on disk (its format: FormatoNumeroFisso.h). Its presence means that the number
// is played in the first field. The settings window writes and removes it, the main window reads it.
namespace NumeroFisso
{

// The mark the install rules put in the program's folder of a copy installed for every user (the
// package, an install to a system prefix); a built, unpacked or user-installed copy has none.
inline constexpr char SegnoInstallazioneCondivisa[] = "installazione-condivisa";

// The file's full path. A copy installed for every user keeps each user's file, root's included, in
// that user's own configuration folder (Servizi::CartellaConfigurazione), and never reads nor writes
// its own folder. Any other copy keeps it next to the executable when a file stands there or the user
// may write that folder (a build folder, a copy in the home), otherwise in the configuration folder.
// Reading, saving and removing all use it. Throws Errore when the folder it needs cannot be known.
QString Percorso();

// The same path, with its folder made first when it is missing (the configuration folder before the
// first save).
QString PercorsoPerSalvare();

// True when a file (not a folder) stands at that path; false when there is no such path.
bool Esiste();

// The number text taken from the start of the file: the characters at positions 5 and 6 of its first
// line. Only digits that give 1 to 90 are accepted; a single digit comes back as it stands.
// Throws Errore when the file cannot be read or does not hold such a number.
QString Leggi();

// Writes the file for a two-digit number, whole or not at all: the new content goes to a temporary file
// in the same folder that then takes the file's place, so a failure leaves the earlier file as it was.
// Throws Errore on failure.
void Scrivi(const QString &dueCifre);

// Deletes the file; throws Errore when it stays.
void Rimuovi();

} // namespace NumeroFisso
