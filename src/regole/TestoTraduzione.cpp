// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "regole/TestoTraduzione.h"

namespace TestoTraduzione
{

namespace
{

bool cifraAscii(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

QString TestoPreparato(const QString &testo)
{
    QString preparato = testo.startsWith(QLatin1Char('&')) ? testo.mid(1) : testo;
    preparato.remove(QLatin1Char('\''));
    return preparato;
}

bool NomeLinguaValido(const QString &lingua)
{
    if (lingua.isEmpty() || cifraAscii(lingua.front()))
        return false;
    for (const QChar c : lingua)
        if (!(c == QLatin1Char('_') || cifraAscii(c) || c.isLetter()))
            return false;
    return true;
}

QString TestoSql(const QString &preparato, const QString &lingua)
{
    return QStringLiteral("select ") + lingua + QStringLiteral(" from lingua where ITALIANO = '") +
           preparato + QStringLiteral("' ");
}

} // namespace TestoTraduzione
