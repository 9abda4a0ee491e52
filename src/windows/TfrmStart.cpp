#include "windows/TfrmStart.h"

#include "app/Colori.h"
#include "app/Finestre.h"
#include "app/Glifi.h"
#include "app/Messaggi.h"
#include "app/RapportoErrori.h"
#include "app/Servizi.h"
#include "build_config.h"
#include "settings/Traduzione.h"
#include "windows/TFrmAbout.h"

#include <QCloseEvent>
#include <QHideEvent>
#include <QTimer>

using RapportoErrori::Collega;

TfrmStart::TfrmStart(int intervallo, QWidget *genitore) : QDialog(genitore), TimerStart(new QTimer(this))
{
    setupUi(this);
    // A fixed frame with a title and nothing else: no close, minimise or maximise box, no system menu.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    ImageLogo->setPixmap(Glifi::Immagine(QStringLiteral("start")));
    ImageLogo->adjustSize();
    LabelSito->setText(QString::fromUtf8(Configurazione::IndirizzoSito));
    // The logo is a link to the same address.
    ImageLogo->setAccessibleDescription(LabelSito->text());
    for (QLabel *etichetta : {static_cast<QLabel *>(Label1), LabelCodice, static_cast<QLabel *>(LabelSito)})
        etichetta->adjustSize();
    Colori::TestoFisso(LabelSito, Colori::Blu);

    TimerStart->setObjectName(QStringLiteral("TimerStart"));
    TimerStart->setInterval(intervallo);

    Collega(TimerStart, &QTimer::timeout, this, &TfrmStart::TimerStartTimer);
    Collega(ImageLogo, &EtichettaCliccabile::Cliccata, this, &TfrmStart::ImageLogoClick);
    Collega(LabelSito, &EtichettaCliccabile::Cliccata, this, &TfrmStart::LabelSitoClick);

    Fx::CentraSulDesktop(this);

    RapportoErrori::Protetto([this] { FormCreate(); });
}

void TfrmStart::FormCreate()
{
    setWindowTitle(QStringLiteral("Caricamento ") + FinestraAbout().LabelPrg->text());
    TraduciInterfaccia();
}

void TfrmStart::TraduciInterfaccia()
{
    Traduzione::TraduciVoci({Traduzione::VoceTesto(Label1)}, Traduzione::Guardia::ItalianoOVuoto);
}

void TfrmStart::showEvent(QShowEvent *evento)
{
    if (ImageLogo->pixmap().isNull())
        ImageLogo->setPixmap(Glifi::Immagine(QStringLiteral("start"), devicePixelRatioF()));
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
    ImageLogo->clear();
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
    if (Finestre::FrmMain)
        Finestre::FrmMain->setVisible(true);
    m_chiusuraDalTimer = true;
    accept();
    m_chiusuraDalTimer = false;
}

void TfrmStart::ImageLogoClick()
{
    Fx::ApriCollegamento(QString::fromUtf8(Configurazione::IndirizzoSito));
}

void TfrmStart::LabelSitoClick()
{
    Fx::ApriCollegamento(QString::fromUtf8(Configurazione::IndirizzoSito));
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
