#pragma once

#include <QByteArray>
#include <QString>

class QSaveFile;

// A file saved whole or not at all: the new content is written under a temporary name beside the file
// and takes its place only once every byte is on disk; on any failure the earlier file stays as it was.
namespace Fx
{

// Opens `file` for such a save: never written in place, and unbuffered, so that a full disk fails the
// write itself and is seen with its reason. (A buffered write fails only inside commit(), which then
// still puts the empty new file in place of the earlier one.)
bool ApriSalvataggio(QSaveFile &file);

// Writes the whole content, makes sure it is on disk and puts the file in its place. An empty text on
// success, else why it failed, in the user's words where the system's are obscure.
QString CompletaSalvataggio(QSaveFile &file, const QByteArray &contenuto);

} // namespace Fx
