// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "principale/SceltaQuanteGiocate.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

SceltaQuanteGiocate::SceltaQuanteGiocate(QWidget *genitore) : QDialog(genitore), m_quante(new QSpinBox(this))
{
    setObjectName(QStringLiteral("SceltaQuanteGiocate"));
    setWindowTitle(QStringLiteral("Gioca più volte"));
    m_quante->setObjectName(QStringLiteral("Quante"));
    m_quante->setRange(Minimo, Massimo);
    m_quante->setValue(10);
    m_quante->setAccessibleName(QStringLiteral("Quante giocate"));

    auto *pulsanti = new QDialogButtonBox(this);
    QPushButton *gioca = pulsanti->addButton(QStringLiteral("Gioca"), QDialogButtonBox::AcceptRole);
    gioca->setObjectName(QStringLiteral("Gioca"));
    gioca->setDefault(true);
    pulsanti->addButton(QStringLiteral("Annulla"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("Annulla"));
    connect(pulsanti, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(pulsanti, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *impaginazione = new QFormLayout(this);
    auto *etichetta =
        new QLabel(QStringLiteral("&Quante giocate (da %1 a %2):").arg(Minimo).arg(Massimo), this);
    etichetta->setBuddy(m_quante);
    impaginazione->addRow(etichetta, m_quante);
    impaginazione->addRow(pulsanti);
    impaginazione->setSizeConstraint(QLayout::SetFixedSize);
}

int SceltaQuanteGiocate::Chiedi(QWidget *genitore)
{
    SceltaQuanteGiocate finestra(genitore);
    finestra.m_quante->selectAll();
    return finestra.exec() == QDialog::Accepted ? finestra.m_quante->value() : 0;
}
