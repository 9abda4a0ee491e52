// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Hand-over to the desktop: the composed mail address and the address the opener receives, web
// addresses and files, and the folder the save dialogs propose; the seams put back as they were.
#include "kit/Servizi.h"
#include "support/AperturaProva.h"
#include "support/SostituzioniProva.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
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

class TestServizi : public QObject
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

    void sostituzioniRipristinate()
    {
        // Each helper puts back only what it changed, whether the helpers nest or overlap.
        const QString vera = Servizi::CartellaEseguibile();
        auto prima = std::make_unique<SostituzioniProva>();
        prima->CartellaEseguibile(QStringLiteral("/a"));
        {
            SostituzioniProva dentro;
            dentro.CartellaEseguibile(QStringLiteral("/b"))
                .IndirizzoSito(QStringLiteral("http://127.0.0.1:1"));
            QCOMPARE(Servizi::CartellaEseguibile(), QStringLiteral("/b/"));
        }
        QCOMPARE(Servizi::CartellaEseguibile(), QStringLiteral("/a/"));
        QCOMPARE(Sostituzioni::Attuali().IndirizzoSito, QString());

        auto dopo = std::make_unique<SostituzioniProva>();
        dopo->IndirizzoSito(QStringLiteral("http://127.0.0.1:2"));
        prima.reset();
        QCOMPARE(Servizi::CartellaEseguibile(), vera);
        QCOMPARE(Sostituzioni::Attuali().IndirizzoSito, QStringLiteral("http://127.0.0.1:2"));
        dopo.reset();
        QCOMPARE(Sostituzioni::Attuali().IndirizzoSito, QString());
    }
};

QTEST_MAIN(TestServizi)
#include "tst_servizi.moc"
