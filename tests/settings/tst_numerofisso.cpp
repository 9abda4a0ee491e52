// The fixed-number file next to the executable: where it stands, and how the reader fails (what its
// first line may hold: tst_formatonumerofisso).
#include "app/Errore.h"
#include "settings/NumeroFisso.h"
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
        QVERIFY(cartella ? ::mkdir(percorso.constData(), 0700) == 0
                         : ::mkfifo(percorso.constData(), 0600) == 0);
        const Sorveglianza guardia("fixed-number file that is not a file");
        QVERIFY(!NumeroFisso::Esiste());
        // Read all the same (it was replaced after the test for its presence): a failure at once, not
        // a wait for a writer.
        QVERIFY_THROWS_EXCEPTION(Errore, NumeroFisso::Leggi());
    }
};

QTEST_GUILESS_MAIN(TestNumeroFisso)
#include "tst_numerofisso.moc"
