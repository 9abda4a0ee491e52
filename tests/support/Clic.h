// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QTest>
#include <QWidget>
#include <QWindow>

// A real pointer click in the middle of a control, delivered through its window as the window system
// delivers it: a control that a modal window blocks does not get it.
inline void Clic(QWidget *controllo)
{
    QWidget *finestra = controllo->window();
    QTest::mouseClick(finestra->windowHandle(), Qt::LeftButton, {},
                      controllo->mapTo(finestra, controllo->rect().center()));
}
