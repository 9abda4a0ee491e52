// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLabel>

// A label or picture that answers a click: the site and mail links and the splash logo. The click
// counts when the left button is released over the label, as with a button. Screen readers meet it
// as a link whose "press" action does what a click does. Tab reaches it, after the window's other
// controls, and Enter or Space then does what a click does; while it has the focus a dotted frame
// shows it, and its look is otherwise the label's.
class EtichettaCliccabile : public QLabel
{
    Q_OBJECT
public:
    explicit EtichettaCliccabile(QWidget *genitore = nullptr);

    // What a click does, for those who cannot click.
    void Premi();

signals:
    void Cliccata();

protected:
    bool event(QEvent *evento) override;
    void focusInEvent(QFocusEvent *evento) override;
    void keyPressEvent(QKeyEvent *evento) override;
    void paintEvent(QPaintEvent *evento) override;
    void mousePressEvent(QMouseEvent *evento) override;
    void mouseReleaseEvent(QMouseEvent *evento) override;

private:
    bool m_premuta = false;
};
