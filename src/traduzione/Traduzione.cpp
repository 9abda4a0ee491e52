// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "traduzione/Traduzione.h"

#include "kit/Messaggi.h"
#include "kit/Servizi.h"

#include <QAbstractButton>
#include <QFileInfo>
#include <QLabel>

namespace Traduzione
{

void LeggiImpostazione(const QString &campo, QString &uscita)
{
    const QString errore = QStringLiteral("Errore di lettura in parametri di impostazione, campo: ") + campo;
    try {
        uscita = TabelleTraduzione::LeggiCampo(campo);
    } catch (const TabelleTraduzione::ErroreTabella &e) {
        Messaggi::MessaggioErrore(errore + QLatin1Char('\n') + e.messaggio());
    } catch (...) {
        Messaggi::MessaggioErrore(errore);
    }
}

Voce VoceTitolo(QWidget *finestra)
{
    return {[finestra] { return finestra->windowTitle(); },
            [finestra](const QString &testo) { finestra->setWindowTitle(testo); }};
}

Voce VoceTesto(QLabel *etichetta)
{
    return {[etichetta] { return etichetta->text(); },
            [etichetta](const QString &testo) {
                // A table's text is shown as it is written, never laid out as markup: a caption that
                // began with a tag would otherwise load pictures from any file, or nest tables deep
                // enough to hold the window up for minutes or overflow the stack.
                etichetta->setTextFormat(Qt::PlainText);
                etichetta->setText(testo);
                etichetta->adjustSize();
            }};
}

Voce VoceTesto(QAbstractButton *pulsante)
{
    return {[pulsante] { return pulsante->text(); },
            [pulsante](const QString &testo) { pulsante->setText(testo); }};
}

void TraduciVoci(const QList<Voce> &voci, Guardia guardia)
{
    if (!QFileInfo(Servizi::CartellaEseguibile() + TabelleTraduzione::FileLingua).isFile())
        return;
    QString lingua;
    LeggiImpostazione(QStringLiteral("LINGUA"), lingua);
    if (lingua == TabelleTraduzione::Italiano)
        return;
    if (guardia == Guardia::ItalianoOVuoto && lingua.isEmpty())
        return;
    for (const Voce &voce : voci) {
        QString uscita;
        TabelleTraduzione::TraduciTesto(voce.Leggi(), lingua, uscita);
        voce.Scrivi(uscita);
    }
}

} // namespace Traduzione
