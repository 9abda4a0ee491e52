// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The body extraction over any answer and any declared character set.
#include "aggiornamento/CorpoDocumento.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *byte, size_t quanti)
{
    static const QByteArray codifiche[] = {"",       "utf-8",     "ISO-8859-1",      "windows-1252",
                                           "utf-16", "shift_jis", "nessuna-codifica"};
    FuzzedDataProvider dati(byte, quanti);
    const QByteArray &codifica = codifiche[dati.ConsumeIntegralInRange<size_t>(0, std::size(codifiche) - 1)];
    const std::string risposta = dati.ConsumeRemainingBytesAsString();

    const std::optional<QByteArray> corpo =
        CorpoDocumento::Corpo(QByteArrayView(risposta.data(), qsizetype(risposta.size())), codifica);
    if (corpo && !(corpo->startsWith("<body") && corpo->endsWith("</body>")))
        std::abort();
    return 0;
}
