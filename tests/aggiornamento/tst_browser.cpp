// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The embedded browser against a real web server on 127.0.0.1: pages and their body markup, failures
// of every kind, the time limit, cancelling, and downloads saved whole or not at all.
#include "aggiornamento/BrowserIncorporato.h"
#include "aggiornamento/Scaricamento.h"
#include "kit/Servizi.h"
#include "regole/Scansione.h"

#include "support/CartellaPiena.h"
#include "support/ServerProva.h"
#include "support/SostituzioniProva.h"

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
using Fallimento = BrowserIncorporato::Fallimento;

namespace
{

// A browser with a record of every signal it raises, its download's dialogs over a window of its own.
struct Prova {
    QWidget finestra;
    BrowserIncorporato browser;
    QSignalSpy completati{&browser, &BrowserIncorporato::DocumentoCompletato};
    QSignalSpy falliti{&browser, &BrowserIncorporato::NavigazioneFallita};
    QSignalSpy scaricati{&browser, &BrowserIncorporato::ScaricamentoTerminato};

    Prova() { browser.ImpostaFinestra(&finestra); }
    int Segnali() const { return completati.count() + falliti.count() + scaricati.count(); }
    Fallimento Motivo() const { return falliti.constLast().at(0).value<Fallimento>(); }
};

// Environment variables put back as they were when the test ends.
class AmbienteTemporaneo
{
public:
    AmbienteTemporaneo(std::initializer_list<const char *> nomi)
    {
        for (const char *nome : nomi)
            m_valori.append({nome, qgetenv(nome)});
    }
    ~AmbienteTemporaneo()
    {
        for (const auto &[nome, valore] : std::as_const(m_valori)) {
            if (valore.isNull())
                qunsetenv(nome);
            else
                qputenv(nome, valore);
        }
    }

private:
    QList<std::pair<const char *, QByteArray>> m_valori;
};

// What the update check's version criterion finds in a body, read as the 8-bit text it scans.
QList<QByteArray> VersioniNelCorpo(const QString &corpo)
{
    QList<QByteArray> valori;
    Scansione::EstraiURLConCriterio({Scansione::InWindows1252(corpo)}, valori,
                                    {false, "Versione", "-", "-", "<", {}, false, false, 0});
    return valori;
}

// The path the save dialog would have proposed, and the answer given in the user's place.
struct SceltaRegistrata {
    QList<QString> proposte;
    QString risposta;
};

} // namespace

class TestBrowser : public QObject
{
    Q_OBJECT

    ServerProva *m_server = nullptr;
    std::unique_ptr<SostituzioniProva> m_sostituzioni;
    std::shared_ptr<SceltaRegistrata> m_scelta;

    void rispondiAlSalvataggio(const QString &percorso)
    {
        m_scelta = std::make_shared<SceltaRegistrata>();
        m_scelta->risposta = percorso;
        m_sostituzioni->SceltaSalvataggio([scelta = m_scelta](QWidget *, const QString &proposta) {
            scelta->proposte.append(proposta);
            return scelta->risposta;
        });
    }

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

    // Returns once a navigation started now has run out of time: every timer of a navigation started
    // before has fired by then.
    void oltreIlLimite()
    {
        m_server->ImpostaMuto("/testimone");
        Prova testimone;
        testimone.browser.Naviga(m_server->Indirizzo("/testimone").toString());
        QTRY_COMPARE_WITH_TIMEOUT(testimone.falliti.count(), 1,
                                  int(BrowserIncorporato::LimiteTempo().count()) + 5000);
        QCOMPARE(testimone.Motivo(), Fallimento::TempoScaduto);
    }

private slots:
    void init()
    {
        m_sostituzioni = std::make_unique<SostituzioniProva>();
        m_server = new ServerProva;
    }
    void cleanup()
    {
        delete m_server;
        m_sostituzioni.reset();
        m_scelta.reset();
    }

    void paginaConCorpo_data()
    {
        QTest::addColumn<QByteArray>("tipo");
        QTest::addColumn<QByteArray>("pagina");
        QTest::addColumn<QString>("corpo");
        QTest::newRow("version page")
            << QByteArray("text/html")
            << QByteArray("<HTML><HEAD><TITLE>Kelmo</TITLE></HEAD>\r\n<BODY BGCOLOR=white>\r\n"
                          "<P>Versione 06.2002-16</P>\r\n</BODY></HTML>")
            << QStringLiteral("<body bgcolor=\"white\">\r\n<p>Versione 06.2002-16</p>\r\n</body>");
        QTest::newRow("bare text gets a body") << QByteArray("text/html") << QByteArray("Versione 06.2002-16")
                                               << QStringLiteral("<body><p>Versione 06.2002-16</p></body>");
        QTest::newRow("declared Latin-1 read as Windows-1252")
            << QByteArray("text/html; charset=ISO-8859-1") << QByteArray("<body><p>pi\xF9 \x80 5</p></body>")
            << QStringLiteral("<body><p>più € 5</p></body>");
        QTest::newRow("UTF-8 named by the page")
            << QByteArray("text/html")
            << QByteArray("<html><head><meta charset=\"utf-8\"></head><body>gi\xC3\xA0</body></html>")
            << QStringLiteral("<body>già</body>");
        QTest::newRow("no content type")
            << QByteArray() << QByteArray("<body>x</body>") << QStringLiteral("<body>x</body>");
        QTest::newRow("plain text") << QByteArray("text/plain") << QByteArray("Versione 06.2002-16")
                                    << QStringLiteral("<body><p>Versione 06.2002-16</p></body>");
        QTest::newRow("inline disposition")
            << QByteArray("text/html") << QByteArray("<body>x</body>") << QStringLiteral("<body>x</body>");
    }
    void paginaConCorpo()
    {
        QFETCH(QByteArray, tipo);
        QFETCH(QByteArray, pagina);
        QFETCH(QString, corpo);
        ServerProva::Risposta risposta;
        risposta.tipo = tipo;
        risposta.corpo = pagina;
        if (QByteArray(QTest::currentDataTag()) == "inline disposition")
            risposta.intestazioni = {"Content-Disposition: inline; filename=\"pagina.html\""};
        m_server->Imposta("/index.php", risposta);

        Prova prova;
        prova.browser.Naviga(m_server->Indirizzo("/index.php?show=ctrlvers&prg=Kelmo_DraVolo").toString());
        QVERIFY(prova.browser.InCorso());
        QTRY_COMPARE(prova.completati.count(), 1);
        QCOMPARE(prova.Segnali(), 1);
        QVERIFY(!prova.browser.InCorso());
        QCOMPARE(prova.browser.CorpoHtml().value_or(QStringLiteral("(none)")), corpo);
        QCOMPARE(m_server->Richieste(), QList<QByteArray>{"/index.php?show=ctrlvers&prg=Kelmo_DraVolo"});
        // Asked uncompressed, so that the length declared is the length of what arrives.
        QVERIFY2(m_server->Teste().constFirst().toLower().contains("\r\naccept-encoding: identity\r\n"),
                 m_server->Teste().constFirst().constData());
    }

    void byteCasualiDannoUnCorpo()
    {
        const QByteArray spazzatura = ServerProva::BytesCasuali(64 * 1024, 7);
        m_server->ImpostaPagina("/spazzatura", spazzatura);
        Prova prova;
        prova.browser.Naviga(m_server->Indirizzo("/spazzatura").toString());
        QTRY_COMPARE(prova.Segnali(), 1);
        QCOMPARE(prova.completati.count(), 1);
        const QString corpo = prova.browser.CorpoHtml().value();
        QVERIFY(corpo.startsWith(QLatin1String("<body")));
        QVERIFY(corpo.endsWith(QLatin1String("</body>")));
        // Whatever the markup, it reaches the scanner as 8-bit text and gives no version.
        QVERIFY(VersioniNelCorpo(corpo).isEmpty());
    }

    void paginaAlLimite_data()
    {
        QTest::addColumn<QByteArray>("riempimento");
        QTest::newRow("many elements") << QByteArray("<p>Estrazione del lotto, sei numeri.</p>\n");
        QTest::newRow("one run of text") << QByteArray("sei numeri ");
    }
    void paginaAlLimite()
    {
        QFETCH(QByteArray, riempimento);
        const QByteArray fine = "<P>Versione 06.2002-16</P></body></html>";
        QByteArray pagina = "<html><body>";
        while (pagina.size() + riempimento.size() + fine.size() <= BrowserIncorporato::MassimaPagina)
            pagina += riempimento;
        pagina += fine;
        m_server->ImpostaPagina("/grande", pagina);

        Prova prova;
        prova.browser.Naviga(m_server->Indirizzo("/grande").toString());
        QTRY_COMPARE_WITH_TIMEOUT(prova.Segnali(), 1, 60000);
        QCOMPARE(prova.completati.count(), 1);
        const QString corpo = prova.browser.CorpoHtml().value();
        QVERIFY(corpo.size() > BrowserIncorporato::MassimaPagina - 1024);
        QVERIFY(corpo.endsWith(QLatin1String("<p>Versione 06.2002-16</p></body>")));
        QCOMPARE(VersioniNelCorpo(corpo), QList<QByteArray>{"16"});
    }

    void paginaTroppoGrande_data()
    {
        QTest::addColumn<int>("stato");
        QTest::addColumn<bool>("senzaFine");
        QTest::newRow("beyond the limit") << 200 << false;
        QTest::newRow("error page that never ends") << 500 << true;
    }
    void paginaTroppoGrande()
    {
        // Cut off as soon as it passes the limit (an error page at once), not read to its end.
        QFETCH(int, stato);
        QFETCH(bool, senzaFine);
        ServerProva::Risposta enorme;
        enorme.stato = stato;
        enorme.senzaFine = senzaFine;
        enorme.corpo =
            QByteArray(senzaFine ? 64 * 1024 : BrowserIncorporato::MassimaPagina + 1024 * 1024, 'x');
        m_server->Imposta("/enorme", enorme);
        Prova prova;
        prova.browser.Naviga(m_server->Indirizzo("/enorme").toString());
        QTRY_COMPARE(prova.Segnali(), 1);
        QCOMPARE(prova.falliti.count(), 1);
        QCOMPARE(prova.Motivo(), stato == 200 ? Fallimento::TroppoGrande : Fallimento::StatoHttp);
        QCOMPARE(prova.browser.CorpoHtml(), std::nullopt);
        QTRY_COMPARE(m_server->ConnessioniAperte(), 0);
    }

    void senzaCorpoNessunDocumento_data()
    {
        QTest::addColumn<QByteArray>("pagina");
        QTest::newRow("empty answer") << QByteArray();
        QTest::newRow("blanks only") << QByteArray(" \r\n ");
        QTest::newRow("head only") << QByteArray("<html><head><title>Kelmo</title></head></html>");
        QTest::newRow("frameset") << QByteArray("<html><frameset><frame src=\"a.html\"></frameset></html>");
        QTest::newRow("comment only") << QByteArray("<!-- Versione 06.2002-16< -->");
    }
    void senzaCorpoNessunDocumento()
    {
        QFETCH(QByteArray, pagina);
        m_server->ImpostaPagina("/prima", "<body>prima</body>");
        m_server->ImpostaPagina("/vuota", pagina);
        Prova prova;
        prova.browser.Naviga(m_server->Indirizzo("/prima").toString());
        QTRY_COMPARE(prova.completati.count(), 1);

        prova.browser.Naviga(m_server->Indirizzo("/vuota").toString());
        QTRY_COMPARE(prova.falliti.count(), 1);
        QCOMPARE(prova.Motivo(), Fallimento::SenzaCorpo);
        QCOMPARE(prova.completati.count(), 1);
        QCOMPARE(prova.browser.CorpoHtml(), std::nullopt);
    }

    void navigazioniFallite_data()
    {
        QTest::addColumn<QString>("indirizzo");
        QTest::addColumn<Fallimento>("motivo");
        // Filled in by the test once the server's port is known: %1 is the server, %2 a closed port.
        QTest::newRow("404") << "http://127.0.0.1:%1/manca" << Fallimento::StatoHttp;
        QTest::newRow("500") << "http://127.0.0.1:%1/guasto" << Fallimento::StatoHttp;
        QTest::newRow("error status on a file") << "http://127.0.0.1:%1/negato.exe" << Fallimento::StatoHttp;
        QTest::newRow("connection refused") << "http://127.0.0.1:%2/" << Fallimento::Rete;
        QTest::newRow("TLS failure") << "https://127.0.0.1:%1/pagina" << Fallimento::Rete;
        QTest::newRow("redirect loop") << "http://127.0.0.1:%1/giro" << Fallimento::Reindirizzamenti;
        // Beyond what its parser takes Qt drops every header and goes on: the file would read as a page.
        QTest::newRow("a megabyte of headers before a file")
            << "http://127.0.0.1:%1/testa.exe" << Fallimento::Intestazioni;
        QTest::newRow("headers past the limit before a page")
            << "http://127.0.0.1:%1/testa-lunga" << Fallimento::Intestazioni;
        QTest::newRow("not a web address") << "ftp://127.0.0.1:%1/file" << Fallimento::Rete;
        QTest::newRow("empty address") << "" << Fallimento::Rete;
        // Only a final 200 is what was asked for: nothing else is read as the page or saved as the file.
        QTest::newRow("206, part of the setup file")
            << "http://127.0.0.1:%1/206.exe" << Fallimento::StatoHttp;
        QTest::newRow("304, nothing") << "http://127.0.0.1:%1/304.exe" << Fallimento::StatoHttp;
        QTest::newRow("300, a list of choices") << "http://127.0.0.1:%1/300.exe" << Fallimento::StatoHttp;
        QTest::newRow("206, part of a page") << "http://127.0.0.1:%1/206" << Fallimento::StatoHttp;
    }
    void navigazioniFallite()
    {
        QFETCH(QString, indirizzo);
        QFETCH(Fallimento, motivo);
        ServerProva::Risposta guasto;
        guasto.stato = 500;
        guasto.corpo = "<html><body>Versione 06.2002-16<</body></html>";
        m_server->Imposta("/guasto", guasto);
        ServerProva::Risposta negato;
        negato.stato = 403;
        negato.tipo = "application/octet-stream";
        negato.corpo = "MZ";
        m_server->Imposta("/negato.exe", negato);
        ServerProva::Risposta giro;
        giro.stato = 302;
        giro.intestazioni = {"Location: /giro"};
        m_server->Imposta("/giro", giro);
        m_server->ImpostaPagina("/pagina", "<body>x</body>");
        ServerProva::Risposta testa;
        testa.tipo = "application/octet-stream";
        testa.corpo = "MZ";
        for (int i = 0; i < 10000; ++i)
            testa.intestazioni << "X-Riempimento-" + QByteArray::number(i) + ": " + QByteArray(80, 'a');
        m_server->Imposta("/testa.exe", testa);
        // Each header within Qt's own bounds (100 of them, 8 kB each), all together beyond the limit.
        ServerProva::Risposta lunga;
        lunga.corpo = "<body>x</body>";
        for (int i = 0; i < 10; ++i)
            lunga.intestazioni << "X-Riempimento-" + QByteArray::number(i) + ": " + QByteArray(7000, 'a');
        m_server->Imposta("/testa-lunga", lunga);
        for (const int stato : {206, 304, 300}) {
            ServerProva::Risposta nonIntera;
            nonIntera.stato = stato;
            nonIntera.tipo = "application/octet-stream";
            nonIntera.corpo = stato == 304 ? QByteArray() : ServerProva::BytesCasuali(1000, 5);
            if (stato == 206)
                nonIntera.intestazioni = {"Content-Range: bytes 0-999/102402"};
            m_server->Imposta('/' + QByteArray::number(stato) + ".exe", nonIntera);
            nonIntera.tipo = "text/html";
            nonIntera.corpo = "<html><body>Versione 06.2002-16<</body></html>";
            m_server->Imposta('/' + QByteArray::number(stato), nonIntera);
        }
        rispondiAlSalvataggio(QDir::temp().filePath(QStringLiteral("mai.exe")));

        Prova prova;
        indirizzo.replace(QLatin1String("%1"), QString::number(m_server->Porta()))
            .replace(QLatin1String("%2"), QString::number(ServerProva::PortaChiusa()));
        prova.browser.Naviga(indirizzo);
        QCOMPARE(prova.Segnali(), 0); // never raised from inside Naviga
        QTRY_COMPARE(prova.Segnali(), 1);
        QCOMPARE(prova.falliti.count(), 1);
        QCOMPARE(prova.Motivo(), motivo);
        QVERIFY(!prova.falliti.constLast().at(1).toString().isEmpty());
        QVERIFY(!prova.browser.InCorso());
        QCOMPARE(prova.browser.CorpoHtml(), std::nullopt);
        QVERIFY(m_scelta->proposte.isEmpty());
        if (QByteArray(QTest::currentDataTag()) == "redirect loop")
            QCOMPARE(m_server->Richieste().size(), BrowserIncorporato::MassimoReindirizzamenti + 1);
    }

    void reindirizzamentoSeguito()
    {
        ServerProva::Risposta spostata;
        spostata.stato = 301;
        spostata.intestazioni = {"Location: /nuova?prg=Kelmo_DraVolo"};
        m_server->Imposta("/vecchia", spostata);
        m_server->ImpostaPagina("/nuova", "<body>Versione 06.2002-16<</body>");
        Prova prova;
        prova.browser.Naviga(m_server->Indirizzo("/vecchia").toString());
        QTRY_COMPARE(prova.completati.count(), 1);
        QCOMPARE(prova.Segnali(), 1);
        QCOMPARE(prova.browser.CorpoHtml(), QStringLiteral("<body>Versione 06.2002-16&lt;</body>"));
        QCOMPARE(prova.browser.IndirizzoDocumento(), m_server->Indirizzo("/nuova?prg=Kelmo_DraVolo"));
    }

    void serverMutoScadeIlTempo_data()
    {
        QTest::addColumn<QByteArray>("pagina"); // empty: the server never answers
        QTest::newRow("silent server") << QByteArray();
        // libxml2 checks each attribute against all the tag's others: seconds of parsing.
        QByteArray attributi = "<html><body><p";
        for (int i = 0; i < 30000; ++i)
            attributi += " a" + QByteArray::number(i);
        QTest::newRow("parse that outlives the limit") << attributi + ">x</p></body></html>";
    }
    void serverMutoScadeIlTempo()
    {
        QFETCH(QByteArray, pagina);
        if (pagina.isEmpty())
            m_server->ImpostaMuto("/muto");
        else
            m_server->ImpostaPagina("/muto", pagina);
        m_sostituzioni->LimiteTempo(400ms);

        Prova prova;
        prova.browser.Naviga(m_server->Indirizzo("/muto").toString());
        if (pagina.isEmpty())
            QTRY_COMPARE(m_server->ConnessioniAperte(), 1);
        QTRY_COMPARE(prova.falliti.count(), 1);
        QCOMPARE(prova.Motivo(), Fallimento::TempoScaduto);
        QCOMPARE(prova.Segnali(), 1);
        QTRY_COMPARE(m_server->ConnessioniAperte(), 0);
        if (!pagina.isEmpty()) {
            QVERIFY2(BrowserIncorporato::AnalisiInCorso() == 1, "the page was not being parsed at the limit");
            // The parse ends after its navigation has failed: its result is dropped, nothing more is said.
            QTRY_COMPARE_WITH_TIMEOUT(BrowserIncorporato::AnalisiInCorso(), 0, 30000);
            QCOMPARE(prova.Segnali(), 1);
            QCOMPARE(prova.browser.CorpoHtml(), std::nullopt);
            QVERIFY(!prova.browser.InCorso());
        }

        m_sostituzioni->LimiteTempo(0ms);
        QCOMPARE(BrowserIncorporato::LimiteTempo(), 20000ms);
    }

    void annullaSenzaSegnali()
    {
        m_server->ImpostaMuto("/muto");
        m_server->ImpostaPagina("/pagina", "<body>dopo</body>");
        m_sostituzioni->LimiteTempo(500ms);

        Prova prova;
        prova.browser.Naviga(m_server->Indirizzo("/muto").toString());
        QTRY_COMPARE(m_server->ConnessioniAperte(), 1);
        prova.browser.Annulla();
        QVERIFY(!prova.browser.InCorso());
        QTRY_COMPARE(m_server->ConnessioniAperte(), 0);
        // Past the time limit: a cancelled navigation reports nothing, not even its timeout.
        oltreIlLimite();
        QCOMPARE(prova.Segnali(), 0);

        // A new navigation abandons the running one just as silently.
        prova.browser.Naviga(m_server->Indirizzo("/muto").toString());
        QTRY_COMPARE(m_server->ConnessioniAperte(), 1);
        prova.browser.Naviga(m_server->Indirizzo("/pagina").toString());
        QTRY_COMPARE(prova.completati.count(), 1);
        oltreIlLimite();
        QCOMPARE(prova.Segnali(), 1);
        QCOMPARE(prova.browser.CorpoHtml(), QStringLiteral("<body>dopo</body>"));

        // Cancelling keeps the current document, and cancelling nothing is harmless.
        prova.browser.Annulla();
        QCOMPARE(prova.browser.CorpoHtml(), QStringLiteral("<body>dopo</body>"));
    }

    void annullaUnIndirizzoNonValido()
    {
        Prova prova;
        prova.browser.Naviga(QStringLiteral("ftp://127.0.0.1/"));
        prova.browser.Annulla();
        // A second browser's report of the same failure comes after the one cancelled would have.
        Prova testimone;
        testimone.browser.Naviga(QStringLiteral("ftp://127.0.0.1/"));
        QTRY_COMPARE(testimone.falliti.count(), 1);
        QCOMPARE(prova.Segnali(), 0);
    }

    void proxyDiSistema()
    {
        // The server stands in for a proxy: the page of a remote site comes through it. The machine's
        // own addresses never go through the proxy.
        const AmbienteTemporaneo ambiente{"http_proxy", "no_proxy", "NO_PROXY"};
        qunsetenv("no_proxy");
        qunsetenv("NO_PROXY");
        qputenv("http_proxy", QStringLiteral("http://127.0.0.1:%1").arg(m_server->Porta()).toLatin1());
        m_server->ImpostaPagina("/index.php", "<body>Versione 06.2002-16<</body>");
        Prova prova;
        prova.browser.Naviga(QStringLiteral("http://kelmo.invalid/index.php?prg=Kelmo_DraVolo"));
        QTRY_COMPARE(prova.Segnali(), 1);
        const QList<QByteArray> richieste = m_server->Richieste();

        qputenv("http_proxy",
                QStringLiteral("http://127.0.0.1:%1").arg(ServerProva::PortaChiusa()).toLatin1());
        prova.browser.Naviga(m_server->Indirizzo("/index.php").toString());
        QTRY_COMPARE(prova.Segnali(), 2);

        QCOMPARE(prova.completati.count(), 2);
        QCOMPARE(richieste, QList<QByteArray>{"http://kelmo.invalid/index.php?prg=Kelmo_DraVolo"});
        QCOMPARE(m_server->Richieste().constLast(), QByteArray("/index.php"));
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
        QTest::newRow("line breaks, escape and unit separator in the name")
            << QByteArray("/scarica.php") << QByteArray("application/octet-stream")
            << QList<
                   QByteArray>{"Content-Disposition: attachment; filename*=UTF-8''dra%0Avol%0D%1B[2J%1F.exe"}
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
        m_sostituzioni->SceltaSalvataggio([&](QWidget *, const QString &proposta) {
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

        // The user's downloads folder (or what stands for it) and the file's own name were proposed.
        QCOMPARE(proposte.size(), 1);
        const QFileInfo proposta(proposte.constFirst());
        QCOMPARE(proposta.fileName(), nome);
        QCOMPARE(proposta.absolutePath(),
                 QDir(Servizi::CartellaProposta(QStandardPaths::DownloadLocation)).absolutePath());

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
        QTRY_VERIFY(prova.finestra.findChild<QProgressDialog *>() == nullptr);
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
            QTRY_VERIFY((avanzamento = prova.finestra.findChild<QProgressDialog *>()) != nullptr);
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
        QTRY_VERIFY(prova.finestra.findChild<QProgressDialog *>() == nullptr);
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
        m_sostituzioni->SceltaSalvataggio([&](QWidget *, const QString &) {
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
        m_sostituzioni->LimiteTempo(300ms);

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
        QTest::addColumn<bool>("collegamento"); // the chosen name is a link to a file elsewhere
        QTest::newRow("folder that does not exist") << QStringLiteral("manca/dravol.exe") << false;
        // No file system takes it: cut at the NUL, it would name another file.
        QTest::newRow("NUL in the chosen name")
            << QStringLiteral("dravol.exe") + QChar(0) + QStringLiteral(".txt") << false;
        // Planted by another user of a shared folder: what it points to is never replaced.
        QTest::newRow("link to a file outside the folder") << QStringLiteral("dravol.exe") << true;
    }
    void salvataggioImpossibile()
    {
        QFETCH(QString, scelto);
        QFETCH(bool, collegamento);
        const QString indirizzo = ImpostaInstallazione(1024, 21);
        QTemporaryDir cartella;
        QTemporaryDir altrove;
        const QString vittima = altrove.filePath(QStringLiteral("vittima"));
        QFile(vittima).open(QIODevice::WriteOnly);
        if (collegamento)
            QVERIFY(QFile::link(vittima, cartella.filePath(scelto)));
        const QFileInfo prima(vittima);
        rispondiAlSalvataggio(cartella.filePath(scelto));

        Prova prova;
        prova.browser.Naviga(indirizzo);
        QTRY_COMPARE(prova.falliti.count(), 1);
        QCOMPARE(prova.Motivo(), Fallimento::Scrittura);
        QCOMPARE(prova.Segnali(), 1);
        QVERIFY(!prova.browser.InCorso());
        QCOMPARE(QDir(cartella.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
                 collegamento ? QStringList{scelto} : QStringList{});
        const QFileInfo dopo(vittima);
        QCOMPARE(dopo.size(), 0);
        QCOMPARE(dopo.lastModified(), prima.lastModified());
        QCOMPARE(dopo.birthTime(), prima.birthTime());
        QCOMPARE(QFileInfo(cartella.filePath(scelto)).isSymLink(), collegamento);
    }

    void scaricamentoNonCompleto_data()
    {
        // Answers that end, as far as the network layer can tell, though the file is not whole; the
        // body is given with its framing.
        QTest::addColumn<QList<QByteArray>>("intestazioni");
        QTest::addColumn<QByteArray>("corpo");
        QTest::addColumn<bool>("senzaFine");
        const QByteArray dati = ServerProva::BytesCasuali(200002, 23);
        const QList<QByteArray> aPezzi{"Transfer-Encoding: chunked"};
        QTest::newRow("chunk size past 64 bits")
            << aPezzi << "ffffffffffffffff\r\n" + dati.left(100 * 1024) << false;
        QTest::newRow("chunk size one past 2^64")
            << aPezzi << "10000000000000001\r\n" + dati.left(100 * 1024) << false;
        // A gzip stream (header, deflate data, no trailer) cut in half, declared at that length.
        const QByteArray compresso = qCompress(dati).mid(6).chopped(4);
        const QByteArray meta =
            QByteArray("\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03", 10) + compresso.left(compresso.size() / 2);
        QTest::newRow("gzip stream cut short")
            << QList<QByteArray>{"Content-Encoding: gzip",
                                 "Content-Length: " + QByteArray::number(meta.size())}
            << meta << false;
        // Framed in chunks, which the network layer follows to their proper end, and declaring a length
        // they do not make.
        QTest::newRow("chunks ending whole, short of the length declared")
            << QList<QByteArray>{"Transfer-Encoding: chunked", "Content-Length: 200002"}
            << "3e8\r\n" + dati.left(1000) + "\r\n0\r\n\r\n"
            << false;
        QTest::newRow("endless attachment with no length")
            << QList<QByteArray>{"Content-Disposition: attachment; filename=\"index.html\""}
            << QByteArray(64 * 1024, 'x') << true;
    }
    void scaricamentoNonCompleto()
    {
        // Saved only when known whole; otherwise a failed download, and nothing at the target.
        QFETCH(QList<QByteArray>, intestazioni);
        QFETCH(QByteArray, corpo);
        QFETCH(bool, senzaFine);
        ServerProva::Risposta file;
        file.tipo = "application/octet-stream";
        file.intestazioni = intestazioni;
        file.corpo = corpo;
        file.grezzo = !senzaFine;
        file.senzaFine = senzaFine;
        m_server->Imposta("/prg/dravol.exe", file);
        QTemporaryDir cartella;
        rispondiAlSalvataggio(cartella.filePath(QStringLiteral("dravol.exe")));

        Prova prova;
        prova.browser.Naviga(m_server->Indirizzo("/prg/dravol.exe").toString());
        QTRY_COMPARE(prova.Segnali(), 1);
        QCOMPARE(prova.falliti.count(), 1);
        QCOMPARE(prova.Motivo(), Fallimento::Incompleto);
        QCOMPARE(QDir(cartella.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
                 QStringList{});
        QTRY_COMPARE(m_server->ConnessioniAperte(), 0);
    }

    void scaricamentoAnnullatoDallUtente()
    {
        const QString indirizzo = ImpostaInstallazione(1024 * 1024, 19, 300 * 1024, true);
        QTemporaryDir cartella;
        rispondiAlSalvataggio(cartella.filePath(QStringLiteral("dravol.exe")));

        Prova prova;
        prova.browser.Naviga(indirizzo);
        QProgressDialog *avanzamento = nullptr;
        QTRY_VERIFY((avanzamento = prova.finestra.findChild<QProgressDialog *>()) != nullptr);
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
        m_sostituzioni->SceltaSalvataggio([&](QWidget *, const QString &) {
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

QTEST_MAIN(TestBrowser)
#include "tst_browser.moc"
