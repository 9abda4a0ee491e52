// The update-check window against a real web server on 127.0.0.1: the question, every outcome of a
// check (newer, equal, older, no version, broken and hostile answers, failures and the time limit), a
// second check in the same window, and the translation pass with real tables. The download and the
// window's life around a check are in tst_controllaversione_attesa.
#include "app/Applicazione.h"
#include "app/Colori.h"
#include "support/CartellaProva.h"
#include "support/Clic.h"
#include "support/TabelleProva.h"
#include "update/ProvaControllo.h"
#include "windows/TFrmAbout.h"

#include <QTest>

using namespace std::chrono_literals;

namespace
{

const QColor Verde(0, 128, 0);
// The designed red cannot reach a readable contrast on a light background: it is drawn darker.
const QColor Rosso = Colori::Leggibile(QColor(255, 0, 0), Colori::SfondoChiaro);
const QColor Nero(0, 0, 0);

// What the user sees of the outcome.
struct Stato {
    QString verAttuale;
    QString verInternet;
    QString grande;
    QColor colore;
    QString piccolo;
    bool controlla = false;
    bool scarica = false;
};

Stato StatoDi(const TFrmControllaVersione &f)
{
    return {f.LabVerAttuale->text(),       f.LabVerInternet->text(),
            f.LabMessaggioGrande->text(),  f.LabMessaggioGrande->palette().color(QPalette::WindowText),
            f.LabMessaggioPiccolo->text(), f.sbControlla->isEnabled(),
            f.sbScarica->isEnabled()};
}

QStringList Elementi(const QListWidget *lista)
{
    QStringList testi;
    for (int i = 0; i < lista->count(); ++i)
        testi << lista->item(i)->text();
    return testi;
}

} // namespace

class TestControllaVersione : public QObject, private SitoControllo
{
    Q_OBJECT

private slots:
    void initTestCase() { Applicazione::ImpostaSostituzioniCaratteri(); }
    void init() { Prepara(); }
    void cleanup() { Riordina(); }

    void esitoDiUnControllo_data()
    {
        QTest::addColumn<int>("stato");
        QTest::addColumn<QByteArray>("corpo");
        QTest::addColumn<QList<QByteArray>>("intestazioni");
        QTest::addColumn<bool>("silenzio");
        QTest::addColumn<bool>("portaChiusa");
        QTest::addColumn<QString>("verInternet");
        QTest::addColumn<QString>("grande");
        QTest::addColumn<QColor>("colore");
        QTest::addColumn<QString>("piccolo");
        QTest::addColumn<bool>("scarica");
        QTest::addColumn<int>("pagine");

        const QByteArray riga = "<p>Estrazione del lotto, sei numeri su novanta.</p>\n";
        const QByteArray fine = "<P>Versione 06.2002-16</P></BODY></HTML>";
        QByteArray grande = "<HTML><BODY>";
        while (grande.size() + riga.size() + fine.size() <= BrowserIncorporato::MassimaPagina)
            grande += riga;
        grande += fine;

        // A page that loads: the build found, and whether it is newer than 15.
        const auto caricata = [](const char *nome, const QByteArray &corpo, const QString &verInternet,
                                 bool nuova) {
            QTest::newRow(nome) << 200 << corpo << QList<QByteArray>{} << false << false << verInternet
                                << (nuova ? Disponibile : Nessuna) << (nuova ? Verde : Rosso)
                                << (nuova ? PremiScarica : Impossibile) << nuova << 1;
        };
        // A failed navigation: nothing is scanned, and the large label no longer says a check is running.
        const auto fallita = [](const char *nome, int stato, const QByteArray &corpo,
                                const QList<QByteArray> &intestazioni, bool silenzio, bool portaChiusa) {
            QTest::newRow(nome) << stato << corpo << intestazioni << silenzio << portaChiusa << NonDisponibile
                                << QString() << Nero << ImpossibileSenzaPunto << false << 0;
        };
        caricata("newer build 16 > 15", Pagina("Versione 06.2002-16"), "16", true);
        caricata("same build", Pagina("Versione 05.2002-15"), "15", false);
        caricata("older build", Pagina("Versione 04.2002-14"), "14", false);
        caricata("leading zeros shown plain", Pagina("Versione 06.2002-016"), "16", true);
        caricata("build 0 not shown", Pagina("Versione 06.2002-0"), "", false);
        caricata("no Versione on the page", Pagina("Ultima release 06.2002-16"), "", false);
        caricata("garbage bytes", ServerProva::BytesCasuali(64 * 1024, 16), "", false);
        caricata("page at the size limit", grande, "16", true);
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
        QFETCH(QString, verInternet);
        QFETCH(QString, grande);
        QFETCH(QColor, colore);
        QFETCH(QString, piccolo);
        QFETCH(bool, scarica);
        QFETCH(int, pagine);

        ServerProva::Risposta risposta;
        risposta.stato = stato;
        risposta.corpo = corpo;
        risposta.intestazioni = intestazioni;
        risposta.silenzio = silenzio;
        m_server->Imposta("/index.php", risposta);
        if (portaChiusa)
            TFrmControllaVersione::ImpostaIndirizzoSito(
                QStringLiteral("http://127.0.0.1:%1").arg(ServerProva::PortaChiusa()));
        BrowserIncorporato::ImpostaLimiteTempo(silenzio ? 300ms : 30000ms);

        RispostaBox box;
        TFrmControllaVersione finestra;
        QVERIFY(Apri(finestra, box, QMessageBox::Yes));

        QCOMPARE(box.Visti().size(), 1);
        QCOMPARE(box.Visti()[0].titolo, QStringLiteral("Richiesta."));
        QCOMPARE(box.Visti()[0].testo, Domanda);
        QCOMPARE(box.Visti()[0].pulsanti, QMessageBox::Yes | QMessageBox::No);
        const Stato s = StatoDi(finestra);
        QCOMPARE(s.verAttuale, QStringLiteral("15"));
        QCOMPARE(s.verInternet, verInternet);
        QCOMPARE(s.grande, grande);
        QCOMPARE(s.colore, colore);
        QCOMPARE(s.piccolo, piccolo);
        QVERIFY(s.controlla);
        QCOMPARE(s.scarica, scarica);
        QCOMPARE(finestra.PagineCaricate().size(), pagine);
        if (!portaChiusa)
            QCOMPARE(m_server->Richieste().value(0), PercorsoControllo);
        // Nothing is left loading once the outcome is shown.
        QVERIFY(!finestra.WebBrowser1->InCorso());
        QCOMPARE(box.Inattesi(), 0);
    }

    void chiaveDelProgramma_data()
    {
        QTest::addColumn<QString>("chiave");
        QTest::addColumn<QString>("grande");
        QTest::newRow("as the About window shows it") << "Kelmo_DraVolo" << Disponibile;
        QTest::newRow("upper case finds the row") << "KELMO_DRAVOLO" << Disponibile;
        // Only A to Z are turned to lower case.
        QTest::newRow("accented letter") << QString::fromUtf8("Kelmo_DrAvolò") << Nessuna;
        QTest::newRow("key in no row") << "Kelmo_Altro" << Nessuna;
    }
    void chiaveDelProgramma()
    {
        QFETCH(QString, chiave);
        QFETCH(QString, grande);
        m_finestre->About().LabelPrg->setText(chiave);
        ImpostaControllo(Pagina("Versione 06.2002-16"));

        RispostaBox box;
        TFrmControllaVersione finestra;
        QCOMPARE(finestra.IndirizzoControllo(),
                 Sito() + QStringLiteral("/index.php?show=ctrlvers&prg=") + chiave);
        QVERIFY(Apri(finestra, box, QMessageBox::Yes));
        QCOMPARE(finestra.LabMessaggioGrande->text(), grande);
        // The key travels in the address with its case unchanged.
        QCOMPARE(m_server->Richieste().value(0),
                 QByteArray("/index.php?show=ctrlvers&prg=") + QUrl::toPercentEncoding(chiave, "_"));
        QCOMPARE(finestra.PagineCaricate().size(), 1);
    }

    void secondoControllo_data()
    {
        QTest::addColumn<QByteArray>("prima");
        QTest::addColumn<QByteArray>("seconda"); // empty: the second page is not found
        // Each check scans every page kept so far and appends what it finds.
        QTest::addColumn<QStringList>("valori");
        QTest::addColumn<QString>("verInternet");
        QTest::addColumn<QString>("grande");
        QTest::addColumn<bool>("scarica");
        QTest::addColumn<int>("pagine");

        QTest::newRow("the first version found is still compared")
            << Pagina("Versione 06.2002-16") << Pagina("Versione 04.2002-14") << QStringList{"16", "16", "14"}
            << "16" << Disponibile << true << 2;
        QTest::newRow("an older first version hides a newer second")
            << Pagina("Versione 04.2002-14") << Pagina("Versione 06.2002-16") << QStringList{"14", "14", "16"}
            << "14" << Nessuna << false << 2;
        QTest::newRow("no version first, then a newer one")
            << Pagina("Manutenzione") << Pagina("Versione 06.2002-16") << QStringList{"16"} << "16"
            << Disponibile << true << 2;
        QTest::newRow("second page not found")
            << Pagina("Versione 06.2002-16") << QByteArray() << QStringList{"16"} << NonDisponibile
            << Disponibile << true << 1;
    }
    void secondoControllo()
    {
        QFETCH(QByteArray, prima);
        QFETCH(QByteArray, seconda);
        QFETCH(QStringList, valori);
        QFETCH(QString, verInternet);
        QFETCH(QString, grande);
        QFETCH(bool, scarica);
        QFETCH(int, pagine);

        ImpostaControllo(prima);
        RispostaBox box;
        TFrmControllaVersione finestra;
        QVERIFY(Apri(finestra, box, QMessageBox::Yes));
        const Stato primo = StatoDi(finestra);
        QCOMPARE(finestra.PagineCaricate().size(), 1);

        if (seconda.isEmpty()) {
            ServerProva::Risposta manca;
            manca.stato = 404;
            m_server->Imposta("/index.php", manca);
        } else {
            ImpostaControllo(seconda);
        }
        // Posted before the press, so it runs at the first turn of the check's wait.
        std::optional<Stato> inAttesa;
        QMetaObject::invokeMethod(
            this,
            [&] {
                if (finestra.InAttesa())
                    inAttesa = StatoDi(finestra);
            },
            Qt::QueuedConnection);
        Clic(finestra.sbControlla);

        // While it waited the window showed the previous result, with Controlla disabled.
        QVERIFY(inAttesa.has_value());
        QCOMPARE(inAttesa->grande, primo.grande);
        QCOMPARE(inAttesa->colore, primo.colore);
        QCOMPARE(inAttesa->verInternet, primo.verInternet);
        QVERIFY(!inAttesa->controlla);
        QCOMPARE(inAttesa->scarica, primo.scarica);

        QCOMPARE(m_server->Richieste(), (QList<QByteArray>{PercorsoControllo, PercorsoControllo}));
        QCOMPARE(finestra.PagineCaricate().size(), pagine);
        QCOMPARE(Elementi(finestra.ListURL), valori);
        const Stato s = StatoDi(finestra);
        QCOMPARE(s.verInternet, verInternet);
        QCOMPARE(s.grande, grande);
        QCOMPARE(s.colore, grande == Disponibile ? Verde : Rosso);
        QCOMPARE(s.scarica, scarica);
        QVERIFY(s.controlla);
        QCOMPARE(box.Visti().size(), 1);
    }

    void rispostaNo()
    {
        ImpostaControllo(Pagina("Versione 06.2002-16"));
        RispostaBox box;
        TFrmControllaVersione finestra;
        // The labels never show the names the form file gives them.
        QCOMPARE(finestra.LabVerAttuale->text(), QString());
        QCOMPARE(finestra.LabVerInternet->text(), QString());
        QCOMPARE(finestra.LabMessaggioPiccolo->text(), QString());
        QVERIFY(Apri(finestra, box, QMessageBox::No));

        QCOMPARE(box.Visti().size(), 1);
        QCOMPARE(box.Visti()[0].testo, Domanda);
        const Stato s = StatoDi(finestra);
        QCOMPARE(s.verAttuale, QStringLiteral("15"));
        QCOMPARE(s.grande, QString());
        QCOMPARE(s.verInternet, QString());
        QCOMPARE(s.piccolo, QString());
        QVERIFY(s.controlla);
        QVERIFY(!s.scarica);
        QVERIFY(m_server->Richieste().isEmpty());
        // The only other way out: the exit button, pictured, named for a screen reader by its hint.
        QVERIFY(finestra.sbEsci->isEnabled());
        QVERIFY(!finestra.sbEsci->icon().isNull());
        QCOMPARE(finestra.sbEsci->accessibleName(), finestra.sbEsci->toolTip());
        // The browser, the result list and the address field are out of the user's sight.
        QVERIFY(!QRect(QPoint(0, 0), finestra.size()).intersects(finestra.WebBrowser1->geometry()));
        QVERIFY(!finestra.ListURL->isVisible());
        QVERIFY(!finestra.Editurl->isVisible());

        // From there a press on Controlla checks as usual, without asking again.
        Clic(finestra.sbControlla);
        QCOMPARE(finestra.LabMessaggioGrande->text(), Disponibile);
        QCOMPARE(finestra.LabVerInternet->text(), QStringLiteral("16"));
        QCOMPARE(box.Visti().size(), 1);
    }

    void traduzione_data()
    {
        QTest::addColumn<QString>("lingua");     // empty: no settings table
        QTest::addColumn<bool>("erroreMotore");  // the lookup of Label2's text fails in the engine
        QTest::addColumn<QStringList>("attesi"); // title, Label1, Label2, sbScarica, sbControlla
        QTest::addColumn<QStringList>("box");    // caption|start of the text of each box before the question

        const QStringList italiani{"Controllo eventuali aggiornamenti disponibili", "Versione attuale",
                                   "Versione disponibile su internet", "Scarica", "Controlla"};
        const QStringList inglesi{"Check for available updates", "Current version",
                                  "Version available online", "Download", "Check"};
        QTest::newRow("Inglese") << "Inglese" << false << inglesi << QStringList{};
        QTest::newRow("engine error in the middle of the pass")
            << "Inglese" << true << (inglesi.mid(0, 2) + italiani.mid(2))
            << QStringList{"Kelmo_Dravolo|Errore di lettura in lingua.db: integer overflow"};
        QTest::newRow("no settings table")
            << "" << false << italiani
            << QStringList{"Errore|Errore di lettura in parametri di impostazione, campo: LINGUA",
                           "Kelmo_Dravolo|Nessuna lingua impostata"};
    }
    void traduzione()
    {
        QFETCH(QString, lingua);
        QFETCH(bool, erroreMotore);
        QFETCH(QStringList, attesi);
        QFETCH(QStringList, box);

        CartellaProva cartella;
        cartella.Scrivi(QStringLiteral("lingua.db"), {});
        TabelleProva tabelle;
        if (!lingua.isEmpty())
            tabelle.Lingua(lingua);
        const QList<QPair<QString, QString>> righe{
            {"Controllo eventuali aggiornamenti disponibili", "Check for available updates"},
            {"Versione attuale", "Current version"},
            {"Versione disponibile su internet", "Version available online"},
            {"Scarica", "Download"},
            {"Controlla", "Check"},
            // Status texts are never translated, even when the table holds them.
            {"Controllo versione in corso...", "Checking..."},
            {"Disponibile una nuove versione!!", "A new version is available!!"},
        };
        if (erroreMotore) {
            // A table the engine reads row by row: the row of Label2's text fails when it is read.
            QStringList istruzioni{QStringLiteral("create table righe (ITALIANO text, Inglese text)")};
            for (const auto &[italiano, inglese] : righe)
                istruzioni << QStringLiteral("insert into righe values ('%1', '%2')").arg(italiano, inglese);
            istruzioni << QStringLiteral(
                "create view lingua as select ITALIANO, case when ITALIANO = 'Versione "
                "disponibile su internet' then abs(-9223372036854775808) else Inglese "
                "end as Inglese from righe");
            tabelle.Esegui(QStringLiteral("lingua.db"), istruzioni);
        } else {
            tabelle.Traduzioni(righe);
        }
        ImpostaControllo(Pagina("Versione 06.2002-16"));

        RispostaBox risposte;
        for (int i = 0; i < box.size(); ++i)
            risposte.Rispondi(QMessageBox::Ok);
        TFrmControllaVersione finestra;
        const QStringList testi{finestra.windowTitle(), finestra.Label1->text(), finestra.Label2->text(),
                                finestra.sbScarica->text(), finestra.sbControlla->text()};
        QCOMPARE(testi, attesi);
        QVERIFY2(risposte.VistiIniziano(box), qPrintable(risposte.TitoliETesti().join('\n')));
        QCOMPARE(finestra.LabMessaggioGrande->text(), InCorso);

        // Whatever the pass did, the window checks as it should.
        QCOMPARE(finestra.Editurl->text(), Sito() + QStringLiteral("/prg/dravol.exe"));
        QVERIFY(Apri(finestra, risposte, QMessageBox::Yes));
        QCOMPARE(m_server->Richieste(), QList<QByteArray>{PercorsoControllo});
        QCOMPARE(finestra.LabMessaggioGrande->text(), Disponibile);
        QCOMPARE(finestra.LabVerInternet->text(), QStringLiteral("16"));
        QVERIFY(finestra.sbScarica->isEnabled());
        QCOMPARE(risposte.Inattesi(), 0);
    }
};

QTEST_MAIN(TestControllaVersione)
#include "tst_controllaversione.moc"
