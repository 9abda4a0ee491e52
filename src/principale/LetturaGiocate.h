// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "regole/Vincite.h"

#include <QList>
#include <QString>

class QWidget;

// A file of plays saved earlier ("Salva le giocate..."), opened to be checked against a draw.
namespace LetturaGiocate
{

// "Apri giocate...": the file the user chooses in the open dialog, which proposes their documents
// folder, or an empty path. Tests answer in the user's place (Sostituzioni::Valori::SceltaApertura).
QString ChiediQuale(QWidget *genitore);

// The plays of the file, as FileGiocate reads its text: only a regular file, never through a link,
// and no more than FileGiocate::MassimaDimensione bytes of it are ever read. Throws Errore, naming the
// file and why it cannot be used, the first bad line among the reasons.
QList<Vincite::Numeri> Leggi(const QString &percorso);

} // namespace LetturaGiocate
