// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "kit/Sostituzioni.h"

#include <functional>
#include <vector>

// Sets the program's seams (kit/Sostituzioni.h) for as long as it lives, and then puts back, in the
// reverse order, what each one it set held before: helpers made one inside another's life restore in
// turn, each only what it changed. The one way tests change a seam.
class SostituzioniProva
{
public:
    SostituzioniProva() = default;
    ~SostituzioniProva();
    SostituzioniProva(const SostituzioniProva &) = delete;
    SostituzioniProva &operator=(const SostituzioniProva &) = delete;

    SostituzioniProva &Identita(const QString &chiave, const QString &etichettaVersione);
    SostituzioniProva &CartellaEseguibile(const QString &cartella);
    SostituzioniProva &IndirizzoSito(const QString &indirizzo);
    SostituzioniProva &LimiteTempo(std::chrono::milliseconds limite);
    SostituzioniProva &SceltaSalvataggio(Sostituzioni::RispostaFile scelta);
    SostituzioniProva &SceltaApertura(Sostituzioni::RispostaFile scelta);
    SostituzioniProva &SceltaStampante(Sostituzioni::RispostaStampante scelta);

private:
    template <typename T> SostituzioniProva &cambia(T Sostituzioni::Valori::*campo, T valore);

    std::vector<std::function<void()>> m_ripristini;
};
