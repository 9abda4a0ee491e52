// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The fixed-number file next to the executable: where it stands, how the reader fails (what its
// first line may hold: tst_formatonumerofisso), and what a save cut short by the system leaves.
#include "impostazioni/NumeroFisso.h"
#include "regole/Errore.h"
#include "support/CartellaProva.h"
#include "support/SenzaFileAnonimi.h"
#include "support/Sorveglianza.h"
#include "support/SostituzioniProva.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

// Run as `tst_numerofisso --salva FOLDER NN [senza-anonimi]`, the program only saves NN as the fixed
// number of FOLDER, and prints the failure if there is one: the save that the tests below have the
// system cut short. With "senza-anonimi" it saves as on a file system that cannot make a file without a
// name.
constexpr const char *SoloSalvataggio = "--salva";
constexpr const char *SenzaAnonimi = "senza-anonimi";

int Salva(const QString &cartella, const QString &numero)
{
    SostituzioniProva sostituzioni;
    sostituzioni.CartellaEseguibile(cartella);
    try {
        NumeroFisso::Scrivi(numero);
    } catch (const Errore &e) {
        std::printf("%s\n", qPrintable(e.messaggio()));
        return 3;
    }
    return 0;
}

} // namespace

class TestNumeroFisso : public QObject
{
    Q_OBJECT
private slots:
    void fileNellaCartellaDellEseguibile()
    {
        CartellaProva cartella;
        QCOMPARE(NumeroFisso::Percorso(), cartella.Percorso(QStringLiteral("redme.qzl")));
        QVERIFY(!NumeroFisso::Esiste());

        cartella.Scrivi(QStringLiteral("redme.qzl"), FormatoNumeroFisso::Contenuto(QStringLiteral("07")));
        QVERIFY(NumeroFisso::Esiste());
        QCOMPARE(NumeroFisso::Leggi(), QStringLiteral("07"));

        // Only the start of the first line is read, however large the file.
        cartella.Scrivi(QStringLiteral("redme.qzl"), QByteArray("AO '42") + QByteArray(8 << 20, 'x'));
        QCOMPARE(NumeroFisso::Leggi(), QStringLiteral("42"));
    }

    void copiaPerTuttiGliUtenti_data()
    {
        QTest::addColumn<bool>("segnata"); // the program's folder carries the install's mark
        QTest::newRow("a copy of its own: the file beside the program") << false;
        QTest::newRow("installed for every user: each user's own, the one beside ignored") << true;
    }
    void copiaPerTuttiGliUtenti()
    {
        // A copy installed for every user never reads nor writes its own folder, whoever runs it (root
        // may write there, and every user would then play root's number).
        QFETCH(bool, segnata);
        CartellaProva cartella;
        QTemporaryDir configurazione;
        const QByteArray precedente = qgetenv("XDG_CONFIG_HOME");
        const auto ripristina = qScopeGuard([&] { qputenv("XDG_CONFIG_HOME", precedente); });
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(configurazione.path()));
        if (segnata)
            cartella.Scrivi(QString::fromLatin1(NumeroFisso::SegnoInstallazioneCondivisa), {});
        const QByteArray accanto = FormatoNumeroFisso::Contenuto(QStringLiteral("55"));
        cartella.Scrivi(QStringLiteral("redme.qzl"), accanto);
        const QString proprio = configurazione.filePath(QStringLiteral("kelmo-dravolo/redme.qzl"));

        QCOMPARE(NumeroFisso::Percorso(), segnata ? proprio : cartella.Percorso(QStringLiteral("redme.qzl")));
        QCOMPARE(NumeroFisso::Esiste(), !segnata);
        NumeroFisso::Scrivi(QStringLiteral("07"));
        QCOMPARE(NumeroFisso::Leggi(), QStringLiteral("07"));
        QFile file(cartella.Percorso(QStringLiteral("redme.qzl")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll() == accanto, segnata);
        QCOMPARE(QFileInfo::exists(proprio), segnata);
    }

    void fileNonValidoONonLeggibile_data()
    {
        QTest::addColumn<bool>("leggibile");
        QTest::addColumn<QByteArray>("sottocartella"); // the executable's folder within the test's folder
        QTest::addColumn<QString>("messaggio");
        const QString senzaNumero =
            QStringLiteral("Il file del numero fisso %1 non contiene un numero da 01 a 90");
        QTest::newRow("no number in it") << true << QByteArray() << senzaNumero;
        QTest::newRow("opens but cannot be read")
            << false << QByteArray() << "Impossibile leggere il file del numero fisso %1: ";
        // Held through its descriptor, the folder is still named by its real name.
        QTest::newRow("no number in it, in a folder whose name is not UTF-8")
            << true << QByteArray("citt\xe0") << senzaNumero;
    }
    void fileNonValidoONonLeggibile()
    {
        QFETCH(bool, leggibile);
        QFETCH(QByteArray, sottocartella);
        QFETCH(QString, messaggio);
        CartellaProva cartella;
        const QByteArray vera = cartella.Sottocartella(sottocartella);
        const QString percorso = NumeroFisso::Percorso();
        if (leggibile) {
            QFile file(percorso);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("AO 'ab'$tg\r\n") == 12);
        } else { // the kernel refuses reads at offset 0 of a process's own memory file, whoever runs the test
            QVERIFY(QFile::link(QStringLiteral("/proc/self/mem"), percorso));
        }
        QVERIFY(NumeroFisso::Esiste());
        QString visto = QStringLiteral("(accepted)");
        try {
            NumeroFisso::Leggi();
        } catch (const Errore &e) {
            visto = e.messaggio();
        }
        QFile::remove(percorso);
        if (!sottocartella.isEmpty())
            ::rmdir(vera.constData());
        QVERIFY2(visto.startsWith(messaggio.arg(QFile::decodeName(vera + "/redme.qzl"))), qPrintable(visto));
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

    void salvataggioInterrottoDalSistema_data()
    {
        // What strace does to the saving process, how that process ends, and whether its file system
        // can make files without a name (else the new content is made under a name of its own at once).
        QTest::addColumn<QStringList>("intervento");
        QTest::addColumn<int>("uscita");
        QTest::addColumn<QString>("messaggio");
        QTest::addColumn<bool>("anonimi");
        const QStringList uccisa{"-e", "inject=rename,renameat,renameat2:signal=KILL"};
        const QStringList sincronizzazione{"-e", "inject=fsync,fdatasync:error=EIO"};
        const QString ingresso = QStringLiteral("Impossibile salvare il file del numero fisso %1: errore di "
                                                "input/output\n");
        QTest::newRow("killed as it renames") << uccisa << -1 << QString() << true;
        QTest::newRow("killed at its first rename, no unnamed files") << uccisa << -1 << QString() << false;
        QTest::newRow("sync fails") << sincronizzazione << 3 << ingresso << true;
        QTest::newRow("sync fails, no unnamed files: its named file removed")
            << sincronizzazione << 3 << ingresso << false;
    }
    void salvataggioInterrottoDalSistema()
    {
        // Whatever stops a save, the earlier file stays whole; what the program itself left behind the
        // next save removes, and nothing of the user's, whatever its name.
        QFETCH(QStringList, intervento);
        QFETCH(int, uscita);
        QFETCH(QString, messaggio);
        QFETCH(bool, anonimi);
        const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
        if (strace.isEmpty())
            QSKIP("no strace to stop a save half-way");
        CartellaProva cartella;
        const QByteArray prima = FormatoNumeroFisso::Contenuto(QStringLiteral("33"));
        cartella.Scrivi(QStringLiteral("redme.qzl"), prima);
        const QStringList dellUtente{"redme.qzl.backup", "redme.qzl.orig12", "redme.qzl.a1b2c3",
                                     "redme.qzl.kelmo-1", "redme.qzl.kelmo-nuovo-1a"};
        for (const QString &nome : dellUtente)
            cartella.Scrivi(nome, prima);

        QProcess salvataggio;
        salvataggio.start(strace,
                          QStringList{"-f", "-qq", "-o", "/dev/null"} + intervento +
                              QStringList{"--", QCoreApplication::applicationFilePath(),
                                          QString::fromLatin1(SoloSalvataggio), cartella.Percorso(), "07"} +
                              (anonimi ? QStringList() : QStringList{QString::fromLatin1(SenzaAnonimi)}));
        QVERIFY(salvataggio.waitForFinished(20000));
        if (uscita < 0)
            QCOMPARE(salvataggio.exitStatus(), QProcess::CrashExit);
        else
            QCOMPARE(salvataggio.exitCode(), uscita);
        QCOMPARE(QString::fromLocal8Bit(salvataggio.readAllStandardOutput()),
                 messaggio.isEmpty() ? QString()
                                     : messaggio.arg(cartella.Percorso(QStringLiteral("redme.qzl"))));
        QCOMPARE(NumeroFisso::Leggi(), QStringLiteral("33"));
        QDir dentro(cartella.Percorso());
        const QStringList lasciati = dentro.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
        QCOMPARE(lasciati.size(), dellUtente.size() + (uscita < 0 ? 2 : 1));

        NumeroFisso::Scrivi(QStringLiteral("07"));
        QCOMPARE(NumeroFisso::Leggi(), QStringLiteral("07"));
        QStringList attesi = dellUtente + QStringList{QStringLiteral("redme.qzl")};
        attesi.sort();
        QCOMPARE(dentro.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name), attesi);
        for (const QString &nome : dellUtente) {
            QFile file(cartella.Percorso(nome));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), prima);
        }
    }

    void cartellaSincronizzataDopoIlNome()
    {
        // The new name is made sure to be on disk as well: its folder is synced after the rename.
        const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
        if (strace.isEmpty())
            QSKIP("no strace to watch a save");
        CartellaProva cartella;
        QTemporaryDir tracce;
        const QString traccia = tracce.filePath(QStringLiteral("traccia"));
        QProcess salvataggio;
        salvataggio.start(strace, {"-f", "-qq", "-y", "-e", "trace=fsync,rename,renameat,renameat2", "-o",
                                   traccia, "--", QCoreApplication::applicationFilePath(),
                                   QString::fromLatin1(SoloSalvataggio), cartella.Percorso(), "07"});
        QVERIFY(salvataggio.waitForFinished(20000));
        QCOMPARE(salvataggio.exitCode(), 0);
        QFile file(traccia);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> righe = file.readAll().split('\n');
        const auto rinomina = std::find_if(righe.cbegin(), righe.cend(), [](const QByteArray &riga) {
            return riga.contains("rename") && riga.contains(", \"redme.qzl\") = 0");
        });
        QVERIFY2(rinomina != righe.cend(), righe.join('\n').constData());
        const QByteArray sincronizzata = "fsync(";
        const QByteArray dellaCartella = '<' + QFile::encodeName(cartella.Percorso()) + ">) = 0";
        QVERIFY2(std::any_of(rinomina, righe.cend(),
                             [&](const QByteArray &riga) {
                                 return riga.contains(sincronizzata) && riga.contains(dellaCartella);
                             }),
                 righe.join('\n').constData());
    }

    void dueSalvataggiInsieme()
    {
        // A save that another instance makes while this one waits at its rename leaves this one's file
        // alone: both succeed, the later rename wins, and nothing is left over.
        const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
        if (strace.isEmpty())
            QSKIP("no strace to hold a save half-way");
        CartellaProva cartella;
        QProcess altro;
        altro.start(strace, {"-f", "-qq", "-o", "/dev/null", "-e",
                             "inject=rename,renameat,renameat2:delay_enter=1500000", "--",
                             QCoreApplication::applicationFilePath(), QString::fromLatin1(SoloSalvataggio),
                             cartella.Percorso(), "07"});
        QDir dentro(cartella.Percorso());
        const auto inAttesa = [&] {
            return dentro.entryList({QStringLiteral("redme.qzl.kelmo-*")}, QDir::Files | QDir::Hidden);
        };
        QTRY_COMPARE_WITH_TIMEOUT(inAttesa().size(), 1, 10000);
        const QStringList suo = inAttesa();

        NumeroFisso::Scrivi(QStringLiteral("12"));
        QCOMPARE(inAttesa(), suo);
        QCOMPARE(NumeroFisso::Leggi(), QStringLiteral("12"));

        QVERIFY(altro.waitForFinished(20000));
        QCOMPARE(altro.exitStatus(), QProcess::NormalExit);
        QCOMPARE(altro.exitCode(), 0);
        QCOMPARE(NumeroFisso::Leggi(), QStringLiteral("07"));
        QCOMPARE(dentro.entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList{"redme.qzl"});
    }
};

int main(int argc, char *argv[])
{
    if ((argc == 4 || argc == 5) && qstrcmp(argv[1], SoloSalvataggio) == 0) {
        if (argc == 5 && (qstrcmp(argv[4], SenzaAnonimi) != 0 || !SenzaFileAnonimi())) {
            std::printf("cannot refuse unnamed files here\n");
            return 4;
        }
        // Ended without the exit handlers: a leak checker's, under strace, would end it otherwise.
        const int esito = Salva(QFile::decodeName(argv[2]), QString::fromLatin1(argv[3]));
        std::fflush(stdout);
        std::_Exit(esito);
    }
    QCoreApplication applicazione(argc, argv);
    TestNumeroFisso prova;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&prova, argc, argv);
}
#include "tst_numerofisso.moc"
