// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "regole/Vincite.h"

#include "regole/Numeri.h"

#include <algorithm>

namespace Vincite
{

namespace
{

// The number written in a text of one or two decimal digits, from 1 to 90, blanks around them
// allowed; std::nullopt for any other text.
std::optional<int> NumeroDelGioco(QStringView testo)
{
    const QStringView cifre = testo.trimmed();
    if (cifre.isEmpty() || cifre.size() > 2)
        return std::nullopt;
    int valore = 0;
    for (QChar c : cifre) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        valore = valore * 10 + (c.unicode() - u'0');
    }
    if (valore < ::Numeri::Minimo || valore > ::Numeri::Massimo)
        return std::nullopt;
    return valore;
}

} // namespace

QList<int> Indovinati(const Numeri &giocata, const Numeri &estratti)
{
    QList<int> indovinati;
    for (int numero : giocata)
        if (std::find(estratti.begin(), estratti.end(), numero) != estratti.end())
            indovinati.append(numero);
    return indovinati;
}

Categoria CategoriaDi(const Numeri &giocata, const Numeri &estratti, std::optional<int> jolly)
{
    const QList<int> indovinati = Indovinati(giocata, estratti);
    switch (indovinati.size()) {
    case 6:
        return Categoria::Sei;
    case 5: {
        // The one number of the play that was not drawn decides between 5 and 5+1.
        const auto mancato = std::find_if(giocata.begin(), giocata.end(),
                                          [&](int numero) { return !indovinati.contains(numero); });
        return jolly && *mancato == *jolly ? Categoria::CinquePiuUno : Categoria::Cinque;
    }
    case 4:
        return Categoria::Quattro;
    case 3:
        return Categoria::Tre;
    case 2:
        return Categoria::Due;
    default:
        return Categoria::Nessuna;
    }
}

QString NomeCategoria(Categoria categoria)
{
    switch (categoria) {
    case Categoria::Sei:
        return QStringLiteral("6");
    case Categoria::CinquePiuUno:
        return QStringLiteral("5+1");
    case Categoria::Cinque:
        return QStringLiteral("5");
    case Categoria::Quattro:
        return QStringLiteral("4");
    case Categoria::Tre:
        return QStringLiteral("3");
    case Categoria::Due:
        return QStringLiteral("2");
    case Categoria::Nessuna:
        break;
    }
    return QStringLiteral("nessuna");
}

bool ErroriEstrazione::Valida() const
{
    return jolly.isEmpty() &&
           std::all_of(numeri.begin(), numeri.end(), [](const QString &motivo) { return motivo.isEmpty(); });
}

ErroriEstrazione ControllaEstrazione(const std::array<QString, 6> &numeri, const QString &jolly)
{
    const QString nonNumero = QStringLiteral("non è un numero da 1 a 90");
    ErroriEstrazione errori;
    std::array<std::optional<int>, 6> letti;
    for (std::size_t i = 0; i < numeri.size(); ++i) {
        letti[i] = NumeroDelGioco(numeri[i]);
        if (!letti[i]) {
            errori.numeri[i] = nonNumero;
            continue;
        }
        const auto primo = std::find(letti.begin(), letti.begin() + i, letti[i]);
        if (primo != letti.begin() + i)
            errori.numeri[i] = QStringLiteral("ripete il numero del campo %1").arg(primo - letti.begin() + 1);
    }
    if (!jolly.trimmed().isEmpty()) {
        const std::optional<int> numeroJolly = NumeroDelGioco(jolly);
        if (!numeroJolly)
            errori.jolly = nonNumero;
        else if (std::find(letti.begin(), letti.end(), numeroJolly) != letti.end())
            errori.jolly = QStringLiteral("il Jolly non può essere uno dei sei numeri");
    }
    return errori;
}

Numeri NumeriEstratti(const std::array<QString, 6> &numeri)
{
    Numeri estratti{};
    for (std::size_t i = 0; i < numeri.size(); ++i)
        estratti[i] = NumeroDelGioco(numeri[i]).value_or(0);
    return estratti;
}

std::optional<int> Jolly(const QString &jolly)
{
    return NumeroDelGioco(jolly);
}

} // namespace Vincite
