// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "kit/ModuloSuRichiesta.h"

#include "Configurazione.h"
#include "kit/Servizi.h"
#include "regole/Errore.h"
#include "regole/MotiviSistema.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtDebug>

#include <cerrno>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace ModuloSuRichiesta
{

namespace
{
const Funzioni *g_incorporate = nullptr;
const Funzioni *g_caricate = nullptr;

// A descriptor closed with its scope.
class Descrittore
{
public:
    explicit Descrittore(int numero) : m_numero(numero) {}
    ~Descrittore()
    {
        if (m_numero >= 0)
            ::close(m_numero);
    }
    Descrittore(const Descrittore &) = delete;
    Descrittore &operator=(const Descrittore &) = delete;
    int numero() const { return m_numero; }

private:
    int m_numero;
};

// Whether the owner's own private group is the object's group: the owner's primary group, naming no
// other member. Distributions that give each user such a group make files with umask 002, writable by
// that group, which is the owner alone.
bool GruppoPrivato(const struct stat &stato)
{
    long lunghezza = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> memoria(lunghezza > 0 ? std::size_t(lunghezza) : 16384);
    struct passwd utente {
    };
    struct passwd *trovato = nullptr;
    if (::getpwuid_r(stato.st_uid, &utente, memoria.data(), memoria.size(), &trovato) != 0 || !trovato ||
        utente.pw_gid != stato.st_gid)
        return false;
    lunghezza = ::sysconf(_SC_GETGR_R_SIZE_MAX);
    std::vector<char> memoriaGruppo(lunghezza > 0 ? std::size_t(lunghezza) : 16384);
    struct group gruppo {
    };
    struct group *trovatoGruppo = nullptr;
    if (::getgrgid_r(stato.st_gid, &gruppo, memoriaGruppo.data(), memoriaGruppo.size(), &trovatoGruppo) !=
            0 ||
        !trovatoGruppo)
        return false;
    for (char **membro = gruppo.gr_mem; *membro; ++membro)
        if (std::strcmp(*membro, utente.pw_name) != 0)
            return false;
    return true;
}

// Why a folder or file (`quale`) cannot be trusted to hold the module, or nothing: it must belong to the
// user or to root, and no one else may write it.
QString MotivoSfiducia(const struct stat &stato, const QString &quale)
{
    if (stato.st_uid != 0 && stato.st_uid != ::geteuid())
        return QStringLiteral("%1 appartiene a un altro utente").arg(quale);
    if ((stato.st_mode & S_IWOTH) || ((stato.st_mode & S_IWGRP) && !GruppoPrivato(stato)))
        return QStringLiteral("%1 è scrivibile da altri utenti").arg(quale);
    return {};
}

// The reason the dynamic loader gave, in Italian: a library the module needs that is not installed is
// named; anything else is a file the system cannot load.
QString MotivoCaricamento(const char *errore)
{
    const QByteArray testo(errore ? errore : "");
    if (const qsizetype fine = testo.indexOf(": cannot open shared object file"); fine > 0) {
        const QByteArray prima = testo.left(fine);
        return QStringLiteral("manca la libreria %1")
            .arg(QString::fromLocal8Bit(prima.mid(prima.lastIndexOf(": ") + 1).trimmed()));
    }
    return QStringLiteral("il file non è un modulo che questo sistema può caricare");
}
} // namespace

const Funzioni &CaricaDa(const QByteArray &cartella)
{
    const QByteArray percorso = (cartella.endsWith('/') ? cartella : cartella + '/') + NomeFile;
    const auto fallito = [&](const QString &motivo) {
        return Errore(QStringLiteral("Impossibile caricare il modulo %1: %2")
                          .arg(Servizi::PercorsoMostrato(QFile::decodeName(percorso)), motivo));
    };
    if (!cartella.startsWith('/'))
        throw fallito(QStringLiteral("la cartella del programma non è un percorso assoluto"));

    const Descrittore descrittoreCartella(::open(cartella.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    struct stat stato {
    };
    if (descrittoreCartella.numero() < 0 || ::fstat(descrittoreCartella.numero(), &stato) != 0)
        throw fallito(MotiviSistema::Motivo(errno));
    if (const QString motivo = MotivoSfiducia(stato, QStringLiteral("la cartella")); !motivo.isEmpty())
        throw fallito(motivo);
    const Descrittore file(::openat(descrittoreCartella.numero(), NomeFile,
                                    O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.numero() < 0 || ::fstat(file.numero(), &stato) != 0)
        throw fallito(MotiviSistema::Motivo(errno));
    if (!S_ISREG(stato.st_mode))
        throw fallito(QStringLiteral("non è un file regolare"));
    if (const QString motivo = MotivoSfiducia(stato, QStringLiteral("il file")); !motivo.isEmpty())
        throw fallito(motivo);

    // No one else can write the folder, so the name still stands for the file checked. A path with a
    // slash is never searched for along LD_LIBRARY_PATH or in the working directory.
    void *modulo = ::dlopen(percorso.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!modulo) {
        const char *errore = ::dlerror();
        qWarning("%s: %s", percorso.constData(), errore ? errore : "?");
        throw fallito(MotivoCaricamento(errore));
    }
    using FunzioneEntrata = const Funzioni *(*)();
    const auto entrata = reinterpret_cast<FunzioneEntrata>(::dlsym(modulo, Entrata));
    const Funzioni *funzioni = entrata ? entrata() : nullptr;
    if (!funzioni) {
        ::dlclose(modulo);
        throw fallito(QStringLiteral("non è il modulo di questo programma"));
    }
    if (std::strcmp(funzioni->versione, Configurazione::EtichettaVersione) != 0) {
        const QString versione = QString::fromUtf8(funzioni->versione);
        ::dlclose(modulo);
        throw fallito(QStringLiteral("è della versione %1, il programma della %2")
                          .arg(versione, QString::fromUtf8(Configurazione::EtichettaVersione)));
    }
    if (funzioni->dimensione != sizeof(Funzioni)) {
        ::dlclose(modulo);
        throw fallito(QStringLiteral("non è stato costruito insieme al programma"));
    }
    return *funzioni;
}

const Funzioni &Carica()
{
    if (g_incorporate)
        return *g_incorporate;
    if (!g_caricate)
        g_caricate = &CaricaDa(QFile::encodeName(Servizi::CartellaEseguibile()));
    return *g_caricate;
}

void Incorpora(const Funzioni *funzioni)
{
    g_incorporate = funzioni;
}

} // namespace ModuloSuRichiesta
