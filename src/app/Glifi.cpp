#include "app/Glifi.h"

#include "app/Jpeg.h"

#include <QFile>
#include <QGuiApplication>

namespace Glifi
{

namespace
{

QString Percorso(const QString &nome, const char *estensione)
{
    return QStringLiteral(":/immagini/") + nome + QLatin1String(estensione);
}

} // namespace

QIcon Icona(const QString &nome)
{
    QIcon icona;
    const QPixmap semplice(Percorso(nome, ".png"));
    if (!semplice.isNull())
        icona.addPixmap(semplice);
    QPixmap doppia(Percorso(nome, "@2x.png"));
    if (!doppia.isNull()) {
        doppia.setDevicePixelRatio(2);
        icona.addPixmap(doppia);
    }
    return icona;
}

QPixmap Immagine(const QString &nome, double densita)
{
    if (densita <= 0)
        densita = qApp ? qApp->devicePixelRatio() : 1;
    if (densita > 1 && QFile::exists(Percorso(nome, "@2x.jpg"))) {
        QPixmap doppia = Jpeg::Carica(Percorso(nome, "@2x.jpg"));
        if (!doppia.isNull()) {
            doppia.setDevicePixelRatio(2);
            return doppia;
        }
    }
    return Jpeg::Carica(Percorso(nome, ".jpg"));
}

} // namespace Glifi
