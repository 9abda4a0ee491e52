// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

// Reading a file the user or another program put there, with the care every read here takes.
namespace LetturaFile
{

enum class Collegamenti { Seguiti, Rifiutati };

// At most the first `massimo` bytes of a regular file (fewer when it is shorter). The file is opened
// without waiting, since a named pipe would block the open until a writer came, and read only when it
// is a regular file; with Collegamenti::Rifiutati a symbolic link at the path is refused. Throws
// Errore, its message the reason alone in Italian ("non è un file regolare", "è un collegamento
// simbolico", or the system's), for the caller to name the file.
QByteArray Inizio(const QString &percorso, qsizetype massimo, Collegamenti collegamenti);

} // namespace LetturaFile
