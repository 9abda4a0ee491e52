// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "finestre/TfrmStart.h"
#include "ui_TfrmStart.h"

#include "Configurazione.h"
#include "kit/Colori.h"
#include "kit/Glifi.h"
#include "kit/Identita.h"
#include "kit/Messaggi.h"
#include "kit/RapportoErrori.h"
#include "kit/Servizi.h"
#include "traduzione/Traduzione.h"

#include <QCloseEvent>
#include <QHideEvent>
#include <QTimer>

#include <utility>

using RapportoErrori::Collega;

TfrmStart::TfrmStart(int intervallo, QWidget *genitore)
    : QDialog(genitore), TimerStart(new QTimer(this)), m_ui(std::make_unique<Ui::TfrmStart>())
{
    m_ui->setupUi(this);
    // A fixed frame with a title and nothing else: no close, minimise or maximise box, no system menu.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    m_ui->ImageLogo->setPixmap(Glifi::Immagine(QStringLiteral("start")));
    m_ui->ImageLogo->adjustSize();
    m_ui->LabelSito->setText(QString::fromUtf8(Configurazione::IndirizzoSito));
    // The logo is a link to the same address.
    m_ui->ImageLogo->setAccessibleDescription(m_ui->LabelSito->text());
    for (QLabel *etichetta :
         {static_cast<QLabel *>(m_ui->Label1), m_ui->LabelCodice, static_cast<QLabel *>(m_ui->LabelSito)})
        etichetta->adjustSize();
    Colori::TestoFisso(m_ui->LabelSito, Colori::Blu);

    TimerStart->setObjectName(QStringLiteral("TimerStart"));
    TimerStart->setInterval(intervallo);
    // A coarse timer may fire up to 5 % early, half a second of the ten.
    TimerStart->setTimerType(Qt::PreciseTimer);

    Collega(TimerStart, &QTimer::timeout, this, &TfrmStart::TimerStartTimer);
    Collega(m_ui->ImageLogo, &EtichettaCliccabile::Cliccata, this, &TfrmStart::ImageLogoClick);
    Collega(m_ui->LabelSito, &EtichettaCliccabile::Cliccata, this, &TfrmStart::LabelSitoClick);

    Messaggi::CentraSulDesktop(this);

    RapportoErrori::Protetto([this] { FormCreate(); });
}

TfrmStart::~TfrmStart() = default;

void TfrmStart::FormCreate()
{
    setWindowTitle(QStringLiteral("Caricamento ") + Identita::Chiave());
    TraduciInterfaccia();
}

void TfrmStart::TraduciInterfaccia()
{
    Traduzione::TraduciVoci({Traduzione::VoceTesto(m_ui->Label1)}, Traduzione::Guardia::ItalianoOVuoto);
}

void TfrmStart::MostraAllAvvio(QWidget *principale, std::function<void()> preparaPrincipale)
{
    m_principale = principale;
    m_preparaPrincipale = std::move(preparaPrincipale);
    setModal(true);
    show();
}

void TfrmStart::paintEvent(QPaintEvent *evento)
{
    QDialog::paintEvent(evento);
    // This frame goes to the screen when the painting in progress ends; the main window is prepared on
    // the loop's next turn, after it.
    if (m_preparaPrincipale)
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (const auto prepara = std::exchange(m_preparaPrincipale, nullptr))
                    RapportoErrori::Protetto(prepara);
            },
            Qt::QueuedConnection);
}

void TfrmStart::showEvent(QShowEvent *evento)
{
    if (m_ui->ImageLogo->pixmap().isNull())
        m_ui->ImageLogo->setPixmap(Glifi::Immagine(QStringLiteral("start"), devicePixelRatioF()));
    QDialog::showEvent(evento);
    // A window manager that restores the minimised splash shows it again: the count goes on.
    if (!evento->spontaneous())
        RapportoErrori::Protetto([this] { FormShow(); });
}

void TfrmStart::hideEvent(QHideEvent *evento)
{
    QDialog::hideEvent(evento);
    if (evento->spontaneous())
        return;
    // Shown once at start-up and then hidden for the rest of the run: the picture and the window's
    // on-screen buffer are given back, and made again should it ever be shown again.
    m_ui->ImageLogo->clear();
    destroy();
}

void TfrmStart::FormShow()
{
    // The count starts when the splash is shown, not when it is created.
    TimerStart->start();
}

void TfrmStart::TimerStartTimer()
{
    TimerStart->stop();
    m_chiusuraDalTimer = true;
    accept();
    m_chiusuraDalTimer = false;
    // Once the splash has gone, not before: the two are never on screen together.
    if (m_principale)
        m_principale->setVisible(true);
}

void TfrmStart::ImageLogoClick()
{
    Servizi::ApriCollegamento(QString::fromUtf8(Configurazione::IndirizzoSito));
}

void TfrmStart::LabelSitoClick()
{
    Servizi::ApriCollegamento(QString::fromUtf8(Configurazione::IndirizzoSito));
}

void TfrmStart::reject()
{
    if (m_chiusuraDalTimer)
        QDialog::reject();
}

void TfrmStart::closeEvent(QCloseEvent *evento)
{
    if (m_chiusuraDalTimer)
        QDialog::closeEvent(evento);
    else
        evento->ignore();
}
