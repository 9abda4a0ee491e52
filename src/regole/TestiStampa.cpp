// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "regole/TestiStampa.h"

#include <QUrl>

namespace TestiStampa
{

QString RigaGiocata(const QString &giocata)
{
    return Rientro + giocata;
}

QString Intestazione(const QString &indirizzoSito, const QString &indirizzoMail)
{
    QString sito = QUrl(indirizzoSito).host();
    if (sito.isEmpty())
        sito = indirizzoSito;
    return Rientro + QStringLiteral("Riepilogo Stampa giocate effettuate tramite Kelmo_Dravolo - ") + sito +
           QStringLiteral(" - ") + indirizzoMail;
}

} // namespace TestiStampa
