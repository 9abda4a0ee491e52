// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "regole/Scansione.h"

#include "regole/Errore.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

namespace Scansione
{

namespace
{

// Pages run to megabytes and the anchor may sit near their end, so the texts are never copied while
// they are searched: the walk works on views over the caller's texts, and the backwards mode, instead of
// turning whole pages round, looks for the last occurrence of a marker, which is exactly where the first
// occurrence of the reversed marker lies in the reversed text.

// Where a marker first occurs in a text, or -1. An empty marker is never found.
qsizetype Trova(QByteArrayView testo, QByteArrayView cercato)
{
    if (cercato.isEmpty() || testo.size() < cercato.size())
        return -1;
    const void *trovato =
        cercato.size() == 1
            ? std::memchr(testo.data(), cercato.front(), size_t(testo.size()))
            : ::memmem(testo.data(), size_t(testo.size()), cercato.data(), size_t(cercato.size()));
    return trovato ? static_cast<const char *>(trovato) - testo.data() : -1;
}

// Where the last occurrence of a marker starts, or -1. An empty marker is never found.
qsizetype TrovaUltimo(QByteArrayView testo, QByteArrayView cercato)
{
    if (cercato.isEmpty() || testo.size() < cercato.size())
        return -1;
    if (cercato.size() == 1) {
        const void *trovato = ::memrchr(testo.data(), cercato.front(), size_t(testo.size()));
        return trovato ? static_cast<const char *>(trovato) - testo.data() : -1;
    }
    return testo.lastIndexOf(cercato);
}

using Scarti = std::array<bool, 256>;

Scarti InsiemeScarti(const Criterio &criterio)
{
    Scarti scarto{};
    for (char c : criterio.Scarti)
        scarto[static_cast<unsigned char>(c)] = true;
    return scarto;
}

// The value in a text that begins at a counted separator: from the first opening marker on (the
// marker kept or not) to the first closing marker after it, trailing discards dropped; nothing when a
// marker is missing.
std::optional<QByteArrayView> Valore(QByteArrayView t, const Criterio &criterio, const Scarti &scarto)
{
    const qsizetype apertura = Trova(t, criterio.Apertura);
    if (apertura < 0)
        return std::nullopt;
    t = t.sliced(criterio.IncludiApertura ? apertura : apertura + criterio.Apertura.size());

    const qsizetype chiusura = Trova(t, criterio.Chiusura);
    if (chiusura < 0)
        return std::nullopt;
    t = t.first(criterio.IncludiChiusura ? chiusura + criterio.Chiusura.size() : chiusura);

    while (!t.isEmpty() && scarto[static_cast<unsigned char>(t.back())])
        t.chop(1);
    return t;
}

} // namespace

QByteArray invertiTesto(QByteArrayView testo)
{
    QByteArray invertito(testo.size(), Qt::Uninitialized);
    std::reverse_copy(testo.begin(), testo.end(), invertito.begin());
    return invertito;
}

void EstraiURLConCriterio(const QList<QByteArray> &Sorgente, QList<QByteArray> &Destinazione,
                          const Criterio &criterio)
{
    const qsizetype voci = Sorgente.size();
    if (voci == 0)
        return;

    const Scarti scarto = InsiemeScarti(criterio);

    // The e-th text of the walk: the sources in order, or from the last to the first backwards.
    const auto voce = [&](qsizetype indice) -> QByteArrayView {
        return Sorgente.at(criterio.Invertito ? voci - 1 - indice : indice);
    };

    for (qsizetype e = 0; e < voci; ++e) {
        // The anchor's text: forwards from the anchor on; backwards up to the end of its last occurrence.
        QByteArrayView testo = voce(e);
        if (criterio.Invertito) {
            const qsizetype ancora = TrovaUltimo(testo, criterio.Ancora);
            if (ancora < 0)
                continue;
            testo = testo.first(ancora + criterio.Ancora.size());
        } else {
            const qsizetype ancora = Trova(testo, criterio.Ancora);
            if (ancora < 0)
                continue;
            testo = testo.sliced(ancora);
        }

        int colpi = 0;
        for (qsizetype k = e; k < voci; ++k) {
            QByteArrayView t = k == e ? testo : voce(k);

            // From the separator on: forwards its first occurrence, backwards its last one.
            const qsizetype separatore =
                criterio.Invertito ? TrovaUltimo(t, criterio.Separatore) : Trova(t, criterio.Separatore);
            if (separatore < 0)
                continue;
            if (++colpi <= criterio.Salti)
                continue;
            const std::optional<QByteArrayView> valore = Valore(t.sliced(separatore), criterio, scarto);
            if (!valore)
                continue;
            Destinazione.append(valore->toByteArray());
            e = k;
            break;
        }
    }
}

void ScansioneProgressiva::Aggiungi(QByteArray pagina)
{
    ++m_pagine;
    if (!m_primo)
        m_nuove.append(std::move(pagina));
}

void ScansioneProgressiva::Scansiona()
{
    if (m_primo || m_nuove.isEmpty())
        return;
    const QList<QByteArray> nuove = std::exchange(m_nuove, {});
    QList<QByteArray> valori;
    if (m_criterio.Invertito) {
        m_lette += nuove;
        EstraiURLConCriterio(m_lette, valori, m_criterio);
    } else {
        // The walk from the first anchor of the pages already scanned goes on through the new ones,
        // read whole; then the new pages are walked among themselves.
        if (m_ancora) {
            const Scarti scarto = InsiemeScarti(m_criterio);
            qint64 colpi = m_colpi;
            for (const QByteArray &pagina : nuove) {
                const qsizetype separatore = Trova(pagina, m_criterio.Separatore);
                if (separatore < 0 || ++colpi <= m_criterio.Salti)
                    continue;
                if (const auto valore =
                        Valore(QByteArrayView(pagina).sliced(separatore), m_criterio, scarto)) {
                    valori.append(valore->toByteArray());
                    break;
                }
            }
        }
        if (valori.isEmpty())
            EstraiURLConCriterio(nuove, valori, m_criterio);
        for (const QByteArray &pagina : nuove) {
            if (m_ancora) {
                m_colpi += Trova(pagina, m_criterio.Separatore) >= 0;
            } else if (const qsizetype ancora = Trova(pagina, m_criterio.Ancora); ancora >= 0) {
                m_ancora = true;
                m_colpi = Trova(QByteArrayView(pagina).sliced(ancora), m_criterio.Separatore) >= 0;
            }
        }
    }
    if (!valori.isEmpty()) {
        m_primo = valori.constFirst();
        m_lette.clear();
    }
}

std::optional<qint32> LeggiIntero(QByteArrayView testo)
{
    qsizetype i = 0;
    const qsizetype fine = testo.size();
    while (i < fine && testo[i] == ' ')
        ++i;

    bool negativo = false;
    if (i < fine && (testo[i] == '-' || testo[i] == '+'))
        negativo = testo[i++] == '-';

    int base = 10;
    if (i < fine && (testo[i] == '$' || testo[i] == 'x' || testo[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < fine && testo[i] == '0' && (testo[i + 1] == 'x' || testo[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }

    if (i == fine)
        return std::nullopt;
    // The magnitude may reach 2^31 only for a negative number.
    const qint64 limite =
        negativo ? qint64(std::numeric_limits<qint32>::max()) + 1 : std::numeric_limits<qint32>::max();
    qint64 valore = 0;
    for (; i < fine; ++i) {
        const char c = testo[i];
        int cifra;
        if (c >= '0' && c <= '9')
            cifra = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            cifra = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            cifra = c - 'A' + 10;
        else
            return std::nullopt;
        valore = valore * base + cifra;
        if (valore > limite)
            return std::nullopt;
    }
    return static_cast<qint32>(negativo ? -valore : valore);
}

qint32 VersionePubblicata(const QList<QByteArray> &risultati)
{
    if (risultati.isEmpty())
        return 0;
    const std::optional<qint32> letta = LeggiIntero(risultati.constFirst());
    return letta && *letta > 0 ? *letta : 0;
}

QByteArray TestoVersione(const QString &etichettaVersione)
{
    return InWindows1252(etichettaVersione).mid(8);
}

qint32 VersioneAttuale(const QString &etichettaVersione)
{
    const QByteArray testo = TestoVersione(etichettaVersione);
    const std::optional<qint32> letta = LeggiIntero(testo);
    if (!letta)
        throw Errore(QStringLiteral("'%1' non è un valore intero valido").arg(DaWindows1252(testo)));
    return *letta;
}

namespace
{

// Windows-1252 differs from Latin-1 only in 0x80-0x9F; 0 marks the five bytes it leaves undefined,
// which stand for the control characters of the same value.
constexpr char16_t Da80a9F[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char InByte(char32_t carattere)
{
    if (carattere < 0x80 || (carattere >= 0xA0 && carattere <= 0xFF))
        return static_cast<char>(carattere);
    for (int i = 0; i < 32; ++i) {
        if (Da80a9F[i] == carattere || (Da80a9F[i] == 0 && carattere == char32_t(0x80 + i)))
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

} // namespace

QByteArray InWindows1252(QStringView testo)
{
    // Pages are megabytes of mostly ASCII: one pass writing straight into the result.
    QByteArray risultato(testo.size(), Qt::Uninitialized);
    char *destinazione = risultato.data();
    const char16_t *sorgente = testo.utf16();
    const char16_t *const fine = sorgente + testo.size();
    while (sorgente < fine) {
        char32_t carattere = *sorgente++;
        if (carattere < 0x80) {
            *destinazione++ = static_cast<char>(carattere);
            continue;
        }
        if (QChar::isHighSurrogate(carattere) && sorgente < fine && QChar::isLowSurrogate(*sorgente)) {
            const char16_t basso = *sorgente++;
            carattere = QChar::surrogateToUcs4(char16_t(carattere), basso);
        }
        *destinazione++ = InByte(carattere);
    }
    risultato.truncate(destinazione - risultato.data());
    return risultato;
}

QString DaWindows1252(QByteArrayView testo)
{
    QString risultato(testo.size(), Qt::Uninitialized);
    QChar *destinazione = risultato.data();
    for (char c : testo) {
        const auto byte = static_cast<unsigned char>(c);
        const char16_t speciale = byte >= 0x80 && byte < 0xA0 ? Da80a9F[byte - 0x80] : 0;
        *destinazione++ = QChar(speciale ? speciale : char16_t(byte));
    }
    return risultato;
}

} // namespace Scansione
