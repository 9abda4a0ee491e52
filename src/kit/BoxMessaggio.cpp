// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "kit/BoxMessaggio.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QKeyEvent>

BoxMessaggio::BoxMessaggio(Icon icona, const QString &titolo, const QString &testo, StandardButtons pulsanti,
                           bool soloPulsanti)
    : QMessageBox(icona, titolo, testo, pulsanti), m_soloPulsanti(soloPulsanti)
{
    setTextFormat(Qt::PlainText);
    connect(this, &QMessageBox::buttonClicked, this,
            [this](QAbstractButton *pulsante) { m_risposta = standardButton(pulsante); });
}

void BoxMessaggio::keyPressEvent(QKeyEvent *evento)
{
    if (m_soloPulsanti && evento->key() == Qt::Key_Escape) {
        evento->accept();
        return;
    }
    QMessageBox::keyPressEvent(evento);
}

void BoxMessaggio::closeEvent(QCloseEvent *evento)
{
    if (m_soloPulsanti && m_risposta == NoButton) {
        evento->ignore();
        return;
    }
    QMessageBox::closeEvent(evento);
}
