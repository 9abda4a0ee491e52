// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/CartellaPiena.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace
{

const QString Riempimento = QStringLiteral(".riempimento");

} // namespace

CartellaPiena::CartellaPiena()
{
    if (!m_temporanea.isValid()) {
        m_motivo = QStringLiteral("no temporary folder");
        return;
    }
    m_cartella = m_temporanea.filePath(QStringLiteral("piena"));
    QDir().mkpath(m_cartella);
    const QByteArray percorso = QFile::encodeName(m_cartella);
    // Sixteen pages: a few writes fill it.
    m_montata =
        ::mount("tmpfs", percorso.constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k,mode=0777") == 0;
}

CartellaPiena::~CartellaPiena()
{
    if (m_limitata) {
        setrlimit(RLIMIT_FSIZE, &m_limitePrecedente);
        std::signal(SIGXFSZ, m_gestorePrecedente);
    }
    if (m_montata && ::umount2(QFile::encodeName(m_cartella).constData(), MNT_DETACH) != 0)
        qWarning("CartellaPiena: cannot unmount %s: %s", qPrintable(m_cartella), std::strerror(errno));
}

QString CartellaPiena::Percorso(const QString &nome) const
{
    return nome.isEmpty() ? m_cartella : QDir(m_cartella).filePath(nome);
}

QStringList CartellaPiena::File() const
{
    QStringList file = QDir(m_cartella).entryList(QDir::Files | QDir::Hidden | QDir::System);
    file.removeAll(Riempimento);
    return file;
}

bool CartellaPiena::Riempi()
{
    if (!m_motivo.isEmpty())
        return false;
    if (m_montata) {
        const int fd =
            ::open(QFile::encodeName(Percorso(Riempimento)).constData(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        if (fd < 0) {
            m_motivo = QStringLiteral("cannot create the filler file: %1")
                           .arg(QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
        // Page by page, then byte by byte, until the file system refuses.
        const char blocco[4096] = {};
        for (size_t passo : {sizeof blocco, size_t(1)})
            while (::write(fd, blocco, passo) > 0) {
            }
        const int errore = errno;
        ::close(fd);
        if (errore != ENOSPC)
            m_motivo = QStringLiteral("filling the tmpfs ended with: %1")
                           .arg(QString::fromLocal8Bit(std::strerror(errore)));
        return m_motivo.isEmpty();
    }
    if (getrlimit(RLIMIT_FSIZE, &m_limitePrecedente) != 0) {
        m_motivo = QStringLiteral("cannot mount a tmpfs, nor read the file-size limit");
        return false;
    }
    m_gestorePrecedente = std::signal(SIGXFSZ, SIG_IGN);
    rlimit zero = m_limitePrecedente;
    zero.rlim_cur = 0;
    if (setrlimit(RLIMIT_FSIZE, &zero) != 0) {
        std::signal(SIGXFSZ, m_gestorePrecedente);
        m_motivo = QStringLiteral("cannot mount a tmpfs, nor lower the file-size limit");
        return false;
    }
    m_limitata = true;
    return true;
}
