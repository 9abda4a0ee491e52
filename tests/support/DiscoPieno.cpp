#include "support/DiscoPieno.h"

#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace
{
const char NomeRiempitivo[] = ".riempitivo";
}

DiscoPieno::DiscoPieno(const QString &cartella) : m_cartella(cartella)
{
    const QByteArray percorso = QFile::encodeName(cartella);
    if (::mount("tmpfs", percorso.constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k,mode=0700") == 0) {
        m_montato = true;
        m_pronto = true;
        return;
    }
    const QString rifiuto = QString::fromLocal8Bit(std::strerror(errno));
    struct rlimit limite {
    };
    if (::getrlimit(RLIMIT_FSIZE, &limite) == 0) {
        m_pronto = true;
        return;
    }
    m_motivo = QStringLiteral("no tmpfs (%1) and no file-size limit").arg(rifiuto);
}

DiscoPieno::~DiscoPieno()
{
    Libera();
    if (m_montato)
        ::umount2(QFile::encodeName(m_cartella).constData(), MNT_DETACH);
}

void DiscoPieno::Riempi()
{
    if (m_montato) {
        const QByteArray riempitivo =
            QFile::encodeName(m_cartella + QLatin1Char('/') + QLatin1String(NomeRiempitivo));
        const int fd = ::open(riempitivo.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (fd < 0)
            qFatal("cannot create the filling file: %s", std::strerror(errno));
        const QByteArray blocco(4096, 'x');
        while (::write(fd, blocco.constData(), blocco.size()) > 0) {
        }
        // Single bytes too, until not even one fits.
        while (::write(fd, "x", 1) == 1) {
        }
        ::close(fd);
        return;
    }
    if (!m_limitato && ::getrlimit(RLIMIT_FSIZE, &m_limitePrecedente) == 0) {
        struct rlimit zero = m_limitePrecedente;
        zero.rlim_cur = 0;
        m_segnalePrecedente = std::signal(SIGXFSZ, SIG_IGN);
        ::setrlimit(RLIMIT_FSIZE, &zero);
        m_limitato = true;
    }
}

void DiscoPieno::Libera()
{
    if (m_montato)
        QFile::remove(m_cartella + QLatin1Char('/') + QLatin1String(NomeRiempitivo));
    if (m_limitato) {
        ::setrlimit(RLIMIT_FSIZE, &m_limitePrecedente);
        std::signal(SIGXFSZ, m_segnalePrecedente);
        m_limitato = false;
    }
}
