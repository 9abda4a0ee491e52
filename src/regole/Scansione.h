// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>
#include <optional>
#include <utility>

// The version page scanner: cuts values out of page texts by a criterion, reads the published and the
// current build number and compares them. Texts are 8-bit (Windows-1252), positions count from 1 in the
// comments and from 0 in the code. Nothing here touches a window.
namespace Scansione
{

// The text with its characters in reverse order.
QByteArray invertiTesto(QByteArrayView testo);

// What to cut out of the page texts, and how (see EstraiURLConCriterio). A new criterion is empty and
// finds nothing.
struct Criterio {
    // Backwards mode: texts and markers are searched turned back to front.
    bool Invertito = false;
    // A search starts only in a text that holds it.
    QByteArray Ancora;
    // Texts that hold it are counted.
    QByteArray Separatore;
    // The value begins after it, and ends before Chiusura.
    QByteArray Apertura;
    QByteArray Chiusura;
    // A set of characters dropped from the end of a value.
    QByteArray Scarti;
    // The markers stay at the front and at the end of the value.
    bool IncludiApertura = false;
    bool IncludiChiusura = false;
    // How many separator-bearing texts are passed over before a value is taken.
    qint16 Salti = 0;
};

// Walks the page texts and appends to Destinazione the values that the criterion cuts out of them.
// Forward mode: from the first occurrence of Ancora in a text, the (Salti + 1)-th following text that
// holds Separatore (the anchor's text counts from the anchor on, the others whole), or failing that the
// next one, gives the text between the first Apertura at or after the separator and the first Chiusura
// after it; trailing characters found in Scarti are dropped. Backwards mode (Invertito) does the same
// over the texts from the last to the first, each read from its end. Empty markers are never found;
// nothing is ever removed from Destinazione.
void EstraiURLConCriterio(const QList<QByteArray> &Sorgente, QList<QByteArray> &Destinazione,
                          const Criterio &criterio);

// The scanner as the update check runs it over its growing list of pages: each check scans every page
// completed so far, and only the first value ever found is read. Keeping every page and scanning them
// all at each check costs memory and time without end; this holds only what a later scan can still
// use, with the same first value. Once a value is found nothing more can change it, and no page is
// kept. Until then, forwards, a later page can only continue the walk that starts at the first anchor
// of the pages already scanned (the walks from later anchors count fewer separators and meet the same
// pages), so what is kept of them is whether they hold an anchor and how many separators that walk has
// counted. Backwards, the walk reads the earlier pages again, and they are kept whole.
class ScansioneProgressiva
{
public:
    explicit ScansioneProgressiva(Criterio criterio = {}) : m_criterio(std::move(criterio)) {}

    // A page completed: scanned with the others at the next Scansiona.
    void Aggiungi(QByteArray pagina);
    // Scans as EstraiURLConCriterio would scan every page added so far.
    void Scansiona();
    // The first value any scan found, if one did.
    const std::optional<QByteArray> &Primo() const { return m_primo; }
    // Pages added, and pages held in memory.
    qsizetype Pagine() const { return m_pagine; }
    qsizetype PagineTrattenute() const { return m_nuove.size() + m_lette.size(); }

private:
    Criterio m_criterio;
    std::optional<QByteArray> m_primo;
    qsizetype m_pagine = 0;
    // Added since the last scan.
    QList<QByteArray> m_nuove;
    // Forwards: an anchor in the pages scanned, and the separators counted from the first one on.
    bool m_ancora = false;
    qint64 m_colpi = 0;
    // Backwards: the pages scanned.
    QList<QByteArray> m_lette;
};

// Reads a signed 32-bit integer: blanks (character 32) before it are skipped, then an optional sign,
// then decimal digits or hexadecimal ones after "$", "x", "X", "0x" or "0X". Nothing may follow the
// digits. An empty text, a text that is not such a number and a value outside the 32-bit range give
// nothing.
std::optional<qint32> LeggiIntero(QByteArrayView testo);

// The published build number from the scanner's result list: the first entry read as an integer.
// An empty list, an unreadable first entry and a value that is not positive all count as 0, which is
// never shown to the user.
qint32 VersionePubblicata(const QList<QByteArray> &risultati);

// The version label ("05.2002-15": month, year, build) without its first 8 characters: the build part.
QByteArray TestoVersione(const QString &etichettaVersione);

// The current build number read from the version label (15 from "05.2002-15"). A label whose build part
// is not an integer throws Errore, as any conversion that cannot be done.
qint32 VersioneAttuale(const QString &etichettaVersione);

// A newer build is published exactly when the current number is strictly less than the published one.
constexpr bool NuovaVersioneDisponibile(qint32 attuale, qint32 pubblicata)
{
    return attuale < pubblicata;
}

// Conversions between the program's 8-bit texts (Windows-1252) and Qt's strings. A character that the
// code page lacks becomes "?", as the system conversion does; the five bytes the code page leaves
// undefined stand for the control characters of the same value, so that every byte survives a round trip.
QByteArray InWindows1252(QStringView testo);
QString DaWindows1252(QByteArrayView testo);

} // namespace Scansione
