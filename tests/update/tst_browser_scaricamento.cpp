// The embedded browser's downloads against a real web server on 127.0.0.1: files saved whole under the
// name the user chose, or not at all, whether the transfer breaks, the disk fills, the server falls
// silent, the user declines or cancels, or the browser goes away while the user chooses.
#include "update/BrowserIncorporato.h"
#include "update/ProvaBrowser.h"
#include "update/Scaricamento.h"

#include "support/CartellaPiena.h"
#include "support/ServerProva.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace std::chrono_literals;

class TestBrowserScaricamento : public QObject
{
    Q_OBJECT

    ServerProva *m_server = nullptr;
    std::shared_ptr<SceltaRegistrata> m_scelta;

    void rispondiAlSalvataggio(const QString &percorso) { m_scelta = RispondiAlSalvataggio(percorso); }

    // Serves random bytes as the setup file (cut after `taglio` bytes when >= 0) and returns its address.
    QString ImpostaInstallazione(qsizetype dimensione, quint32 seme, qint64 taglio = -1,
                                 bool tieniAperta = false, const QList<QByteArray> &intestazioni = {})
    {
        ServerProva::Risposta file;
        file.tipo = "application/octet-stream";
        file.intestazioni = intestazioni;
        file.corpo = ServerProva::BytesCasuali(dimensione, seme);
        file.taglio = taglio;
        file.tieniAperta = tieniAperta;
        m_server->Imposta("/prg/dravol.exe", file);
        return m_server->Indirizzo("/prg/dravol.exe").toString();
    }

private slots:
    void init() { m_server = new ServerProva; }
    void cleanup()
    {
        delete m_server;
        BrowserIncorporato::ImpostaLimiteTempo(0ms);
        Scaricamento::ImpostaSceltaFile({});
        m_scelta.reset();
    }

    void scaricamentoSalvatoIntero_data()
    {
        QTest::addColumn<QByteArray>("percorso");
        QTest::addColumn<QByteArray>("tipo");
        QTest::addColumn<QList<QByteArray>>("intestazioni");
        QTest::addColumn<QString>("nome");
        QTest::newRow("setup file") << QByteArray("/prg/dravol.exe") << QByteArray("application/octet-stream")
                                    << QList<QByteArray>{} << QStringLiteral("dravol.exe");
        QTest::newRow("attachment named by the server")
            << QByteArray("/scarica.php") << QByteArray("text/html")
            << QList<QByteArray>{"Content-Disposition: attachment; filename=\"dravol setup.exe\""}
            << QStringLiteral("dravol setup.exe");
        QTest::newRow("extended name")
            << QByteArray("/scarica.php") << QByteArray("application/x-msdownload")
            << QList<QByteArray>{"Content-Disposition: attachment; filename*=UTF-8''gi%C3%A0.exe"}
            << QStringLiteral("già.exe");
        QTest::newRow("name with a path")
            << QByteArray("/scarica.php") << QByteArray("application/octet-stream")
            << QList<QByteArray>{"Content-Disposition: attachment; filename=\"..\\\\..\\\\dravol.exe\""}
            << QStringLiteral("dravol.exe");
        QTest::newRow("no name at all") << QByteArray("/prg/") << QByteArray("application/zip")
                                        << QList<QByteArray>{} << QStringLiteral("download");
        // Characters that would make the name read otherwise than it is written are left out: a NUL
        // ends the name on disk where the dialog shows more, line breaks and escapes reach a terminal,
        // bidirectional controls turn the shown text round.
        QTest::newRow("NUL in the name")
            << QByteArray("/scarica.php") << QByteArray("application/octet-stream")
            << QList<QByteArray>{"Content-Disposition: attachment; filename*=UTF-8''setup.exe%00.txt"}
            << QStringLiteral("setup.exe.txt");
        QTest::newRow("line breaks and escape in the name")
            << QByteArray("/scarica.php") << QByteArray("application/octet-stream")
            << QList<QByteArray>{"Content-Disposition: attachment; filename*=UTF-8''dra%0Avol%0D%1B[2J.exe"}
            << QStringLiteral("dravol[2J.exe");
        QTest::newRow("C1, DEL and bidirectional controls in the name")
            << QByteArray("/scarica.php") << QByteArray("application/octet-stream")
            << QList<QByteArray>{"Content-Disposition: attachment; filename*=UTF-8''"
                                 "%E2%80%AAd%E2%80%AEr%E2%81%A6a%E2%81%A9v%E2%80%8Eo%E2%80%8Fl%D8%9C"
                                 "%C2%80%C2%9F%7Fexe.txt"}
            << QStringLiteral("dravolexe.txt");
        QTest::newRow("raw control bytes in a plain name")
            << QByteArray("/scarica.php") << QByteArray("application/octet-stream")
            << QList<QByteArray>{"Content-Disposition: attachment; filename=\"dra\x85vol\x1b.exe\""}
            << QStringLiteral("dravol.exe");
    }
    void scaricamentoSalvatoIntero()
    {
        QFETCH(QByteArray, percorso);
        QFETCH(QByteArray, tipo);
        QFETCH(QList<QByteArray>, intestazioni);
        QFETCH(QString, nome);
        const QByteArray contenuto = ServerProva::BytesCasuali(3 * 1024 * 1024 + 17, 15);
        ServerProva::Risposta file;
        file.tipo = tipo;
        file.intestazioni = intestazioni;
        file.corpo = contenuto;
        m_server->Imposta(percorso, file);
        m_server->ImpostaPagina("/pagina", "<body>Versione 06.2002-16<</body>");
        QTemporaryDir cartella;
        // A file the name, if cut short on disk, would fall upon.
        const QString vicino = cartella.filePath(QStringLiteral("setup.exe"));
        QFile altro(vicino);
        QVERIFY(altro.open(QIODevice::WriteOnly) && altro.write("altro") == 5);
        altro.close();
        // The user takes the proposed name, as it stands, in this folder.
        const QString destinazione = cartella.filePath(nome);
        QStringList proposte;
        Scaricamento::ImpostaSceltaFile([&](QWidget *, const QString &proposta) {
            proposte << proposta;
            return cartella.filePath(QFileInfo(proposta).fileName());
        });

        Prova prova;
        prova.browser.Naviga(m_server->Indirizzo("/pagina").toString());
        QTRY_COMPARE(prova.completati.count(), 1);
        prova.browser.Naviga(m_server->Indirizzo(percorso).toString());
        QTRY_COMPARE(prova.scaricati.count(), 1);
        QCOMPARE(prova.Segnali(), 2);
        QCOMPARE(prova.scaricati.constLast().at(0).toString(), destinazione);
        QVERIFY(!prova.browser.InCorso());

        // The user's downloads folder and the file's own name were proposed.
        QCOMPARE(proposte.size(), 1);
        const QFileInfo proposta(proposte.constFirst());
        QCOMPARE(proposta.fileName(), nome);
        QCOMPARE(proposta.absolutePath(),
                 QDir(QStandardPaths::writableLocation(QStandardPaths::DownloadLocation)).absolutePath());

        // Saved under exactly the name chosen, and nowhere else.
        QFile salvato(destinazione);
        QVERIFY(salvato.open(QIODevice::ReadOnly));
        QCOMPARE(salvato.readAll(), contenuto);
        QStringList attesi{nome, QStringLiteral("setup.exe")};
        attesi.sort();
        QCOMPARE(QDir(cartella.path()).entryList(QDir::Files, QDir::Name), attesi);
        QVERIFY(altro.open(QIODevice::ReadOnly));
        QCOMPARE(altro.readAll(), QByteArray("altro"));
        // A download is no document: the page shown before stays.
        QCOMPARE(prova.browser.CorpoHtml(), QStringLiteral("<body>Versione 06.2002-16&lt;</body>"));
        QTRY_VERIFY(prova.browser.findChild<QProgressDialog *>() == nullptr);
    }

    void scaricamentoInterrottoNonLasciaFile_data()
    {
        QTest::addColumn<bool>("tieniAperta");
        QTest::newRow("connection dropped") << true;
        QTest::newRow("closed short of the announced length") << false;
    }
    void scaricamentoInterrottoNonLasciaFile()
    {
        QFETCH(bool, tieniAperta);
        // The server's name for the file is shown as it stands, never read as markup.
        const QByteArray nome = "Content-Disposition: attachment; filename=\"<font color=red>dravol.exe\"";
        const QString indirizzo = ImpostaInstallazione(2 * 1024 * 1024, 16, 1024 * 1024, tieniAperta, {nome});
        QTemporaryDir cartella;
        rispondiAlSalvataggio(cartella.filePath(QStringLiteral("dravol.exe")));

        Prova prova;
        prova.browser.Naviga(indirizzo);
        if (tieniAperta) {
            // Half the file is in, and the progress shows it, when the server breaks down.
            QProgressDialog *avanzamento = nullptr;
            QTRY_VERIFY((avanzamento = prova.browser.findChild<QProgressDialog *>()) != nullptr);
            QVERIFY(avanzamento->isVisible());
            const QLabel *etichetta = avanzamento->findChild<QLabel *>();
            QCOMPARE(etichetta->text(), QStringLiteral("Scaricamento di <font color=red>dravol.exe..."));
            QCOMPARE(etichetta->textFormat(), Qt::PlainText);
            QCOMPARE(avanzamento->maximum(), 2048);
            QTRY_COMPARE(avanzamento->value(), 1024);
            m_server->ChiudiConnessioni();
        }
        QTRY_COMPARE(prova.falliti.count(), 1);
        QCOMPARE(prova.Motivo(), Fallimento::Rete);
        QCOMPARE(prova.Segnali(), 1);
        QCOMPARE(QDir(cartella.path()).entryList(QDir::Files | QDir::Hidden), QStringList{});
        QTRY_VERIFY(prova.browser.findChild<QProgressDialog *>() == nullptr);
    }

    void scaricamentoInCartellaPiena()
    {
        CartellaPiena cartella;
        if (!cartella.Riempi())
            QSKIP(qPrintable(QStringLiteral("no full folder to be had: %1").arg(cartella.Motivo())));
        // Small enough to sit whole in a write buffer, where a failure would show only at the end.
        const QString indirizzo = ImpostaInstallazione(8 * 1024, 22);
        rispondiAlSalvataggio(cartella.Percorso(QStringLiteral("dravol.exe")));

        Prova prova;
        prova.browser.Naviga(indirizzo);
        QTRY_COMPARE(prova.Segnali(), 1);
        QCOMPARE(prova.falliti.count(), 1);
        QCOMPARE(prova.Motivo(), Fallimento::Scrittura);
        QVERIFY(!prova.browser.InCorso());
        QCOMPARE(cartella.File(), QStringList{});
    }

    void rispostaTrattenutaDuranteLaScelta_data()
    {
        QTest::addColumn<QByteArray>("tipo");
        QTest::addColumn<QList<QByteArray>>("intestazioni");
        QTest::addColumn<bool>("senzaFine");
        QTest::newRow("large setup file")
            << QByteArray("application/octet-stream") << QList<QByteArray>{} << false;
        QTest::newRow("page sent as an endless attachment")
            << QByteArray("text/html")
            << QList<QByteArray>{"Content-Disposition: attachment; filename=\"index.html\""} << true;
    }
    void rispostaTrattenutaDuranteLaScelta()
    {
        // While the user chooses where to save, the answer waits at the server, not in this program.
        QFETCH(QByteArray, tipo);
        QFETCH(QList<QByteArray>, intestazioni);
        QFETCH(bool, senzaFine);
        ServerProva::Risposta file;
        file.tipo = tipo;
        file.intestazioni = intestazioni;
        file.senzaFine = senzaFine;
        file.corpo = senzaFine ? QByteArray(64 * 1024, 'x') : QByteArray(64 * 1024 * 1024, 'x');
        m_server->Imposta("/file", file);

        // In the user's place: waits until the transfer stands still, or has gone far beyond what the
        // program and the kernel's socket buffers may hold, and notes how much the server sent.
        const qint64 limite = 32 * 1024 * 1024;
        qint64 inviati = -1;
        Scaricamento::ImpostaSceltaFile([&](QWidget *, const QString &) {
            for (int fermo = 0; fermo < 5 && m_server->Inviati() <= limite;) {
                const qint64 prima = m_server->Inviati();
                QTest::qWait(100);
                fermo = m_server->Inviati() == prima ? fermo + 1 : 0;
            }
            inviati = m_server->Inviati();
            return QString();
        });
        Prova prova;
        prova.browser.Naviga(m_server->Indirizzo("/file").toString());
        QTRY_COMPARE_WITH_TIMEOUT(prova.scaricati.count(), 1, 30000);
        QVERIFY2(inviati > 0 && inviati <= limite, qPrintable(QString::number(inviati)));
        QTRY_COMPARE(m_server->ConnessioniAperte(), 0);
    }

    void scaricamentoMutoScadeIlTempo()
    {
        const QString indirizzo = ImpostaInstallazione(1024 * 1024, 17, 1000, true);
        QTemporaryDir cartella;
        rispondiAlSalvataggio(cartella.filePath(QStringLiteral("dravol.exe")));
        BrowserIncorporato::ImpostaLimiteTempo(300ms);

        Prova prova;
        prova.browser.Naviga(indirizzo);
        QTRY_COMPARE(prova.falliti.count(), 1);
        QCOMPARE(prova.Motivo(), Fallimento::TempoScaduto);
        QCOMPARE(m_scelta->proposte.size(), 1);
        QCOMPARE(QDir(cartella.path()).entryList(QDir::Files | QDir::Hidden), QStringList{});
    }

    void salvataggioRifiutato()
    {
        const QString indirizzo = ImpostaInstallazione(1024, 18);
        rispondiAlSalvataggio(QString());

        Prova prova;
        prova.browser.Naviga(indirizzo);
        QTRY_COMPARE(prova.scaricati.count(), 1);
        QCOMPARE(prova.scaricati.constLast().at(0).toString(), QString());
        QCOMPARE(prova.Segnali(), 1);
        QVERIFY(!prova.browser.InCorso());
    }

    void salvataggioImpossibile_data()
    {
        QTest::addColumn<QString>("scelto");
        QTest::newRow("folder that does not exist") << QStringLiteral("manca/dravol.exe");
        // No file system takes it: cut at the NUL, it would name another file.
        QTest::newRow("NUL in the chosen name")
            << QStringLiteral("dravol.exe") + QChar(0) + QStringLiteral(".txt");
    }
    void salvataggioImpossibile()
    {
        QFETCH(QString, scelto);
        const QString indirizzo = ImpostaInstallazione(1024, 21);
        QTemporaryDir cartella;
        rispondiAlSalvataggio(cartella.filePath(scelto));

        Prova prova;
        prova.browser.Naviga(indirizzo);
        QTRY_COMPARE(prova.falliti.count(), 1);
        QCOMPARE(prova.Motivo(), Fallimento::Scrittura);
        QCOMPARE(prova.Segnali(), 1);
        QVERIFY(!prova.browser.InCorso());
        QCOMPARE(QDir(cartella.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{});
    }

    void scaricamentoAnnullatoDallUtente()
    {
        const QString indirizzo = ImpostaInstallazione(1024 * 1024, 19, 300 * 1024, true);
        QTemporaryDir cartella;
        rispondiAlSalvataggio(cartella.filePath(QStringLiteral("dravol.exe")));

        Prova prova;
        prova.browser.Naviga(indirizzo);
        QProgressDialog *avanzamento = nullptr;
        QTRY_VERIFY((avanzamento = prova.browser.findChild<QProgressDialog *>()) != nullptr);
        QTRY_COMPARE(avanzamento->value(), 300);
        QPushButton *annulla = avanzamento->findChild<QPushButton *>();
        QVERIFY(annulla);
        QCOMPARE(annulla->text(), QStringLiteral("Annulla"));
        annulla->click();
        QTRY_COMPARE(prova.scaricati.count(), 1);
        QCOMPARE(prova.scaricati.constLast().at(0).toString(), QString());
        QCOMPARE(prova.Segnali(), 1);
        QTRY_COMPARE(m_server->ConnessioniAperte(), 0);
        QCOMPARE(QDir(cartella.path()).entryList(QDir::Files | QDir::Hidden), QStringList{});
    }

    void distruttoDuranteLaScelta()
    {
        // The save dialog is still open when the window that holds the browser goes away.
        const QString indirizzo = ImpostaInstallazione(1024, 20);
        QTemporaryDir cartella;
        auto *prova = new Prova;
        bool chiesto = false;
        Scaricamento::ImpostaSceltaFile([&](QWidget *, const QString &) {
            chiesto = true;
            delete prova;
            return cartella.filePath(QStringLiteral("dravol.exe"));
        });
        prova->browser.Naviga(indirizzo);
        QTRY_VERIFY(chiesto);
        QTRY_COMPARE(m_server->ConnessioniAperte(), 0);
        QCOMPARE(QDir(cartella.path()).entryList(QDir::Files | QDir::Hidden), QStringList{});
    }
};

QTEST_MAIN(TestBrowserScaricamento)
#include "tst_browser_scaricamento.moc"
