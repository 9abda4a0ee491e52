// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>

class QSpinBox;

// "Gioca più volte...": how many plays to draw at once, from 1 to 100, asked in a small window over the
// main one. Enter draws, Escape cancels.
class SceltaQuanteGiocate : public QDialog
{
    Q_OBJECT
public:
    static constexpr int Minimo = 1;
    static constexpr int Massimo = 100;

    explicit SceltaQuanteGiocate(QWidget *genitore = nullptr);

    QSpinBox *Quante() const { return m_quante; }

    // Shows the window modally over `genitore`; the number chosen, or 0 when the user cancels.
    static int Chiedi(QWidget *genitore);

private:
    QSpinBox *m_quante;
};
