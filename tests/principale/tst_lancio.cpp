// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Hand-over to the desktop: the composed mail address and the address the opener receives, web
// addresses and files, and the help command of the main window.
#include "kit/Servizi.h"
#include "principale/TFrmMain.h"
#include "support/AperturaProva.h"
#include "support/CartellaProva.h"
#include "support/RispostaBox.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// The value of a key of an encoded mailto address, decoded as the mail client does.
QString valore(const QByteArray &codificato, const QByteArray &chiave)
{
    const qsizetype inizio = codificato.indexOf(chiave);
    if (inizio < 0)
        return QStringLiteral("(missing key)");
    const qsizetype da = inizio + chiave.size();
    const qsizetype fine = codificato.indexOf('&', da);
    return QUrl::fromPercentEncoding(codificato.mid(da, fine < 0 ? -1 : fine - da));
}
} // namespace

class TestLancio : public QObject
{
    Q_OBJECT
private slots:
    void mail_data()
    {
        QTest::addColumn<QString>("oggetto");
        QTest::addColumn<QString>("corpo");
        QTest::newRow("bug report") << "Bug: Kelmo_DraVolo, 05.2002-15"
                                    << "Di seguito la segnalzione del bug:";
        QTest::newRow("information request") << "Inf: Kelmo_DraVolo, 05.2002-15"
                                             << "Vorrei ricevere informazioni in più per quanto riguarda:";
        QTest::newRow("empty subject and body keep their keys") << ""
                                                                << "";
        QTest::newRow("characters that mean something in an address") << "a&b=c?d#e%20f+g"
                                                                      << "riga 1\nriga 2 / 100%";
    }
    void mail()
    {
        QFETCH(QString, oggetto);
        QFETCH(QString, corpo);
        const QString indirizzo = QStringLiteral("supporto@kelmo.example");
        AperturaProva apertura;
        Servizi::ComponiMail(indirizzo, oggetto, corpo);
        QCOMPARE(apertura.Aperti.size(), 1);
        const QUrl url = apertura.Aperti[0];
        QCOMPARE(url.scheme(), QStringLiteral("mailto"));
        QCOMPARE(url.path(), indirizzo);
        // The opener and the mail client get the same pieces in the same order, each value encoded so
        // that it comes back exactly as composed.
        const QByteArray codificato = url.toEncoded();
        QVERIFY2(codificato.startsWith("mailto:supporto@kelmo.example?subject="), codificato.constData());
        QVERIFY2(codificato.indexOf("?subject=") < codificato.indexOf("&body="), codificato.constData());
        for (const char c : codificato)
            QVERIFY2(c > ' ' && c < 127, codificato.constData());
        QCOMPARE(valore(codificato, "?subject="), oggetto);
        QCOMPARE(valore(codificato, "&body="), corpo);
    }

    void mailCodificata()
    {
        // What xdg-open receives for the information request: "più" as UTF-8, blanks as %20.
        AperturaProva apertura;
        Servizi::ComponiMail(QStringLiteral("supporto@kelmo.example"),
                             QStringLiteral("Inf: Kelmo_DraVolo, 05.2002-15"), QStringLiteral("in più:"));
        QCOMPARE(apertura.Aperti.size(), 1);
        QCOMPARE(apertura.Aperti[0].toEncoded(),
                 QByteArray("mailto:supporto@kelmo.example?subject=Inf%3A%20Kelmo_DraVolo%2C%2005.2002-15"
                            "&body=in%20pi%C3%B9%3A"));
    }

    void collegamento_data()
    {
        QTest::addColumn<QString>("obiettivo");
        QTest::addColumn<QUrl>("url");
        QTest::newRow("site address") << "http://www.kelmo.example" << QUrl("http://www.kelmo.example");
        QTest::newRow("secure address with path")
            << "https://www.kelmo.example/prg/dravol.exe" << QUrl("https://www.kelmo.example/prg/dravol.exe");
        QTest::newRow("address without scheme") << "www.kelmo.example" << QUrl("http://www.kelmo.example");
        QTest::newRow("file with blanks")
            << "/tmp/una cartella/help.html" << QUrl::fromLocalFile("/tmp/una cartella/help.html");
    }
    void collegamento()
    {
        QFETCH(QString, obiettivo);
        QFETCH(QUrl, url);
        AperturaProva apertura;
        Servizi::ApriCollegamento(obiettivo);
        QCOMPARE(apertura.Aperti, QList<QUrl>{url});
    }

    void guida_data()
    {
        QTest::addColumn<bool>("accanto");
        QTest::addColumn<QByteArray>("sottocartella"); // the executable's folder within the test's folder
        QTest::newRow("missing beside the executable") << false << QByteArray();
        QTest::newRow("beside the executable") << true << QByteArray();
        QTest::newRow("missing in a folder whose name is not UTF-8") << false << QByteArray("citt\xe0");
        QTest::newRow("beside the executable in a folder whose name is not UTF-8")
            << true << QByteArray("citt\xe0");
    }
    void guida()
    {
        // Looked for next to the executable, whatever the working directory: a help.html there is not
        // the one opened. A folder name that Qt cannot decode is still the folder used, and the opener
        // gets its real bytes.
        QFETCH(bool, accanto);
        QFETCH(QByteArray, sottocartella);
        CartellaProva cartella;
        QByteArray vera = QFile::encodeName(cartella.Percorso());
        if (!sottocartella.isEmpty()) {
            vera += '/' + sottocartella;
            QVERIFY(::mkdir(vera.constData(), 0700) == 0);
            Servizi::ImpostaCartellaEseguibile(Servizi::CartellaDi(vera + "/kelmo-dravolo"));
        }
        const QByteArray guida = vera + "/help.html";
        if (accanto) {
            std::FILE *file = std::fopen(guida.constData(), "w");
            QVERIFY(file && std::fputs("<html></html>", file) >= 0 && std::fclose(file) == 0);
        }
        const auto pulisci = qScopeGuard([&] {
            if (!sottocartella.isEmpty()) {
                ::unlink(guida.constData());
                ::rmdir(vera.constData());
            }
        });
        QTemporaryDir altra;
        QVERIFY(QFile(altra.filePath(QStringLiteral("help.html"))).open(QIODevice::WriteOnly));
        const QString precedente = QDir::currentPath();
        QVERIFY(QDir::setCurrent(altra.path()));
        TFrmMain finestra;
        AperturaProva apertura;
        RispostaBox risposte;
        finestra.Help1->trigger();
        QDir::setCurrent(precedente);
        if (accanto) {
            QVERIFY(risposte.Visti().isEmpty());
            QCOMPARE(apertura.Aperti.size(), 1);
            // Decoded as the opener decodes it, the address names the file's real bytes.
            const QByteArray indirizzo = apertura.Aperti[0].toEncoded();
            QVERIFY2(indirizzo.startsWith("file:///"), indirizzo.constData());
            QCOMPARE(QByteArray::fromPercentEncoding(indirizzo.mid(7)), guida);
            return;
        }
        QCOMPARE(risposte.TitoliETesti(),
                 QStringList{"Errore|Impossibile aprire la guida, file help.html non trovato"});
        QCOMPARE(risposte.Visti()[0].icona, QMessageBox::Critical);
        QVERIFY(apertura.Aperti.isEmpty());
    }

    void cartellaProposta_data()
    {
        QTest::addColumn<QByteArray>("casa"); // HOME within the test's folder; null: unset
        QTest::addColumn<bool>("documenti");  // HOME holds Documents
        QTest::addColumn<QByteArray>(
            "attesa"); // the folder proposed, within the test's folder; "/": the root
        QTest::newRow("the documents folder") << QByteArray("casa") << true << QByteArray("casa/Documents");
        QTest::newRow("no documents folder: the home") << QByteArray("casa") << false << QByteArray("casa");
        QTest::newRow("a home whose name is not UTF-8")
            << QByteArray("caf\xe9") << false << QByteArray("caf\xe9");
        QTest::newRow("no home: the root, not the working directory")
            << QByteArray() << false << QByteArray("/");
    }
    void cartellaProposta()
    {
        // Where the save dialogs open: a place of the user's that exists, its bytes kept.
        QFETCH(QByteArray, casa);
        QFETCH(bool, documenti);
        QFETCH(QByteArray, attesa);
        QTemporaryDir cartella;
        const QByteArray base = QFile::encodeName(cartella.path()) + '/';
        const QByteArray precedente = qgetenv("HOME");
        const QByteArray configurazione = qgetenv("XDG_CONFIG_HOME");
        const auto ripristina = qScopeGuard([&] {
            qputenv("HOME", precedente);
            qputenv("XDG_CONFIG_HOME", configurazione);
        });
        // No user-dirs.dirs of the user's: the documents folder is HOME/Documents.
        qputenv("XDG_CONFIG_HOME", base);
        if (casa.isNull()) {
            qunsetenv("HOME");
        } else {
            QVERIFY(::mkdir((base + casa).constData(), 0700) == 0);
            if (documenti)
                QVERIFY(::mkdir((base + casa + "/Documents").constData(), 0700) == 0);
            qputenv("HOME", base + casa);
        }
        const QString proposta = Servizi::CartellaProposta(QStandardPaths::DocumentsLocation);
        const QByteArray vera = attesa == "/" ? attesa : base + attesa;
        QCOMPARE(QFile::encodeName(QDir::cleanPath(Servizi::PercorsoMostrato(proposta))),
                 QFile::encodeName(QDir::cleanPath(QFile::decodeName(vera))));
        // The very folder, whatever its name: the same file on the same device.
        struct stat proposto {
        }, atteso{};
        QVERIFY(::stat(QFile::encodeName(proposta).constData(), &proposto) == 0);
        QVERIFY(::stat(vera.constData(), &atteso) == 0);
        QCOMPARE(std::pair(proposto.st_dev, proposto.st_ino), std::pair(atteso.st_dev, atteso.st_ino));
        ::rmdir((base + casa + "/Documents").constData());
        ::rmdir((base + casa).constData());
    }
};

QTEST_MAIN(TestLancio)
#include "tst_lancio.moc"
