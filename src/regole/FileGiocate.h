// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "regole/Vincite.h"

#include <QByteArray>
#include <QList>

// The text of a file of plays, read whole or refused whole. Reading the file itself is the caller's.
namespace FileGiocate
{

// What a file of plays may hold: beyond these it is refused whole.
inline constexpr qint64 MassimaDimensione = 1024 * 1024;
inline constexpr int MassimeRighe = 20000;

// The plays in the text of a file of plays, in order: one play a line, six numbers from 1 to 90 (one
// or two digits each) separated by blanks (spaces or tabs), with blanks before and after them (the
// program's own saved files indent every line by seven blanks: "       05 12 33 47 68 90"), lines
// ended by LF or CR LF, the last one with or without its end; an empty line is refused. Anything else
// is refused whole, with nothing read: throws Errore whose message names the first bad line by its
// number (from 1) and why, in Italian ("riga 3: non contiene sei numeri", "riga 4: 91 non è un numero
// da 1 a 90", "riga 5: il numero 12 è ripetuto", "riga 2: è vuota", "riga 6: contiene un carattere non
// ammesso"). A NUL or any byte that is not printable ASCII, but for the tab, makes a bad line. A text
// beyond MassimaDimensione bytes or MassimeRighe lines, or with no play at all, is refused with its own
// message ("il file supera 1 MB", "il file supera le 20000 righe", "il file non contiene giocate").
QList<Vincite::Numeri> Leggi(const QByteArray &contenuto);

} // namespace FileGiocate
