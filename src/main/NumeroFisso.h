#pragma once

#include <QByteArray>
#include <QString>

// The fixed-number file "redme.qzl" next to the executable: one 12-byte line, "AO '", the number as
// two digits, "'$tg", CR LF. Its presence means that the number is played in the first field.
namespace NumeroFisso {

inline const QString NomeFile = QStringLiteral("redme.qzl");

// The file's full path, in the executable's folder.
QString Percorso();

// True when a file (not a folder) of that name stands next to the executable.
bool Esiste();

// The number text taken from the start of the file: the characters at positions 5 and 6 of its first
// line. Only digits that give 1 to 90 are accepted; a single digit comes back as it stands.
// Throws Errore when the file cannot be read or does not hold such a number.
QString Leggi();

// The number text of a first line (positions 5 and 6, fewer when the line is shorter), or an empty
// text when it is not a number from 1 to 90 written with one or two digits.
QString NumeroDallaRiga(const QByteArray &inizioFile);

// The whole content of a file that fixes the given two-digit number.
QByteArray Contenuto(const QString &dueCifre);

} // namespace NumeroFisso
