// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "regole/TastoNumerico.h"

namespace TastoNumerico
{

void Filtra(QChar &carattere)
{
    const char16_t codice = carattere.unicode();
    if (codice >= u'0' && codice <= u'9')
        return;
    if (codice == 8 || codice == 13)
        return;
    carattere = QChar(0);
}

} // namespace TastoNumerico
