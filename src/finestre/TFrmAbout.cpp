// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "finestre/TFrmAbout.h"
#include "ui_TFrmAbout.h"

#include "Configurazione.h"
#include "kit/Colori.h"
#include "kit/Glifi.h"
#include "kit/Identita.h"
#include "kit/Messaggi.h"
#include "kit/RapportoErrori.h"
#include "kit/Servizi.h"

using RapportoErrori::Collega;

TFrmAbout::TFrmAbout(QWidget *genitore) : QDialog(genitore), m_ui(std::make_unique<Ui::TFrmAbout>())
{
    m_ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    // Decoded when the window is first shown, not at start-up.
    Glifi::ImmagineAlPrimoDisegno({m_ui->Image1}, QStringLiteral("about"));
    m_ui->sbEsci->setIcon(Glifi::Icona(QStringLiteral("esci")));
    m_ui->lblLink->setText(QString::fromUtf8(Configurazione::IndirizzoSito));
    m_ui->lblLink->adjustSize();
    m_ui->Label13->setText(QString::fromUtf8(Configurazione::IndirizzoMail));
    m_ui->Label13->adjustSize();
    m_ui->LabelPrg->setText(Identita::Chiave());
    m_ui->LabelVers->setText(Identita::EtichettaVersione());

    // The silver panel is the window's own; the bottom panel has the desktop's window colour. The
    // labels' texts are in place: a label with a text gets a background to be read on where it needs one.
    Colori::SfondoFisso(m_ui->Panel1, Colori::Argento);
    Colori::SfondoDiSistema(m_ui->Panel2);
    for (QLabel *etichetta :
         {m_ui->Label2, m_ui->LabelPrg, m_ui->Label6, m_ui->LabelNomeVersione, m_ui->LabelVers, m_ui->Label4,
          static_cast<QLabel *>(m_ui->lblLink), static_cast<QLabel *>(m_ui->Label13)})
        Colori::TestoFisso(etichetta, Colori::Blu);

    Collega(m_ui->sbEsci, &QToolButton::clicked, this, &TFrmAbout::sbEsciClick);
    Collega(m_ui->lblLink, &EtichettaCliccabile::Cliccata, this, &TFrmAbout::lblLinkClick);
    Collega(m_ui->Label13, &EtichettaCliccabile::Cliccata, this, &TFrmAbout::Label13Click);

    resize(m_ui->Panel1->size());
    Messaggi::CentraSulDesktop(this);
}

TFrmAbout::~TFrmAbout() = default;

void TFrmAbout::resizeEvent(QResizeEvent *evento)
{
    QDialog::resizeEvent(evento);
    // Panel1 fills the window and Panel2 stays docked to its bottom edge.
    m_ui->Panel1->setGeometry(rect());
    m_ui->Panel2->setGeometry(1, m_ui->Panel1->height() - 1 - m_ui->Panel2->height(),
                              m_ui->Panel1->width() - 2, m_ui->Panel2->height());
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
