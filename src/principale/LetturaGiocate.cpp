// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "principale/LetturaGiocate.h"

#include "kit/LetturaFile.h"
#include "kit/Servizi.h"
#include "kit/Sostituzioni.h"
#include "regole/Errore.h"
#include "regole/FileGiocate.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>

namespace LetturaGiocate
{

QString ChiediQuale(QWidget *genitore)
{
    const QString proposta = Servizi::CartellaProposta(QStandardPaths::DocumentsLocation);
    if (const Sostituzioni::RispostaFile scelta = Sostituzioni::Attuali().SceltaApertura)
        return scelta(genitore, proposta);
    return QFileDialog::getOpenFileName(genitore, QStringLiteral("Apri giocate"), proposta,
                                        QStringLiteral("File di testo (*.txt);;Tutti i file (*)"));
}

QList<Vincite::Numeri> Leggi(const QString &percorso)
{
    const auto illeggibile = [&](const QString &motivo) {
        return Errore(QStringLiteral("Impossibile leggere le giocate da %1: %2")
                          .arg(QDir::toNativeSeparators(percorso), motivo));
    };
    // Never through a link; one byte more than may be taken, so that a larger file is told apart.
    QByteArray contenuto;
    try {
        contenuto = LetturaFile::Inizio(percorso, FileGiocate::MassimaDimensione + 1,
                                        LetturaFile::Collegamenti::Rifiutati);
    } catch (const Errore &errore) {
        throw illeggibile(errore.messaggio());
    }
    try {
        return FileGiocate::Leggi(contenuto);
    } catch (const Errore &errore) {
        throw illeggibile(errore.messaggio());
    }
}

} // namespace LetturaGiocate
