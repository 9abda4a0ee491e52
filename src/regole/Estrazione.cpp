// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "regole/Estrazione.h"

#include "regole/Numeri.h"

#include <QStringList>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <limits>

namespace Estrazione
{

std::uint32_t SemeDalOrologio()
{
    const auto adesso = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(adesso).count());
}

std::uint64_t Seme(std::uint32_t orologio, std::uint64_t tentativo)
{
    return (tentativo << 32) | orologio;
}

std::uint64_t SemeDelTentativo(std::uint32_t orologio)
{
    static std::atomic<std::uint64_t> tentativi{0};
    return Seme(orologio, tentativi.fetch_add(1, std::memory_order_relaxed));
}

std::uint64_t Generatore::prossimo()
{
    // SplitMix64: every output is a strong mix of the state, even for consecutive seeds.
    std::uint64_t z = (m_stato += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

int Generatore::Numero(int limite)
{
    const auto n = static_cast<std::uint64_t>(limite);
    // Values at or above the largest multiple of n would favour the smaller remainders.
    const std::uint64_t soglia =
        std::numeric_limits<std::uint64_t>::max() - std::numeric_limits<std::uint64_t>::max() % n;
    std::uint64_t x;
    do {
        x = prossimo();
    } while (x >= soglia);
    return static_cast<int>(x % n);
}

QString NumeroEstratto(Generatore &generatore)
{
    return QString::number(Numeri::Minimo + generatore.Numero(Numeri::Massimo - Numeri::Minimo + 1));
}

int PrimaCoppiaUguale(const Combinazione &campi)
{
    for (std::size_t i = 0; i < Coppie.size(); ++i)
        if (campi[Coppie[i][0]] == campi[Coppie[i][1]])
            return static_cast<int>(i);
    return -1;
}

Combinazione DallaRiga(const QString &riga)
{
    Combinazione campi;
    const QStringList testi = riga.split(QLatin1Char(' '));
    for (std::size_t i = 0; i < campi.size() && i < std::size_t(testi.size()); ++i)
        campi[i] = testi.at(qsizetype(i));
    return campi;
}

Combinazione InOrdine(Combinazione campi)
{
    // Two-digit texts sort as their numbers do.
    std::sort(campi.begin(), campi.end());
    return campi;
}

bool StessaGiocata(const Combinazione &una, const Combinazione &altra)
{
    return InOrdine(una) == InOrdine(altra);
}

Combinazione Estrai(const Fonti &fonti, const QList<Combinazione> &diverseDa)
{
    for (;;) {
        Generatore generatore = fonti.generatore();
        Combinazione campi;
        std::optional<Errore> illeggibile;
        try {
            if (const std::optional<QString> fisso = fonti.numeroFisso())
                campi[0] = *fisso;
            else
                campi[0] = NumeroEstratto(generatore);
        } catch (const Errore &errore) {
            illeggibile = errore;
        }
        for (std::size_t i = 1; i < campi.size(); ++i)
            campi[i] = NumeroEstratto(generatore);
        // A file that cannot be read stops the draw after the five drawn fields.
        if (illeggibile)
            throw EstrazioneInterrotta(*illeggibile, {campi[1], campi[2], campi[3], campi[4], campi[5]});

        for (QString &testo : campi)
            testo = Numeri::DueCifre(testo);
        if (PrimaCoppiaUguale(campi) >= 0)
            continue;
        if (std::any_of(diverseDa.cbegin(), diverseDa.cend(),
                        [&campi](const Combinazione &altra) { return StessaGiocata(campi, altra); }))
            continue;
        return campi;
    }
}

QString RigaGiocata(const Combinazione &campi)
{
    QString riga;
    riga.reserve(17);
    for (std::size_t i = 0; i < campi.size(); ++i) {
        if (i > 0)
            riga += QLatin1Char(' ');
        riga += campi[i];
    }
    return riga;
}

} // namespace Estrazione
