// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "principale/RegistroGiocate.h"

RegistroGiocate::RegistroGiocate(QWidget *genitore) : QWidget(genitore)
{
    // The placeholder line the box starts with, discarded at the first play.
    Aggiungi(QStringLiteral("Memo1"));
}

QString RegistroGiocate::Riga(qsizetype indice) const
{
    const std::size_t inizio = indice == 0 ? 0 : m_fini[static_cast<std::size_t>(indice - 1)];
    const std::size_t fine = m_fini[static_cast<std::size_t>(indice)];
    return QString::fromUtf8(m_testo.data() + inizio, static_cast<qsizetype>(fine - inizio));
}

void RegistroGiocate::Aggiungi(const QString &riga)
{
    const QByteArray byte = riga.toUtf8();
    // Room is made in both buffers (growing them geometrically) before anything is written, so a
    // failure to get memory leaves the log exactly as it was.
    if (m_fini.size() == m_fini.capacity())
        m_fini.reserve(m_fini.capacity() < 16 ? 16 : m_fini.capacity() * 2);
    const std::size_t lunghezza = m_testo.size() + static_cast<std::size_t>(byte.size());
    if (lunghezza > m_testo.capacity())
        m_testo.reserve(std::max(lunghezza, m_testo.capacity() * 2));
    m_testo.append(byte.constData(), static_cast<std::size_t>(byte.size()));
    m_fini.push_back(m_testo.size());
    emit Cambiato();
}

void RegistroGiocate::Svuota()
{
    std::string().swap(m_testo);
    std::vector<std::size_t>().swap(m_fini);
    emit Cambiato();
}
