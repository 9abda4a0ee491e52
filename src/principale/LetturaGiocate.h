// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "regole/Vincite.h"

#include <QList>
#include <QString>

#include <functional>

class QWidget;

// A file of plays saved earlier ("Salva le giocate..."), opened to be checked against a draw.
namespace LetturaGiocate
{

// Where the user's answer to the open dialog comes from: tests answer in the user's place. The
// dialog proposes a folder; the answer is a path, empty when the user cancels.
using SceltaFile = std::function<QString(QWidget *genitore, const QString &proposta)>;
void ImpostaSceltaFile(SceltaFile scelta);

// "Apri giocate...": the file the user chooses, or an empty path.
QString ChiediQuale(QWidget *genitore);

// The plays of the file, as FileGiocate reads its text: only a regular file, never through a link,
// and no more than FileGiocate::MassimaDimensione bytes of it are ever read. Throws Errore, naming the
// file and why it cannot be used, the first bad line among the reasons.
QList<Vincite::Numeri> Leggi(const QString &percorso);

} // namespace LetturaGiocate
