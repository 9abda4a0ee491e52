#include "app/Salvataggio.h"

#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace Fx
{

namespace
{
QString Motivo(const QFileDevice &file)
{
    return file.error() == QFileDevice::ResourceError ? QStringLiteral("spazio su disco esaurito")
                                                      : file.errorString();
}
} // namespace

bool ApriSalvataggio(QSaveFile &file)
{
    file.setDirectWriteFallback(false);
    return file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

QString CompletaSalvataggio(QSaveFile &file, const QByteArray &contenuto)
{
    if (file.write(contenuto) != contenuto.size() || file.error() != QFileDevice::NoError)
        return Motivo(file);
    // commit() ignores a failed sync; a file system that reports its write errors only then is heard.
    if (::fsync(file.handle()) != 0 && errno != EINVAL && errno != EROFS)
        return QString::fromLocal8Bit(std::strerror(errno));
    if (!file.commit())
        return Motivo(file);
    return {};
}

} // namespace Fx
