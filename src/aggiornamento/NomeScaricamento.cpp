// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "aggiornamento/NomeScaricamento.h"

#include <QRegularExpression>
#include <QUrl>

namespace NomeScaricamento
{

namespace
{

// A NUL ends the name on disk where the dialog shows more of it; line breaks and escapes act on a
// terminal that lists the folder; the bidirectional controls turn round what is shown ("exe.txt" read
// as "txt.exe").
bool Nascosto(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x20 || (u >= 0x7F && u <= 0x9F) || (u >= 0x202A && u <= 0x202E) ||
           (u >= 0x2066 && u <= 0x2069) || u == 0x200E || u == 0x200F || u == 0x061C;
}

} // namespace

QString Proposto(const QByteArray &disposizione, const QUrl &indirizzo)
{
    QString nome;
    const QString testo = QString::fromLatin1(disposizione);
    static const QRegularExpression esteso(QStringLiteral(R"(filename\*\s*=\s*UTF-8''([^;]+))"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression semplice(QStringLiteral(R"re(filename\s*=\s*("([^"]*)"|[^;]+))re"),
                                             QRegularExpression::CaseInsensitiveOption);
    if (const auto trovato = esteso.match(testo); trovato.hasMatch())
        nome = QUrl::fromPercentEncoding(trovato.captured(1).trimmed().toLatin1());
    else if (const auto trovato = semplice.match(testo); trovato.hasMatch())
        nome = trovato.captured(2).isNull() ? trovato.captured(1).trimmed() : trovato.captured(2);
    if (nome.isEmpty())
        nome = indirizzo.fileName();
    nome.removeIf(Nascosto);
    nome.replace(QLatin1Char('\\'), QLatin1Char('/'));
    nome = nome.section(QLatin1Char('/'), -1).trimmed();
    if (nome.isEmpty() || nome == QLatin1String(".") || nome == QLatin1String(".."))
        nome = QStringLiteral("download");
    return nome;
}

} // namespace NomeScaricamento
