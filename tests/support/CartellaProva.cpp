// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/CartellaProva.h"

#include "kit/Servizi.h"

#include <QFile>
#include <stdexcept>
#include <sys/stat.h>

CartellaProva::CartellaProva()
{
    if (!m_cartella.isValid())
        throw std::runtime_error("no temporary folder");
    m_sostituzioni.CartellaEseguibile(m_cartella.path());
}

CartellaProva::~CartellaProva() = default;

QString CartellaProva::Percorso(const QString &nome) const
{
    return nome.isEmpty() ? m_cartella.path() : m_cartella.filePath(nome);
}

void CartellaProva::Scrivi(const QString &nome, const QByteArray &contenuto) const
{
    QFile file(Percorso(nome));
    if (!file.open(QIODevice::WriteOnly) || file.write(contenuto) != contenuto.size())
        throw std::runtime_error("cannot write test file");
}

QByteArray CartellaProva::Sottocartella(const QByteArray &nome)
{
    const QByteArray cartella = QFile::encodeName(m_cartella.path());
    if (nome.isEmpty())
        return cartella;
    const QByteArray vera = cartella + '/' + nome;
    if (::mkdir(vera.constData(), 0700) != 0)
        throw std::runtime_error("cannot make the test's subfolder");
    m_sostituzioni.CartellaEseguibile(Servizi::CartellaDi(vera + "/kelmo-dravolo"));
    return vera;
}
