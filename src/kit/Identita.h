// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Who the program is: its key, by which the maker's site knows it, and its version label, both fixed
// when it is built (Configurazione). The About window shows them; the update check, the bug report and
// the splash read them here.
namespace Identita
{

// "Kelmo_DraVolo".
QString Chiave();
// "05.2002-15": two-digit month, a point, four-digit year, a hyphen, the build number.
QString EtichettaVersione();

} // namespace Identita
