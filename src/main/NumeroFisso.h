#pragma once

#include <QByteArray>
#include <QString>

// The fixed-number file "redme.qzl": one 12-byte line, "AO '", the number as two digits, "'$tg", CR LF.
// Its presence means that the number is played in the first field.
namespace NumeroFisso {

inline const QString NomeFile = QStringLiteral("redme.qzl");

// The file's full path: next to the executable when a file stands there or the user may write that
// folder (a build folder, a copy in the home); otherwise (an installed program) in the user's own
// configuration folder (Fx::CartellaConfigurazione). Reading, saving and removing all use it. Throws
// Errore when neither folder can be known.
QString Percorso();

// The same path, with its folder made first when it is missing (the configuration folder before the
// first save).
QString PercorsoPerSalvare();

// True when a file (not a folder) stands at that path; false when there is no such path.
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
