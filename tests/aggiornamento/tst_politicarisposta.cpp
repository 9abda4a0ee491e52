// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The browser's reading of an answer's headers, and the hosts it reaches without a proxy, as rows.
#include "aggiornamento/PoliticaRisposta.h"

#include <QTest>

using Intestazioni = QList<std::pair<QByteArray, QByteArray>>;

class TestPoliticaRisposta : public QObject
{
    Q_OBJECT

private slots:
    void senzaProxy_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<bool>("diretto");
        for (const char *host : {"localhost", "LocalHost", "127.0.0.1", "127.8.9.10", "::1"})
            QTest::newRow(host) << QString::fromLatin1(host) << true;
        for (const char *host : {"www.kelmo.example", "10.0.0.1", "localhost.example", "::2", ""})
            QTest::newRow(host) << QString::fromLatin1(host) << false;
    }
    void senzaProxy()
    {
        QFETCH(QString, host);
        QFETCH(bool, diretto);
        QCOMPARE(PoliticaRisposta::SenzaProxy(host), diretto);
    }

    void file_data()
    {
        QTest::addColumn<QByteArray>("disposizione");
        QTest::addColumn<QByteArray>("tipo");
        QTest::addColumn<bool>("file");
        QTest::newRow("attachment over a page's type")
            << QByteArray(" Attachment; filename=a.exe") << QByteArray("text/html") << true;
        QTest::newRow("inline text") << QByteArray("inline") << QByteArray("TEXT/plain; charset=x") << false;
        QTest::newRow("a program") << QByteArray() << QByteArray("application/octet-stream") << true;
        QTest::newRow("XHTML") << QByteArray() << QByteArray("application/xhtml+xml") << false;
        QTest::newRow("no type") << QByteArray() << QByteArray() << false;
    }
    void file()
    {
        QFETCH(QByteArray, disposizione);
        QFETCH(QByteArray, tipo);
        QFETCH(bool, file);
        QCOMPARE(PoliticaRisposta::EFile(disposizione, tipo), file);
    }

    void codifica_data()
    {
        QTest::addColumn<QByteArray>("tipo");
        QTest::addColumn<QByteArray>("codifica");
        QTest::newRow("named") << QByteArray("text/html; charset=ISO-8859-1") << QByteArray("ISO-8859-1");
        QTest::newRow("quoted, any case, after another parameter")
            << QByteArray("text/html; q=1; Charset=\"utf-8\" ") << QByteArray("utf-8");
        QTest::newRow("in the type itself") << QByteArray("charset=utf-8") << QByteArray();
        QTest::newRow("none") << QByteArray("text/html") << QByteArray();
    }
    void codifica()
    {
        QFETCH(QByteArray, tipo);
        QFETCH(QByteArray, codifica);
        QCOMPARE(PoliticaRisposta::Codifica(tipo), codifica);
    }

    void intestazioni_data()
    {
        QTest::addColumn<Intestazioni>("intestazioni");
        QTest::addColumn<bool>("accettabili");
        const Intestazioni una{{"Ab", "cd"}}; // "Ab: cd\r\n", 8 bytes
        QTest::newRow("none") << Intestazioni() << false;
        QTest::newRow("at the limit") << (una + una) << true;
        QTest::newRow("one byte over") << (una + Intestazioni{{"Ab", "cde"}}) << false;
    }
    void intestazioni()
    {
        QFETCH(Intestazioni, intestazioni);
        QFETCH(bool, accettabili);
        QCOMPARE(PoliticaRisposta::IntestazioniAccettabili(intestazioni, 16), accettabili);
    }

    void codificaContenuto()
    {
        for (const char *accettata : {"", "identity", " Identity "})
            QVERIFY2(PoliticaRisposta::CodificaAccettata(accettata), accettata);
        for (const char *rifiutata : {"gzip", "identity, gzip", "br"})
            QVERIFY2(!PoliticaRisposta::CodificaAccettata(rifiutata), rifiutata);
    }
};

QTEST_GUILESS_MAIN(TestPoliticaRisposta)
#include "tst_politicarisposta.moc"
