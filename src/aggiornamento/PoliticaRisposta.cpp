// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "aggiornamento/PoliticaRisposta.h"

#include <QHostAddress>

namespace PoliticaRisposta
{

bool SenzaProxy(const QString &host)
{
    QHostAddress indirizzo;
    return host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0 ||
           (indirizzo.setAddress(host) && indirizzo.isLoopback());
}

bool EFile(const QByteArray &disposizione, const QByteArray &tipo)
{
    if (disposizione.trimmed().toLower().startsWith("attachment"))
        return true;
    const QByteArray essenziale = tipo.split(';').constFirst().trimmed().toLower();
    if (essenziale.isEmpty())
        return false;
    return !(essenziale.startsWith("text/") || essenziale == "application/xhtml+xml");
}

QByteArray Codifica(const QByteArray &tipo)
{
    const QList<QByteArray> parti = tipo.split(';');
    for (qsizetype i = 1; i < parti.size(); ++i) {
        const QByteArray parte = parti.at(i).trimmed();
        if (parte.toLower().startsWith("charset="))
            return parte.mid(8).replace('"', QByteArray()).replace('\'', QByteArray()).trimmed();
    }
    return {};
}

bool IntestazioniAccettabili(const QList<std::pair<QByteArray, QByteArray>> &intestazioni, qint64 massimo)
{
    qint64 dimensione = 0;
    for (const auto &[nome, valore] : intestazioni)
        dimensione += nome.size() + valore.size() + 4; // "Name: value\r\n"
    return !intestazioni.isEmpty() && dimensione <= massimo;
}

bool CodificaAccettata(const QByteArray &codificaContenuto)
{
    const QByteArray codifica = codificaContenuto.trimmed().toLower();
    return codifica.isEmpty() || codifica == "identity";
}

} // namespace PoliticaRisposta
