// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>

#include <array>
#include <optional>

// What a play wins against a draw, and the check of a draw as the user types it.
namespace Vincite
{

// A play, or the six numbers drawn: numbers from 1 to 90.
using Numeri = std::array<int, 6>;

enum class Categoria { Nessuna, Due, Tre, Quattro, Cinque, CinquePiuUno, Sei };

// The numbers of the play that are among the six drawn, in the play's order.
QList<int> Indovinati(const Numeri &giocata, const Numeri &estratti);

// The prize category a player knows: 6 (all six), 5+1 (five of the six, and the play's sixth number
// is the Jolly), 5, 4, 3, 2, or none (0 or 1 matched). Without a Jolly (std::nullopt) five matched is
// always 5.
Categoria CategoriaDi(const Numeri &giocata, const Numeri &estratti, std::optional<int> jolly);

// "6", "5+1", "5", "4", "3", "2", "nessuna"
QString NomeCategoria(Categoria categoria);

// For each field of a typed draw the reason it is refused, in Italian, or an empty text when it is
// good.
struct ErroriEstrazione {
    std::array<QString, 6> numeri;
    QString jolly;
    // No reason in any field.
    bool Valida() const;
};

// The drawn combination as the user types it: six texts and the Jolly's (empty or blank: no Jolly). A
// field is refused when it is not a whole number from 1 to 90, written with one or two digits and
// blanks around them allowed ("non è un numero da 1 a 90"), when it repeats the number of an earlier
// field ("ripete il numero del campo N", the first such field, counted from 1), and the Jolly when it is
// one of the six ("il Jolly non può essere uno dei sei numeri").
ErroriEstrazione ControllaEstrazione(const std::array<QString, 6> &numeri, const QString &jolly);

// The six numbers and the Jolly of a combination that ControllaEstrazione found valid (a field that
// is not a number reads as 0, a Jolly that is not one as no Jolly).
Numeri NumeriEstratti(const std::array<QString, 6> &numeri);
std::optional<int> Jolly(const QString &jolly);

} // namespace Vincite
