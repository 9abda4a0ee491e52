// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "finestre/TfrmBug.h"
#include "ui_TfrmBug.h"

#include "Configurazione.h"
#include "kit/Colori.h"
#include "kit/Glifi.h"
#include "kit/Identita.h"
#include "kit/Messaggi.h"
#include "kit/RapportoErrori.h"
#include "kit/Servizi.h"
#include "traduzione/Traduzione.h"

using RapportoErrori::Collega;

TfrmBug::TfrmBug(QWidget *genitore) : QDialog(genitore), m_ui(std::make_unique<Ui::TfrmBug>())
{
    m_ui->setupUi(this);
    // A fixed dialog frame with the close box only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);

    m_ui->ButSegnala->setIcon(Glifi::Icona(QStringLiteral("segnala")));
    m_ui->ButEsci->setIcon(Glifi::Icona(QStringLiteral("esci")));
    m_ui->lblLink->setText(QString::fromUtf8(Configurazione::IndirizzoSito));
    m_ui->lblLink->adjustSize();
    Colori::TestoFisso(m_ui->lblLink, Colori::Blu);

    Collega(m_ui->ButSegnala, &QPushButton::clicked, this, &TfrmBug::ButSegnalaClick);
    Collega(m_ui->ButEsci, &QPushButton::clicked, this, &TfrmBug::ButEsciClick);
    Collega(m_ui->lblLink, &EtichettaCliccabile::Cliccata, this, &TfrmBug::lblLinkClick);

    Messaggi::CentraSulDesktop(this);

    RapportoErrori::Protetto([this] { FormCreate(); });
}

TfrmBug::~TfrmBug() = default;

void TfrmBug::FormCreate()
{
    TraduciInterfaccia();
}

void TfrmBug::TraduciInterfaccia()
{
    using namespace Traduzione;
    TraduciVoci({VoceTitolo(this), VoceTesto(m_ui->Label4), VoceTesto(m_ui->Label1), VoceTesto(m_ui->Label2),
                 VoceTesto(m_ui->Label3), VoceTesto(m_ui->ButSegnala), VoceTesto(m_ui->ButEsci)},
                Guardia::SoloItaliano);
}

void TfrmBug::ButSegnalaClick()
{
    Servizi::ComponiMail(QString::fromUtf8(Configurazione::IndirizzoMail),
                         QStringLiteral("Bug: ") + Identita::Chiave() + QStringLiteral(", ") +
                             Identita::EtichettaVersione(),
                         QStringLiteral("Di seguito la segnalzione del bug:"));
}

void TfrmBug::ButEsciClick()
{
    close();
}

void TfrmBug::lblLinkClick()
{
    Servizi::ApriCollegamento(QString::fromUtf8(Configurazione::IndirizzoSito));
}
