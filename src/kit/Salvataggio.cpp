// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "kit/Salvataggio.h"

#include "kit/ProprietaFile.h"
#include "regole/MotiviSistema.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

QByteArray NomeAvanzo(const QByteArray &nome, ino_t inode)
{
    return nome + Salvataggio::SuffissoAvanzi + QByteArray::number(qulonglong(inode), 16);
}

// Where files cannot be made without a name, the new one is made under a random name of this form and
// at once renamed to its leftover name: a save killed in between leaves it empty under this name.
QByteArray NomeProvvisorio(const QByteArray &nome, quint32 caso)
{
    return nome + Salvataggio::SuffissoAvanzi + "nuovo-" + QByteArray::number(caso, 16);
}

bool EProvvisorio(const QByteArray &voce, const QByteArray &nome)
{
    const QByteArray inizio = NomeProvvisorio(nome, 0).chopped(1);
    if (!voce.startsWith(inizio) || voce.size() == inizio.size() || voce.size() > inizio.size() + 8)
        return false;
    bool numero = false;
    return NomeProvvisorio(nome, voce.mid(inizio.size()).toUInt(&numero, 16)) == voce && numero;
}

} // namespace

Salvataggio::Salvataggio(const QString &percorso) : m_percorso(percorso) {}

Salvataggio::~Salvataggio()
{
    if (!m_nomeTemporaneo.isEmpty())
        ::unlinkat(m_cartella, m_nomeTemporaneo.constData(), 0);
    if (m_file >= 0)
        ::close(m_file);
    if (m_cartella >= 0)
        ::close(m_cartella);
}

void Salvataggio::fallisci(const QString &motivo)
{
    throw Errore(motivo);
}

void Salvataggio::fallisciErrno()
{
    fallisci(MotiviSistema::Motivo(errno));
}

void Salvataggio::Apri()
{
    // No file system takes a NUL: the name would be cut there, and another file written.
    if (m_percorso.contains(QChar(u'\0')))
        fallisci(QStringLiteral("il nome contiene un carattere nullo"));
    const QFileInfo informazioni(m_percorso);
    m_nome = QFile::encodeName(informazioni.fileName());
    if (m_nome.isEmpty())
        fallisci(QStringLiteral("non è un file regolare"));
    m_cartella =
        ::open(QFile::encodeName(informazioni.absolutePath()).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (m_cartella < 0)
        fallisciErrno();

    // Asked of the name itself, never of what a link points to.
    struct stat esistente {
    };
    const bool presente = ::fstatat(m_cartella, m_nome.constData(), &esistente, AT_SYMLINK_NOFOLLOW) == 0;
    if (!presente && errno != ENOENT)
        fallisciErrno();
    if (presente && !S_ISREG(esistente.st_mode))
        fallisci(QStringLiteral("non è un file regolare"));
    // Replacing a file is writing it: one that a write would be refused (its own protection, by
    // whoever runs the program) is refused here too, though the folder would let it be replaced.
    if (presente && ::faccessat(m_cartella, m_nome.constData(), W_OK, AT_EACCESS | AT_SYMLINK_NOFOLLOW) != 0)
        fallisci(errno == EACCES ? QStringLiteral("il file è protetto da scrittura")
                                 : MotiviSistema::Motivo(errno));

    rimuoviAvanzi();

    // A new file is made as any other, the umask narrowing its permissions; one that replaces another
    // is made private, then given all that the earlier file had.
    const mode_t permessi = presente ? 0600 : 0666;
    m_file = ::openat(m_cartella, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, permessi);
    if (m_file < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL))
        apriConNome(permessi);
    if (m_file < 0)
        fallisciErrno();
    // Held until the save ends, or its process: a save running elsewhere leaves a file so held alone.
    ::flock(m_file, LOCK_EX);
    if (presente)
        ProprietaFile::Trasferisci(m_cartella, m_nome, esistente, m_file);
}

void Salvataggio::apriConNome(mode_t permessi)
{
    // A file system without unnamed files: a named one, at once given the leftover name.
    for (int tentativo = 0; m_file < 0 && tentativo < 100; ++tentativo) {
        const QByteArray provvisorio = NomeProvvisorio(m_nome, QRandomGenerator::system()->generate());
        m_file = ::openat(m_cartella, provvisorio.constData(),
                          O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW | O_CLOEXEC, permessi);
        if (m_file < 0 && errno == EEXIST)
            continue;
        if (m_file < 0)
            fallisciErrno();
        m_nomeTemporaneo = provvisorio;
        ::flock(m_file, LOCK_EX);
        struct stat nuovo {
        };
        if (::fstat(m_file, &nuovo) != 0)
            fallisciErrno();
        const QByteArray proprio = NomeAvanzo(m_nome, nuovo.st_ino);
        if (::renameat(m_cartella, provvisorio.constData(), m_cartella, proprio.constData()) == 0) {
            m_nomeTemporaneo = proprio;
            return;
        }
        // Another save may have taken it for a leftover in the instant before it was locked: another
        // name, another file.
        if (errno != ENOENT)
            fallisciErrno();
        m_nomeTemporaneo.clear();
        ::close(m_file);
        m_file = -1;
    }
}

void Salvataggio::Scrivi(const QByteArray &dati)
{
    if (m_file < 0)
        fallisci(QStringLiteral("il file non è aperto"));
    const char *resto = dati.constData();
    qint64 daScrivere = dati.size();
    while (daScrivere > 0) {
        const ssize_t scritti = ::write(m_file, resto, size_t(daScrivere));
        if (scritti < 0 && errno == EINTR)
            continue;
        if (scritti <= 0)
            fallisci(MotiviSistema::Motivo(scritti < 0 ? errno : ENOSPC));
        resto += scritti;
        daScrivere -= scritti;
        m_scritti += scritti;
    }
}

QByteArray Salvataggio::nomina()
{
    if (!m_nomeTemporaneo.isEmpty())
        return m_nomeTemporaneo;
    struct stat nuovo {
    };
    if (::fstat(m_file, &nuovo) != 0)
        fallisciErrno();
    const QByteArray proprio = NomeAvanzo(m_nome, nuovo.st_ino);
    const QByteArray descrittore = "/proc/self/fd/" + QByteArray::number(m_file);
    if (::linkat(AT_FDCWD, descrittore.constData(), m_cartella, proprio.constData(), AT_SYMLINK_FOLLOW) !=
            0 &&
        ::linkat(m_file, "", m_cartella, proprio.constData(), AT_EMPTY_PATH) != 0)
        fallisciErrno();
    m_nomeTemporaneo = proprio;
    return proprio;
}

void Salvataggio::Concludi()
{
    if (m_file < 0)
        fallisci(QStringLiteral("il file non è aperto"));
    // A file system that reports its write errors only when asked to sync is heard here.
    if (::fsync(m_file) != 0 && errno != EINVAL && errno != EROFS)
        fallisciErrno();
    const QByteArray temporaneo = nomina();
    // The rename replaces the name itself: a link put at the path since Apri is replaced, never followed.
    if (::renameat(m_cartella, temporaneo.constData(), m_cartella, m_nome.constData()) != 0) {
        const int errore = errno;
        ::unlinkat(m_cartella, temporaneo.constData(), 0);
        m_nomeTemporaneo.clear();
        fallisci(MotiviSistema::Motivo(errore));
    }
    m_nomeTemporaneo.clear();
    ::close(m_file);
    m_file = -1;
    // The new name on disk as well, where the folder can be opened for it.
    const int cartella = ::openat(m_cartella, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (cartella >= 0) {
        ::fsync(cartella);
        ::close(cartella);
    }
}

void Salvataggio::rimuoviAvanzi() const
{
    const int lettura = ::openat(m_cartella, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (lettura < 0)
        return;
    DIR *cartella = ::fdopendir(lettura);
    if (!cartella) {
        ::close(lettura);
        return;
    }
    const QByteArray inizio = m_nome + SuffissoAvanzi;
    while (const dirent *voce = ::readdir(cartella)) {
        const QByteArray nome(voce->d_name);
        if (!nome.startsWith(inizio))
            continue;
        // Ours only when it is a regular file whose name carries its own inode number, or an empty one
        // under a provisional name, and a leftover only when no running save holds it: one that another
        // instance is about to rename into place is left alone.
        const int avanzo = ::openat(m_cartella, voce->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (avanzo < 0)
            continue;
        struct stat stato {
        };
        if (::fstat(avanzo, &stato) == 0 && S_ISREG(stato.st_mode) &&
            (nome == NomeAvanzo(m_nome, stato.st_ino) ||
             (EProvvisorio(nome, m_nome) && stato.st_size == 0)) &&
            ::flock(avanzo, LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(m_cartella, voce->d_name, 0);
        ::close(avanzo);
    }
    ::closedir(cartella);
}
