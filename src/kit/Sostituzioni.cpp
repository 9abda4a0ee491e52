// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "kit/Sostituzioni.h"

#include <utility>

namespace Sostituzioni
{

namespace
{
Valori &valori()
{
    static Valori inVigore;
    return inVigore;
}
} // namespace

const Valori &Attuali()
{
    return valori();
}

void Imposta(Valori nuovi)
{
    valori() = std::move(nuovi);
}

} // namespace Sostituzioni
