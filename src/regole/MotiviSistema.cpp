// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "regole/MotiviSistema.h"

#include <cerrno>

namespace MotiviSistema
{

QString Motivo(int errore)
{
    switch (errore) {
    case EACCES:
        return QStringLiteral("permesso negato");
    case EPERM:
        return QStringLiteral("operazione non permessa");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("spazio su disco esaurito");
    case EFBIG:
        return QStringLiteral("file troppo grande");
    case EROFS:
        return QStringLiteral("file system in sola lettura");
    case EISDIR:
        return QStringLiteral("è una cartella");
    case ENOTDIR:
        return QStringLiteral("una parte del percorso non è una cartella");
    case ENOENT:
        return QStringLiteral("file o cartella inesistente");
    case ELOOP:
        return QStringLiteral("collegamento simbolico non seguito");
    case EMLINK:
        return QStringLiteral("troppi collegamenti");
    case EXDEV:
        return QStringLiteral("collegamento tra file system diversi");
    case ENAMETOOLONG:
        return QStringLiteral("nome troppo lungo");
    case EIO:
        return QStringLiteral("errore di input/output");
    case ENOMEM:
        return QStringLiteral("memoria esaurita");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("troppi file aperti");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("file in uso");
    case EEXIST:
        return QStringLiteral("il file esiste già");
    case ENXIO:
    case ENODEV:
        return QStringLiteral("dispositivo inesistente");
    case ENOTSUP:
        return QStringLiteral("operazione non supportata dal file system");
    case EINVAL:
        return QStringLiteral("argomento non valido");
    case EAGAIN:
        return QStringLiteral("risorsa temporaneamente non disponibile");
    case EINTR:
        return QStringLiteral("interrotto da un segnale");
    case ESTALE:
        return QStringLiteral("file non più valido sul server");
    case EUCLEAN:
        return QStringLiteral("file system danneggiato");
    default:
        return QStringLiteral("errore di sistema %1").arg(errore);
    }
}

} // namespace MotiviSistema
