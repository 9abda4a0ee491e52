// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "principale/LetturaGiocate.h"

#include "kit/Servizi.h"
#include "regole/Errore.h"
#include "regole/FileGiocate.h"
#include "regole/MotiviSistema.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QScopeGuard>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace LetturaGiocate
{

namespace
{
SceltaFile g_sceltaFile;
} // namespace

void ImpostaSceltaFile(SceltaFile scelta)
{
    g_sceltaFile = std::move(scelta);
}

QString ChiediQuale(QWidget *genitore)
{
    const QString proposta = Servizi::CartellaProposta(QStandardPaths::DocumentsLocation);
    if (g_sceltaFile)
        return g_sceltaFile(genitore, proposta);
    return QFileDialog::getOpenFileName(genitore, QStringLiteral("Apri giocate"), proposta,
                                        QStringLiteral("File di testo (*.txt);;Tutti i file (*)"));
}

QList<Vincite::Numeri> Leggi(const QString &percorso)
{
    const auto illeggibile = [&](const QString &motivo) {
        return Errore(QStringLiteral("Impossibile leggere le giocate da %1: %2")
                          .arg(QDir::toNativeSeparators(percorso), motivo));
    };
    // Never through a link, and without waiting: a named pipe would block the open until a writer came.
    const int file =
        ::open(QFile::encodeName(percorso).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (file < 0)
        throw illeggibile(errno == ELOOP ? QStringLiteral("è un collegamento simbolico")
                                         : MotiviSistema::Motivo(errno));
    const auto chiudi = qScopeGuard([file] { ::close(file); });
    struct stat stato {
    };
    if (::fstat(file, &stato) != 0)
        throw illeggibile(MotiviSistema::Motivo(errno));
    if (!S_ISREG(stato.st_mode))
        throw illeggibile(QStringLiteral("non è un file regolare"));

    // One byte more than may be taken, so that a larger file (or one grown meanwhile) is told apart.
    QByteArray contenuto(FileGiocate::MassimaDimensione + 1, Qt::Uninitialized);
    qsizetype letti = 0;
    while (letti < contenuto.size()) {
        const ssize_t parte = ::read(file, contenuto.data() + letti, size_t(contenuto.size() - letti));
        if (parte < 0 && errno == EINTR)
            continue;
        if (parte < 0)
            throw illeggibile(MotiviSistema::Motivo(errno));
        if (parte == 0)
            break;
        letti += parte;
    }
    contenuto.truncate(letti);
    try {
        return FileGiocate::Leggi(contenuto);
    } catch (const Errore &errore) {
        throw illeggibile(errore.messaggio());
    }
}

} // namespace LetturaGiocate
