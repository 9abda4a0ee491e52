// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

#include <functional>

class QWidget;

// Runs a window's activation handler once per showing. A window manager activates a dialog again each
// time a message box over it closes; the handler must not run again then. It is queued from the
// window's first show event, so that the window is on screen when it runs, and it is armed again only
// when the window is hidden (minimising, which hides it spontaneously, does not end the showing).
// A window closed before its turn comes is left alone. Owned by the window.
class AttivazionePerMostra : public QObject
{
public:
    AttivazionePerMostra(QWidget *finestra, std::function<void()> gestore);

protected:
    bool eventFilter(QObject *oggetto, QEvent *evento) override;

private:
    QWidget *m_finestra;
    std::function<void()> m_gestore;
    bool m_inCoda = false;
};
