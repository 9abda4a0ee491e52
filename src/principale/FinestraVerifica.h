// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "regole/Vincite.h"

#include <QDialog>

#include <array>
#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

// "Verifica vincite...": the plays checked against the draw. The user types the six numbers drawn and,
// if wanted, the Jolly; an invalid field is refused with its reason beside it, before anything is
// computed. The plays are the session's, or those of a file saved earlier ("Apri giocate..."). Each play
// shows its numbers in ascending order, those drawn in square brackets (colour is never the only sign),
// and its category (6, 5+1, 5, 4, 3, 2, nessuna); a line counts each category. The result can be copied
// and saved as the plays can.
class FinestraVerifica : public QDialog
{
    Q_OBJECT
public:
    // `giocate` gives the session's plays as the log holds them (none before the first play).
    FinestraVerifica(std::function<QStringList()> giocate, QWidget *genitore);

    const std::array<QLineEdit *, 6> &Numeri() const { return m_numeri; }
    QLineEdit *Jolly() const { return m_jolly; }
    // The reason beside each field, six numbers then the Jolly.
    const std::array<QLabel *, 7> &Motivi() const { return m_motivi; }
    QRadioButton *DellaSessione() const { return m_sessione; }
    QRadioButton *DaFile() const { return m_daFile; }
    QPushButton *ApriGiocate() const { return m_apri; }
    QLabel *File() const { return m_file; }
    QPushButton *Verifica() const { return m_verifica; }
    QListWidget *Risultati() const { return m_risultati; }
    QLabel *Riepilogo() const { return m_riepilogo; }
    QPushButton *Copia() const { return m_copia; }
    QPushButton *Salva() const { return m_salva; }

    // The line of one checked play (numero counts from 1), and the summary line of the counts.
    static QString Riga(qsizetype numero, const Vincite::Numeri &giocata, const Vincite::Numeri &estratti,
                        std::optional<int> jolly);
    static QString RigaRiepilogo(const std::array<qsizetype, 7> &perCategoria);

private:
    void apriGiocate();
    void verifica();
    void salva();
    // The result as text: one line a play, then the summary.
    QString testoRisultato() const;

    std::function<QStringList()> m_giocate;
    std::array<QLineEdit *, 6> m_numeri{};
    QLineEdit *m_jolly;
    std::array<QLabel *, 7> m_motivi{};
    QRadioButton *m_sessione;
    QRadioButton *m_daFile;
    QPushButton *m_apri;
    QLabel *m_file;
    QString m_percorsoFile;
    QPushButton *m_verifica;
    QListWidget *m_risultati;
    QLabel *m_riepilogo;
    QPushButton *m_copia;
    QPushButton *m_salva;
};
