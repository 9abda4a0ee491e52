// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// The numbers of the six-of-ninety game as the windows and the fixed-number file write them.
namespace Numeri
{

// Every number of the game, 1 to 90.
inline constexpr int Minimo = 1;
inline constexpr int Massimo = 90;

// A number as the fields and the fixed-number file show it: a text of one character gets "0" in front
// of it, any other text stays as it is.
QString DueCifre(const QString &testo);

// The whole number written in a text. Only decimal digits make a number: an empty text, blanks, signs
// or any other character (the key filter lets none through, but pasting can) throw Errore with the
// conversion's message.
int DalTesto(const QString &testo);

} // namespace Numeri
