// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "aggiornamento/ControlloVersione.h"

#include "Configurazione.h"
#include "kit/Identita.h"
#include "kit/RapportoErrori.h"
#include "kit/Sostituzioni.h"
#include "regole/TabellaCriteri.h"

QString ControlloVersione::IndirizzoSito()
{
    const QString &sostituto = Sostituzioni::Attuali().IndirizzoSito;
    return sostituto.isEmpty() ? QString::fromUtf8(Configurazione::IndirizzoSito) : sostituto;
}

ControlloVersione::ControlloVersione(QObject *genitore)
    : QObject(genitore), WebBrowser1(new BrowserIncorporato(this))
{
    const QString chiave = Identita::Chiave();
    m_indirizzoControllo = IndirizzoSito() + QStringLiteral("/index.php?show=ctrlvers&prg=") + chiave;
    m_indirizzoScaricamento =
        IndirizzoSito() + QStringLiteral("/prg/") + CodiceBreve.toLower() + QStringLiteral(".exe");

    // Every row whose key matches copies its criterion.
    const QString minuscola = TabellaCriteri::ChiaveMinuscola(chiave);
    Scansione::Criterio criterio;
    for (const TabellaCriteri::Riga &riga : TabellaCriteri::Righe()) {
        if (minuscola == QLatin1String(riga.Chiave))
            criterio = riga.Criterio;
    }
    m_scansione = Scansione::ScansioneProgressiva(criterio);
    m_versioneAttuale = Scansione::VersioneAttuale(Identita::EtichettaVersione());

    using RapportoErrori::Collega;
    Collega(WebBrowser1, &BrowserIncorporato::DocumentoCompletato, this,
            &ControlloVersione::WebBrowser1DocumentComplete);
    Collega(WebBrowser1, &BrowserIncorporato::NavigazioneFallita, this,
            &ControlloVersione::WebBrowser1NavigazioneFallita);
    Collega(WebBrowser1, &BrowserIncorporato::ScaricamentoTerminato, this,
            &ControlloVersione::WebBrowser1ScaricamentoTerminato);
}

ControlloVersione::~ControlloVersione()
{
    // Nothing of a navigation still running may reach a check that is going away.
    WebBrowser1->disconnect(this);
    WebBrowser1->Annulla();
}

QList<QByteArray> ControlloVersione::IndirizziTrovati() const
{
    if (const std::optional<QByteArray> &primo = m_scansione.Primo())
        return {*primo};
    return {};
}

void ControlloVersione::Controlla()
{
    m_controllo = true;
    // The check's navigation abandons a download still running.
    m_scaricamento = false;
    WebBrowser1->Naviga(m_indirizzoControllo);
}

void ControlloVersione::Scarica()
{
    m_scaricamento = true;
    WebBrowser1->Naviga(m_indirizzoScaricamento);
}

void ControlloVersione::Annulla()
{
    m_controllo = false;
    m_scaricamento = false;
    WebBrowser1->Annulla();
}

void ControlloVersione::WebBrowser1DocumentComplete()
{
    const std::optional<QString> corpo = WebBrowser1->CorpoHtml();
    if (!corpo)
        return;
    m_scansione.Aggiungi(Scansione::InWindows1252(*corpo));
    // A page where the setup file was expected: it counts as a document, but the download failed.
    if (m_scaricamento)
        WebBrowser1NavigazioneFallita();
    else if (m_controllo)
        concludi();
}

void ControlloVersione::WebBrowser1NavigazioneFallita()
{
    m_scaricamento = false;
    // Outside a check the failure can only be the download's.
    if (m_controllo)
        fallisci();
    else
        emit ScaricamentoFallito();
}

void ControlloVersione::WebBrowser1ScaricamentoTerminato()
{
    m_scaricamento = false;
    // A download started while a check waited has taken the place of the check's page, which will never
    // come.
    if (m_controllo)
        fallisci();
}

void ControlloVersione::concludi()
{
    m_controllo = false;
    m_scansione.Scansiona();
    // Within one check object the first version ever found is the one compared.
    const qint32 pubblicata = Scansione::VersionePubblicata(IndirizziTrovati());
    emit ControlloConcluso(pubblicata, Scansione::NuovaVersioneDisponibile(m_versioneAttuale, pubblicata));
}

void ControlloVersione::fallisci()
{
    m_controllo = false;
    emit ControlloFallito();
}
