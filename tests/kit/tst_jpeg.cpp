// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The JPEG pictures of the windows: good pictures of every colour kind decode, and no damaged or
// hostile picture ends the process or allocates without bound.
#include "kit/Jpeg.h"

#include <QFile>
#include <QTest>

namespace
{
QByteArray Leggi(const QString &percorso)
{
    QFile file(percorso);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Rewrites the frame size in the first SOF marker of a JPEG stream.
QByteArray ConDimensioni(QByteArray dati, quint16 larghezza, quint16 altezza)
{
    for (qsizetype i = 2; i + 9 < dati.size(); ++i) {
        const auto marcatore = static_cast<unsigned char>(dati[i + 1]);
        if (static_cast<unsigned char>(dati[i]) == 0xFF && (marcatore == 0xC0 || marcatore == 0xC2)) {
            dati[i + 5] = char(altezza >> 8);
            dati[i + 6] = char(altezza & 0xFF);
            dati[i + 7] = char(larghezza >> 8);
            dati[i + 8] = char(larghezza & 0xFF);
            return dati;
        }
    }
    return {};
}
} // namespace

class TestJpeg : public QObject
{
    Q_OBJECT
private slots:
    void immaginiBuone_data()
    {
        QTest::addColumn<QString>("percorso");
        QTest::addColumn<QSize>("dimensioni");
        QTest::addColumn<QRgb>("colore");
        QTest::newRow("brick tile") << ":/immagini/mattoni.jpg" << QSize(97, 80) << QRgb(0);
        QTest::newRow("logo") << ":/immagini/logo.jpg" << QSize(60, 57) << QRgb(0);
        QTest::newRow("grayscale") << KELMO_TEST_DATA "/grigio.jpg" << QSize(40, 30) << QRgb(0);
        QTest::newRow("cmyk red") << KELMO_TEST_DATA "/cmyk.jpg" << QSize(40, 30) << qRgb(255, 0, 0);
        QTest::newRow("progressive green")
            << KELMO_TEST_DATA "/progressivo.jpg" << QSize(40, 30) << qRgb(0, 255, 0);
    }
    void immaginiBuone()
    {
        QFETCH(QString, percorso);
        QFETCH(QSize, dimensioni);
        QFETCH(QRgb, colore);
        const QImage immagine = Jpeg::Decodifica(Leggi(percorso));
        QCOMPARE(immagine.size(), dimensioni);
        if (colore != 0) {
            const QColor centro = immagine.pixelColor(20, 15);
            QVERIFY2(qAbs(centro.red() - qRed(colore)) < 8 && qAbs(centro.green() - qGreen(colore)) < 8 &&
                         qAbs(centro.blue() - qBlue(colore)) < 8,
                     qPrintable(centro.name()));
        }
    }

    void immaginiDanneggiate_data()
    {
        const QByteArray buona = Leggi(QStringLiteral(":/immagini/mattoni.jpg"));
        QTest::addColumn<QByteArray>("dati");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not a jpeg") << QByteArray("GIF89a not a jpeg at all");
        QTest::newRow("only the start marker") << buona.left(2);
        QTest::newRow("header cut short") << buona.left(100);
        QTest::newRow("zero width") << ConDimensioni(buona, 0, 80);
        QTest::newRow("huge frame") << ConDimensioni(buona, 65000, 65000);
        QByteArray rovinata = buona;
        for (qsizetype i = 30; i < rovinata.size(); i += 7)
            rovinata[i] = char(0xFF);
        QTest::newRow("markers everywhere") << rovinata;
    }
    void immaginiDanneggiate()
    {
        QFETCH(QByteArray, dati);
        // Whatever comes back, the process is still here and nothing huge was allocated.
        const QImage immagine = Jpeg::Decodifica(dati);
        QVERIFY(immagine.isNull() || qint64(immagine.width()) * immagine.height() <= Jpeg::PixelMassimi);
        if (dati.size() < 200)
            QVERIFY(immagine.isNull());
    }

    void immagineTroncataSiMostraComunque()
    {
        // A picture cut in its data still shows its top part: libjpeg fills the rest.
        const QByteArray buona = Leggi(QStringLiteral(":/immagini/mattoni.jpg"));
        const QImage immagine = Jpeg::Decodifica(buona.left(buona.size() * 2 / 3));
        QCOMPARE(immagine.size(), QSize(97, 80));
    }

    void fileMancante() { QVERIFY(Jpeg::Carica(QStringLiteral("/nonexistent/picture.jpg")).isNull()); }
};

QTEST_GUILESS_MAIN(TestJpeg)
#include "tst_jpeg.moc"
