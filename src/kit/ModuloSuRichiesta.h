// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>

#include <cstddef>
#include <functional>

class QByteArray;
class QFont;
class QString;
class QWidget;

// What runs only when the user asks for it and needs libraries nothing else does: the update check
// (Qt Network, libxml2) and printing (Qt Print Support). They live in a module of their own beside the
// executable, loaded at the first such request, so that a start maps and binds none of those libraries.
namespace ModuloSuRichiesta
{

// The module's file, in the executable's own folder; never searched for anywhere else.
inline constexpr char NomeFile[] = "kelmo-dravolo-modulo.so";
// The one function the module exports: it returns its table of functions.
inline constexpr char Entrata[] = "kelmo_dravolo_modulo";

struct Funzioni {
    // The version label and the table's size in the build that made the module: the executable takes
    // only a module of its own version.
    const char *versione;
    std::size_t dimensione;
    // The update check's window, modal over `genitore`; null in a build without the update check.
    void (*ControllaVersione)(QWidget *genitore);
    // Asks for a printer over `genitore`, then prints the summary of `righe()` plays, each given by
    // `riga(i)`, in the print size of the play fields' font. A failure shows its box before returning.
    void (*StampaGiocate)(QWidget *genitore, const QFont &carattereCampo,
                          const std::function<qsizetype()> &righe,
                          const std::function<QString(qsizetype)> &riga);
};

// The module's functions, loaded from the executable's folder at the first call and kept. Throws Errore
// with the reason, in Italian, when the module is missing, unsafe or of another version; a later call
// tries again.
const Funzioni &Carica();

// The module in `cartella`, an absolute folder name in bytes, with the checks Carica() makes: the
// folder and the file are the user's or root's, no one else can write either, and the file is a
// regular file reached through no symbolic link.
const Funzioni &CaricaDa(const QByteArray &cartella);

// For a program built with the module's code inside it (the tests): Carica() returns `funzioni` and
// loads nothing. Null goes back to loading.
void Incorpora(const Funzioni *funzioni);

} // namespace ModuloSuRichiesta
