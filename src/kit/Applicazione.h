// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QApplication>
#include <QTranslator>

// The application object: title, icon, fonts and Italian texts of Qt's own dialogs, and the last line
// of the general error report for a failure that reaches the event dispatch.
class Applicazione : public QApplication
{
    Q_OBJECT
public:
    static inline const QString Titolo = QStringLiteral("Kelmo_Dravolo");

    Applicazione(int &argc, char **argv);

    bool notify(QObject *destinatario, QEvent *evento) override;
    bool eventFilter(QObject *oggetto, QEvent *evento) override;

    // Font faces of the window designs and the faces that stand in for them here.
    static void ImpostaSostituzioniCaratteri();

    // The program's icon, for every window, those already shown included. Start-up gives it once the
    // first window is on screen: decoding it and handing it to the desktop would delay that frame.
    static void ImpostaIcona();

private:
    void caricaTraduzioniQt();

    QTranslator m_traduzioneQt;
};
