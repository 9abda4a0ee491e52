// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "kit/LetturaFile.h"

#include "regole/Errore.h"
#include "regole/MotiviSistema.h"

#include <QFile>
#include <QScopeGuard>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace LetturaFile
{

QByteArray Inizio(const QString &percorso, qsizetype massimo, Collegamenti collegamenti)
{
    const int file = ::open(QFile::encodeName(percorso).constData(),
                            O_RDONLY | O_NONBLOCK | O_CLOEXEC |
                                (collegamenti == Collegamenti::Rifiutati ? O_NOFOLLOW : 0));
    if (file < 0)
        throw Errore(errno == ELOOP && collegamenti == Collegamenti::Rifiutati
                         ? QStringLiteral("è un collegamento simbolico")
                         : MotiviSistema::Motivo(errno));
    const auto chiudi = qScopeGuard([file] { ::close(file); });
    struct stat stato {
    };
    if (::fstat(file, &stato) != 0)
        throw Errore(MotiviSistema::Motivo(errno));
    if (!S_ISREG(stato.st_mode))
        throw Errore(QStringLiteral("non è un file regolare"));

    QByteArray contenuto(massimo, Qt::Uninitialized);
    qsizetype letti = 0;
    while (letti < contenuto.size()) {
        const ssize_t parte = ::read(file, contenuto.data() + letti, size_t(contenuto.size() - letti));
        if (parte < 0 && errno == EINTR)
            continue;
        if (parte < 0)
            throw Errore(MotiviSistema::Motivo(errno));
        if (parte == 0)
            break;
        letti += parte;
    }
    contenuto.truncate(letti);
    return contenuto;
}

} // namespace LetturaFile
