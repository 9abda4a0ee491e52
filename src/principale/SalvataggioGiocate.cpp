// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "principale/SalvataggioGiocate.h"

#include "kit/RapportoErrori.h"
#include "kit/Salvataggio.h"
#include "kit/Servizi.h"
#include "kit/Sostituzioni.h"
#include "regole/Errore.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

namespace SalvataggioGiocate
{

QString ChiediDove(QWidget *genitore, const QString &nome)
{
    const QString proposta =
        QDir(Servizi::CartellaProposta(QStandardPaths::DocumentsLocation)).filePath(nome);
    if (const Sostituzioni::RispostaFile scelta = Sostituzioni::Attuali().SceltaSalvataggio)
        return scelta(genitore, proposta);
    return QFileDialog::getSaveFileName(genitore, QStringLiteral("Salva le giocate"), proposta,
                                        QStringLiteral("File di testo (*.txt);;Tutti i file (*)"));
}

void Salva(const QString &percorso, const QString &testo)
{
    try {
        Salvataggio file(percorso);
        file.Apri();
        file.Scrivi(testo.toUtf8());
        file.Concludi();
    } catch (const Errore &e) {
        throw Errore(QStringLiteral("Impossibile salvare le giocate in %1: %2")
                         .arg(QDir::toNativeSeparators(percorso), e.messaggio()));
    }
}

void ChiediESalva(QWidget *genitore, const QString &testo, const QString &nome)
{
    const QString percorso = ChiediDove(genitore, nome);
    if (percorso.isEmpty())
        return;
    try {
        Salva(percorso, testo);
    } catch (const Errore &) {
        RapportoErrori::Mostra(std::current_exception());
    }
}

} // namespace SalvataggioGiocate
