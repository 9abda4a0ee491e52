// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Reads a printed PDF back the way a reader sees the paper: the words of each page with their boxes
// in points (pdftotext -bbox, from poppler-utils), gathered into lines from top to bottom. Plain
// pdftotext would drop the leading blanks of a proportional font; the word boxes keep the indent.

#include <QFont>
#include <QList>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTextDocumentFragment>

#include <algorithm>
#include <cmath>

// The font of the play fields, which every print uses: "MS Sans Serif" at 10 points, bold.
inline QFont CarattereStampa()
{
    QFont carattere(QStringLiteral("MS Sans Serif"), 10);
    carattere.setBold(true);
    return carattere;
}

struct ParolaPdf {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    QString testo;
};

struct RigaPdf {
    double x0 = 0, y0 = 0, y1 = 0;
    QList<ParolaPdf> parole;
    // The words joined by single blanks.
    QString Testo() const
    {
        QStringList testi;
        for (const ParolaPdf &p : parole)
            testi << p.testo;
        return testi.join(QLatin1Char(' '));
    }
};

struct PaginaPdf {
    double larghezza = 0, altezza = 0;
    QList<RigaPdf> righe;
};

// Runs a poppler tool and returns its standard output; empty when it fails.
inline QByteArray EseguiPoppler(const QString &programma, const QStringList &argomenti)
{
    QProcess processo;
    processo.start(programma, argomenti);
    if (!processo.waitForFinished(60000) || processo.exitStatus() != QProcess::NormalExit ||
        processo.exitCode() != 0)
        return {};
    return processo.readAllStandardOutput();
}

inline QList<PaginaPdf> LeggiPdf(const QString &percorso)
{
    const QString html = QString::fromUtf8(
        EseguiPoppler(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), percorso, QStringLiteral("-")}));
    static const QRegularExpression pagina(
        QStringLiteral(R"re(<page width="([\d.]+)" height="([\d.]+)">)re"));
    static const QRegularExpression parola(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    QList<PaginaPdf> pagine;
    qsizetype posizione = 0;
    for (;;) {
        const QRegularExpressionMatch inizio = pagina.match(html, posizione);
        if (!inizio.hasMatch())
            break;
        PaginaPdf p;
        p.larghezza = inizio.captured(1).toDouble();
        p.altezza = inizio.captured(2).toDouble();
        const qsizetype fine = html.indexOf(QStringLiteral("</page>"), inizio.capturedEnd());
        const QString corpo = html.mid(inizio.capturedEnd(), fine - inizio.capturedEnd());
        QList<ParolaPdf> parole;
        for (const QRegularExpressionMatch &m : parola.globalMatch(corpo)) {
            parole.append({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                           m.captured(4).toDouble(),
                           QTextDocumentFragment::fromHtml(m.captured(5)).toPlainText()});
        }
        std::stable_sort(parole.begin(), parole.end(), [](const ParolaPdf &a, const ParolaPdf &b) {
            return a.y0 < b.y0 - 0.5 || (std::abs(a.y0 - b.y0) <= 0.5 && a.x0 < b.x0);
        });
        for (const ParolaPdf &w : parole) {
            if (p.righe.isEmpty() || std::abs(p.righe.back().y0 - w.y0) > 0.5)
                p.righe.append({w.x0, w.y0, w.y1, {}});
            p.righe.back().parole.append(w);
        }
        pagine.append(p);
        posizione = fine;
    }
    return pagine;
}

// The names of the fonts the PDF uses (pdffonts).
inline QStringList CaratteriPdf(const QString &percorso)
{
    const QStringList righe = QString::fromUtf8(EseguiPoppler(QStringLiteral("pdffonts"), {percorso}))
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QStringList nomi;
    // Two heading lines, then one font a line, its name first (after a subset prefix "ABCDEF+").
    for (qsizetype i = 2; i < righe.size(); ++i) {
        QString nome = righe[i].section(QLatin1Char(' '), 0, 0);
        nome = nome.mid(nome.indexOf(QLatin1Char('+')) + 1);
        nomi << nome;
    }
    return nomi;
}
