// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The update check on its own, against a real web server on 127.0.0.1, in a process that cannot make a
// widget (a QCoreApplication: the first widget would abort it): the addresses, every outcome of a check
// as the signal that ends it, the program key's row of the criterion table, and a download that takes
// the browser from a waiting check.

#include "aggiornamento/ControlloVersione.h"
#include "aggiornamento/Scaricamento.h"
#include "kit/Identita.h"
#include "support/ServerProva.h"
#include "support/SostituzioniProva.h"

#include <QSignalSpy>
#include <QTest>

using namespace std::chrono_literals;

namespace
{

const QByteArray PercorsoControllo = "/index.php?show=ctrlvers&prg=Kelmo_DraVolo";

QByteArray Pagina(const QByteArray &testo)
{
    return "<HTML><HEAD><TITLE>Kelmo</TITLE></HEAD>\r\n<BODY>\r\n<P>" + testo + "</P>\r\n</BODY></HTML>";
}

// The signals a check object raises, in one list, each as its name and arguments.
struct Segnali {
    explicit Segnali(ControlloVersione &controllo)
        : concluso(&controllo, &ControlloVersione::ControlloConcluso),
          fallito(&controllo, &ControlloVersione::ControlloFallito),
          scaricamento(&controllo, &ControlloVersione::ScaricamentoFallito)
    {
    }
    int Totale() const { return concluso.count() + fallito.count() + scaricamento.count(); }
    // Waits for that many signals in all, then a little more for any further one.
    [[nodiscard]] bool Attendi(int quanti = 1)
    {
        const bool arrivato = QTest::qWaitFor([&] { return Totale() >= quanti; }, 30000);
        QTest::qWait(50);
        return arrivato;
    }
    QSignalSpy concluso;
    QSignalSpy fallito;
    QSignalSpy scaricamento;
};

} // namespace

class TestControlloVersione : public QObject
{
    Q_OBJECT

    ServerProva *m_server = nullptr;
    std::unique_ptr<SostituzioniProva> m_sostituzioni;

    QString Sito() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_server->Porta()); }

    // The setup file served at once, which the user declines to save.
    void FileCheLUtenteNonSalva()
    {
        ServerProva::Risposta file;
        file.tipo = "application/octet-stream";
        file.corpo = ServerProva::BytesCasuali(4096, 3);
        m_server->Imposta("/prg/dravol.exe", file);
        m_sostituzioni->SceltaSalvataggio([](QWidget *, const QString &) { return QString(); });
    }

private slots:
    void init()
    {
        m_server = new ServerProva;
        m_sostituzioni = std::make_unique<SostituzioniProva>();
        m_sostituzioni->IndirizzoSito(Sito());
    }
    void cleanup()
    {
        m_sostituzioni.reset();
        delete m_server;
    }

    void indirizzi()
    {
        ControlloVersione controllo;
        QCOMPARE(controllo.IndirizzoControllo(), Sito() + QString::fromLatin1(PercorsoControllo));
        QCOMPARE(controllo.IndirizzoScaricamento(), Sito() + QStringLiteral("/prg/dravol.exe"));
        QCOMPARE(controllo.VersioneAttuale(), 15);
    }

    void esitoDiUnControllo_data()
    {
        QTest::addColumn<int>("stato");
        QTest::addColumn<QByteArray>("corpo");
        QTest::addColumn<QList<QByteArray>>("intestazioni");
        QTest::addColumn<bool>("silenzio");
        QTest::addColumn<bool>("portaChiusa");
        QTest::addColumn<bool>("riuscito");
        QTest::addColumn<int>("pubblicata");
        QTest::addColumn<bool>("nuova");

        const QByteArray riga = "<p>Estrazione del lotto, sei numeri su novanta.</p>\n";
        const QByteArray fine = "<P>Versione 06.2002-16</P></BODY></HTML>";
        QByteArray grande = "<HTML><BODY>";
        while (grande.size() + riga.size() + fine.size() <= BrowserIncorporato::MassimaPagina)
            grande += riga;
        grande += fine;

        // A page that loads: the build found, and whether it is newer than 15.
        const auto caricata = [](const char *nome, const QByteArray &corpo, int pubblicata, bool nuova) {
            QTest::newRow(nome) << 200 << corpo << QList<QByteArray>{} << false << false << true << pubblicata
                                << nuova;
        };
        const auto fallita = [](const char *nome, int stato, const QByteArray &corpo,
                                const QList<QByteArray> &intestazioni, bool silenzio, bool portaChiusa) {
            QTest::newRow(nome) << stato << corpo << intestazioni << silenzio << portaChiusa << false << 0
                                << false;
        };
        caricata("newer build 16 > 15", Pagina("Versione 06.2002-16"), 16, true);
        caricata("same build", Pagina("Versione 05.2002-15"), 15, false);
        caricata("older build", Pagina("Versione 04.2002-14"), 14, false);
        caricata("leading zeros", Pagina("Versione 06.2002-016"), 16, true);
        caricata("build 0", Pagina("Versione 06.2002-0"), 0, false);
        caricata("no Versione on the page", Pagina("Ultima release 06.2002-16"), 0, false);
        caricata("garbage bytes", ServerProva::BytesCasuali(64 * 1024, 16), 0, false);
        caricata("page at the size limit", grande, 16, true);
        fallita("404", 404, Pagina("Non trovato"), {}, false, false);
        fallita("500 with a version on its error page", 500, Pagina("Versione 06.2002-16"), {}, false, false);
        fallita("refused connection", 200, {}, {}, false, true);
        fallita("redirect loop", 302, {}, {"Location: " + PercorsoControllo}, false, false);
        fallita("server that stalls", 200, {}, {}, true, false);
        fallita("answer without any document", 200, {}, {}, false, false);
    }
    void esitoDiUnControllo()
    {
        QFETCH(int, stato);
        QFETCH(QByteArray, corpo);
        QFETCH(QList<QByteArray>, intestazioni);
        QFETCH(bool, silenzio);
        QFETCH(bool, portaChiusa);
        QFETCH(bool, riuscito);
        QFETCH(int, pubblicata);
        QFETCH(bool, nuova);

        ServerProva::Risposta risposta;
        risposta.stato = stato;
        risposta.corpo = corpo;
        risposta.intestazioni = intestazioni;
        risposta.silenzio = silenzio;
        m_server->Imposta("/index.php", risposta);
        if (portaChiusa)
            m_sostituzioni->IndirizzoSito(
                QStringLiteral("http://127.0.0.1:%1").arg(ServerProva::PortaChiusa()));
        m_sostituzioni->LimiteTempo(silenzio ? 300ms : 30000ms);

        ControlloVersione controllo;
        Segnali segnali(controllo);
        controllo.Controlla();
        QVERIFY(controllo.InControllo());
        QVERIFY(segnali.Attendi());

        // Exactly one signal ends the check.
        QCOMPARE(segnali.Totale(), 1);
        QCOMPARE(segnali.concluso.count(), riuscito ? 1 : 0);
        QCOMPARE(segnali.fallito.count(), riuscito ? 0 : 1);
        if (riuscito)
            QCOMPARE(segnali.concluso.constFirst(), (QVariantList{pubblicata, nuova}));
        QCOMPARE(controllo.PagineCaricate(), riuscito ? 1 : 0);
        if (!portaChiusa)
            QCOMPARE(m_server->Richieste().value(0), PercorsoControllo);
        QVERIFY(!controllo.InControllo());
        QVERIFY(!controllo.Browser().InCorso());
    }

    void chiaveDelProgramma_data()
    {
        QTest::addColumn<QString>("chiave");
        QTest::addColumn<bool>("nuova");
        QTest::newRow("as the About window shows it") << "Kelmo_DraVolo" << true;
        QTest::newRow("upper case finds the row") << "KELMO_DRAVOLO" << true;
        // Only A to Z are turned to lower case.
        QTest::newRow("accented letter") << QString::fromUtf8("Kelmo_DrAvolò") << false;
        QTest::newRow("key in no row") << "Kelmo_Altro" << false;
    }
    void chiaveDelProgramma()
    {
        QFETCH(QString, chiave);
        QFETCH(bool, nuova);
        m_sostituzioni->Identita(chiave, {});
        m_server->ImpostaPagina("/index.php", Pagina("Versione 06.2002-16"));

        ControlloVersione controllo;
        QCOMPARE(controllo.IndirizzoControllo(),
                 Sito() + QStringLiteral("/index.php?show=ctrlvers&prg=") + chiave);
        Segnali segnali(controllo);
        controllo.Controlla();
        QVERIFY(segnali.Attendi());
        QCOMPARE(segnali.concluso.count(), 1);
        // A key in no row has no criterion: no version is ever found.
        QCOMPARE(segnali.concluso.constFirst(), (QVariantList{nuova ? 16 : 0, nuova}));
        // The key travels in the address with its case unchanged.
        QCOMPARE(m_server->Richieste().value(0),
                 QByteArray("/index.php?show=ctrlvers&prg=") + QUrl::toPercentEncoding(chiave, "_"));
        QCOMPARE(controllo.PagineCaricate(), 1);
    }

    void scaricamentoDuranteUnControllo_data()
    {
        QTest::addColumn<bool>("pagina");
        QTest::newRow("the user declines the save") << false;
        QTest::newRow("a page where the file was expected") << true;
    }
    void scaricamentoDuranteUnControllo()
    {
        // The download takes the browser from a check that waits: the check fails once the download
        // ends, however it ends, and the download's own failure is the check's.
        QFETCH(bool, pagina);
        m_server->ImpostaMuto("/index.php");
        if (pagina)
            m_server->ImpostaPagina("/prg/dravol.exe", Pagina("Manutenzione"));
        else
            FileCheLUtenteNonSalva();
        m_sostituzioni->SceltaSalvataggio([](QWidget *, const QString &) { return QString(); });
        m_sostituzioni->LimiteTempo(30000ms);

        ControlloVersione controllo;
        Segnali segnali(controllo);
        controllo.Controlla();
        QTRY_COMPARE(m_server->ConnessioniAperte(), 1);
        controllo.Scarica();
        QVERIFY(segnali.Attendi());
        QCOMPARE(segnali.Totale(), 1);
        QCOMPARE(segnali.fallito.count(), 1);
        QCOMPARE(controllo.PagineCaricate(), pagina ? 1 : 0);

        // Outside a check, only the page met where the file was expected says so.
        controllo.Scarica();
        if (pagina)
            QVERIFY(segnali.Attendi(2));
        QTRY_VERIFY(!controllo.Browser().InCorso());
        QTest::qWait(50);
        QCOMPARE(segnali.scaricamento.count(), pagina ? 1 : 0);
        QCOMPARE(segnali.Totale(), pagina ? 2 : 1);
    }

    void nienteRestaDiUnAbbandono_data()
    {
        // What the user does, in order; what answers at once (the version page, or the setup file that
        // the user declines to save) while the other address stays silent; and how many checks end
        // concluded. An abandoned download or check leaves nothing that the next one would mistake for
        // its own.
        QTest::addColumn<QStringList>("passi");
        QTest::addColumn<bool>("paginaRisponde");
        QTest::addColumn<int>("conclusi");
        QTest::newRow("a check after the download it abandons")
            << QStringList{"Scarica", "Controlla"} << true << 1;
        QTest::newRow("a check after a download abandoned with Annulla")
            << QStringList{"Scarica", "Annulla", "Controlla"} << true << 1;
        QTest::newRow("a declined download after a check abandoned with Annulla")
            << QStringList{"Controlla", "Annulla", "Scarica"} << false << 0;
    }
    void nienteRestaDiUnAbbandono()
    {
        QFETCH(QStringList, passi);
        QFETCH(bool, paginaRisponde);
        QFETCH(int, conclusi);
        if (paginaRisponde) {
            m_server->ImpostaPagina("/index.php", Pagina("Versione 06.2002-16"));
            m_server->ImpostaMuto("/prg/dravol.exe");
        } else {
            m_server->ImpostaMuto("/index.php");
            FileCheLUtenteNonSalva();
        }
        m_sostituzioni->LimiteTempo(30000ms);

        ControlloVersione controllo;
        Segnali segnali(controllo);
        qsizetype navigazioni = 0;
        for (const QString &passo : std::as_const(passi)) {
            if (passo == QLatin1String("Annulla")) {
                controllo.Annulla();
                continue;
            }
            passo == QLatin1String("Scarica") ? controllo.Scarica() : controllo.Controlla();
            // Each navigation reaches the server before the next step abandons it.
            ++navigazioni;
            QTRY_COMPARE(m_server->Richieste().size(), navigazioni);
        }
        QTRY_VERIFY(!controllo.Browser().InCorso());
        QTest::qWait(50);
        QCOMPARE(segnali.concluso.count(), conclusi);
        if (conclusi)
            QCOMPARE(segnali.concluso.constFirst(), (QVariantList{16, true}));
        QCOMPARE(segnali.Totale(), conclusi);
        QVERIFY(!controllo.InControllo());
    }
};

QTEST_GUILESS_MAIN(TestControlloVersione)
#include "tst_controlloversione.moc"
