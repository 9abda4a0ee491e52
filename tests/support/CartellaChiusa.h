// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "support/ComeAltroUtente.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>
#include <sys/stat.h>

// A folder (and optionally one file in it) this process may not change, or read, while the object
// lives: the folder gets `permessi` (0555 by default; 01777 makes it a sticky folder open to all, where
// only a file's owner may replace it). Permission bits alone do not stop the superuser, so as root the
// process also acts on files as an unprivileged user for that time (ComeAltroUtente).
class CartellaChiusa
{
public:
    explicit CartellaChiusa(const QString &cartella, const QString &fileIlleggibile = {},
                            mode_t permessi = 0555)
        : m_cartella(QFile::encodeName(cartella)), m_file(QFile::encodeName(fileIlleggibile))
    {
        ::chmod(m_cartella.constData(), permessi);
        if (!m_file.isEmpty())
            ::chmod(m_file.constData(), 0000);
        m_utente = std::make_unique<ComeAltroUtente>();
    }
    ~CartellaChiusa()
    {
        m_utente.reset();
        if (!m_file.isEmpty())
            ::chmod(m_file.constData(), 0644);
        ::chmod(m_cartella.constData(), 0700);
    }
    CartellaChiusa(const CartellaChiusa &) = delete;
    CartellaChiusa &operator=(const CartellaChiusa &) = delete;

private:
    QByteArray m_cartella;
    QByteArray m_file;
    std::unique_ptr<ComeAltroUtente> m_utente;
};
