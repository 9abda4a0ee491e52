// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The scanner with every criterion field drawn from the input, checked against the step-by-step walk.
#include "regole/RiferimentoScansione.h"
#include "regole/Scansione.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

namespace
{

QByteArray Testo(FuzzedDataProvider &dati, size_t massimo)
{
    const std::string testo = dati.ConsumeRandomLengthString(massimo);
    return QByteArray(testo.data(), qsizetype(testo.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *byte, size_t quanti)
{
    FuzzedDataProvider dati(byte, quanti);
    Scansione::Criterio criterio;
    criterio.Invertito = dati.ConsumeBool();
    criterio.IncludiApertura = dati.ConsumeBool();
    criterio.IncludiChiusura = dati.ConsumeBool();
    criterio.Salti = dati.ConsumeIntegral<qint16>();
    criterio.Ancora = Testo(dati, 16);
    criterio.Separatore = Testo(dati, 8);
    criterio.Apertura = Testo(dati, 8);
    criterio.Chiusura = Testo(dati, 8);
    criterio.Scarti = Testo(dati, 8);
    QList<QByteArray> pagine;
    while (dati.remaining_bytes() > 0 && pagine.size() < 8)
        pagine.append(Testo(dati, 1024));

    const QList<QByteArray> copiaPagine = pagine;
    const QByteArray copie[] = {criterio.Ancora, criterio.Separatore, criterio.Apertura, criterio.Chiusura,
                                criterio.Scarti};

    QList<QByteArray> trovati{"prima"};
    Scansione::EstraiURLConCriterio(pagine, trovati, criterio);
    QList<QByteArray> attesi{"prima"};
    Riferimento::Estrai(pagine, attesi, criterio);

    if (trovati != attesi)
        std::abort();
    // One value at most per page, appended after what was there.
    if (trovati.size() > pagine.size() + 1 || trovati.constFirst() != "prima")
        std::abort();
    if (pagine != copiaPagine || copie[0] != criterio.Ancora || copie[1] != criterio.Separatore ||
        copie[2] != criterio.Apertura || copie[3] != criterio.Chiusura || copie[4] != criterio.Scarti)
        std::abort();
    for (const QByteArray &pagina : pagine) {
        if (Scansione::invertiTesto(Scansione::invertiTesto(pagina)) != pagina)
            std::abort();
    }
    // Whatever was found goes through the reading of the published version.
    const qint32 pubblicata = Scansione::VersionePubblicata(trovati.mid(1));
    if (pubblicata < 0)
        std::abort();
    return 0;
}
