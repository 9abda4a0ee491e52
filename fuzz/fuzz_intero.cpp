// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The reading of build numbers, checked against a reading built on std::from_chars, and the 8-bit
// text conversions.
#include "regole/Scansione.h"

#include <charconv>
#include <cstdlib>
#include <limits>

namespace
{

std::optional<qint32> Atteso(std::string_view testo)
{
    while (!testo.empty() && testo.front() == ' ')
        testo.remove_prefix(1);
    bool negativo = false;
    if (!testo.empty() && (testo.front() == '-' || testo.front() == '+')) {
        negativo = testo.front() == '-';
        testo.remove_prefix(1);
    }
    int base = 10;
    if (testo.starts_with("0x") || testo.starts_with("0X")) {
        base = 16;
        testo.remove_prefix(2);
    } else if (!testo.empty() && (testo.front() == '$' || testo.front() == 'x' || testo.front() == 'X')) {
        base = 16;
        testo.remove_prefix(1);
    }
    if (testo.empty())
        return std::nullopt;
    // from_chars takes no sign here: the digits alone, as an unsigned magnitude.
    if (testo.front() == '-' || testo.front() == '+')
        return std::nullopt;
    unsigned long long valore = 0;
    const auto [fine, errore] = std::from_chars(testo.data(), testo.data() + testo.size(), valore, base);
    if (errore != std::errc() || fine != testo.data() + testo.size())
        return std::nullopt;
    const unsigned long long limite = negativo ? 2147483648ULL : 2147483647ULL;
    if (valore > limite)
        return std::nullopt;
    return negativo ? qint32(-qint64(valore)) : qint32(valore);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *byte, size_t quanti)
{
    const QByteArrayView testo(reinterpret_cast<const char *>(byte), qsizetype(quanti));
    const std::optional<qint32> letto = Scansione::LeggiIntero(testo);
    if (letto != Atteso(std::string_view(testo.data(), size_t(testo.size()))))
        std::abort();
    if (letto && Scansione::LeggiIntero(QByteArray::number(*letto)) != letto)
        std::abort();

    if (Scansione::InWindows1252(Scansione::DaWindows1252(testo)) != testo)
        std::abort();
    // Any UTF-16 text, valid or not, becomes one byte per character.
    const QString largo(reinterpret_cast<const QChar *>(byte), qsizetype(quanti / 2));
    const QByteArray stretto = Scansione::InWindows1252(largo);
    if (stretto.size() > largo.size() || stretto.size() < largo.size() / 2)
        std::abort();
    return 0;
}
