// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "stampa/DispositivoTesto.h"

#include "kit/Salvataggio.h"
#include "regole/Errore.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace
{

QString NomeStampante(const QPrinter &stampante)
{
    if (!stampante.outputFileName().isEmpty())
        return stampante.outputFileName();
    return stampante.printerName();
}

} // namespace

DispositivoTesto::DispositivoTesto(QPrinter &stampante) : m_stampante(stampante) {}

// Nothing reaches the printer before Chiudi, so an unfinished job leaves nothing behind.
DispositivoTesto::~DispositivoTesto() = default;

void DispositivoTesto::Apri()
{
    if (!m_stampante.isValid())
        throw Errore(QStringLiteral("La stampante %1 non è disponibile").arg(NomeStampante(m_stampante)));
    // Only a regular file is printed to: opening a named pipe would wait for a reader for ever, a
    // folder or a device is no place for a printed page, and a symbolic link would have the print
    // replace whatever it points to, wherever that is.
    if (const QString file = m_stampante.outputFileName();
        !file.isEmpty() &&
        (QFileInfo(file).isSymLink() || (QFileInfo::exists(file) && !QFileInfo(file).isFile())))
        throw Errore(QStringLiteral("Impossibile avviare la stampa su %1: non è un file regolare").arg(file));
    m_larghezza = m_stampante.width();
    m_altezza = m_stampante.height();
    if (m_larghezza <= 0 || m_altezza <= 0)
        throw Errore(
            QStringLiteral("La stampante %1 non ha un'area stampabile").arg(NomeStampante(m_stampante)));

    m_caratteri.clear();
    m_pagine.clear();
    m_pagine.emplace_back();
    m_posizione = 0;
    m_paginaNuovaInAttesa = false;
    m_aperto = true;
    ImpostaCarattere(QFont());
}

void DispositivoTesto::ImpostaCarattere(const QFont &carattere)
{
    m_caratteri.push_back(carattere);
    m_metriche.emplace(carattere, &m_stampante);
}

qsizetype DispositivoTesto::CaratteriCheEntrano(const QString &testo) const
{
    if (m_metriche->horizontalAdvance(testo) <= m_larghezza)
        return testo.size();
    // The widest prefix that still fits; the advance of a prefix grows with its length.
    qsizetype entrano = 1;
    qsizetype nonEntrano = testo.size();
    while (nonEntrano - entrano > 1) {
        const qsizetype mezzo = entrano + (nonEntrano - entrano) / 2;
        if (m_metriche->horizontalAdvance(testo.left(mezzo)) <= m_larghezza)
            entrano = mezzo;
        else
            nonEntrano = mezzo;
    }
    return entrano;
}

void DispositivoTesto::ScriviRiga(const QString &testo)
{
    if (!m_aperto)
        throw Errore(QStringLiteral("La stampa non è stata avviata"));
    if (testo.isEmpty()) {
        ScriviParte(testo);
        return;
    }
    QStringView resto(testo);
    while (!resto.isEmpty()) {
        const QString tutto = resto.toString();
        const qsizetype quanti = CaratteriCheEntrano(tutto);
        ScriviParte(tutto.left(quanti));
        resto = resto.mid(quanti);
    }
}

void DispositivoTesto::ScriviParte(const QString &parte)
{
    if (m_paginaNuovaInAttesa) {
        m_pagine.emplace_back();
        m_posizione = 0;
        m_paginaNuovaInAttesa = false;
    }
    m_pagine.back().push_back({m_posizione, static_cast<int>(m_caratteri.size()) - 1, parte});
    const int avanzamento = parte.isEmpty() ? m_metriche->height() : m_metriche->height() + 2;
    m_posizione += avanzamento;
    if (m_posizione > m_altezza - 2 * avanzamento)
        m_paginaNuovaInAttesa = true;
}

void DispositivoTesto::Chiudi()
{
    if (!m_aperto)
        throw Errore(QStringLiteral("La stampa non è stata avviata"));
    m_aperto = false;
    Stampa();
}

bool DispositivoTesto::PaginaScelta(int numero) const
{
    return m_stampante.printRange() != QPrinter::PageRange || m_stampante.pageRanges().contains(numero);
}

void DispositivoTesto::Stampa()
{
    // The pages the user chose in the printer dialog, numbered from 1; a range past the last page
    // prints nothing, and no job is started for it.
    PagineScelte scelte;
    for (std::size_t i = 0; i < m_pagine.size(); ++i)
        if (PaginaScelta(static_cast<int>(i) + 1))
            scelte.push_back(&m_pagine[i]);
    if (scelte.empty())
        return;
    if (m_stampante.outputFileName().isEmpty())
        StampaSuStampante(scelte);
    else
        StampaSuFile(scelte);
}

void DispositivoTesto::Disegna(QPainter &pittore, QPagedPaintDevice &foglio, const PagineScelte &scelte) const
{
    std::vector<int> ascese;
    for (const QFont &carattere : m_caratteri)
        ascese.push_back(QFontMetrics(carattere, &m_stampante).ascent());
    int corrente = -1;
    bool prima = true;
    for (const std::vector<Voce> *pagina : scelte) {
        if (!prima && !foglio.newPage())
            throw Errore(
                QStringLiteral("La stampante %1 ha interrotto la stampa").arg(NomeStampante(m_stampante)));
        prima = false;
        for (const Voce &voce : *pagina) {
            if (voce.carattere != corrente) {
                corrente = voce.carattere;
                pittore.setFont(m_caratteri[static_cast<std::size_t>(corrente)]);
            }
            pittore.drawText(0, voce.alto + ascese[static_cast<std::size_t>(corrente)], voce.testo);
        }
    }
}

void DispositivoTesto::StampaSuStampante(const PagineScelte &scelte)
{
    QPainter pittore;
    if (!pittore.begin(&m_stampante))
        throw Errore(QStringLiteral("Impossibile avviare la stampa su %1").arg(NomeStampante(m_stampante)));
    // The job has started: from here a failure aborts it rather than handing half of it over.
    try {
        Disegna(pittore, m_stampante, scelte);
        if (m_stampante.printerState() == QPrinter::Error)
            throw Errore(
                QStringLiteral("La stampante %1 ha interrotto la stampa").arg(NomeStampante(m_stampante)));
    } catch (...) {
        m_stampante.abort();
        pittore.end();
        throw;
    }
    if (!pittore.end())
        throw Errore(
            QStringLiteral("La stampante %1 non ha accettato la stampa").arg(NomeStampante(m_stampante)));
}

void DispositivoTesto::StampaSuFile(const PagineScelte &scelte)
{
    // The PDF printer writes its file as it goes and never says when a write fails: a full disk would
    // leave an empty or cut file, and the earlier file of that name already lost. So the document is
    // laid out in memory, on the printer's own page layout and resolution, and saved whole under a
    // temporary name that takes the file's place only once every byte is on disk.
    const QString percorso = m_stampante.outputFileName();
    Salvataggio file(percorso);
    try {
        file.Apri();
    } catch (const Errore &e) {
        throw Errore(QStringLiteral("Impossibile avviare la stampa su %1: %2").arg(percorso, e.messaggio()));
    }

    QByteArray pdf;
    {
        QBuffer memoria(&pdf);
        memoria.open(QIODevice::WriteOnly);
        QPdfWriter scrittore(&memoria);
        scrittore.setPdfVersion(m_stampante.pdfVersion());
        scrittore.setResolution(m_stampante.resolution());
        scrittore.setPageLayout(m_stampante.pageLayout());
        scrittore.setCreator(m_stampante.creator());
        scrittore.setTitle(m_stampante.docName());
        QPainter pittore;
        if (!pittore.begin(&scrittore))
            throw Errore(QStringLiteral("Impossibile avviare la stampa su %1").arg(percorso));
        Disegna(pittore, scrittore, scelte);
        pittore.end();
    }

    try {
        file.Scrivi(pdf);
        file.Concludi();
    } catch (const Errore &e) {
        throw Errore(QStringLiteral("Impossibile scrivere la stampa su %1: %2").arg(percorso, e.messaggio()));
    }
}
