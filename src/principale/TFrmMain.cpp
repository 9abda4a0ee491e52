// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "principale/TFrmMain.h"
#include "ui_TFrmMain.h"

#include "Configurazione.h"
#include "finestre/TFrmAbout.h"
#include "finestre/TfrmBug.h"
#include "impostazioni/NumeroFisso.h"
#include "impostazioni/TFrmImp.h"
#include "kit/Colori.h"
#include "kit/Glifi.h"
#include "kit/Messaggi.h"
#include "kit/ModuloSuRichiesta.h"
#include "kit/RapportoErrori.h"
#include "kit/Servizi.h"
#include "kit/Stile.h"
#include "principale/FinestraGiocate.h"
#include "principale/FinestraVerifica.h"
#include "principale/SalvataggioGiocate.h"
#include "principale/SceltaQuanteGiocate.h"
#include "regole/Errore.h"
#include "regole/Numeri.h"
#include "regole/TestiStampa.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QScopeGuard>
#include <QWindow>

#include <exception>
#include <new>

using RapportoErrori::Collega;

namespace
{
// Setting a field lays its text out again even when the text stays the same, and after the draw most
// fields already hold their final text: only a text that differs is set.
void CambiaTesto(QLineEdit *campo, const QString &testo)
{
    if (campo->text() != testo)
        campo->setText(testo);
}
} // namespace

// The controls' pointers start null (the form value-initialised), not unset, until they are built.
TFrmMain::TFrmMain(QWidget *genitore, Controlli quando)
    : QMainWindow(genitore), m_ui(std::make_unique<Ui::TFrmMain>())
{
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    if (quando == Controlli::Subito)
        CreaControlli();
}

TFrmMain::~TFrmMain() = default;

void TFrmMain::CreaControlli()
{
    if (m_controlliCreati)
        return;
    m_controlliCreati = true;
    m_ui->setupUi(this);

    // The window comes on screen only after the splash: its pictures are decoded then.
    Glifi::ImmagineAlPrimoDisegno({m_ui->Image1, m_ui->Image2, m_ui->Image3, m_ui->Image4},
                                  QStringLiteral("mattoni"));
    Glifi::ImmagineAlPrimoDisegno({m_ui->Image5}, QStringLiteral("logo"));

    m_ui->BTSstampa->setIcon(Glifi::Icona(QStringLiteral("stampa")));
    m_ui->BTSimp->setIcon(Glifi::Icona(QStringLiteral("impostazioni")));
    m_ui->BTSgioca->setIcon(Glifi::Icona(QStringLiteral("gioca")));
    for (QPushButton *pulsante : {m_ui->BTSstampa, m_ui->BTSimp, m_ui->BTSgioca}) {
        // Their bold captions are drawn at the face's full width, the width their places were made for.
        QFont carattere = pulsante->font();
        carattere.setStretch(QFont::Unstretched);
        pulsante->setFont(carattere);
        Stile::PulsantePiatto(pulsante);
    }

    Colori::SfondoFisso(m_ui->Panel1, Colori::Blu);
    for (QLineEdit *campo : CampiNumero()) {
        campo->setTextMargins(0, 0, 0, 0);
        // Ctrl+C copies the plays unless the field has a selection of its own to copy.
        campo->installEventFilter(this);
    }

    Collega(m_ui->BTSgioca, &QPushButton::clicked, this, &TFrmMain::BTSgiocaClick);
    Collega(m_ui->BTSstampa, &QPushButton::clicked, this, &TFrmMain::BTSstampaClick);
    Collega(m_ui->BTSimp, &QPushButton::clicked, this, &TFrmMain::BTSimpClick);
    Collega(m_ui->Help1, &QAction::triggered, this, &TFrmMain::Help1Click);
    Collega(m_ui->About1, &QAction::triggered, this, &TFrmMain::About1Click);
    Collega(m_ui->SegnalBug1, &QAction::triggered, this, &TFrmMain::SegnalBug1Click);
#if KELMO_CONTROLLO_AGGIORNAMENTI
    Collega(m_ui->Controllaversione1, &QAction::triggered, this, &TFrmMain::Controllaversione1Click);
#else
    // Built without the update check: its entry is not in the menu.
    m_ui->Utilit1->removeAction(m_ui->Controllaversione1);
#endif
    // The menu's entries for the buttons click them: the same handler, and nothing while a button is
    // disabled.
    connect(m_ui->Gioca1, &QAction::triggered, m_ui->BTSgioca, &QAbstractButton::click);
    connect(m_ui->Stampa1, &QAction::triggered, m_ui->BTSstampa, &QAbstractButton::click);
    connect(m_ui->Impostazioni1, &QAction::triggered, m_ui->BTSimp, &QAbstractButton::click);
    Collega(m_ui->CopiaGiocate1, &QAction::triggered, this, &TFrmMain::CopiaGiocate1Click);
    Collega(m_ui->SalvaGiocate1, &QAction::triggered, this, &TFrmMain::SalvaGiocate1Click);
    Collega(m_ui->GiocaPiuVolte1, &QAction::triggered, this, &TFrmMain::GiocaPiuVolte1Click);
    Collega(m_ui->MostraGiocate1, &QAction::triggered, this, &TFrmMain::MostraGiocate1Click);
    Collega(m_ui->VerificaVincite1, &QAction::triggered, this, &TFrmMain::VerificaVincite1Click);
    connect(m_ui->Esci1, &QAction::triggered, this, &QWidget::close);

    // Fixed client area of 213 x 168 under the menu bar, centred on the desktop.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    Messaggi::CentraSulDesktop(this);
}

std::array<QLineEdit *, 6> TFrmMain::CampiNumero() const
{
    return {m_ui->EDTn1, m_ui->EDTn2, m_ui->EDTn3, m_ui->EDTn4, m_ui->EDTn5, m_ui->EDTn6};
}

Estrazione::Combinazione TFrmMain::Combinazione() const
{
    Estrazione::Combinazione testi;
    const auto campi = CampiNumero();
    for (std::size_t i = 0; i < campi.size(); ++i)
        testi[i] = campi[i]->text();
    return testi;
}

void TFrmMain::setVisible(bool visibile)
{
    // Built before the showing starts, never during it: controls added to a window in the middle of its
    // show() are not seen by its layout, which would give it no size and centre it on the wrong spot.
    if (visibile)
        CreaControlli();
    QMainWindow::setVisible(visibile);
}

void TFrmMain::closeEvent(QCloseEvent *evento)
{
    // Closing the main window ends the program at once, whatever else is open. quit() would first ask
    // every other window to close, and a question box that waits for Yes or No refuses: the program
    // would go on without its main window. exit() ends every event loop, the boxes' own included.
    QMainWindow::closeEvent(evento);
    if (evento->isAccepted())
        QCoreApplication::exit(0);
}

QScopeGuard<std::function<void()>> TFrmMain::RiprendiTastieraAllaFine()
{
    // When a window opened from here closes together with a message box over it, the window manager
    // may give the focus to no window at all, and the keyboard would reach nothing: the main window
    // asks for it back, however the handler ends.
    return qScopeGuard(std::function<void()>([this] {
        if (isVisible())
            activateWindow();
    }));
}

void TFrmMain::Help1Click()
{
    const QString guida = Servizi::CartellaEseguibile() + QStringLiteral("help.html");
    if (!QFileInfo(guida).isFile()) {
        Messaggi::MessaggioErrore(QStringLiteral("Impossibile aprire la guida, file help.html non trovato"));
        return;
    }
    Servizi::ApriCollegamento(guida);
}

void TFrmMain::ImpostaAbout(TFrmAbout *about)
{
    m_about = about;
}

void TFrmMain::About1Click()
{
    const auto tastiera = RiprendiTastieraAllaFine();
    // Always the same window, created at start-up without an owner; opened from here, it stands over this
    // window as its child (on Wayland the compositor is told so), like the windows made for one use.
    if (!m_about)
        throw Errore(QStringLiteral("La finestra About non è stata creata"));
    m_about->winId();
    m_about->windowHandle()->setTransientParent(windowHandle());
    m_about->exec();
}

void TFrmMain::SegnalBug1Click()
{
    const auto tastiera = RiprendiTastieraAllaFine();
    // A new window at each use, owned by this one and destroyed when its modal run ends, however it ends.
    TfrmBug finestra(this);
    finestra.exec();
}

void TFrmMain::Controllaversione1Click()
{
    const auto tastiera = RiprendiTastieraAllaFine();
    if (const auto controlla = Modulo(QStringLiteral("Il controllo della versione")).ControllaVersione)
        controlla(this);
}

void TFrmMain::BTSgiocaClick()
{
    PrimaGiocata();
    EstraiCombinazione();
}

QStringList TFrmMain::Giocate() const
{
    QStringList giocate;
    // Until the first play the log holds only its placeholder.
    if (!m_ui->BTSstampa->isEnabled())
        return giocate;
    giocate.reserve(m_ui->Memo1->Conteggio());
    for (qsizetype i = 0; i < m_ui->Memo1->Conteggio(); ++i)
        giocate << m_ui->Memo1->Riga(i);
    return giocate;
}

QString TFrmMain::TestoGiocate() const
{
    QString testo;
    for (qsizetype i = 0; i < m_ui->Memo1->Conteggio(); ++i)
        testo += TestiStampa::RigaGiocata(m_ui->Memo1->Riga(i)) + QLatin1Char('\n');
    return testo;
}

void TFrmMain::CopiaGiocate1Click()
{
    QGuiApplication::clipboard()->setText(TestoGiocate());
}

void TFrmMain::SalvaGiocate1Click()
{
    const auto tastiera = RiprendiTastieraAllaFine();
    // A failure's box comes before the window asks for the keyboard back, not after the handler.
    SalvataggioGiocate::ChiediESalva(this, TestoGiocate());
}

bool TFrmMain::eventFilter(QObject *oggetto, QEvent *evento)
{
    // A number field takes Ctrl+C for itself even with nothing selected; then it goes to the menu.
    if (evento->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent *>(evento)->matches(QKeySequence::Copy))
        if (auto *campo = qobject_cast<QLineEdit *>(oggetto); campo && !campo->hasSelectedText()) {
            evento->ignore();
            return true;
        }
    return QMainWindow::eventFilter(oggetto, evento);
}

void TFrmMain::BTSstampaClick()
{
    const auto tastiera = RiprendiTastieraAllaFine();
    if (Messaggi::DomandaSiNo(QStringLiteral("Stampare tutte le giocate effettuate fino adesso?"))) {
        StampaTutteLeGiocate();
        return;
    }
    if (Messaggi::DomandaSiNo(QStringLiteral("Stampare solamente questa giocata?")))
        StampaGiocataCorrente();
}

void TFrmMain::StampaTutteLeGiocate()
{
    // The count only brings up the question; a No prints every play.
    if (m_ui->Memo1->Conteggio() > TestiStampa::SogliaDomanda &&
        Messaggi::DomandaSiNo(
            QStringLiteral("Sono state effettuate più di 100 giocate, Interrompo la stampa?")))
        return;
    Modulo(QStringLiteral("La stampa"))
        .StampaGiocate(
            this, m_ui->EDTn1->font(), [this] { return m_ui->Memo1->Conteggio(); },
            [this](qsizetype indice) { return m_ui->Memo1->Riga(indice); });
}

void TFrmMain::StampaGiocataCorrente()
{
    // The play is the last one recorded, which the fields show after every draw that succeeded. A draw
    // stopped by an unreadable fixed-number file leaves in the fields a combination that was never
    // played; and when the first draw of all stopped so, no play was recorded at all.
    if (m_ui->Memo1->Conteggio() == 0) {
        Messaggi::MessaggioInfo(
            QStringLiteral("Nessuna giocata da stampare: l'ultima estrazione non è andata a buon fine."));
        return;
    }
    const QString giocata = m_ui->Memo1->Riga(m_ui->Memo1->Conteggio() - 1);
    Modulo(QStringLiteral("La stampa"))
        .StampaGiocate(
            this, m_ui->EDTn1->font(), [] { return qsizetype(1); },
            [&giocata](qsizetype) { return giocata; });
}

const ModuloSuRichiesta::Funzioni &TFrmMain::Modulo(const QString &servizio)
{
    try {
        return ModuloSuRichiesta::Carica();
    } catch (const Errore &errore) {
        throw Errore(QStringLiteral("%1 non è disponibile. %2").arg(servizio, errore.messaggio()));
    }
}

void TFrmMain::BTSimpClick()
{
    const auto tastiera = RiprendiTastieraAllaFine();
    // A new window at each use, owned by this one and destroyed when its modal run ends, however it ends.
    TFrmImp finestra(this);
    finestra.exec();
}

void TFrmMain::EstraiCombinazione()
{
    GiocaUna({});
}

Estrazione::Combinazione TFrmMain::GiocaUna(const QList<Estrazione::Combinazione> &diverseDa)
{
    const Estrazione::Fonti fonti{
        [] { return Estrazione::Generatore(Estrazione::SemeDelTentativo(Estrazione::SemeDalOrologio())); },
        []() -> std::optional<QString> {
            if (!NumeroFisso::Esiste())
                return std::nullopt;
            return NumeroFisso::Leggi();
        }};
    const auto campi = CampiNumero();
    Estrazione::Combinazione giocata;
    try {
        giocata = Estrazione::Estrai(fonti, diverseDa);
    } catch (const Estrazione::EstrazioneInterrotta &interrotta) {
        // The fields as the stopped attempt left them: the first keeps its text, the other five show
        // their fresh draws as they came; the failure goes on to the general report.
        for (std::size_t i = 1; i < campi.size(); ++i)
            campi[i]->setText(interrotta.Successivi()[i - 1]);
        throw;
    }
    for (std::size_t i = 0; i < campi.size(); ++i)
        CambiaTesto(campi[i], giocata[i]);
    AggiungiZeriIniziali();
    VerificaEMemorizza();
    return giocata;
}

void TFrmMain::PrimaGiocata()
{
    if (m_ui->BTSstampa->isEnabled())
        return;
    m_ui->BTSstampa->setEnabled(true);
    // What needs a play, as printing does.
    for (QAction *azione : {m_ui->Stampa1, m_ui->CopiaGiocate1, m_ui->SalvaGiocate1})
        azione->setEnabled(true);
    m_ui->Memo1->Svuota();
}

void TFrmMain::GiocaPiuVolte1Click()
{
    const auto tastiera = RiprendiTastieraAllaFine();
    const int quante = SceltaQuanteGiocate::Chiedi(this);
    if (quante <= 0)
        return;
    // Each play as a press of Gioca makes it, the first-play rule once; none repeats another of the batch.
    PrimaGiocata();
    QList<Estrazione::Combinazione> fatte;
    for (int i = 0; i < quante; ++i)
        fatte.append(GiocaUna(fatte));
}

void TFrmMain::MostraGiocate1Click()
{
    // One such window at a time, beside this one: asked again, the open one comes forward.
    if (!m_giocate)
        m_giocate = new FinestraGiocate(
            m_ui->Memo1, [this] { return Giocate(); }, [this] { return TestoGiocate(); }, this);
    m_giocate->show();
    m_giocate->raise();
    m_giocate->activateWindow();
}

void TFrmMain::VerificaVincite1Click()
{
    const auto tastiera = RiprendiTastieraAllaFine();
    // A new window at each use, owned by this one and destroyed when its modal run ends, however it ends.
    FinestraVerifica finestra([this] { return Giocate(); }, this);
    finestra.exec();
}

void TFrmMain::AggiungiZeriIniziali()
{
    for (QLineEdit *campo : CampiNumero())
        CambiaTesto(campo, Numeri::DueCifre(campo->text()));
}

bool TFrmMain::VerificaEMemorizza()
{
    const Estrazione::Combinazione testi = Combinazione();
    if (Estrazione::PrimaCoppiaUguale(testi) >= 0)
        return false;
    try {
        m_ui->Memo1->Aggiungi(Estrazione::RigaGiocata(testi));
    } catch (const std::bad_alloc &) {
        Messaggi::MessaggioErrore(QStringLiteral("Impossibile memorizzare la giocata, memoria piena."));
    }
    return true;
}
