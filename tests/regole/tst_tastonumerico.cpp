// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The number fields' key filter: digits, backspace and enter pass; every other character is dropped.
#include "regole/TastoNumerico.h"

#include <QTest>

class TestTastoNumerico : public QObject
{
    Q_OBJECT

private slots:
    void filtroTastoNumerico_data()
    {
        QTest::addColumn<QChar>("carattere");
        QTest::addColumn<bool>("passa");
        for (char c = '0'; c <= '9'; ++c)
            QTest::addRow("digit %c", c) << QChar(c) << true;
        QTest::newRow("backspace") << QChar(8) << true;
        QTest::newRow("enter") << QChar(13) << true;
        QTest::newRow("letter") << QChar('a') << false;
        QTest::newRow("blank") << QChar(' ') << false;
        QTest::newRow("minus") << QChar('-') << false;
        QTest::newRow("plus") << QChar('+') << false;
        QTest::newRow("decimal comma") << QChar(',') << false;
        QTest::newRow("line feed") << QChar(10) << false;
        QTest::newRow("tab") << QChar(9) << false;
        QTest::newRow("escape") << QChar(27) << false;
        QTest::newRow("arabic-indic digit") << QChar(0x0663) << false;
        QTest::newRow("superscript two") << QChar(0x00B2) << false;
    }
    void filtroTastoNumerico()
    {
        QFETCH(QChar, carattere);
        QFETCH(bool, passa);
        QChar filtrato = carattere;
        TastoNumerico::Filtra(filtrato);
        QCOMPARE(filtrato, passa ? carattere : QChar(0));
    }
};

QTEST_APPLESS_MAIN(TestTastoNumerico)
#include "tst_tastonumerico.moc"
