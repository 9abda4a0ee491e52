// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The format of the fixed-number file: which first lines hold a number, and the content written for each.
#include "regole/FormatoNumeroFisso.h"

#include <QTest>

class TestFormatoNumeroFisso : public QObject
{
    Q_OBJECT
private slots:
    void numeroDallaRiga_data()
    {
        QTest::addColumn<QByteArray>("inizio");
        QTest::addColumn<QString>("numero");
        QTest::newRow("written for 1") << QByteArray("AO '01'$tg\r\n") << "01";
        QTest::newRow("other prefix is ignored") << QByteArray("XY-'33'abc\r\n") << "33";
        QTest::newRow("line ends after one digit") << QByteArray("AO '7\r\nxx") << "7";
        QTest::newRow("file ends after one digit") << QByteArray("AO '7") << "7";
        QTest::newRow("lone LF ends the line") << QByteArray("AO '5\n12") << "5";
        QTest::newRow("lone CR ends the line") << QByteArray("AO '5\r12") << "5";
        QTest::newRow("digit then apostrophe") << QByteArray("AO '7'$tg\r\n") << "";
        QTest::newRow("letters") << QByteArray("AO 'ab'$tg\r\n") << "";
        QTest::newRow("double zero") << QByteArray("AO '00'$tg\r\n") << "";
        QTest::newRow("single zero") << QByteArray("AO '0\r\n") << "";
        QTest::newRow("91") << QByteArray("AO '91'$tg\r\n") << "";
        QTest::newRow("sign") << QByteArray("AO '-1'$tg\r\n") << "";
        QTest::newRow("blank before digit") << QByteArray("AO ' 7'$tg\r\n") << "";
        QTest::newRow("line too short") << QByteArray("AO '\r\n07") << "";
        QTest::newRow("number on second line") << QByteArray("\r\nAO '07'") << "";
        QTest::newRow("empty file") << QByteArray() << "";
        QTest::newRow("accented byte") << QByteArray("AO '\xe8\x37'") << "";
        QTest::newRow("nul byte") << QByteArray("AO '\0"
                                                "7'",
                                                7)
                                  << "";
    }
    void numeroDallaRiga()
    {
        QFETCH(QByteArray, inizio);
        QFETCH(QString, numero);
        QCOMPARE(FormatoNumeroFisso::NumeroDallaRiga(inizio), numero);
    }

    void contenutoScrittoERiletto()
    {
        for (int n = 1; n <= 90; ++n) {
            const QString dueCifre = QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
            const QByteArray contenuto = FormatoNumeroFisso::Contenuto(dueCifre);
            QCOMPARE(contenuto.size(), 12);
            QCOMPARE(FormatoNumeroFisso::NumeroDallaRiga(contenuto), dueCifre);
        }
        QCOMPARE(FormatoNumeroFisso::Contenuto(QStringLiteral("07")), QByteArray("AO '07'$tg\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestFormatoNumeroFisso)
#include "tst_formatonumerofisso.moc"
