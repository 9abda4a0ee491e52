// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class QWidget;

// The session's plays saved to a text file of the user's choice.
namespace SalvataggioGiocate
{

// Where the user wants the plays (or a check of them) saved, proposed under `nome` in their documents
// folder: the path chosen, or an empty text when the user declines. The standard save dialog, unless
// replaced (Sostituzioni::Valori::SceltaSalvataggio).
QString ChiediDove(QWidget *genitore, const QString &nome = QStringLiteral("giocate.txt"));

// Writes the text to the file, whole or not at all, never through a link and never removing a file of
// the user's (Salvataggio). Throws Errore naming the file and why it could not be saved.
void Salva(const QString &percorso, const QString &testo);

// What a "Salva..." command does: asks where (proposing `nome`), saves the text there, and shows a
// failure in the general error box before it returns, so that the window that asked can take the
// keyboard back after the box rather than before it. Nothing happens when the user declines.
void ChiediESalva(QWidget *genitore, const QString &testo,
                  const QString &nome = QStringLiteral("giocate.txt"));

} // namespace SalvataggioGiocate
