// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QChar>

namespace TastoNumerico
{

// Lets digits, Backspace and Enter through; any other character becomes the null character, which
// cancels the keystroke.
void Filtra(QChar &carattere);

} // namespace TastoNumerico
