// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QStandardPaths>
#include <QString>
#include <QUrl>

// What the program asks of the system and the desktop: its own folder, the user's configuration folder,
// and the hand-over of files, web addresses and mail to the desktop's default programs.
namespace Servizi
{

// The folder that holds the executable, with the trailing separator, found from what the kernel says
// the running executable is (tests put another in its place: Sostituzioni). Throws Errore when it
// cannot be found: no other folder is ever guessed.
QString CartellaEseguibile();

// The folder of an executable given by its path as the kernel names it, in bytes. Qt names files in
// UTF-8: a folder whose name is not (the bytes "citt\xe0") has no such name, so it is held open and
// named through its descriptor, /proc/self/fd/N/, which the kernel resolves to the folder itself.
// Throws Errore when the folder cannot be opened.
QString CartellaDi(const QByteArray &eseguibile);

// A folder given by its path in bytes, with the trailing separator: its name where the bytes are UTF-8,
// otherwise held open as CartellaDi does. `quale` says which folder it is in the failure's message
// ("del programma"). Throws Errore when a folder that must be held cannot be opened.
QString NomeCartella(const QByteArray &cartella, const QString &quale);

// A path as the user should read it: a folder held through its descriptor is named by its real name,
// its undecodable bytes shown as replacement characters.
QString PercorsoMostrato(const QString &percorso);

// The program's folder in the user's configuration folder, with the trailing separator:
// kelmo-dravolo/ under $XDG_CONFIG_HOME when that is an absolute path, else under $HOME/.config; a
// variable's folder whose name is not UTF-8 is held open (NomeCartella), and must exist. Throws Errore
// naming the cause when neither can be had (HOME unset or not absolute, its folder not there).
QString CartellaConfigurazione();

// Where a save dialog proposes its file: the user's folder of that kind (documents, downloads) when it
// exists, else the home folder (held by its bytes, as NomeCartella does), else the root; never the
// working directory, which for a program started from the menu is no place of the user's.
QString CartellaProposta(QStandardPaths::StandardLocation tipo);

// The address of a target for the desktop's "open": a path becomes a file address (of the folder's real
// name, byte for byte, for a folder held through its descriptor, which no other program could follow),
// a web address stays as it is (one without a scheme is taken as http).
QUrl UrlCollegamento(const QString &obiettivo);

// Opens a file or a web address with the desktop's default program. Returns at once; a target that
// cannot be opened is not reported.
void ApriCollegamento(const QString &obiettivo);

// The mail address as the desktop receives it: "mailto:", recipient, "?subject=", subject, "&body=",
// body, with subject and body percent-encoded in UTF-8 (RFC 6068), so that the mail client shows them
// exactly as composed.
QUrl UrlMail(const QString &indirizzo, const QString &oggetto, const QString &corpo);

// Starts a new message in the default mail client; nothing is reported when there is none.
void ComponiMail(const QString &indirizzo, const QString &oggetto, const QString &corpo);

} // namespace Servizi
