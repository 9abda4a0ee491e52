// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The speed buttons as the style draws them: nothing but icon and caption over what lies behind, a
// raised edge under the mouse, a sunken one while pressed, and the caption white, or grey disabled.
#include "kit/Stile.h"

#include <QApplication>
#include <QPainter>
#include <QPushButton>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QTest>

class TestStile : public QObject
{
    Q_OBJECT

private slots:
    void pulsantePiatto_data()
    {
        QTest::addColumn<bool>("abilitato");
        QTest::addColumn<int>("stato");
        // The top left and bottom right corners, and the caption's colour.
        QTest::addColumn<QColor>("alto");
        QTest::addColumn<QColor>("basso");
        QTest::addColumn<QColor>("testo");
        const QColor sfondo(Qt::blue), luce(Qt::white), bordo(0xd8, 0xd8, 0xd8), grigio(0x9c, 0x9c, 0x9c);
        QTest::newRow("a riposo") << true << 0 << sfondo << sfondo << luce;
        QTest::newRow("sotto il mouse") << true << int(QStyle::State_MouseOver) << luce << bordo << luce;
        QTest::newRow("premuto") << true << int(QStyle::State_MouseOver | QStyle::State_Sunken) << bordo
                                 << luce << luce;
        QTest::newRow("disabilitato sotto il mouse")
            << false << int(QStyle::State_MouseOver) << sfondo << sfondo << grigio;
    }

    void pulsantePiatto()
    {
        QFETCH(bool, abilitato);
        QFETCH(int, stato);
        QFETCH(QColor, alto);
        QFETCH(QColor, basso);
        QFETCH(QColor, testo);
        Stile stile(QStyleFactory::create(QStringLiteral("Fusion")));
        QPushButton pulsante(QStringLiteral("Gioca"));
        QFont grassetto = pulsante.font();
        grassetto.setBold(true);
        grassetto.setPixelSize(14);
        pulsante.setFont(grassetto);
        pulsante.resize(80, 24);
        pulsante.setEnabled(abilitato);
        Stile::PulsantePiatto(&pulsante);

        QStyleOptionButton opzione;
        opzione.initFrom(&pulsante);
        opzione.features = QStyleOptionButton::Flat;
        opzione.text = pulsante.text();
        opzione.state |= QStyle::StateFlag(stato);
        QImage immagine(pulsante.size(), QImage::Format_RGB32);
        immagine.fill(Qt::blue);
        {
            QPainter pittore(&immagine);
            pittore.setFont(pulsante.font());
            stile.drawControl(QStyle::CE_PushButton, &opzione, &pittore, &pulsante);
        }
        QCOMPARE(immagine.pixelColor(0, 0), alto);
        QCOMPARE(immagine.pixelColor(immagine.width() - 1, immagine.height() - 1), basso);
        bool trovato = false;
        for (int y = 2; y < immagine.height() - 2 && !trovato; ++y)
            for (int x = 2; x < immagine.width() - 2 && !trovato; ++x)
                trovato = immagine.pixelColor(x, y) == testo;
        QVERIFY2(trovato, "no pixel of the caption's colour");
    }
};

QTEST_MAIN(TestStile)
#include "tst_stile.moc"
