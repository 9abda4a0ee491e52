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

private:
    void caricaTraduzioniQt();

    QTranslator m_traduzioneQt;
};
