// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <array>
#include <cstdint>

// The rules of one draw, as plain functions over the six texts of the number fields.
namespace Estrazione
{

using Combinazione = std::array<QString, 6>;

// The fifteen pairs of fields compared, in this order (0-based field indices).
inline constexpr std::array<std::array<int, 2>, 15> Coppie{{{0, 1},
                                                            {0, 2},
                                                            {0, 3},
                                                            {0, 4},
                                                            {0, 5},
                                                            {1, 2},
                                                            {1, 3},
                                                            {1, 4},
                                                            {1, 5},
                                                            {2, 3},
                                                            {2, 4},
                                                            {2, 5},
                                                            {3, 4},
                                                            {3, 5},
                                                            {4, 5}}};

// A fresh reading of the clock: the low 32 bits of a nanosecond counter.
std::uint32_t SemeDalOrologio();

// The seed of one attempt of the draw: the clock's reading in the low half, the attempt's number in
// the high half. Two attempts at the same reading (a clock that stands still, or one too coarse for
// the attempts' pace) still get different seeds.
std::uint64_t Seme(std::uint32_t orologio, std::uint64_t tentativo);

// The seed of the next attempt of this process at the given clock reading: Seme with the number of
// attempts seeded before it.
std::uint64_t SemeDelTentativo(std::uint32_t orologio);

// A small generator whose first outputs are already well mixed, so that seeding it again at every
// attempt from nearby clock values still gives independent-looking draws.
class Generatore
{
public:
    explicit Generatore(std::uint64_t seme) : m_stato(seme) {}

    // A whole number drawn uniformly from 0 to limite - 1 (rejection sampling, no modulo bias).
    int Numero(int limite);

private:
    std::uint64_t prossimo();
    std::uint64_t m_stato;
};

// One drawn field: the decimal text, without leading zeros, of a number of the game (Numeri::Minimo to
// Numeri::Massimo, 1 to 90), every one with the same chance.
QString NumeroEstratto(Generatore &generatore);

// The index in Coppie of the first pair whose texts are equal, or -1 when all six differ.
int PrimaCoppiaUguale(const Combinazione &campi);

// The play log line: the six texts in field order joined by single blanks.
QString RigaGiocata(const Combinazione &campi);

} // namespace Estrazione
