// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Why the system refused a read or a write, in the user's Italian whatever the process's locale: the C
// library would answer in the locale's language, often English, in the middle of an Italian message.
namespace MotiviSistema
{

// The reason for a system error number; one the program does not foresee is "errore di sistema N".
QString Motivo(int errore);

} // namespace MotiviSistema
