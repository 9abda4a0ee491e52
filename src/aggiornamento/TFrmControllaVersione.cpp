// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "aggiornamento/TFrmControllaVersione.h"

#include "Configurazione.h"
#include "kit/AttivazionePerMostra.h"
#include "kit/Colori.h"
#include "kit/Glifi.h"
#include "kit/Identita.h"
#include "kit/Messaggi.h"
#include "kit/RapportoErrori.h"
#include "regole/TabellaCriteri.h"
#include "traduzione/Traduzione.h"

#include <QEventLoop>
#include <QPointer>
#include <QShowEvent>

using RapportoErrori::Collega;

namespace
{

QString g_indirizzoSito;

// Labels that size themselves to their text, shown as it is: some of it comes from the version page.
void ScriviAdattando(QLabel *etichetta, const QString &testo)
{
    etichetta->setTextFormat(Qt::PlainText);
    etichetta->setText(testo);
    etichetta->adjustSize();
}

} // namespace

void TFrmControllaVersione::ImpostaIndirizzoSito(const QString &indirizzo)
{
    g_indirizzoSito = indirizzo;
}

QString TFrmControllaVersione::IndirizzoSito()
{
    return g_indirizzoSito.isEmpty() ? QString::fromUtf8(Configurazione::IndirizzoSito) : g_indirizzoSito;
}

TFrmControllaVersione::TFrmControllaVersione(QWidget *genitore) : QDialog(genitore)
{
    setupUi(this);
    // A fixed frame with the system menu, the maximise box and the close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(391, 82);
    // Modal to the main window only: the question and the other message boxes have no owner and must
    // stay usable while this window runs.
    setWindowModality(Qt::WindowModal);

    // The two build numbers are read out with their headings. A label's buddy is what Qt's
    // accessibility reports as the label of a control (labelled-by, and label-for on the heading);
    // the headings have no mnemonic, so the buddy never takes part in keyboard navigation.
    Label1->setBuddy(LabVerAttuale);
    Label2->setBuddy(LabVerInternet);

    sbScarica->setIcon(Glifi::Icona(QStringLiteral("scarica")));
    sbControlla->setIcon(Glifi::Icona(QStringLiteral("controlla")));
    sbEsci->setIcon(Glifi::Icona(QStringLiteral("esci")));

    Collega(sbControlla, &QPushButton::clicked, this, &TFrmControllaVersione::sbControllaClick);
    Collega(sbScarica, &QPushButton::clicked, this, &TFrmControllaVersione::sbScaricaClick);
    Collega(sbEsci, &QPushButton::clicked, this, &TFrmControllaVersione::sbEsciClick);
    Collega(WebBrowser1, &BrowserIncorporato::DocumentoCompletato, this,
            &TFrmControllaVersione::WebBrowser1DocumentComplete);
    Collega(WebBrowser1, &BrowserIncorporato::NavigazioneFallita, this,
            &TFrmControllaVersione::WebBrowser1NavigazioneFallita);
    Collega(WebBrowser1, &BrowserIncorporato::ScaricamentoTerminato, this,
            &TFrmControllaVersione::WebBrowser1ScaricamentoTerminato);

    Messaggi::CentraSulDesktop(this);

    RapportoErrori::Protetto([this] { FormCreate(); });
    new AttivazionePerMostra(this, [this] { FormActivate(); });

    // The activation clears these too, but the user must never see the names the form file gives them.
    for (QLabel *etichetta : {LabVerAttuale, LabVerInternet, LabMessaggioPiccolo})
        ScriviAdattando(etichetta, QString());
}

TFrmControllaVersione::~TFrmControllaVersione()
{
    FormDestroy();
}

void TFrmControllaVersione::FormCreate()
{
    // A pass that fails is reported and leaves the Italian texts; nothing after it needs them, and
    // every check needs what follows.
    RapportoErrori::Protetto([this] { TraduciInterfaccia(); });

    ListaPagine.clear();
    ChiaveProgramma = Identita::Chiave();
    URLControllo = IndirizzoSito() + QStringLiteral("/index.php?show=ctrlvers&prg=") + ChiaveProgramma;

    // Every row whose key matches copies its criterion; no match leaves the criterion empty, and then
    // no check ever finds a published version.
    const QString chiave = TabellaCriteri::ChiaveMinuscola(ChiaveProgramma);
    for (const TabellaCriteri::Riga &riga : TabellaCriteri::Righe()) {
        if (chiave != QLatin1String(riga.Chiave))
            continue;
        CriterioVersione = riga.Criterio;
    }

    Editurl->setText(IndirizzoSito() + QStringLiteral("/prg/") + CodiceBreve.toLower() +
                     QStringLiteral(".exe"));
    sbScarica->setToolTip(Editurl->text());
}

void TFrmControllaVersione::TraduciInterfaccia()
{
    using namespace Traduzione;
    TraduciVoci({VoceTitolo(this), VoceTesto(Label1), VoceTesto(Label2), VoceTesto(sbScarica),
                 VoceTesto(sbControlla)},
                Guardia::SoloItaliano);
}

void TFrmControllaVersione::FormActivate()
{
    for (QLabel *etichetta : {LabVerInternet, LabVerAttuale, LabMessaggioPiccolo})
        ScriviAdattando(etichetta, QString());
    // Black in the desktop's default colours: the text colour of the palette in use.
    Colori::TestoDiSistema(LabMessaggioGrande);

    const QString etichettaVersione = Identita::EtichettaVersione();
    TestoVersione = Scansione::TestoVersione(etichettaVersione);
    VersioneAttuale = Scansione::VersioneAttuale(etichettaVersione);
    ScriviAdattando(LabVerAttuale, QString::number(VersioneAttuale));

    const bool connesso = Messaggi::DomandaSiNo(QStringLiteral(
        "Per eseguire il controllo di evetuali nuove versioni bisogna essere connessi ad internet, "
        "continuo?"));
    // The window may have been closed while the question was on screen.
    if (!isVisible())
        return;
    if (connesso)
        sbControlla->click();
    else
        LabMessaggioGrande->clear();
}

void TFrmControllaVersione::sbControllaClick()
{
    sbControlla->setEnabled(false);
    PaginaCompleta = false;
    ErroreNavigazione = false;
    // The check's navigation abandons a download still running.
    m_scaricamento = false;
    ApriIndirizzo(URLControllo);

    // The page's arrival is itself one of the events processed here; so are the user's clicks. The wait
    // ends when the page is there, when its navigation fails, or at a close request, which only marks the
    // window (see done). A window that is not shown modally may even be destroyed meanwhile (which ends
    // the wait too): then nothing of it may be touched again.
    const QPointer<TFrmControllaVersione> vivo(this);
    QEventLoop attesa;
    m_attesa = &attesa;
    attesa.exec();
    if (!vivo)
        return;
    m_attesa = nullptr;

    if (!PaginaCompleta && !ErroreNavigazione && !m_chiusuraRichiesta) {
        // Nothing else stops the wait but the program's end, which tells every event loop to quit: the
        // check is given up and the window closes, as at a close request.
        m_chiusuraRichiesta = true;
        m_esitoRichiesto = QDialog::Rejected;
        WebBrowser1->Annulla();
    }
    if (m_chiusuraRichiesta) {
        m_chiusuraRichiesta = false;
        sbControlla->setEnabled(true);
        QDialog::done(m_esitoRichiesto);
        return;
    }

    if (ErroreNavigazione) {
        // The check is over: the large label keeps an earlier check's result, but no longer says that
        // one is running.
        if (!m_esitoMostrato)
            LabMessaggioGrande->clear();
        ScriviAdattando(LabVerInternet, QStringLiteral("Non disponibile"));
        ScriviAdattando(LabMessaggioPiccolo, QStringLiteral("Impossibile scaricare la nuova versione"));
        sbControlla->setEnabled(true);
        return;
    }

    QList<QByteArray> risultati;
    risultati.reserve(ListURL->count());
    for (int i = 0; i < ListURL->count(); ++i)
        risultati.append(Scansione::InWindows1252(ListURL->item(i)->text()));
    const qsizetype prima = risultati.size();
    Scansione::EstraiURLConCriterio(ListaPagine, risultati, CriterioVersione);
    for (qsizetype i = prima; i < risultati.size(); ++i)
        ListURL->addItem(Scansione::DaWindows1252(risultati.at(i)));

    // Within one window the first version ever found is the one compared.
    const qint32 pubblicata = Scansione::VersionePubblicata(risultati);
    if (pubblicata > 0)
        ScriviAdattando(LabVerInternet, QString::number(pubblicata));

    m_esitoMostrato = true;
    if (Scansione::NuovaVersioneDisponibile(VersioneAttuale, pubblicata)) {
        LabMessaggioGrande->setText(QStringLiteral("Disponibile una nuove versione!!"));
        Colori::TestoFisso(LabMessaggioGrande, Colori::Verde);
        ScriviAdattando(LabMessaggioPiccolo, QStringLiteral("Premi su scarica e chiudi il programma."));
        sbScarica->setEnabled(true);
    } else {
        LabMessaggioGrande->setText(QStringLiteral("Nessuna nuova versione disponibile."));
        Colori::TestoFisso(LabMessaggioGrande, Colori::Rosso);
        ScriviAdattando(LabMessaggioPiccolo, QStringLiteral("Impossibile scaricare la nuova versione."));
    }
    sbControlla->setEnabled(true);
}

void TFrmControllaVersione::WebBrowser1DocumentComplete()
{
    // Every completed document counts, whoever started its loading.
    const std::optional<QString> corpo = WebBrowser1->CorpoHtml();
    if (!corpo)
        return;
    ListaPagine.append(Scansione::InWindows1252(*corpo));
    PaginaCompleta = true;
    fineAttesa();
    // A page where the setup file was expected: it counts as a document, but the download failed.
    if (m_scaricamento)
        WebBrowser1NavigazioneFallita();
}

void TFrmControllaVersione::WebBrowser1NavigazioneFallita()
{
    m_scaricamento = false;
    ErroreNavigazione = true;
    // Outside a check the failure can only be the download's: the setup file was not saved, and the
    // user must not believe it was. During a check, the check's end says so.
    if (!m_attesa)
        ScriviAdattando(LabMessaggioPiccolo, QStringLiteral("Impossibile scaricare la nuova versione"));
    fineAttesa();
}

void TFrmControllaVersione::WebBrowser1ScaricamentoTerminato()
{
    m_scaricamento = false;
    // A download started while a check waited has taken the place of the check's page, which will
    // never come: the check ends as a failed navigation.
    if (m_attesa) {
        ErroreNavigazione = true;
        fineAttesa();
    }
}

void TFrmControllaVersione::sbScaricaClick()
{
    sbScarica->setEnabled(false);
    m_scaricamento = true;
    ApriIndirizzo(Editurl->text());
}

void TFrmControllaVersione::sbEsciClick()
{
    close();
}

void TFrmControllaVersione::done(int esito)
{
    // Every way of closing ends here: the close box, Escape, sbEsci. During a check the page's loading
    // stops and the wait ends; the check then closes the window once it has left the stack, so the
    // window is never destroyed (by the main window, after its modal run) under a running handler.
    if (m_attesa) {
        m_chiusuraRichiesta = true;
        m_esitoRichiesto = esito;
        WebBrowser1->Annulla();
        fineAttesa();
        return;
    }
    QDialog::done(esito);
}

void TFrmControllaVersione::fineAttesa()
{
    if (m_attesa)
        m_attesa->quit();
}

void TFrmControllaVersione::FormDestroy()
{
    // Nothing of a navigation still running may reach a window that is going away, and a check still
    // waiting stops: it finds the window gone and touches nothing.
    WebBrowser1->disconnect(this);
    WebBrowser1->Annulla();
    fineAttesa();
    ListaPagine.clear();
}

void TFrmControllaVersione::ApriIndirizzo(const QString &indirizzo)
{
    WebBrowser1->Naviga(indirizzo);
}
