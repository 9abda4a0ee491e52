// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The scanner's walk written out step by step, the slow way: working copies of the texts, texts and
// markers turned round in backwards mode, the markers' state kept in a flag. The real scanner avoids
// every copy; the unit tests and the fuzzer check that both always give the same values.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include "regole/Scansione.h"

namespace Riferimento
{

// Position of the first occurrence, or -1; an empty marker and an empty text never match.
inline qsizetype Trova(const QByteArray &testo, const QByteArray &cercato)
{
    if (cercato.isEmpty() || testo.isEmpty())
        return -1;
    for (qsizetype i = 0; i + cercato.size() <= testo.size(); ++i) {
        if (QByteArrayView(testo).sliced(i, cercato.size()) == cercato)
            return i;
    }
    return -1;
}

inline QByteArray Inverti(const QByteArray &testo)
{
    QByteArray risultato;
    for (qsizetype i = testo.size() - 1; i >= 0; --i)
        risultato.append(testo.at(i));
    return risultato;
}

inline void Estrai(const QList<QByteArray> &sorgente, QList<QByteArray> &destinazione,
                   const Scansione::Criterio &criterio)
{
    // Copies of the caller's markers: the walk turns them round.
    QByteArray ancora = criterio.Ancora;
    QByteArray separatore = criterio.Separatore;
    QByteArray apertura = criterio.Apertura;
    QByteArray chiusura = criterio.Chiusura;
    const bool invertito = criterio.Invertito;
    if (sorgente.isEmpty())
        return;
    QList<QByteArray> lavoro;
    if (invertito) {
        for (qsizetype i = sorgente.size() - 1; i >= 0; --i)
            lavoro.append(Inverti(sorgente.at(i)));
    } else {
        lavoro = sorgente;
    }

    bool marcatoriInvertiti = false;
    const auto invertiMarcatori = [&] {
        ancora = Inverti(ancora);
        separatore = Inverti(separatore);
        apertura = Inverti(apertura);
        chiusura = Inverti(chiusura);
    };

    qsizetype e = 0;
    while (e < lavoro.size()) {
        if (invertito && !marcatoriInvertiti) {
            invertiMarcatori();
            marcatoriInvertiti = true;
        }
        QByteArray t = lavoro.at(e);
        const qsizetype posAncora = Trova(t, ancora);
        if (posAncora >= 0) {
            t = t.mid(posAncora);
            int colpi = 0;
            for (qsizetype k = e; k < lavoro.size(); ++k) {
                if (invertito && !marcatoriInvertiti) {
                    invertiMarcatori();
                    marcatoriInvertiti = true;
                }
                if (k > e)
                    t = lavoro.at(k);
                const qsizetype posSeparatore = Trova(t, separatore);
                if (posSeparatore < 0)
                    continue;
                ++colpi;
                if (colpi <= criterio.Salti)
                    continue;
                if (invertito) {
                    t = Inverti(t.left(posSeparatore + separatore.size()));
                    invertiMarcatori();
                    marcatoriInvertiti = false;
                } else {
                    t = t.mid(posSeparatore);
                }
                const qsizetype posApertura = Trova(t, apertura);
                if (posApertura < 0)
                    continue;
                t = t.mid(criterio.IncludiApertura ? posApertura : posApertura + apertura.size());
                const qsizetype posChiusura = Trova(t, chiusura);
                if (posChiusura < 0)
                    continue;
                t = t.left(criterio.IncludiChiusura ? posChiusura + chiusura.size() : posChiusura);
                while (!t.isEmpty() && criterio.Scarti.contains(t.back()))
                    t.chop(1);
                destinazione.append(t);
                e = k;
                break;
            }
        }
        ++e;
    }
}

} // namespace Riferimento
