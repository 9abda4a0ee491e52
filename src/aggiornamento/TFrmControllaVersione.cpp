// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "aggiornamento/TFrmControllaVersione.h"

#include "kit/AttivazionePerMostra.h"
#include "kit/Colori.h"
#include "kit/Glifi.h"
#include "kit/Messaggi.h"
#include "kit/RapportoErrori.h"
#include "regole/Scansione.h"
#include "traduzione/Traduzione.h"

#include <QEventLoop>
#include <QKeySequence>
#include <QPointer>
#include <QShortcut>

using RapportoErrori::Collega;

namespace
{

// Labels that size themselves to their text, shown as it is: some of it comes from the version page.
void ScriviAdattando(QLabel *etichetta, const QString &testo)
{
    etichetta->setTextFormat(Qt::PlainText);
    etichetta->setText(testo);
    etichetta->adjustSize();
}

// A button's hint with its key after it.
QString ConTasto(const QString &suggerimento, const char *tasto)
{
    return QStringLiteral("%1 (%2)").arg(suggerimento, QString::fromLatin1(tasto));
}

} // namespace

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

    // A download's save and progress dialogs stand over this window.
    m_controllo.Browser().ImpostaFinestra(this);

    Collega(sbControlla, &QPushButton::clicked, this, &TFrmControllaVersione::sbControllaClick);
    Collega(sbScarica, &QPushButton::clicked, this, &TFrmControllaVersione::sbScaricaClick);
    Collega(sbEsci, &QPushButton::clicked, this, &TFrmControllaVersione::sbEsciClick);
    // The buttons take no focus: their keys, which click them as the mouse does (nothing while one is
    // disabled), are named in their hints. Escape closes the window, as sbEsci does.
    for (const auto &[pulsante, tasto] :
         {std::pair{sbControlla, TastoControlla}, std::pair{sbScarica, TastoScarica}}) {
        auto *scorciatoia = new QShortcut(QKeySequence(QString::fromLatin1(tasto)), this);
        QObject::connect(scorciatoia, &QShortcut::activated, pulsante, &QAbstractButton::click);
    }
    sbControlla->setToolTip(ConTasto(sbControlla->toolTip(), TastoControlla));
    QObject::connect(&m_controllo, &ControlloVersione::ControlloConcluso, this,
                     [this](qint32 pubblicata, bool nuova) {
                         RapportoErrori::Protetto([&] { MostraEsito(pubblicata, nuova); });
                     });
    Collega(&m_controllo, &ControlloVersione::ControlloFallito, this,
            &TFrmControllaVersione::MostraFallimento);
    Collega(&m_controllo, &ControlloVersione::ScaricamentoFallito, this,
            &TFrmControllaVersione::MostraScaricamentoFallito);

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

    Editurl->setText(m_controllo.IndirizzoScaricamento());
    sbScarica->setToolTip(ConTasto(Editurl->text(), TastoScarica));
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
    ScriviAdattando(LabVerAttuale, QString::number(m_controllo.VersioneAttuale()));

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
    m_controllo.Controlla();

    // The check's end is itself one of the events processed here; so are the user's clicks. The wait
    // ends when the check ends, or at a close request, which only marks the window (see done). A window
    // that is not shown modally may even be destroyed meanwhile (which ends the wait too): then nothing
    // of it may be touched again.
    const QPointer<TFrmControllaVersione> vivo(this);
    QEventLoop attesa;
    m_attesa = &attesa;
    attesa.exec();
    if (!vivo)
        return;
    m_attesa = nullptr;

    if (m_controllo.InControllo() && !m_chiusuraRichiesta) {
        // Nothing else stops the wait but the program's end, which tells every event loop to quit: the
        // check is given up and the window closes, as at a close request.
        m_chiusuraRichiesta = true;
        m_esitoRichiesto = QDialog::Rejected;
    }
    if (m_chiusuraRichiesta) {
        m_chiusuraRichiesta = false;
        m_controllo.Annulla();
        sbControlla->setEnabled(true);
        QDialog::done(m_esitoRichiesto);
    }
}

void TFrmControllaVersione::MostraEsito(qint32 pubblicata, bool nuova)
{
    fineAttesa();
    // The hidden result list shows the address the published version was read from.
    const QList<QByteArray> trovati = m_controllo.IndirizziTrovati();
    for (qsizetype i = ListURL->count(); i < trovati.size(); ++i)
        ListURL->addItem(Scansione::DaWindows1252(trovati.at(i)));

    if (pubblicata > 0)
        ScriviAdattando(LabVerInternet, QString::number(pubblicata));

    m_esitoMostrato = true;
    if (nuova) {
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

void TFrmControllaVersione::MostraFallimento()
{
    fineAttesa();
    // The check is over: the large label keeps an earlier check's result, but no longer says that one is
    // running.
    if (!m_esitoMostrato)
        LabMessaggioGrande->clear();
    ScriviAdattando(LabVerInternet, QStringLiteral("Non disponibile"));
    ScriviAdattando(LabMessaggioPiccolo, QStringLiteral("Impossibile scaricare la nuova versione"));
    sbControlla->setEnabled(true);
}

void TFrmControllaVersione::MostraScaricamentoFallito()
{
    // The setup file was not saved, and the user must not believe it was.
    ScriviAdattando(LabMessaggioPiccolo, QStringLiteral("Impossibile scaricare la nuova versione"));
}

void TFrmControllaVersione::sbScaricaClick()
{
    sbScarica->setEnabled(false);
    m_controllo.Scarica();
}

void TFrmControllaVersione::sbEsciClick()
{
    close();
}

void TFrmControllaVersione::done(int esito)
{
    // Every way of closing ends here: the close box, Escape, sbEsci. During the wait of "Controlla" the
    // check stops and the wait ends; the handler then closes the window once it has left the stack, so
    // the window is never destroyed (by the main window, after its modal run) under a running handler.
    if (m_attesa) {
        m_chiusuraRichiesta = true;
        m_esitoRichiesto = esito;
        m_controllo.Annulla();
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
    // Nothing of a check or download still running may reach a window that is going away, and a wait
    // still running stops: it finds the window gone and touches nothing.
    m_controllo.disconnect(this);
    m_controllo.Annulla();
    fineAttesa();
}
