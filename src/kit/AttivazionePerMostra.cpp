// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "kit/AttivazionePerMostra.h"

#include "kit/RapportoErrori.h"

#include <QEvent>
#include <QMetaObject>
#include <QWidget>

AttivazionePerMostra::AttivazionePerMostra(QWidget *finestra, std::function<void()> gestore)
    : QObject(finestra), m_finestra(finestra), m_gestore(std::move(gestore))
{
    finestra->installEventFilter(this);
}

bool AttivazionePerMostra::eventFilter(QObject *oggetto, QEvent *evento)
{
    if (oggetto == m_finestra) {
        if (evento->type() == QEvent::Show && !m_inCoda) {
            m_inCoda = true;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    if (m_finestra->isVisible())
                        RapportoErrori::Protetto(m_gestore);
                },
                Qt::QueuedConnection);
        } else if (evento->type() == QEvent::Hide && !evento->spontaneous()) {
            m_inCoda = false;
        }
    }
    return QObject::eventFilter(oggetto, evento);
}
