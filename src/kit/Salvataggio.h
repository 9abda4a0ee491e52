// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "regole/Errore.h"

#include <QByteArray>
#include <QString>

#include <sys/types.h>

// A file saved whole or not at all, and only as a file of its own:
//  - the path must name a regular file or nothing: a symbolic link (whoever planted it, wherever it
//    points), a folder, a pipe or a device at the path is refused, and the save never writes through
//    one;
//  - the new content is written to a file with no name in the same folder, made sure to be on disk,
//    given a name of the program's own beside the path and renamed over it, so that on any failure the
//    earlier file stays as it was and nothing new is left;
//  - a save killed between naming and renaming leaves "<name>.kelmo-<inode in hex>": a name that
//    carries the number of the very file it names, which no file of the user's has by chance (where
//    the file system cannot make a file without a name, one killed in the instant before that leaves
//    an empty "<name>.kelmo-nuovo-<hex>"). The next save at that path removes such leftovers, and
//    only those; it never deletes a file it did not make, nor the file of a save still running in
//    another instance (each holds a lock on its file until it ends);
//  - a file is replaced only where a write to it would be allowed: a write-protected one is refused;
//  - the new file is the earlier one anew: it takes its owner and group, mode, access control list and
//    extended attributes, or, where one of them cannot be given, nothing is saved.
class Salvataggio
{
public:
    explicit Salvataggio(const QString &percorso);
    // A save not concluded leaves nothing behind.
    ~Salvataggio();
    Salvataggio(const Salvataggio &) = delete;
    Salvataggio &operator=(const Salvataggio &) = delete;

    // Checks the path and opens the new content's file. Each step throws Errore, its message the reason
    // in the user's words where the system's are obscure, when it cannot be done.
    void Apri();
    // Appends to the new content; a full disk fails here, with its reason.
    void Scrivi(const QByteArray &dati);
    // Puts the new content in the file's place.
    void Concludi();

    QString Percorso() const { return m_percorso; }
    qint64 Scritti() const { return m_scritti; }

    // What names the program's leftovers at a path begin with, after the file's own name.
    static constexpr const char *SuffissoAvanzi = ".kelmo-";

private:
    [[noreturn]] static void fallisci(const QString &motivo);
    [[noreturn]] static void fallisciErrno();
    void rimuoviAvanzi() const;
    // Opens the new content's file under a name, where the file system has no unnamed files.
    void apriConNome(mode_t permessi);
    // Gives the open file its leftover name, and returns it.
    QByteArray nomina();

    QString m_percorso;
    QByteArray m_nome; // the file's name within its folder, as on disk
    int m_cartella = -1;
    int m_file = -1;
    QByteArray m_nomeTemporaneo; // set while the new content has a name of its own
    qint64 m_scritti = 0;
};
