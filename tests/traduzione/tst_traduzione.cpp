// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The translation routines over real SQLite files in a temporary working directory: the settings
// read, the lookup with its prepared text and SQL text, the guard on the language value and the pass.
#include "regole/Errore.h"
#include "support/CartellaChiusa.h"
#include "support/CartellaProva.h"
#include "support/ComeAltroUtente.h"
#include "support/RispostaBox.h"
#include "support/Sorveglianza.h"
#include "support/TabelleProva.h"
#include "traduzione/Traduzione.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <optional>

using namespace TabelleTraduzione;
using namespace TestoTraduzione;
using namespace Traduzione;

namespace
{
const QString ErroreLettura = QStringLiteral("Errore di lettura in parametri di impostazione, campo: LINGUA");

// A view over a recursive query that never ends: any read of it would run for ever.
QString VistaSenzaFine(const QString &tabella, const QString &colonne)
{
    return QStringLiteral("create view %1 as with recursive r(n) as (select 1 union all select n + 1 from r) "
                          "select %2 from r where n = 0")
        .arg(tabella, colonne);
}

// SQL for a text of `byte` zeros, made by the engine.
QString TestoLungo(int byte)
{
    return QStringLiteral("substr(hex(zeroblob(%1)), 1, %1)").arg(byte);
}

// The cause of a read cut short, as the messages give it.
QString Oltre(const QString &file, const QString &tabella, const QString &limite)
{
    return QStringLiteral("Errore di lettura in %1, tabella %2: %3").arg(file, tabella, limite);
}
// The limits as the user reads them, in figures: a limit raised far beyond them fails here.
const QString OltreTempo = QStringLiteral("la lettura supera il limite di tempo di 250 ms");
const QString OltreLunghezza = QStringLiteral("un valore supera il limite di 65536 byte");
const QString OltreMemoria = QStringLiteral("la lettura supera il limite di memoria di 16 MB");
const QString Bloccata =
    QStringLiteral("la tabella è bloccata da un'altra connessione oltre il limite di tempo di 250 ms");
// Any read, one cut short included, ends within about a second.
constexpr qint64 DurataMassimaMs = 1500;

// Runs a lookup; returns the failure's message, or an empty text when it succeeded.
QString cerca(const QString &italiano, const QString &lingua, QString &uscita)
{
    try {
        TraduciTesto(italiano, lingua, uscita);
    } catch (const Errore &e) {
        return e.messaggio().isEmpty() ? QStringLiteral("(empty message)") : e.messaggio();
    }
    return {};
}

// The texts of a pass, each read and written in place; `primaDiLeggere` runs before each read with
// the text's index.
QList<Voce> Voci(QStringList &testi, const std::function<void(int)> &primaDiLeggere = {})
{
    QList<Voce> voci;
    for (int i = 0; i < testi.size(); ++i)
        voci.append({[&testi, i, primaDiLeggere] {
                         if (primaDiLeggere)
                             primaDiLeggere(i);
                         return testi[i];
                     },
                     [&testi, i](const QString &t) { testi[i] = t; }});
    return voci;
}

// How the writer beside a read ends: it stays, in the middle of what it runs, until the read is over;
// or it is killed before the read, as a crash would end it, and the read may also find the folder
// closed to it.
enum class Scrittura { Resta, Uccisa, UccisaCartellaChiusa };
enum class Fallimento { Nessuno, Errore, Limite };

// The sqlite3 shell on a table, in a process of its own: it runs the statements and then waits, its
// locks and open transaction held, until it is ended.
class Scrittore
{
public:
    Scrittore(const QString &file, const QString &istruzioni)
    {
        const QString programma = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
        if (programma.isEmpty()) {
            m_errori = "no sqlite3 program (the build itself needs one)";
            return;
        }
        m_processo.start(programma, {QStringLiteral("-bail"), file});
        m_processo.write(istruzioni.toUtf8() + "\n.print pronto\n");
        QByteArray uscita;
        while (!uscita.contains("pronto\n") && m_processo.waitForReadyRead(10000))
            uscita += m_processo.readAllStandardOutput();
        m_pronto = uscita.contains("pronto\n");
        m_errori = m_processo.readAllStandardError();
    }
    // Told that its input is over, the shell ends, and any transaction it left open is undone.
    ~Scrittore()
    {
        m_processo.closeWriteChannel();
        if (m_processo.state() != QProcess::NotRunning && !m_processo.waitForFinished(10000))
            Uccidi();
    }
    Scrittore(const Scrittore &) = delete;
    Scrittore &operator=(const Scrittore &) = delete;

    bool Pronto() const { return m_pronto; }
    QString Errori() const { return m_errori; }
    void Uccidi()
    {
        m_processo.kill();
        m_processo.waitForFinished(10000);
    }

private:
    QProcess m_processo;
    bool m_pronto = false;
    QString m_errori;
};
} // namespace

class TestTraduzione : public QObject
{
    Q_OBJECT
private slots:
    void testoPreparato_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("preparato");
        QTest::newRow("plain") << "Esci"
                               << "Esci";
        QTest::newRow("leading ampersand") << "&Segnala"
                                           << "Segnala";
        QTest::newRow("only the first ampersand") << "&&Segnala"
                                                  << "&Segnala";
        QTest::newRow("inner ampersand stays") << "Bug & forum"
                                               << "Bug & forum";
        QTest::newRow("three apostrophes") << "Premi su 'segnala' per inoltrarci la segnalazione dell'errore:"
                                           << "Premi su segnala per inoltrarci la segnalazione dellerrore:";
        QTest::newRow("apostrophe before ampersand") << "'&x'"
                                                     << "&x";
        QTest::newRow("quotes and backslash stay") << "a \"b\" \\c"
                                                   << "a \"b\" \\c";
        QTest::newRow("accented letters stay") << "già più"
                                               << "già più";
        QTest::newRow("empty") << ""
                               << "";
    }
    void testoPreparato()
    {
        QFETCH(QString, testo);
        QFETCH(QString, preparato);
        QCOMPARE(TestoPreparato(testo), preparato);
    }

    void nomeLingua_data()
    {
        QTest::addColumn<QString>("lingua");
        QTest::addColumn<bool>("valido");
        QTest::newRow("Inglese") << "Inglese" << true;
        QTest::newRow("other case") << "italiano" << true;
        QTest::newRow("underscore and digit") << "Lingua_2" << true;
        QTest::newRow("leading underscore") << "_x" << true;
        QTest::newRow("accented letter") << "Français" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("leading digit") << "2lingua" << false;
        QTest::newRow("blank") << "Inglese " << false;
        QTest::newRow("statement appended") << "Inglese from lingua; drop table lingua; --" << false;
        QTest::newRow("comment") << "Inglese--" << false;
        QTest::newRow("double quoted") << "\"Inglese\"" << false;
        QTest::newRow("bracketed") << "[Inglese]" << false;
        QTest::newRow("star") << "*" << false;
        QTest::newRow("apostrophe") << "Ingl'ese" << false;
    }
    void nomeLingua()
    {
        QFETCH(QString, lingua);
        QFETCH(bool, valido);
        QCOMPARE(NomeLinguaValido(lingua), valido);
    }

    void leggiImpostazione_data()
    {
        QTest::addColumn<QStringList>("istruzioni");
        QTest::addColumn<QString>("atteso");
        QTest::addColumn<bool>("errore");
        QTest::addColumn<QString>("causa"); // the box's second line: a read cut short by a limit
        QTest::newRow("value") << QStringList{"create table impostazioni (LINGUA text)",
                                              "insert into impostazioni values ('Inglese')"}
                               << "Inglese" << false << "";
        QTest::newRow("first record") << QStringList{"create table impostazioni (ALTRO text, LINGUA text)",
                                                     "insert into impostazioni values ('x', 'Tedesco')",
                                                     "insert into impostazioni values ('y', 'Inglese')"}
                                      << "Tedesco" << false << "";
        QTest::newRow("no records") << QStringList{"create table impostazioni (LINGUA text)"} << "" << false
                                    << "";
        QTest::newRow("null value") << QStringList{"create table impostazioni (LINGUA text)",
                                                   "insert into impostazioni values (null)"}
                                    << "" << false << "";
        QTest::newRow("missing field") << QStringList{"create table impostazioni (LINGUAGGIO text)",
                                                      "insert into impostazioni values ('Inglese')"}
                                       << "prima" << true << "";
        QTest::newRow("missing table")
            << QStringList{"create table altro (LINGUA text)", "insert into altro values ('Inglese')"}
            << "prima" << true << "";
        QTest::newRow("missing file") << QStringList{} << "prima" << true << "";
        QTest::newRow("view without end")
            << QStringList{VistaSenzaFine("impostazioni", "'Inglese' as LINGUA")} << "prima" << true
            << Oltre(FileImpostazioni, "impostazioni", OltreTempo);
        QTest::newRow("value beyond the length limit")
            << QStringList{"create table impostazioni (LINGUA text)",
                           "insert into impostazioni values (" + TestoLungo(1024 * 1024) + ")"}
            << "prima" << true << Oltre(FileImpostazioni, "impostazioni", OltreLunghezza);
    }
    void leggiImpostazione()
    {
        QFETCH(QStringList, istruzioni);
        QFETCH(QString, atteso);
        QFETCH(bool, errore);
        QFETCH(QString, causa);
        TabelleProva tabelle;
        if (!istruzioni.isEmpty())
            tabelle.Esegui(FileImpostazioni, istruzioni);
        const QByteArray primaDellaLettura = tabelle.Contenuto(FileImpostazioni);

        RispostaBox risposte;
        QString valore = QStringLiteral("prima");
        QElapsedTimer durata;
        durata.start();
        {
            const Sorveglianza guardia("settings read");
            LeggiImpostazione(QStringLiteral("LINGUA"), valore);
        }
        QVERIFY2(durata.elapsed() < DurataMassimaMs, qPrintable(QString::number(durata.elapsed())));
        QCOMPARE(valore, atteso);
        if (errore) {
            QCOMPARE(risposte.Visti().size(), 1);
            QCOMPARE(risposte.Visti()[0].titolo, QStringLiteral("Errore"));
            QCOMPARE(risposte.Visti()[0].testo,
                     causa.isEmpty() ? ErroreLettura : ErroreLettura + '\n' + causa);
            QCOMPARE(risposte.Visti()[0].icona, QMessageBox::Critical);
        } else {
            QVERIFY(risposte.Visti().isEmpty());
        }
        // Read-only: the file is neither created nor changed.
        QCOMPARE(QFile::exists(tabelle.Percorso(FileImpostazioni)), !istruzioni.isEmpty());
        QCOMPARE(tabelle.Contenuto(FileImpostazioni), primaDellaLettura);
    }

    void traduciTesto_data()
    {
        QTest::addColumn<QString>("italiano");
        QTest::addColumn<QString>("lingua");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("found") << "Esci"
                               << "Inglese"
                               << "Exit";
        QTest::newRow("column name in other case") << "Esci"
                                                   << "INGLESE"
                                                   << "Exit";
        QTest::newRow("not found gives the text back") << "Gioca"
                                                       << "Inglese"
                                                       << "Gioca";
        QTest::newRow("looked up without leading ampersand") << "&Segnala"
                                                             << "Inglese"
                                                             << "&Report";
        QTest::newRow("not found loses leading ampersand") << "&Stampa"
                                                           << "Inglese"
                                                           << "Stampa";
        QTest::newRow("looked up without apostrophes")
            << "Premi su 'segnala' per inoltrarci la segnalazione dell'errore:"
            << "Inglese"
            << "Press 'Report' to send us the error report:";
        QTest::newRow("accented text") << "Le risposte ai bug già segnalati"
                                       << "Inglese"
                                       << "Answers";
        QTest::newRow("first of several rows") << "Doppio"
                                               << "Inglese"
                                               << "First";
        QTest::newRow("empty cell") << "Vuoto"
                                    << "Inglese"
                                    << "";
        QTest::newRow("null cell") << "Nullo"
                                   << "Inglese"
                                   << "";
        QTest::newRow("quote trick in the text stays a text") << "x' or '1'='1"
                                                              << "Inglese"
                                                              << "x or 1=1";
        // The query compares texts with "=", exactly: another letter case is another text.
        QTest::newRow("another letter case is not found") << "ESCI"
                                                          << "Inglese"
                                                          << "ESCI";
    }
    void traduciTesto()
    {
        QFETCH(QString, italiano);
        QFETCH(QString, lingua);
        QFETCH(QString, atteso);
        TabelleProva tabelle;
        tabelle.Esegui(
            FileLingua,
            {"create table lingua (ITALIANO text, Inglese text)",
             "insert into lingua values ('Esci', 'Exit')", "insert into lingua values ('Segnala', '&Report')",
             "insert into lingua values ('Premi su segnala per inoltrarci la segnalazione dellerrore:', "
             "'Press ''Report'' to send us the error report:')",
             "insert into lingua values ('Le risposte ai bug già segnalati', 'Answers')",
             "insert into lingua values ('Doppio', 'First')",
             "insert into lingua values ('Doppio', 'Second')", "insert into lingua values ('Vuoto', '')",
             "insert into lingua values ('Nullo', null)"});
        const QByteArray prima = tabelle.Contenuto(FileLingua);
        QString uscita = QStringLiteral("prima");
        QCOMPARE(cerca(italiano, lingua, uscita), QString());
        QCOMPARE(uscita, atteso);
        QCOMPARE(tabelle.Contenuto(FileLingua), prima);
    }

    void traduciTestoFallisce_data()
    {
        QTest::addColumn<QString>("lingua");
        QTest::addColumn<QStringList>("tabella"); // the statements that make lingua.db; none: no file
        QTest::addColumn<QString>("messaggio");
        const QStringList esci{"create table lingua (ITALIANO text, Inglese text)",
                               "insert into lingua values ('Esci', 'Exit')"};
        QTest::newRow("missing column") << "Tedesco" << esci << "no such column: Tedesco";
        // Bare names the engine would read as something else than a column.
        QTest::newRow("rowid") << "rowid" << esci << "no such column: rowid";
        QTest::newRow("NULL") << "NULL" << esci << "no such column: NULL";
        QTest::newRow("CURRENT_TIMESTAMP")
            << "CURRENT_TIMESTAMP" << esci << "no such column: CURRENT_TIMESTAMP";
        QTest::newRow("overlong name, quoted by its beginning")
            << QString(2 * 1024 * 1024, QLatin1Char('a')) << esci
            << QStringLiteral("Lingua \"%1…\" troppo lunga").arg(QString(64, QLatin1Char('a')));
        QTest::newRow("empty language") << "" << esci << "Nessuna lingua impostata";
        QTest::newRow("statement appended")
            << "Inglese from lingua; drop table lingua; --" << esci << "non valida";
        QTest::newRow("missing lingua.db") << "Inglese" << QStringList{} << "lingua.db";
        // Reads cut short by a limit, whatever the table holds.
        QTest::newRow("view without end")
            << "Inglese" << QStringList{VistaSenzaFine("lingua", "'Esci' as ITALIANO, 'Exit' as Inglese")}
            << Oltre(FileLingua, "lingua", OltreTempo);
        QTest::newRow("translation beyond the length limit")
            << "Inglese"
            << QStringList{"create table lingua (ITALIANO text, Inglese text)",
                           "insert into lingua values ('Esci', " + TestoLungo(1024 * 1024) + ")"}
            << Oltre(FileLingua, "lingua", OltreLunghezza);
        // Each row within the length limit, all of them together far beyond the memory limit.
        QTest::newRow("sort beyond the memory limit")
            << "Inglese"
            << QStringList{"create view lingua as with recursive r(n) as (select 1 union all select n + 1 "
                           "from r "
                           "where n < 2000) select 'Esci' as ITALIANO, t as Inglese from (select "
                           "hex(randomblob(20000)) as t from r order by random())"}
            << Oltre(FileLingua, "lingua", OltreMemoria);
    }
    void traduciTestoFallisce()
    {
        QFETCH(QString, lingua);
        QFETCH(QStringList, tabella);
        QFETCH(QString, messaggio);
        TabelleProva tabelle;
        if (!tabella.isEmpty())
            tabelle.Esegui(FileLingua, tabella);
        const QByteArray prima = tabelle.Contenuto(FileLingua);

        QString uscita = QStringLiteral("prima");
        QString errore;
        QElapsedTimer durata;
        durata.start();
        {
            const Sorveglianza guardia("lookup");
            errore = cerca(QStringLiteral("Esci"), lingua, uscita);
        }
        QVERIFY2(durata.elapsed() < DurataMassimaMs, qPrintable(QString::number(durata.elapsed())));
        QVERIFY2(errore.contains(messaggio), qPrintable(errore.left(500)));
        QVERIFY2(errore.size() < 300, "the message quotes the whole language value");
        QCOMPARE(uscita, QStringLiteral("prima"));
        // Nothing written, nothing created.
        QCOMPARE(tabelle.Contenuto(FileLingua), prima);
        QCOMPARE(QFile::exists(tabelle.Percorso(FileLingua)), !tabella.isEmpty());
    }

    void tabellaNonRegolare_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("genere"); // what stands there: "fifo", "cartella", or "illeggibile", a
                                             // table the user may not read
        QTest::addColumn<QString>("errore");
        QTest::addColumn<QStringList>("box");
        QTest::newRow("settings table is a named pipe")
            << FileImpostazioni << "fifo"
            << "Nessuna lingua impostata" << QStringList{ErroreLettura};
        QTest::newRow("translation table is a named pipe")
            << FileLingua << "fifo"
            << "lingua.db: non è un file regolare" << QStringList{};
        QTest::newRow("translation table is a folder")
            << FileLingua << "cartella"
            << "lingua.db: non è un file regolare" << QStringList{};
        // The engine would open a journal beside the table to see whether a transaction was left
        // unfinished: a named pipe there blocks it just the same.
        QTest::newRow("translation table's journal is a named pipe")
            << FileLingua + "-journal"
            << "fifo"
            << "lingua.db-journal: non è un file regolare" << QStringList{};
        // The system's reason, in Italian whatever the locale, not the engine's English.
        QTest::newRow("translation table the user may not read")
            << FileLingua << "illeggibile"
            << "lingua.db: permesso negato" << QStringList{};
    }
    void tabellaNonRegolare()
    {
        // Opening a named pipe would wait for a writer for ever: it must count as a missing table.
        QFETCH(QString, file);
        QFETCH(QString, genere);
        QFETCH(QString, errore);
        QFETCH(QStringList, box);
        CartellaProva accanto;
        accanto.Scrivi(FileLingua, {});
        TabelleProva tabelle;
        if (file != FileImpostazioni)
            tabelle.Lingua(QStringLiteral("Inglese"));
        if (file != FileLingua || genere == QLatin1String("illeggibile"))
            tabelle.Traduzioni({{"Uno", "One"}});
        const QByteArray percorso = QFile::encodeName(tabelle.Percorso(file));
        std::unique_ptr<ComeAltroUtente> come;
        if (genere == QLatin1String("illeggibile")) {
            // The folders open to the user, the table not.
            for (const QString &cartella : {accanto.Percorso(), QFileInfo(tabelle.Percorso(file)).path()})
                QVERIFY(::chmod(QFile::encodeName(cartella).constData(), 0755) == 0);
            QVERIFY(::chmod(percorso.constData(), 0) == 0);
            come = std::make_unique<ComeAltroUtente>();
        } else {
            QVERIFY(genere == QLatin1String("cartella") ? ::mkdir(percorso.constData(), 0700) == 0
                                                        : ::mkfifo(percorso.constData(), 0600) == 0);
        }

        QStringList testi{"Uno"};
        RispostaBox risposte;
        QString visto;
        try {
            const Sorveglianza guardia("translation pass over a table that is not a file");
            TraduciVoci(Voci(testi), Guardia::SoloItaliano);
        } catch (const Errore &e) {
            visto = e.messaggio();
        }
        come.reset();
        QVERIFY2(visto.contains(errore), qPrintable(visto));
        QCOMPARE(risposte.Testi(), box);
        QCOMPARE(testi, QStringList{"Uno"});
    }

    void scrittoreAccanto_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("tabella"); // the table as it stands when the writer starts
        QTest::addColumn<QString>("scrittore");   // what the writer runs before the read
        QTest::addColumn<int>("fine");            // how the writer ends, and the folder then
        QTest::addColumn<QString>("esito");       // the value read, or the failure's message
        QTest::addColumn<int>("fallimento");      // how the read fails, if it does
        const QStringList impostazioniWal{"pragma journal_mode=WAL",
                                          "create table impostazioni (LINGUA text)",
                                          "insert into impostazioni values ('Italiano')"};
        const QStringList linguaWal{"pragma journal_mode=WAL",
                                    "create table lingua (ITALIANO text, Inglese text)",
                                    "insert into lingua values ('Esci', 'Exit')"};
        // Beside the text, pages enough that a writer with a tiny cache writes its changes into the
        // table's file long before it commits.
        const QStringList zavorra{"create table zavorra (b text)",
                                  "insert into zavorra with recursive r(n) as (select 1 union all "
                                  "select n + 1 from r where n < 200) "
                                  "select hex(randomblob(1000)) from r"};
        const QStringList linguaGrande = QStringList{"create table lingua (ITALIANO text, Inglese text)",
                                                     "insert into lingua values ('Esci', 'Exit')"} +
                                         zavorra;
        const QStringList impostazioniGrande = QStringList{"create table impostazioni (LINGUA text)",
                                                           "insert into impostazioni values ('Italiano')"} +
                                               zavorra;
        const auto spilla = [](const QString &modifica) {
            return "pragma cache_size = 1; begin; " + modifica +
                   " update zavorra set b = hex(randomblob(1000));";
        };
        const auto interrotta = [](const QString &file) {
            return QStringLiteral("la tabella ha una transazione interrotta (file %1-journal) che solo "
                                  "un'apertura in scrittura può annullare")
                .arg(file);
        };
        const int resta = int(Scrittura::Resta);
        const int nessuno = int(Fallimento::Nessuno);
        QTest::newRow("settings change still in the WAL file")
            << FileImpostazioni << impostazioniWal
            << "pragma wal_autocheckpoint = 0; update impostazioni set LINGUA = 'Inglese';" << resta
            << "Inglese" << nessuno;
        QTest::newRow("translation change still in the WAL file")
            << FileLingua << linguaWal << "pragma wal_autocheckpoint = 0; update lingua set Inglese = 'Quit';"
            << resta << "Quit" << nessuno;
        QTest::newRow("uncommitted pages in the file are waited for, then given up")
            << FileLingua << linguaGrande << spilla("update lingua set Inglese = 'Quit';") << resta
            << Oltre(FileLingua, "lingua", Bloccata) << int(Fallimento::Limite);
        QTest::newRow("settings table locked beyond the time limit")
            << FileImpostazioni
            << QStringList{"create table impostazioni (LINGUA text)",
                           "insert into impostazioni values ('Inglese')"}
            << "begin exclusive;" << resta << Oltre(FileImpostazioni, "impostazioni", Bloccata)
            << int(Fallimento::Limite);
        // A writer that died in the middle leaves its journal: the read neither reads the half-written
        // pages nor puts the table back, which would write the file.
        // For the settings table, the cause reaches the box.
        QTest::newRow("translation transaction left unfinished by a writer that died")
            << FileLingua << linguaGrande << spilla("update lingua set Inglese = 'Quit';")
            << int(Scrittura::Uccisa) << Oltre(FileLingua, "lingua", interrotta(FileLingua))
            << int(Fallimento::Errore);
        QTest::newRow("settings transaction left unfinished by a writer that died")
            << FileImpostazioni << impostazioniGrande << spilla("update impostazioni set LINGUA = 'Inglese';")
            << int(Scrittura::Uccisa) << Oltre(FileImpostazioni, "impostazioni", interrotta(FileImpostazioni))
            << int(Fallimento::Errore);
        // The committed value stands only in the WAL file, which cannot be read safely without the
        // shared index the folder does not let the reader make.
        QTest::newRow("WAL table in a read-only folder without its index")
            << FileImpostazioni << impostazioniWal
            << "pragma wal_autocheckpoint = 0; update impostazioni set LINGUA = 'Inglese';"
            << int(Scrittura::UccisaCartellaChiusa)
            << Oltre(FileImpostazioni, "impostazioni",
                     "la tabella è in modalità WAL e la sua cartella non permette di aprire o creare i file "
                     "impostazioni.db-wal e impostazioni.db-shm che servono a leggerla")
            << int(Fallimento::Errore);
    }
    void scrittoreAccanto()
    {
        // Another program writes the table while it is read: the read sees what is committed, and
        // only that, and writes nothing.
        QFETCH(QString, file);
        QFETCH(QStringList, tabella);
        QFETCH(QString, scrittore);
        QFETCH(int, fine);
        QFETCH(QString, esito);
        QFETCH(int, fallimento);
        TabelleProva tabelle;
        tabelle.Esegui(file, tabella);
        Scrittore altro(tabelle.Percorso(file), scrittore);
        QVERIFY2(altro.Pronto(), qPrintable(altro.Errori()));
        if (fine != int(Scrittura::Resta))
            altro.Uccidi();
        std::optional<CartellaChiusa> chiusa;
        if (fine == int(Scrittura::UccisaCartellaChiusa)) {
            QVERIFY(QFile::remove(tabelle.Percorso(file + "-shm")));
            // The files themselves stay readable to everyone, whatever the umask.
            for (const QString &leggibile : {file, file + "-wal"})
                QVERIFY(::chmod(QFile::encodeName(tabelle.Percorso(leggibile)).constData(), 0644) == 0);
            chiusa.emplace(tabelle.Percorso({}));
        }
        const QByteArray prima = tabelle.Contenuto(file);
        const QDateTime modificata = QFileInfo(tabelle.Percorso(file)).lastModified();

        QString visto;
        Fallimento come = Fallimento::Nessuno;
        QElapsedTimer durata;
        durata.start();
        {
            const Sorveglianza guardia("read beside a writer");
            try {
                if (file == FileImpostazioni) {
                    visto = LeggiCampo(QStringLiteral("LINGUA"));
                } else {
                    TraduciTesto(QStringLiteral("Esci"), QStringLiteral("Inglese"), visto);
                }
            } catch (const ErroreLimite &e) {
                visto = e.messaggio();
                come = Fallimento::Limite;
            } catch (const Errore &e) {
                visto = e.messaggio();
                come = Fallimento::Errore;
            }
        }
        const qint64 ms = durata.elapsed();
        chiusa.reset();
        QCOMPARE(visto, esito);
        QCOMPARE(int(come), fallimento);
        QVERIFY2(ms < DurataMassimaMs, qPrintable(QString::number(ms)));
        // A lock is waited for as long as the time limit allows, not given up at once.
        if (come == Fallimento::Limite)
            QVERIFY2(ms >= 250, qPrintable(QString::number(ms)));
        QCOMPARE(tabelle.Contenuto(file), prima);
        QCOMPARE(QFileInfo(tabelle.Percorso(file)).lastModified(), modificata);
        // The user is told why the language could not be read.
        if (file == FileImpostazioni && come != Fallimento::Nessuno) {
            RispostaBox risposte;
            QString lingua;
            if (fine == int(Scrittura::UccisaCartellaChiusa))
                chiusa.emplace(tabelle.Percorso({}));
            LeggiImpostazione(QStringLiteral("LINGUA"), lingua);
            chiusa.reset();
            QCOMPARE(risposte.Testi(),
                     QStringList{"Errore di lettura in parametri di impostazione, campo: LINGUA\n" + esito});
        }
    }

    void passaggio_data()
    {
        using Lingua = std::optional<QString>; // none: no settings table
        QTest::addColumn<bool>("linguaAccanto");
        QTest::addColumn<Lingua>("lingua");
        QTest::addColumn<bool>("conTabella"); // lingua.db in the working directory
        QTest::addColumn<int>("guardia");
        QTest::addColumn<QStringList>("attesi");
        QTest::addColumn<QString>("errore");
        QTest::addColumn<QStringList>("box");
        const QStringList italiani{"&Uno", "Du'e", "Tre"};
        const QStringList nessuno;
        const int solo = int(Guardia::SoloItaliano);
        const int anche = int(Guardia::ItalianoOVuoto);
        const Lingua inglese(QStringLiteral("Inglese"));
        QTest::newRow("no lingua.db beside the executable")
            << false << inglese << true << solo << italiani << "" << nessuno;
        QTest::newRow("Italiano") << true << Lingua("Italiano") << true << solo << italiani << "" << nessuno;
        QTest::newRow("italiano in other case is a column")
            << true << Lingua("italiano") << true << solo << QStringList{"Uno", "Due", "Tre"} << ""
            << nessuno;
        QTest::newRow("translated in order")
            << true << inglese << true << solo << QStringList{"One", "Two", "Three"} << "" << nessuno;
        QTest::newRow("empty ends the pass when guarded")
            << true << Lingua("") << true << anche << italiani << "" << nessuno;
        QTest::newRow("empty goes to the engine otherwise")
            << true << Lingua("") << true << solo << italiani << "Nessuna lingua impostata" << nessuno;
        QTest::newRow("missing column ends the pass at the first text")
            << true << Lingua("Tedesco") << true << solo << italiani << "no such column" << nessuno;
        // The settings read reports its failure and leaves the value empty: the guarded pass stops there,
        // the other goes on to the engine with it.
        QTest::newRow("no settings table, guarded")
            << true << Lingua() << true << anche << italiani << "" << QStringList{ErroreLettura};
        QTest::newRow("no settings table, unguarded")
            << true << Lingua() << true << solo << italiani << "Nessuna lingua impostata"
            << QStringList{ErroreLettura};
        // The presence test looks beside the executable, the engine in the working directory.
        QTest::newRow("lingua.db only beside the executable")
            << true << inglese << false << solo << italiani << "lingua.db" << nessuno;
    }
    void passaggio()
    {
        QFETCH(bool, linguaAccanto);
        QFETCH(std::optional<QString>, lingua);
        QFETCH(bool, conTabella);
        QFETCH(int, guardia);
        QFETCH(QStringList, attesi);
        QFETCH(QString, errore);
        QFETCH(QStringList, box);
        CartellaProva cartella;
        if (linguaAccanto)
            cartella.Scrivi(FileLingua, {});
        TabelleProva tabelle;
        if (lingua)
            tabelle.Lingua(*lingua);
        if (conTabella)
            tabelle.Traduzioni({{"Uno", "One"}, {"Due", "Two"}, {"Tre", "Three"}});

        QStringList testi{"&Uno", "Du'e", "Tre"};
        RispostaBox risposte;
        QString visto;
        try {
            TraduciVoci(Voci(testi), Guardia(guardia));
        } catch (const Errore &e) {
            visto = e.messaggio();
        }
        QCOMPARE(testi, attesi);
        QCOMPARE(visto.isEmpty(), errore.isEmpty());
        QVERIFY2(visto.contains(errore), qPrintable(visto));
        QCOMPARE(risposte.Testi(), box);
        // Read-only: no table is ever created.
        QCOMPARE(QFile::exists(tabelle.Percorso(FileLingua)), conTabella);
    }

    void impostazioniProprie_data()
    {
        QTest::addColumn<QString>("propria");   // LINGUA of the user's own table
        QTest::addColumn<QString>("programma"); // LINGUA of the table in the working directory
        QTest::addColumn<QStringList>("attesi");
        QTest::addColumn<QString>("errore");       // %1: the user's table
        QTest::addColumn<QByteArray>("altroNome"); // added to the configuration folder's name
        QTest::newRow("the user's language over the program's Italian")
            << "Inglese"
            << "Italiano" << QStringList{"One", "Two", "Three"} << "" << QByteArray();
        QTest::newRow("the user's language, their folder's name not UTF-8")
            << "Inglese"
            << "Italiano" << QStringList{"One", "Two", "Three"} << "" << QByteArray("\xe9");
        QTest::newRow("the user's Italian over the program's language")
            << "Italiano"
            << "Inglese" << QStringList{"&Uno", "Du'e", "Tre"} << "" << QByteArray();
        QTest::newRow("a wrong value is named in the user's table")
            << "1nglese"
            << "Inglese" << QStringList{"&Uno", "Du'e", "Tre"}
            << "Lingua \"1nglese\" non valida nel campo LINGUA di %1: sono ammessi solo lettere, cifre e "
               "trattini bassi, senza una cifra in testa"
            << QByteArray();
    }
    void impostazioniProprie()
    {
        // A settings table in the user's configuration folder is read in place of the program's.
        QFETCH(QString, propria);
        QFETCH(QString, programma);
        QFETCH(QStringList, attesi);
        QFETCH(QString, errore);
        QFETCH(QByteArray, altroNome);
        CartellaProva cartella;
        cartella.Scrivi(FileLingua, {});
        TabelleProva tabelle;
        tabelle.Lingua(programma);
        tabelle.Lingua(propria, true);
        if (!altroNome.isEmpty()) {
            const QByteArray configurazione = qgetenv("XDG_CONFIG_HOME");
            QVERIFY(::rename(configurazione.constData(), (configurazione + altroNome).constData()) == 0);
            qputenv("XDG_CONFIG_HOME", configurazione + altroNome);
        }
        tabelle.Traduzioni({{"Uno", "One"}, {"Due", "Two"}, {"Tre", "Three"}});
        QStringList testi{"&Uno", "Du'e", "Tre"};
        RispostaBox risposte;
        QString visto;
        try {
            TraduciVoci(Voci(testi), Guardia::SoloItaliano);
        } catch (const Errore &e) {
            visto = e.messaggio();
        }
        QCOMPARE(testi, attesi);
        QCOMPARE(visto, errore.isEmpty() ? errore : errore.arg(tabelle.Percorso(TabelleProva::Propria)));
        QVERIFY(risposte.Visti().isEmpty());
    }

    void passaggioFinisceAMeta()
    {
        // The translation table goes away while the second text is read: the first keeps its
        // translation, the second and third stay as they were, and the failure goes on.
        CartellaProva cartella;
        cartella.Scrivi(FileLingua, {});
        TabelleProva tabelle;
        tabelle.Lingua(QStringLiteral("Inglese"));
        tabelle.Traduzioni({{"Uno", "One"}, {"Due", "Two"}, {"Tre", "Three"}});

        QStringList testi{"Uno", "Due", "Tre"};
        const auto voci = Voci(testi, [&](int i) {
            if (i == 1)
                QFile::remove(tabelle.Percorso(FileLingua));
        });
        QVERIFY_THROWS_EXCEPTION(Errore, TraduciVoci(voci, Guardia::SoloItaliano));
        QCOMPARE(testi, (QStringList{"One", "Due", "Tre"}));
    }
};

QTEST_MAIN(TestTraduzione)
#include "tst_traduzione.moc"
