// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>

#include <sys/stat.h>

// What a file that replaces another keeps of it: its owner and group, its mode, its access control list
// and its extended attributes, so that a save changes the content and nothing else about the file.
namespace ProprietaFile
{

// Gives the open file `nuovo` what the file `nome` in the folder open as `cartella` has (`esistente`,
// as fstatat read it, never following a link). Throws Errore, its message the reason in the user's
// words, when any of it cannot be given: the caller then puts nothing in the earlier file's place.
void Trasferisci(int cartella, const QByteArray &nome, const struct stat &esistente, int nuovo);

} // namespace ProprietaFile
