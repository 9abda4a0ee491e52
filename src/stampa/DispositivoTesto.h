// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QString>

#include <optional>
#include <vector>

class QPagedPaintDevice;
class QPainter;
class QPrinter;

// A printer driven as a text device: lines written one under the other from the top left corner of
// the printable area, in device pixels of the chosen printer.
//  - A line advances the position by the height of its text plus 2 pixels; a line without text by the
//    font's character height.
//  - A line wider than the printable area breaks after the last character that fits and goes on in
//    the next line.
//  - When, after a line, the position lies lower than the page height less twice that line's height,
//    the next line starts a new page at its top (a page is begun only when something is written on it,
//    so a job never ends with a blank sheet).
//  - A font set applies to every line written afterwards.
//  - Of a job laid out on several pages, only the pages chosen in the printer dialog are printed.
// The lines are laid out in memory and the job is handed to the printer only by Chiudi, whole: a
// failure on the way, or a device destroyed without Chiudi, sends nothing to the printer. Printed to a
// file, the job is written whole or not at all: a file that cannot be written whole is reported, and
// the earlier file of that name, if any, stays as it was.
class DispositivoTesto
{
public:
    explicit DispositivoTesto(QPrinter &stampante);
    ~DispositivoTesto();

    DispositivoTesto(const DispositivoTesto &) = delete;
    DispositivoTesto &operator=(const DispositivoTesto &) = delete;

    // Starts the job at the top left corner of the first page. Throws Errore for a printer that
    // cannot print, and for an output file name that stands for something other than a regular file
    // (a named pipe, a folder, a device), before anything is opened.
    void Apri();
    void ImpostaCarattere(const QFont &carattere);
    void ScriviRiga(const QString &testo);
    // Ends the job and hands it to the printer; returns when it has been handed over. Throws Errore
    // when the printer refuses it, or its file cannot be written whole; a job refused half-way is
    // aborted.
    void Chiudi();

    // Pages laid out so far, printed or not.
    int Pagine() const { return static_cast<int>(m_pagine.size()); }

private:
    struct Voce {
        int alto;      // top of the line on its page, in device pixels
        int carattere; // index into m_caratteri
        QString testo;
    };

    // How many of the text's leading characters fit across the printable area (at least one).
    qsizetype CaratteriCheEntrano(const QString &testo) const;
    void ScriviParte(const QString &parte);
    bool PaginaScelta(int numero) const;
    using PagineScelte = std::vector<const std::vector<Voce> *>;
    void Stampa();
    // The chosen pages, with the fonts measured on the printer, on a painter already begun.
    void Disegna(QPainter &pittore, QPagedPaintDevice &foglio, const PagineScelte &scelte) const;
    void StampaSuStampante(const PagineScelte &scelte);
    void StampaSuFile(const PagineScelte &scelte);

    QPrinter &m_stampante;
    bool m_aperto = false;
    int m_larghezza = 0;
    int m_altezza = 0;
    std::vector<QFont> m_caratteri;
    std::optional<QFontMetrics> m_metriche;
    std::vector<std::vector<Voce>> m_pagine;
    int m_posizione = 0;
    bool m_paginaNuovaInAttesa = false;
};
