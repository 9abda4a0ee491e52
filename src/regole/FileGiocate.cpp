// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "regole/FileGiocate.h"

#include "regole/Errore.h"
#include "regole/Numeri.h"

#include <algorithm>

namespace FileGiocate
{

namespace
{

bool Spazio(char c)
{
    return c == ' ' || c == '\t';
}

// The number of a word of one or two decimal digits, from 1 to 90, or 0 for any other word.
int NumeroDellaParola(QByteArrayView parola)
{
    if (parola.size() > 2)
        return 0;
    int valore = 0;
    for (char c : parola) {
        if (c < '0' || c > '9')
            return 0;
        valore = valore * 10 + (c - '0');
    }
    return valore >= Numeri::Minimo && valore <= Numeri::Massimo ? valore : 0;
}

[[noreturn]] void Rifiuta(int numeroRiga, const QString &motivo)
{
    throw Errore(QStringLiteral("riga %1: %2").arg(numeroRiga).arg(motivo));
}

// The play on one line, its end already taken off; throws the reason it is not one.
Vincite::Numeri LeggiRiga(QByteArrayView riga, int numeroRiga)
{
    if (riga.isEmpty())
        Rifiuta(numeroRiga, QStringLiteral("è vuota"));
    // Only printable ASCII and the tab: a NUL, a stray CR or a byte of another encoding is no play.
    if (std::any_of(riga.begin(), riga.end(), [](char c) { return !Spazio(c) && (c < ' ' || c > '~'); }))
        Rifiuta(numeroRiga, QStringLiteral("contiene un carattere non ammesso"));

    QList<QByteArrayView> parole;
    for (qsizetype i = 0; i < riga.size();) {
        if (Spazio(riga[i])) {
            ++i;
            continue;
        }
        qsizetype fine = i;
        while (fine < riga.size() && !Spazio(riga[fine]))
            ++fine;
        parole.append(riga.sliced(i, fine - i));
        i = fine;
    }
    if (parole.size() != 6)
        Rifiuta(numeroRiga, QStringLiteral("non contiene sei numeri"));

    Vincite::Numeri giocata{};
    for (std::size_t i = 0; i < giocata.size(); ++i) {
        const QByteArrayView parola = parole[static_cast<qsizetype>(i)];
        giocata[i] = NumeroDellaParola(parola);
        if (giocata[i] == 0) {
            // A long word is shown by its start alone.
            const bool lunga = parola.size() > 10;
            Rifiuta(numeroRiga, QStringLiteral("%1%2 non è un numero da 1 a 90")
                                    .arg(QString::fromLatin1(lunga ? parola.first(10) : parola),
                                         lunga ? QStringLiteral("…") : QString()));
        }
        if (std::count(giocata.begin(), giocata.begin() + i + 1, giocata[i]) > 1)
            Rifiuta(
                numeroRiga,
                QStringLiteral("il numero %1 è ripetuto").arg(Numeri::DueCifre(QString::number(giocata[i]))));
    }
    return giocata;
}

} // namespace

QList<Vincite::Numeri> Leggi(const QByteArray &contenuto)
{
    if (contenuto.size() > MassimaDimensione)
        throw Errore(QStringLiteral("il file supera 1 MB"));
    // The end of the last line ends the text: no further, empty line follows it.
    QByteArrayView testo(contenuto);
    if (testo.endsWith('\n'))
        testo.chop(1);
    if (testo.count('\n') >= MassimeRighe)
        throw Errore(QStringLiteral("il file supera le %1 righe").arg(MassimeRighe));

    QList<Vincite::Numeri> giocate;
    qsizetype inizio = 0;
    for (int numeroRiga = 1;; ++numeroRiga) {
        qsizetype fine = testo.indexOf('\n', inizio);
        const bool ultima = fine < 0;
        if (ultima)
            fine = testo.size();
        QByteArrayView riga = testo.sliced(inizio, fine - inizio);
        if (riga.endsWith('\r'))
            riga.chop(1);
        if (numeroRiga == 1 && ultima && riga.isEmpty())
            throw Errore(QStringLiteral("il file non contiene giocate"));
        giocate.append(LeggiRiga(riga, numeroRiga));
        if (ultima)
            return giocate;
        inizio = fine + 1;
    }
}

} // namespace FileGiocate
