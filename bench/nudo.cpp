// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The bare Qt Widgets program that start-up and idle memory are measured against: one window with one
// label, built with the same compiler and flags as the program.

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication applicazione(argc, argv);
    QWidget finestra;
    QLabel etichetta(QStringLiteral("Kelmo_Dravolo"), &finestra);
    finestra.resize(213, 168);
    finestra.show();
    return applicazione.exec();
}
