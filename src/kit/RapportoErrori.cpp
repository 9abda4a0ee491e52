// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "kit/RapportoErrori.h"

#include "kit/Applicazione.h"
#include "kit/Messaggi.h"
#include "regole/Errore.h"

#include <QMessageBox>
#include <new>

namespace RapportoErrori
{

QString TestoRapporto(const QString &messaggio)
{
    if (!messaggio.isEmpty() && messaggio.back() > QLatin1Char('.'))
        return messaggio + QLatin1Char('.');
    return messaggio;
}

QString MessaggioDi(std::exception_ptr eccezione)
{
    try {
        std::rethrow_exception(eccezione);
    } catch (const Errore &e) {
        return e.messaggio();
    } catch (const std::bad_alloc &) {
        return QStringLiteral("Memoria insufficiente");
    } catch (const std::exception &e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("Errore sconosciuto");
    }
}

void Mostra(std::exception_ptr eccezione)
{
    try {
        Messaggi::MostraBox(QMessageBox::Critical, Applicazione::Titolo,
                            TestoRapporto(MessaggioDi(eccezione)), QMessageBox::Ok);
    } catch (...) {
        // Nothing more can be done for a report that cannot even be shown.
    }
}

} // namespace RapportoErrori
