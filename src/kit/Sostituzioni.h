// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <chrono>
#include <functional>

class QPrinter;
class QWidget;

// What may stand in for the edges of the machine, all in one place: the build's identity, the
// executable's folder, the maker's site, the browser's time limit and the answers the user gives to the
// file and printer dialogs. Tests (and the loopback build, which points the site at this machine) set
// them, through SostituzioniProva in tests/support, which puts the previous values back when it goes;
// the program only reads them. Each empty value leaves the program's own behaviour in place.
namespace Sostituzioni
{

// The user's answer to a file dialog: given the proposed path, the path chosen, or an empty text when
// the user declines.
using RispostaFile = std::function<QString(QWidget *genitore, const QString &proposta)>;
// The user's answer to the printer dialog: true when the user confirms, with the printer set up as
// chosen.
using RispostaStampante = std::function<bool(QPrinter &stampante, QWidget *genitore)>;

struct Valori {
    // The program key and the version label, in place of the build's (Identita).
    QString Chiave;
    QString EtichettaVersione;
    // The executable's folder (Servizi::CartellaEseguibile).
    QString CartellaEseguibile;
    // The maker's site the update check asks (ControlloVersione::IndirizzoSito).
    QString IndirizzoSito;
    // How long a page may take, and a download stay silent (BrowserIncorporato::LimiteTempo); zero
    // leaves the default.
    std::chrono::milliseconds LimiteTempo{0};
    // Where a file is saved: the plays, a check of them, a download.
    RispostaFile SceltaSalvataggio;
    // Which file of plays is opened.
    RispostaFile SceltaApertura;
    // The printer the plays are printed on.
    RispostaStampante SceltaStampante;
};

// The values in force; all empty in the program as the user runs it. An answer runs a dialog's event
// loop, during which a seam may change: it is called on a copy, never through this reference.
const Valori &Attuali();

// Puts `valori` in force. Called by SostituzioniProva only.
void Imposta(Valori valori);

} // namespace Sostituzioni
