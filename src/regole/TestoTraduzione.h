// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// The texts of the translation's lookups: the key of a text, which language values may name a column,
// and the SQL text of one lookup. Plain values; the reads themselves are TabelleTraduzione.h's.
namespace TestoTraduzione
{

// The lookup key of a text: a leading "&" dropped, then every apostrophe removed.
QString TestoPreparato(const QString &testo);

// The longest language value taken: a column name, not a text.
inline constexpr qsizetype LunghezzaMassimaLingua = 64;

// Whether a language value can name a column: letters, digits and underscores, not starting with a
// digit. Anything else would be written into the SQL text as it stands.
bool NomeLinguaValido(const QString &lingua);

// The query of one lookup: "select " + language + " from lingua where ITALIANO = '" + prepared
// text + "' ".
QString TestoSql(const QString &preparato, const QString &lingua);

} // namespace TestoTraduzione
