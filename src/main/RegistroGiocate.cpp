#include "main/RegistroGiocate.h"

RegistroGiocate::RegistroGiocate(QWidget *genitore) : QWidget(genitore)
{
    // The placeholder line the box starts with, discarded at the first play.
    Aggiungi(QStringLiteral("Memo1"));
}

QString RegistroGiocate::Riga(qsizetype indice) const
{
    const qsizetype inizio = indice == 0 ? 0 : m_fini[static_cast<std::size_t>(indice - 1)];
    const qsizetype fine = m_fini[static_cast<std::size_t>(indice)];
    return QString::fromUtf8(m_testo.constData() + inizio, fine - inizio);
}

void RegistroGiocate::Aggiungi(const QString &riga)
{
    const QByteArray byte = riga.toUtf8();
    // Make room in the table first (growing it geometrically): if that fails nothing has changed yet.
    if (m_fini.size() == m_fini.capacity())
        m_fini.reserve(m_fini.capacity() < 16 ? 16 : m_fini.capacity() * 2);
    const qsizetype lunghezzaPrima = m_testo.size();
    try {
        m_testo.append(byte);
        m_fini.push_back(m_testo.size());
    } catch (...) {
        m_testo.truncate(lunghezzaPrima);
        throw;
    }
}

void RegistroGiocate::Svuota()
{
    m_testo.clear();
    m_testo.squeeze();
    m_fini.clear();
    m_fini.shrink_to_fit();
}

void RegistroGiocate::Riserva(qsizetype righe, qsizetype lunghezza)
{
    m_testo.reserve(m_testo.size() + righe * lunghezza);
    m_fini.reserve(m_fini.size() + static_cast<std::size_t>(righe));
}
