// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "kit/Glifi.h"

#include "kit/IconaDifferita.h"
#include "kit/Jpeg.h"

#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QPointer>

namespace Glifi
{

namespace
{

QString Percorso(const QString &nome, const char *estensione)
{
    return QStringLiteral(":/immagini/") + nome + QLatin1String(estensione);
}

// Watches the labels until one of them is about to be drawn, then decodes the picture once for all of
// them, just before that first drawing.
class DisegnoDifferito : public QObject
{
public:
    DisegnoDifferito(std::initializer_list<QLabel *> etichette, const QString &nome)
        : QObject(*etichette.begin()), m_nome(nome)
    {
        for (QLabel *etichetta : etichette) {
            m_etichette.append(etichetta);
            etichetta->installEventFilter(this);
        }
    }

protected:
    bool eventFilter(QObject *oggetto, QEvent *evento) override
    {
        if (evento->type() == QEvent::Paint && !m_fatto) {
            m_fatto = true;
            const QPixmap immagine = Immagine(m_nome, static_cast<QWidget *>(oggetto)->devicePixelRatioF());
            for (const QPointer<QLabel> &etichetta : std::as_const(m_etichette)) {
                if (etichetta) {
                    etichetta->removeEventFilter(this);
                    etichetta->setPixmap(immagine);
                }
            }
            deleteLater();
        }
        return QObject::eventFilter(oggetto, evento);
    }

private:
    QString m_nome;
    QList<QPointer<QLabel>> m_etichette;
    bool m_fatto = false;
};

// The glyph at PERCORSO, or a null pixmap when there is none. The reader is told the format and not to
// guess: left to guess, it would load every image-format plugin to ask each whether it reads PNG
// before it used its own reader.
QPixmap Png(const QString &percorso)
{
    if (!QFile::exists(percorso))
        return {};
    QImageReader lettore(percorso, "png");
    lettore.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(lettore.read());
}

} // namespace

QIcon Icona(const QString &nome)
{
    return QIcon(new IconaDifferita([nome] {
        QIcon icona;
        const QPixmap semplice = Png(Percorso(nome, ".png"));
        if (!semplice.isNull())
            icona.addPixmap(semplice);
        QPixmap doppia = Png(Percorso(nome, "@2x.png"));
        if (!doppia.isNull()) {
            doppia.setDevicePixelRatio(2);
            icona.addPixmap(doppia);
        }
        return icona;
    }));
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

void ImmagineAlPrimoDisegno(std::initializer_list<QLabel *> etichette, const QString &nome)
{
    if (etichette.size() > 0)
        new DisegnoDifferito(etichette, nome);
}

} // namespace Glifi
