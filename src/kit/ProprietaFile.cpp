// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "kit/ProprietaFile.h"

#include "regole/Errore.h"
#include "regole/MotiviSistema.h"

#include <QList>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <sys/xattr.h>
#include <unistd.h>

namespace ProprietaFile
{

namespace
{

// The access control list is kept by the system as this attribute.
constexpr char AttributoAcl[] = "system.posix_acl_access";

[[noreturn]] void Fallisci(const char *cosa, int errore)
{
    throw Errore(QStringLiteral("non si può conservare %1 del file esistente: %2")
                     .arg(QString::fromUtf8(cosa), MotiviSistema::Motivo(errore)));
}

// The earlier file named through its folder's descriptor, so that nothing is asked of another file
// that took its name since; the l- calls below never follow a link at that name.
QByteArray Nome(int cartella, const QByteArray &nome)
{
    return "/proc/self/fd/" + QByteArray::number(cartella) + '/' + nome;
}

// Names and values of a file's extended attributes, read through `elenca` and `leggi` (the path or the
// descriptor forms), or nothing where the file system has none. Sizes are asked first and asked again
// when the attributes change in between.
template <typename Elenca, typename Leggi>
QList<std::pair<QByteArray, QByteArray>> Attributi(Elenca elenca, Leggi leggi)
{
    QByteArray nomi;
    for (;;) {
        const ssize_t lunghezza = elenca(nullptr, 0);
        if (lunghezza < 0 && (errno == ENOTSUP || errno == ENOSYS))
            return {};
        if (lunghezza < 0)
            Fallisci("gli attributi estesi", errno);
        nomi.resize(lunghezza);
        const ssize_t letti = elenca(nomi.data(), size_t(nomi.size()));
        if (letti >= 0) {
            nomi.resize(letti);
            break;
        }
        if (errno != ERANGE)
            Fallisci("gli attributi estesi", errno);
    }
    QList<std::pair<QByteArray, QByteArray>> attributi;
    for (const QByteArray &nome : nomi.split('\0')) {
        if (nome.isEmpty())
            continue;
        QByteArray valore;
        for (;;) {
            const ssize_t lunghezza = leggi(nome.constData(), nullptr, 0);
            if (lunghezza < 0 && errno == ENODATA)
                break; // gone meanwhile
            if (lunghezza < 0)
                Fallisci("gli attributi estesi", errno);
            valore.resize(lunghezza);
            const ssize_t letti = leggi(nome.constData(), valore.data(), size_t(valore.size()));
            if (letti >= 0) {
                valore.resize(letti);
                attributi.append({nome, valore});
                break;
            }
            if (errno != ERANGE)
                Fallisci("gli attributi estesi", errno);
        }
    }
    return attributi;
}

} // namespace

void Trasferisci(int cartella, const QByteArray &nome, const struct stat &esistente, int nuovo)
{
    struct stat stato {
    };
    if (::fstat(nuovo, &stato) != 0)
        Fallisci("il proprietario", errno);
    // Owner and group first: a change of owner clears the set-id bits, which the mode then gives back.
    if ((stato.st_uid != esistente.st_uid || stato.st_gid != esistente.st_gid) &&
        ::fchown(nuovo, esistente.st_uid, esistente.st_gid) != 0)
        Fallisci("il proprietario", errno);

    const QByteArray percorso = Nome(cartella, nome);
    const auto prima =
        Attributi([&](char *nomi, size_t spazio) { return ::llistxattr(percorso.constData(), nomi, spazio); },
                  [&](const char *chiave, void *valore, size_t spazio) {
                      return ::lgetxattr(percorso.constData(), chiave, valore, spazio);
                  });
    const auto dopo = Attributi([&](char *nomi, size_t spazio) { return ::flistxattr(nuovo, nomi, spazio); },
                                [&](const char *chiave, void *valore, size_t spazio) {
                                    return ::fgetxattr(nuovo, chiave, valore, spazio);
                                });
    for (const auto &[chiave, valore] : prima) {
        // What the new file has already (the security label its folder gave it, say) is left alone.
        if (dopo.contains(std::pair{chiave, valore}))
            continue;
        if (::fsetxattr(nuovo, chiave.constData(), valore.constData(), size_t(valore.size()), 0) != 0)
            Fallisci(chiave == AttributoAcl ? "la lista di controllo degli accessi" : "gli attributi estesi",
                     errno);
    }
    // A list the new file took from its folder's default, which the earlier file did not have.
    const auto conAcl = [](const QList<std::pair<QByteArray, QByteArray>> &attributi) {
        return std::any_of(attributi.cbegin(), attributi.cend(),
                           [](const auto &attributo) { return attributo.first == AttributoAcl; });
    };
    if (conAcl(dopo) && !conAcl(prima) && ::fremovexattr(nuovo, AttributoAcl) != 0)
        Fallisci("la lista di controllo degli accessi", errno);

    // The umask does not narrow an earlier file's permissions.
    if (::fchmod(nuovo, esistente.st_mode & 07777) != 0)
        Fallisci("i permessi", errno);
}

} // namespace ProprietaFile
