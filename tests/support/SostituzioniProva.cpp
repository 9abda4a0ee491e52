// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/SostituzioniProva.h"

#include <utility>

template <typename T> SostituzioniProva &SostituzioniProva::cambia(T Sostituzioni::Valori::*campo, T valore)
{
    Sostituzioni::Valori valori = Sostituzioni::Attuali();
    m_ripristini.push_back([campo, prima = valori.*campo] {
        Sostituzioni::Valori ripristinati = Sostituzioni::Attuali();
        ripristinati.*campo = prima;
        Sostituzioni::Imposta(std::move(ripristinati));
    });
    valori.*campo = std::move(valore);
    Sostituzioni::Imposta(std::move(valori));
    return *this;
}

SostituzioniProva::~SostituzioniProva()
{
    for (auto ripristino = m_ripristini.rbegin(); ripristino != m_ripristini.rend(); ++ripristino)
        (*ripristino)();
}

SostituzioniProva &SostituzioniProva::Identita(const QString &chiave, const QString &etichettaVersione)
{
    cambia(&Sostituzioni::Valori::Chiave, chiave);
    return cambia(&Sostituzioni::Valori::EtichettaVersione, etichettaVersione);
}

SostituzioniProva &SostituzioniProva::CartellaEseguibile(const QString &cartella)
{
    return cambia(&Sostituzioni::Valori::CartellaEseguibile, cartella);
}

SostituzioniProva &SostituzioniProva::IndirizzoSito(const QString &indirizzo)
{
    return cambia(&Sostituzioni::Valori::IndirizzoSito, indirizzo);
}

SostituzioniProva &SostituzioniProva::LimiteTempo(std::chrono::milliseconds limite)
{
    return cambia(&Sostituzioni::Valori::LimiteTempo, limite);
}

SostituzioniProva &SostituzioniProva::SceltaSalvataggio(Sostituzioni::RispostaFile scelta)
{
    return cambia(&Sostituzioni::Valori::SceltaSalvataggio, std::move(scelta));
}

SostituzioniProva &SostituzioniProva::SceltaApertura(Sostituzioni::RispostaFile scelta)
{
    return cambia(&Sostituzioni::Valori::SceltaApertura, std::move(scelta));
}

SostituzioniProva &SostituzioniProva::SceltaStampante(Sostituzioni::RispostaStampante scelta)
{
    return cambia(&Sostituzioni::Valori::SceltaStampante, std::move(scelta));
}
