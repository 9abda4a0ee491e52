// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "finestre/TfrmBug.h"

#include "Configurazione.h"
#include "kit/Colori.h"
#include "kit/Glifi.h"
#include "kit/Identita.h"
#include "kit/Messaggi.h"
#include "kit/RapportoErrori.h"
#include "kit/Servizi.h"
#include "traduzione/Traduzione.h"

using RapportoErrori::Collega;

TfrmBug::TfrmBug(QWidget *genitore) : QDialog(genitore)
{
    setupUi(this);
    // A fixed dialog frame with the close box only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);

    ButSegnala->setIcon(Glifi::Icona(QStringLiteral("segnala")));
    ButEsci->setIcon(Glifi::Icona(QStringLiteral("esci")));
    lblLink->setText(QString::fromUtf8(Configurazione::IndirizzoSito));
    lblLink->adjustSize();
    Colori::TestoFisso(lblLink, Colori::Blu);

    Collega(ButSegnala, &QPushButton::clicked, this, &TfrmBug::ButSegnalaClick);
    Collega(ButEsci, &QPushButton::clicked, this, &TfrmBug::ButEsciClick);
    Collega(lblLink, &EtichettaCliccabile::Cliccata, this, &TfrmBug::lblLinkClick);

    Messaggi::CentraSulDesktop(this);

    RapportoErrori::Protetto([this] { FormCreate(); });
}

void TfrmBug::FormCreate()
{
    TraduciInterfaccia();
}

void TfrmBug::TraduciInterfaccia()
{
    using namespace Traduzione;
    TraduciVoci({VoceTitolo(this), VoceTesto(Label4), VoceTesto(Label1), VoceTesto(Label2), VoceTesto(Label3),
                 VoceTesto(ButSegnala), VoceTesto(ButEsci)},
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
