// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// The fixed texts of the printed play summary (StampaGiocate.h prints them).
namespace TestiStampa
{

// More plays than this in the log and printing them all asks first.
inline constexpr qsizetype SogliaDomanda = 100;

inline const QString RigaVuota = QStringLiteral(" ");
inline const QString Rientro = QStringLiteral("       ");

// A play's line as the summary prints it, and as it is copied and saved: behind the indent.
QString RigaGiocata(const QString &giocata);

// "       Riepilogo Stampa giocate effettuate tramite Kelmo_Dravolo - " + the site's host name + " - " +
// the mail address.
QString Intestazione(const QString &indirizzoSito, const QString &indirizzoMail);

} // namespace TestiStampa
