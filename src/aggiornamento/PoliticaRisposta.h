// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <utility>

// What the browser makes of an answer's headers, and which hosts it reaches without a proxy: values
// in, decisions out, with no network in between.
namespace PoliticaRisposta
{

// The machine itself (localhost, a loopback address) is never reached through a proxy.
bool SenzaProxy(const QString &host);

// A file rather than a page: offered as an attachment (Content-Disposition), or of a type (Content-Type)
// that is not text or XHTML. An answer with no type is a page.
bool EFile(const QByteArray &disposizione, const QByteArray &tipo);

// The character set named in a Content-Type value, quotes dropped, or nothing.
QByteArray Codifica(const QByteArray &tipo);

// There are headers, and all of them, written out as "Name: value\r\n", take at most `massimo` bytes.
bool IntestazioniAccettabili(const QList<std::pair<QByteArray, QByteArray>> &intestazioni, qint64 massimo);

// The body comes as it is stored: no Content-Encoding, or identity, the only one the browser asks for.
bool CodificaAccettata(const QByteArray &codificaContenuto);

} // namespace PoliticaRisposta
