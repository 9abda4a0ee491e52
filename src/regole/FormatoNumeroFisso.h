// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

// The format of the fixed-number file "redme.qzl": one 12-byte line, "AO '", the number as two digits,
// "'$tg", CR LF. Plain values in and out; reading and writing the file is NumeroFisso.h's.
namespace FormatoNumeroFisso
{

inline const QString NomeFile = QStringLiteral("redme.qzl");
// The number stands after this many characters, in this many.
inline constexpr qsizetype LunghezzaPrefisso = 4;
inline constexpr qsizetype CaratteriNumero = 2;

// The number text of a first line (positions 5 and 6, fewer when the line is shorter), or an empty
// text when it is not a number from 1 to 90 written with one or two digits.
QString NumeroDallaRiga(const QByteArray &inizioFile);

// The whole content of a file that fixes the given two-digit number.
QByteArray Contenuto(const QString &dueCifre);

} // namespace FormatoNumeroFisso
