#include "windows/TFrmAbout.h"

#include "app/Errore.h"
#include "app/Finestre.h"
#include "app/Fx.h"
#include "app/Jpeg.h"
#include "app/RapportoErrori.h"
#include "build_config.h"


using RapportoErrori::Collega;

TFrmAbout::TFrmAbout(QWidget *genitore) : QDialog(genitore)
{
    setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    QPalette argento = Panel1->palette();
    argento.setColor(QPalette::Window, QColor(0xc0, 0xc0, 0xc0));
    Panel1->setPalette(argento);
    // Decoded when the window is first shown, not at start-up.
    Jpeg::MostraAlPrimoDisegno({Image1}, QStringLiteral(":/immagini/about.jpg"));
    sbEsci->setIcon(QIcon(QStringLiteral(":/immagini/esci.png")));
    lblLink->setText(QString::fromUtf8(Configurazione::IndirizzoSito));
    lblLink->adjustSize();
    Label13->setText(QString::fromUtf8(Configurazione::IndirizzoMail));
    Label13->adjustSize();

    Collega(sbEsci, &QToolButton::clicked, this, &TFrmAbout::sbEsciClick);
    Collega(lblLink, &EtichettaCliccabile::Cliccata, this, &TFrmAbout::lblLinkClick);
    Collega(Label13, &EtichettaCliccabile::Cliccata, this, &TFrmAbout::Label13Click);

    resize(Panel1->size());
    Fx::CentraSulDesktop(this);
}

void TFrmAbout::resizeEvent(QResizeEvent *evento)
{
    QDialog::resizeEvent(evento);
    // Panel1 fills the window and Panel2 stays docked to its bottom edge.
    Panel1->setGeometry(rect());
    Panel2->setGeometry(1, Panel1->height() - 1 - Panel2->height(), Panel1->width() - 2, Panel2->height());
}

void TFrmAbout::sbEsciClick()
{
    close();
}

void TFrmAbout::lblLinkClick()
{
    Fx::ApriCollegamento(QString::fromUtf8(Configurazione::IndirizzoSito));
}

void TFrmAbout::Label13Click()
{
    Fx::ComponiMail(QString::fromUtf8(Configurazione::IndirizzoMail),
                    QStringLiteral("Inf: ") + LabelPrg->text() + QStringLiteral(", ") + LabelVers->text(),
                    QStringLiteral("Vorrei ricevere informazioni in più per quanto riguarda:"));
}

TFrmAbout &FinestraAbout()
{
    if (!Finestre::FrmAbout)
        throw Errore(QStringLiteral("La finestra About non è stata creata"));
    return *Finestre::FrmAbout;
}
