// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "regole/Errore.h"

#include <QList>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

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

// The six texts of a play log line (six texts joined by single blanks).
Combinazione DallaRiga(const QString &riga);

// The same six numbers in ascending order, as a slip laid out from 1 to 90 has them.
Combinazione InOrdine(Combinazione campi);

// The same six numbers, in whatever order: the same play.
bool StessaGiocata(const Combinazione &una, const Combinazione &altra);

// What a draw takes from outside: a generator seeded afresh for each attempt (from the clock), and the
// fixed number, read again at each attempt: its two characters as the file gives them, nothing when
// there is no file, Errore when the file is there but cannot be read.
struct Fonti {
    std::function<Generatore()> generatore;
    std::function<std::optional<QString>()> numeroFisso;
};

// A draw stopped by a fixed-number file that could not be read: the file's failure, and the fields 2 to
// 6 as the stopped attempt drew them, without the padding (the first field keeps its earlier text).
class EstrazioneInterrotta : public Errore
{
public:
    EstrazioneInterrotta(const Errore &causa, const std::array<QString, 5> &successivi)
        : Errore(causa.messaggio()), m_successivi(successivi)
    {
    }
    const std::array<QString, 5> &Successivi() const { return m_successivi; }

private:
    std::array<QString, 5> m_successivi;
};

// One draw: attempts, each seeded afresh, until one gives six different texts: the first field the
// fixed number when there is one, else a drawn number, the other five drawn; a single digit padded
// with "0"; the fifteen pairs compared as texts. An attempt that gives the same six numbers as one of
// `diverseDa` starts again too (a batch of plays never repeats a play). Throws EstrazioneInterrotta
// when the fixed number cannot be read.
Combinazione Estrai(const Fonti &fonti, const QList<Combinazione> &diverseDa = {});

} // namespace Estrazione
