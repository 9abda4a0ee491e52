// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "aggiornamento/TFrmControllaVersione.h"
#include "ui_TFrmControllaVersione.h"

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

TFrmControllaVersione::TFrmControllaVersione(QWidget *genitore)
    : QDialog(genitore), m_ui(std::make_unique<Ui::TFrmControllaVersione>())
{
    m_ui->setupUi(this);
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
    m_ui->Label1->setBuddy(m_ui->LabVerAttuale);
    m_ui->Label2->setBuddy(m_ui->LabVerInternet);

    m_ui->sbScarica->setIcon(Glifi::Icona(QStringLiteral("scarica")));
    m_ui->sbControlla->setIcon(Glifi::Icona(QStringLiteral("controlla")));
    m_ui->sbEsci->setIcon(Glifi::Icona(QStringLiteral("esci")));

    // A download's save and progress dialogs stand over this window.
    m_controllo.Browser().ImpostaFinestra(this);

    Collega(m_ui->sbControlla, &QPushButton::clicked, this, &TFrmControllaVersione::sbControllaClick);
    Collega(m_ui->sbScarica, &QPushButton::clicked, this, &TFrmControllaVersione::sbScaricaClick);
    Collega(m_ui->sbEsci, &QPushButton::clicked, this, &TFrmControllaVersione::sbEsciClick);
    // The buttons take no focus: their keys, which click them as the mouse does (nothing while one is
    // disabled), are named in their hints. Escape closes the window, as sbEsci does.
    for (const auto &[pulsante, tasto] :
         {std::pair{m_ui->sbControlla, TastoControlla}, std::pair{m_ui->sbScarica, TastoScarica}}) {
        auto *scorciatoia = new QShortcut(QKeySequence(QString::fromLatin1(tasto)), this);
        QObject::connect(scorciatoia, &QShortcut::activated, pulsante, &QAbstractButton::click);
    }
    m_ui->sbControlla->setToolTip(ConTasto(m_ui->sbControlla->toolTip(), TastoControlla));
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
    for (QLabel *etichetta : {m_ui->LabVerAttuale, m_ui->LabVerInternet, m_ui->LabMessaggioPiccolo})
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

    m_ui->Editurl->setText(m_controllo.IndirizzoScaricamento());
    m_ui->sbScarica->setToolTip(ConTasto(m_ui->Editurl->text(), TastoScarica));
}

void TFrmControllaVersione::TraduciInterfaccia()
{
    using namespace Traduzione;
    TraduciVoci({VoceTitolo(this), VoceTesto(m_ui->Label1), VoceTesto(m_ui->Label2),
                 VoceTesto(m_ui->sbScarica), VoceTesto(m_ui->sbControlla)},
                Guardia::SoloItaliano);
}

void TFrmControllaVersione::FormActivate()
{
    for (QLabel *etichetta : {m_ui->LabVerInternet, m_ui->LabVerAttuale, m_ui->LabMessaggioPiccolo})
        ScriviAdattando(etichetta, QString());
    // Black in the desktop's default colours: the text colour of the palette in use.
    Colori::TestoDiSistema(m_ui->LabMessaggioGrande);
    ScriviAdattando(m_ui->LabVerAttuale, QString::number(m_controllo.VersioneAttuale()));

    const bool connesso = Messaggi::DomandaSiNo(QStringLiteral(
        "Per eseguire il controllo di evetuali nuove versioni bisogna essere connessi ad internet, "
        "continuo?"));
    // The window may have been closed while the question was on screen.
    if (!isVisible())
        return;
    if (connesso)
        m_ui->sbControlla->click();
    else
        m_ui->LabMessaggioGrande->clear();
}

void TFrmControllaVersione::sbControllaClick()
{
    m_ui->sbControlla->setEnabled(false);
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
        m_ui->sbControlla->setEnabled(true);
        QDialog::done(m_esitoRichiesto);
    }
}

void TFrmControllaVersione::MostraEsito(qint32 pubblicata, bool nuova)
{
    fineAttesa();
    // The hidden result list shows the address the published version was read from.
    const QList<QByteArray> trovati = m_controllo.IndirizziTrovati();
    for (qsizetype i = m_ui->ListURL->count(); i < trovati.size(); ++i)
        m_ui->ListURL->addItem(Scansione::DaWindows1252(trovati.at(i)));

    if (pubblicata > 0)
        ScriviAdattando(m_ui->LabVerInternet, QString::number(pubblicata));

    m_esitoMostrato = true;
    if (nuova) {
        m_ui->LabMessaggioGrande->setText(QStringLiteral("Disponibile una nuove versione!!"));
        Colori::TestoFisso(m_ui->LabMessaggioGrande, Colori::Verde);
        ScriviAdattando(m_ui->LabMessaggioPiccolo, QStringLiteral("Premi su scarica e chiudi il programma."));
        m_ui->sbScarica->setEnabled(true);
    } else {
        m_ui->LabMessaggioGrande->setText(QStringLiteral("Nessuna nuova versione disponibile."));
        Colori::TestoFisso(m_ui->LabMessaggioGrande, Colori::Rosso);
        ScriviAdattando(m_ui->LabMessaggioPiccolo,
                        QStringLiteral("Impossibile scaricare la nuova versione."));
    }
    m_ui->sbControlla->setEnabled(true);
}

void TFrmControllaVersione::MostraFallimento()
{
    fineAttesa();
    // The check is over: the large label keeps an earlier check's result, but no longer says that one is
    // running.
    if (!m_esitoMostrato)
        m_ui->LabMessaggioGrande->clear();
    ScriviAdattando(m_ui->LabVerInternet, QStringLiteral("Non disponibile"));
    ScriviAdattando(m_ui->LabMessaggioPiccolo, QStringLiteral("Impossibile scaricare la nuova versione"));
    m_ui->sbControlla->setEnabled(true);
}

void TFrmControllaVersione::MostraScaricamentoFallito()
{
    // The setup file was not saved, and the user must not believe it was.
    ScriviAdattando(m_ui->LabMessaggioPiccolo, QStringLiteral("Impossibile scaricare la nuova versione"));
}

void TFrmControllaVersione::sbScaricaClick()
{
    m_ui->sbScarica->setEnabled(false);
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
