// The scanner with every criterion field drawn from the input, checked against the step-by-step walk.
#include "update/RiferimentoScansione.h"
#include "update/Scansione.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

namespace {

QByteArray Testo(FuzzedDataProvider &dati, size_t massimo)
{
    const std::string testo = dati.ConsumeRandomLengthString(massimo);
    return QByteArray(testo.data(), qsizetype(testo.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *byte, size_t quanti)
{
    FuzzedDataProvider dati(byte, quanti);
    const bool invertito = dati.ConsumeBool();
    const bool includiApertura = dati.ConsumeBool();
    const bool includiChiusura = dati.ConsumeBool();
    const qint16 salti = dati.ConsumeIntegral<qint16>();
    const QByteArray ancora = Testo(dati, 16);
    const QByteArray separatore = Testo(dati, 8);
    const QByteArray apertura = Testo(dati, 8);
    const QByteArray chiusura = Testo(dati, 8);
    const QByteArray scarti = Testo(dati, 8);
    QList<QByteArray> pagine;
    while (dati.remaining_bytes() > 0 && pagine.size() < 8)
        pagine.append(Testo(dati, 1024));

    const QList<QByteArray> copiaPagine = pagine;
    const QByteArray copie[] = {ancora, separatore, apertura, chiusura, scarti};

    QList<QByteArray> trovati{"prima"};
    Scansione::EstraiURLConCriterio(pagine, trovati, invertito, ancora, separatore, apertura, chiusura, scarti,
                                    includiApertura, includiChiusura, salti);
    QList<QByteArray> attesi{"prima"};
    Riferimento::Estrai(pagine, attesi, invertito, ancora, separatore, apertura, chiusura, scarti,
                        includiApertura, includiChiusura, salti);

    if (trovati != attesi)
        std::abort();
    // One value at most per page, appended after what was there.
    if (trovati.size() > pagine.size() + 1 || trovati.constFirst() != "prima")
        std::abort();
    if (pagine != copiaPagine || copie[0] != ancora || copie[1] != separatore || copie[2] != apertura ||
        copie[3] != chiusura || copie[4] != scarti)
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
