// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "kit/Messaggi.h"

#include "kit/BoxMessaggio.h"

#include <QApplication>
#include <QEventLoop>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <QWindow>

namespace Messaggi
{

QMessageBox::StandardButton MostraBox(QMessageBox::Icon icona, const QString &titolo, const QString &testo,
                                      QMessageBox::StandardButtons pulsanti)
{
    const bool soloPulsanti = pulsanti.testFlag(QMessageBox::Yes) && pulsanti.testFlag(QMessageBox::No) &&
                              !pulsanti.testFlag(QMessageBox::Cancel);
    BoxMessaggio box(icona, titolo, testo, pulsanti, soloPulsanti);
    // QMessageBox makes itself application-modal; a box without owner must leave the other windows
    // usable, so the modality is set back after construction and the caller waits in a local loop.
    box.setWindowModality(Qt::NonModal);
    // A modal window that is open keeps blocking the windows it blocked, but not a box shown while it
    // runs: the box becomes its transient, so the user can still answer it.
    if (QWidget *modale = QApplication::activeModalWidget(); modale && modale->windowHandle()) {
        box.winId();
        box.windowHandle()->setTransientParent(modale->windowHandle());
    }
    QEventLoop attesa;
    QObject::connect(&box, &QMessageBox::finished, &attesa, &QEventLoop::quit);
    box.show();
    box.raise();
    box.activateWindow();
    attesa.exec();
    return box.risposta();
}

void MessaggioInfo(const QString &testo)
{
    MostraBox(QMessageBox::Information, QStringLiteral("Messaggio."), testo, QMessageBox::Ok);
}

void MessaggioAttenzione(const QString &testo)
{
    MostraBox(QMessageBox::Warning, QStringLiteral("Attenzione."), testo, QMessageBox::Ok);
}

void MessaggioErrore(const QString &testo)
{
    MostraBox(QMessageBox::Critical, QStringLiteral("Errore"), testo, QMessageBox::Ok);
}

bool DomandaSiNo(const QString &testo)
{
    return MostraBox(QMessageBox::Question, QStringLiteral("Richiesta."), testo,
                     QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void CentraSulDesktop(QWidget *finestra)
{
    if (QScreen *schermo = finestra->screen())
        finestra->move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, finestra->size(),
                                           schermo->availableGeometry())
                           .topLeft());
}

} // namespace Messaggi
