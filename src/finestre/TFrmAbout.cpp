// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "finestre/TFrmAbout.h"

#include "Configurazione.h"
#include "kit/Colori.h"
#include "kit/Glifi.h"
#include "kit/Identita.h"
#include "kit/Messaggi.h"
#include "kit/RapportoErrori.h"
#include "kit/Servizi.h"

using RapportoErrori::Collega;

TFrmAbout::TFrmAbout(QWidget *genitore) : QDialog(genitore)
{
    setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    // Decoded when the window is first shown, not at start-up.
    Glifi::ImmagineAlPrimoDisegno({Image1}, QStringLiteral("about"));
    sbEsci->setIcon(Glifi::Icona(QStringLiteral("esci")));
    lblLink->setText(QString::fromUtf8(Configurazione::IndirizzoSito));
    lblLink->adjustSize();
    Label13->setText(QString::fromUtf8(Configurazione::IndirizzoMail));
    Label13->adjustSize();
    LabelPrg->setText(Identita::Chiave());
    LabelVers->setText(Identita::EtichettaVersione());

    // The silver panel is the window's own; the bottom panel has the desktop's window colour. The
    // labels' texts are in place: a label with a text gets a background to be read on where it needs one.
    Colori::SfondoFisso(Panel1, Colori::Argento);
    Colori::SfondoDiSistema(Panel2);
    for (QLabel *etichetta : {Label2, LabelPrg, Label6, LabelNomeVersione, LabelVers, Label4,
                              static_cast<QLabel *>(lblLink), static_cast<QLabel *>(Label13)})
        Colori::TestoFisso(etichetta, Colori::Blu);

    Collega(sbEsci, &QToolButton::clicked, this, &TFrmAbout::sbEsciClick);
    Collega(lblLink, &EtichettaCliccabile::Cliccata, this, &TFrmAbout::lblLinkClick);
    Collega(Label13, &EtichettaCliccabile::Cliccata, this, &TFrmAbout::Label13Click);

    resize(Panel1->size());
    Messaggi::CentraSulDesktop(this);
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
    Servizi::ApriCollegamento(QString::fromUtf8(Configurazione::IndirizzoSito));
}

void TFrmAbout::Label13Click()
{
    Servizi::ComponiMail(QString::fromUtf8(Configurazione::IndirizzoMail),
                         QStringLiteral("Inf: ") + Identita::Chiave() + QStringLiteral(", ") +
                             Identita::EtichettaVersione(),
                         QStringLiteral("Vorrei ricevere informazioni in più per quanto riguarda:"));
}
