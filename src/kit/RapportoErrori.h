// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>
#include <exception>
#include <utility>

// The general error report: a failure that no handler catches becomes an error box captioned with the
// application title, showing the failure's own message. The event that failed is abandoned and the
// program goes on.
namespace RapportoErrori
{

// The text the report shows for a message: a full stop is added when the last character sorts after
// the full stop (a letter or a digit, for instance).
QString TestoRapporto(const QString &messaggio);

// The message carried by a caught failure.
QString MessaggioDi(std::exception_ptr eccezione);

// Shows the report for a caught failure and returns when the user has dismissed it.
void Mostra(std::exception_ptr eccezione);

// Runs a handler; whatever it throws is reported and goes no further, so no exception ever reaches
// Qt's own code.
template <typename F> void Protetto(F &&gestore) noexcept
{
    try {
        std::forward<F>(gestore)();
    } catch (...) {
        Mostra(std::current_exception());
    }
}

// Connects a signal to a handler method of a window; the handler runs under Protetto.
template <typename Mittente, typename Segnale, typename Finestra>
void Collega(Mittente *mittente, Segnale segnale, Finestra *finestra, void (Finestra::*gestore)())
{
    QObject::connect(mittente, segnale, finestra,
                     [finestra, gestore] { Protetto([&] { (finestra->*gestore)(); }); });
}

} // namespace RapportoErrori
