// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

namespace CorpoDocumento
{

// The complete outer markup of the body element of an HTML answer, from its opening tag to its closing
// one, as UTF-8: the answer is parsed leniently (never reaching the network, never complaining) and the
// body serialised unformatted. An answer in which no body element can be found has no document: nothing.
// `codifica` is the character set the server declared, if any; without it the page's own declaration
// decides, and failing that UTF-8 with a fall-back to Latin-1.
std::optional<QByteArray> Corpo(QByteArrayView risposta, const QByteArray &codifica = {});

} // namespace CorpoDocumento
