// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "impostazioni/NumeroFisso.h"

#include "kit/LetturaFile.h"
#include "kit/Salvataggio.h"
#include "kit/Servizi.h"
#include "regole/Errore.h"
#include "regole/MotiviSistema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace NumeroFisso
{

namespace
{
// Asked with the effective ids, those the file would be written with (access() would answer for the
// real ones).
bool CartellaScrivibile(const QString &cartella)
{
    return ::faccessat(AT_FDCWD, QFile::encodeName(cartella).constData(), W_OK | X_OK, AT_EACCESS) == 0;
}
} // namespace

QString Percorso()
{
    const QString cartella = Servizi::CartellaEseguibile();
    // Installed for every user: a file next to the program, root's say, would be every user's. The mark
    // stands in a folder only the installer writes, so no user can make a copy shared or private.
    if (QFileInfo::exists(cartella + QLatin1String(SegnoInstallazioneCondivisa)))
        return Servizi::CartellaConfigurazione() + FormatoNumeroFisso::NomeFile;
    const QString accanto = cartella + FormatoNumeroFisso::NomeFile;
    // A file next to the executable is always the one used, so that its failures (a folder made
    // read-only under it) are reported on it rather than hidden by a second file elsewhere.
    if (QFileInfo::exists(accanto) || CartellaScrivibile(cartella))
        return accanto;
    return Servizi::CartellaConfigurazione() + FormatoNumeroFisso::NomeFile;
}

QString PercorsoPerSalvare()
{
    const QString percorso = Percorso();
    // A folder that cannot be made is reported by the save that follows, naming the file.
    QDir().mkpath(QFileInfo(percorso).absolutePath());
    return percorso;
}

bool Esiste()
{
    // Without a configuration folder there is nowhere the file could stand.
    try {
        return QFileInfo(Percorso()).isFile();
    } catch (const Errore &) {
        return false;
    }
}

QString Leggi()
{
    const QString percorso = Percorso();
    const auto illeggibile = [&](const QString &motivo) {
        return Errore(QStringLiteral("Impossibile leggere il file del numero fisso %1: %2")
                          .arg(Servizi::PercorsoMostrato(percorso), motivo));
    };
    // Only the first line's first six characters matter; the rest of the file is never read.
    QByteArray inizio;
    try {
        inizio = LetturaFile::Inizio(
            percorso, FormatoNumeroFisso::LunghezzaPrefisso + FormatoNumeroFisso::CaratteriNumero,
            LetturaFile::Collegamenti::Seguiti);
    } catch (const Errore &errore) {
        throw illeggibile(errore.messaggio());
    }
    const QString numero = FormatoNumeroFisso::NumeroDallaRiga(inizio);
    if (numero.isEmpty())
        throw Errore(QStringLiteral("Il file del numero fisso %1 non contiene un numero da 01 a 90")
                         .arg(Servizi::PercorsoMostrato(percorso)));
    return numero;
}

void Scrivi(const QString &dueCifre)
{
    QString percorso = FormatoNumeroFisso::NomeFile;
    const auto nonSalvato = [&](const QString &motivo) {
        return Errore(QStringLiteral("Impossibile salvare il file del numero fisso %1: %2")
                          .arg(Servizi::PercorsoMostrato(percorso), motivo));
    };
    try {
        percorso = PercorsoPerSalvare();
    } catch (const Errore &e) {
        throw nonSalvato(e.messaggio());
    }
    // Only a regular file is replaced: saving over a link would replace what it points to, and a
    // folder, a pipe or a device of that name is not the user's setting.
    try {
        Salvataggio file(percorso);
        file.Apri();
        file.Scrivi(FormatoNumeroFisso::Contenuto(dueCifre));
        file.Concludi();
    } catch (const Errore &e) {
        throw nonSalvato(e.messaggio());
    }
}

void Rimuovi()
{
    const QString percorso = Percorso();
    if (::unlink(QFile::encodeName(percorso).constData()) != 0)
        throw Errore(QStringLiteral("Impossibile rimuovere il file del numero fisso %1: %2")
                         .arg(Servizi::PercorsoMostrato(percorso), MotiviSistema::Motivo(errno)));
}

} // namespace NumeroFisso
