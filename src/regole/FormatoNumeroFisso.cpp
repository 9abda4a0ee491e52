// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "regole/FormatoNumeroFisso.h"

#include "regole/Numeri.h"

namespace FormatoNumeroFisso
{

QString NumeroDallaRiga(const QByteArray &inizioFile)
{
    qsizetype fineRiga = inizioFile.size();
    for (qsizetype i = 0; i < inizioFile.size(); ++i) {
        if (inizioFile[i] == '\r' || inizioFile[i] == '\n') {
            fineRiga = i;
            break;
        }
    }
    const QByteArray numero = inizioFile.left(fineRiga).mid(LunghezzaPrefisso, CaratteriNumero);
    if (numero.isEmpty())
        return {};
    int valore = 0;
    for (char c : numero) {
        if (c < '0' || c > '9')
            return {};
        valore = valore * 10 + (c - '0');
    }
    if (valore < Numeri::Minimo || valore > Numeri::Massimo)
        return {};
    return QString::fromLatin1(numero);
}

QByteArray Contenuto(const QString &dueCifre)
{
    return QByteArrayLiteral("AO '") + dueCifre.toLatin1() + QByteArrayLiteral("'$tg\r\n");
}

} // namespace FormatoNumeroFisso
