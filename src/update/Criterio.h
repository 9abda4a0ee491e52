#pragma once

#include <QList>
#include <QString>

// The criterion table of the update check: one row per program of the maker, keyed by its program key
// in lower case. Every row carries the same criterion.
namespace ControllaVersione
{

struct RigaCriterio {
    const char *Chiave;
    bool Invertito;
    const char *Ancora;
    const char *Separatore;
    const char *Apertura;
    const char *Chiusura;
    const char *Scarti;
    bool IncludiApertura;
    bool IncludiChiusura;
    qint16 Salti;
};

// The twelve rows, in table order.
const QList<RigaCriterio> &TabellaCriteri();

// The program key as the table keys it: the letters A to Z turned to lower case, everything else as it
// stands.
QString ChiaveMinuscola(const QString &chiave);

} // namespace ControllaVersione
