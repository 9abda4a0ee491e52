// The fixed-number file next to the executable: what the reader accepts and how it fails.
#include "app/Errore.h"
#include "main/NumeroFisso.h"
#include "support/CartellaProva.h"
#include "support/Sorveglianza.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <sys/stat.h>

class TestNumeroFisso : public QObject
{
    Q_OBJECT
private slots:
    void numeroDallaRiga_data()
    {
        QTest::addColumn<QByteArray>("inizio");
        QTest::addColumn<QString>("numero");
        QTest::newRow("written for 7") << QByteArray("AO '07'$tg\r\n") << "07";
        QTest::newRow("written for 90") << QByteArray("AO '90'$tg\r\n") << "90";
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
        QTest::newRow("nul byte") << QByteArray("AO '\0" "7'", 7) << "";
    }
    void numeroDallaRiga()
    {
        QFETCH(QByteArray, inizio);
        QFETCH(QString, numero);
        QCOMPARE(NumeroFisso::NumeroDallaRiga(inizio), numero);
    }

    void contenutoScrittoERiletto()
    {
        for (int n = 1; n <= 90; ++n) {
            const QString dueCifre = QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
            const QByteArray contenuto = NumeroFisso::Contenuto(dueCifre);
            QCOMPARE(contenuto.size(), 12);
            QCOMPARE(NumeroFisso::NumeroDallaRiga(contenuto), dueCifre);
        }
        QCOMPARE(NumeroFisso::Contenuto(QStringLiteral("07")), QByteArray("AO '07'$tg\r\n"));
    }

    void fileNellaCartellaDellEseguibile()
    {
        CartellaProva cartella;
        QCOMPARE(NumeroFisso::Percorso(), cartella.Percorso(QStringLiteral("redme.qzl")));
        QVERIFY(!NumeroFisso::Esiste());

        cartella.Scrivi(QStringLiteral("redme.qzl"), NumeroFisso::Contenuto(QStringLiteral("07")));
        QVERIFY(NumeroFisso::Esiste());
        QCOMPARE(NumeroFisso::Leggi(), QStringLiteral("07"));

        // Only the start of the first line is read, however large the file.
        cartella.Scrivi(QStringLiteral("redme.qzl"), QByteArray("AO '42") + QByteArray(8 << 20, 'x'));
        QCOMPARE(NumeroFisso::Leggi(), QStringLiteral("42"));
    }

    void fileNonValidoONonLeggibile_data()
    {
        QTest::addColumn<bool>("leggibile");
        QTest::addColumn<QString>("messaggio");
        QTest::newRow("no number in it")
            << true << "Il file del numero fisso %1 non contiene un numero da 01 a 90";
        QTest::newRow("opens but cannot be read")
            << false << "Impossibile leggere il file del numero fisso %1: ";
    }
    void fileNonValidoONonLeggibile()
    {
        QFETCH(bool, leggibile);
        QFETCH(QString, messaggio);
        CartellaProva cartella;
        const QString percorso = cartella.Percorso(QStringLiteral("redme.qzl"));
        if (leggibile)
            cartella.Scrivi(QStringLiteral("redme.qzl"), QByteArray("AO 'ab'$tg\r\n"));
        else // the kernel refuses reads at offset 0 of a process's own memory file, whoever runs the test
            QVERIFY(QFile::link(QStringLiteral("/proc/self/mem"), percorso));
        QVERIFY(NumeroFisso::Esiste());
        QString visto = QStringLiteral("(accepted)");
        try {
            NumeroFisso::Leggi();
        } catch (const Errore &e) {
            visto = e.messaggio();
        }
        QVERIFY2(visto.startsWith(messaggio.arg(percorso)), qPrintable(visto));
    }

    void nonFileConQuelNome_data()
    {
        QTest::addColumn<bool>("cartella"); // else a named pipe
        QTest::newRow("folder") << true;
        QTest::newRow("named pipe") << false;
    }
    void nonFileConQuelNome()
    {
        QFETCH(bool, cartella);
        CartellaProva prova;
        const QByteArray percorso = QFile::encodeName(prova.Percorso(QStringLiteral("redme.qzl")));
        QVERIFY(cartella ? ::mkdir(percorso.constData(), 0700) == 0 : ::mkfifo(percorso.constData(), 0600) == 0);
        const Sorveglianza guardia("fixed-number file that is not a file");
        QVERIFY(!NumeroFisso::Esiste());
        // Read all the same (it was replaced after the test for its presence): a failure at once, not
        // a wait for a writer.
        QVERIFY_THROWS_EXCEPTION(Errore, NumeroFisso::Leggi());
    }
};

QTEST_GUILESS_MAIN(TestNumeroFisso)
#include "tst_numerofisso.moc"
