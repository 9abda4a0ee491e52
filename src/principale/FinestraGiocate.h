// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QListWidget;
class QPushButton;
class RegistroGiocate;

// "Mostra le giocate...": the session's plays in a window beside the main one, which may stay open
// while the user plays on. Each play is one line, numbered from 1, as it was drawn and in ascending
// order side by side (a screen reader hears "Giocata 3: 04 28 43 46 82 90"), under a line that counts
// them; the list follows the play log as plays are drawn. It can be copied and saved as the main
// window's menu does, in the same format. Escape or "Chiudi" hides it.
class FinestraGiocate : public QDialog
{
    Q_OBJECT
public:
    // `giocate` gives the session's plays as the log holds them (none before the first play), `testo`
    // the text that copying and saving take.
    FinestraGiocate(RegistroGiocate *registro, std::function<QStringList()> giocate,
                    std::function<QString()> testo, QWidget *genitore);

    QListWidget *Elenco() const { return m_elenco; }
    QLabel *Conteggio() const { return m_conteggio; }
    QPushButton *Copia() const { return m_copia; }
    QPushButton *Salva() const { return m_salva; }

    // The line a play shows, and the one a screen reader hears, for the play numbered `numero`.
    static QString Riga(qsizetype numero, const QString &giocata);
    static QString RigaAccessibile(qsizetype numero, const QString &giocata);

private:
    void aggiorna();
    void salva();

    std::function<QStringList()> m_giocate;
    std::function<QString()> m_testo;
    QListWidget *m_elenco;
    QLabel *m_conteggio;
    QPushButton *m_copia;
    QPushButton *m_salva;
};
