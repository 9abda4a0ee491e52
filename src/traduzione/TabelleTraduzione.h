// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "regole/Errore.h"
#include "regole/TestoTraduzione.h"

#include <QString>

// The reads of the translation's two tables. The language is named by the field LINGUA of the settings
// table "impostazioni.db"; the translations stand in the table `lingua` of "lingua.db", one row per
// Italian text (column ITALIANO) and one column per language. Both files are opened by bare name, so
// they are found in the working directory, read-only, with a connection of their own for each read; a
// settings table of the user's own, in their configuration folder, is read in place of the other.
//
// A read sees only what another program has committed to a table, and never writes the table's file:
// a table that a writer holds locked beyond the time limit, or left with a transaction unfinished, or
// one in WAL mode whose folder does not let the reader make the -wal and -shm files it reads through,
// fails to read rather than read half-written or stale values.
//
// Whatever the files hold (views over queries without end, texts of any length), each read stays
// within the limits below; a read cut short by one fails like any other read, with a message that
// names the table and the limit. Nothing here shows anything: every failure is thrown.
namespace TabelleTraduzione
{

inline const QString FileImpostazioni = QStringLiteral("impostazioni.db");
inline const QString FileLingua = QStringLiteral("lingua.db");
inline const QString Italiano = QStringLiteral("Italiano");

// How long one read may keep the engine busy, waits for another connection's lock included: the
// splash's pass makes two reads before the first window is on screen.
inline constexpr int LimiteTempoMs = 250;
// The longest value, in bytes, that the engine reads or makes during a read: a caption is a line or
// two; the limit also covers the tables' own definitions and the rows of a sort.
inline constexpr int LimiteValoreByte = 64 * 1024;
// The memory, in MB, that the engine may take for one read, sorts and recursive queries included.
inline constexpr int LimiteMemoriaMb = 16;

// A read that the table's own state stopped: a transaction left unfinished, or a table in WAL mode
// that its folder does not let the engine read. Its message names the table and the cause, which the
// user is told.
class ErroreTabella : public Errore
{
public:
    using Errore::Errore;
};

// A read cut short by one of the limits above; its message names the table and the limit (for the
// time limit, the lock it waited for, when it was one).
class ErroreLimite : public ErroreTabella
{
public:
    using ErroreTabella::ErroreTabella;
};

// The settings table to read: the user's own, kelmo-dravolo/impostazioni.db in their configuration
// folder (Servizi::CartellaConfigurazione), when one stands there, so that each user can choose a language
// without touching the program's; otherwise "impostazioni.db" in the working directory.
QString PercorsoImpostazioni();

// One field of the settings table's first record, the empty text when the table has no record. The
// field's name is matched without regard to letter case; a missing field is an Errore.
QString LeggiCampo(const QString &campo);

// Looks an Italian text up for a language. `uscita` receives the translation, or the prepared text
// when no row matches. A failure of the database (missing table or column, a language value that is
// not a column of the table or longer than LunghezzaMassimaLingua, a read cut short by a limit) is
// thrown as Errore; `uscita` is then left as it was.
void TraduciTesto(const QString &italiano, const QString &lingua, QString &uscita);

} // namespace TabelleTraduzione
