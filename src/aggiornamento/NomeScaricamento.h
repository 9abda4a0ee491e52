// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

class QUrl;

// The name proposed for a file a server sends: the one its Content-Disposition header gives, or failing
// that the last part of its address.
namespace NomeScaricamento
{

// Never a path, never empty, and free of every character that would make the name read otherwise than
// it is written: control characters (C0, DEL, C1) and bidirectional marks, embeddings, overrides and
// isolates are left out. So the name the save dialog shows is the name the file gets on disk.
QString Proposto(const QByteArray &disposizione, const QUrl &indirizzo);

} // namespace NomeScaricamento
