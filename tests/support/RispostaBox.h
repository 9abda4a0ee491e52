// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QTimer>

// What a message box showed when the test answered it.
struct BoxVisto {
    QString titolo;
    QString testo;
    QMessageBox::Icon icona = QMessageBox::NoIcon;
    QMessageBox::StandardButtons pulsanti;
};

// Answers the program's message boxes from a test, the way the user would: it watches for a box to
// open, records its caption, text, icon and buttons, and presses the next queued button. A box for
// which no answer was queued is recorded and closed with its first button, so a test never hangs on it.
class RispostaBox : public QObject
{
    Q_OBJECT
public:
    RispostaBox();
    ~RispostaBox() override;

    RispostaBox &Rispondi(QMessageBox::StandardButton pulsante);

    const QList<BoxVisto> &Visti() const { return m_visti; }
    int Inattesi() const { return m_inattesi; }
    // Each box seen as "caption|text", in order.
    QStringList TitoliETesti() const;
    // The texts of the boxes seen, in order.
    QStringList Testi() const;
    // Whether exactly as many boxes were seen as given, each one's "caption|text" beginning as given.
    bool VistiIniziano(const QStringList &inizi) const;

    // The message box on screen, or none.
    static QMessageBox *BoxAperto();

private:
    void controlla();

    QTimer m_timer;
    QList<QMessageBox::StandardButton> m_risposte;
    QList<BoxVisto> m_visti;
    QList<QMessageBox *> m_gestiti;
    int m_inattesi = 0;
};
