// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The update-check window against a real web server on 127.0.0.1: the question, what it shows of each
// kind of outcome (a newer build, none newer, none found, a failure), a second check in the same window, the
// download saved whole or not at all, closing in the middle of a check, the translation pass with real
// tables, the window as the main window opens it, and a wait that costs no processor time.
#include "aggiornamento/BrowserIncorporato.h"
#include "aggiornamento/Scaricamento.h"
#include "aggiornamento/TFrmControllaVersione.h"
#include "finestre/TFrmAbout.h"
#include "kit/Applicazione.h"
#include "kit/Colori.h"
#include "principale/TFrmMain.h"
#include "support/CartellaProva.h"
#include "support/Clic.h"
#include "support/Controllo.h"
#include "support/FinestreProva.h"
#include "support/RispostaBox.h"
#include "support/ServerProva.h"
#include "support/SostituzioniProva.h"
#include "support/TabelleProva.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <ctime>
#include <functional>
#include <memory>

using namespace std::chrono_literals;

namespace
{
// The controls the rows use most, by their names in the form.
QLabel *LabMessaggioGrande(const TFrmControllaVersione &finestra)
{
    return Controllo<QLabel>(finestra, "LabMessaggioGrande");
}

QLabel *LabMessaggioPiccolo(const TFrmControllaVersione &finestra)
{
    return Controllo<QLabel>(finestra, "LabMessaggioPiccolo");
}

QLabel *LabVerInternet(const TFrmControllaVersione &finestra)
{
    return Controllo<QLabel>(finestra, "LabVerInternet");
}

QPushButton *sbControlla(const TFrmControllaVersione &finestra)
{
    return Controllo<QPushButton>(finestra, "sbControlla");
}

QAbstractButton *sbEsci(const TFrmControllaVersione &finestra)
{
    return Controllo<QAbstractButton>(finestra, "sbEsci");
}

QPushButton *sbScarica(const TFrmControllaVersione &finestra)
{
    return Controllo<QPushButton>(finestra, "sbScarica");
}

const QString Domanda = QStringLiteral(
    "Per eseguire il controllo di evetuali nuove versioni bisogna essere connessi ad internet, continuo?");
const QByteArray PercorsoControllo = "/index.php?show=ctrlvers&prg=Kelmo_DraVolo";
const QString InCorso = QStringLiteral("Controllo versione in corso...");
const QString Disponibile = QStringLiteral("Disponibile una nuove versione!!");
const QString Nessuna = QStringLiteral("Nessuna nuova versione disponibile.");
const QString PremiScarica = QStringLiteral("Premi su scarica e chiudi il programma.");
const QString Impossibile = QStringLiteral("Impossibile scaricare la nuova versione.");
const QString ImpossibileSenzaPunto = QStringLiteral("Impossibile scaricare la nuova versione");
const QString NonDisponibile = QStringLiteral("Non disponibile");
const QColor Verde(0, 128, 0);
// The designed red cannot reach a readable contrast on a light background: it is drawn darker.
const QColor Rosso = Contrasto::Leggibile(QColor(255, 0, 0), Contrasto::SfondoChiaro);
const QColor Nero(0, 0, 0);

QByteArray Pagina(const QByteArray &testo)
{
    return "<HTML><HEAD><TITLE>Kelmo</TITLE></HEAD>\r\n<BODY>\r\n<P>" + testo + "</P>\r\n</BODY></HTML>";
}

double SecondiCpuProcesso()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

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
    return {Controllo<QLabel>(f, "LabVerAttuale")->text(),
            LabVerInternet(f)->text(),
            LabMessaggioGrande(f)->text(),
            LabMessaggioGrande(f)->palette().color(QPalette::WindowText),
            LabMessaggioPiccolo(f)->text(),
            sbControlla(f)->isEnabled(),
            sbScarica(f)->isEnabled()};
}

QStringList Elementi(const QListWidget *lista)
{
    QStringList testi;
    for (int i = 0; i < lista->count(); ++i)
        testi << lista->item(i)->text();
    return testi;
}

// Shows the window, answers the question and returns once the activation is over, together with the
// check that a Yes starts (the check runs inside the activation).
[[nodiscard]] bool Apri(TFrmControllaVersione &finestra, RispostaBox &box,
                        QMessageBox::StandardButton risposta)
{
    const qsizetype prima = box.Visti().size();
    box.Rispondi(risposta);
    finestra.show();
    return QTest::qWaitFor([&] { return box.Visti().size() > prima && !finestra.InAttesa(); }, 60000);
}

} // namespace

class TestControllaVersione : public QObject
{
    Q_OBJECT

    std::unique_ptr<FinestreProva> m_finestre;
    ServerProva *m_server = nullptr;
    std::unique_ptr<SostituzioniProva> m_sostituzioni;

    QString Sito() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_server->Porta()); }

    void ImpostaControllo(const QByteArray &pagina) { m_server->ImpostaPagina("/index.php", pagina); }

    // The version page publishes build 16, the setup file is served as given, as a file, and the user
    // saves it as `nome` in `cartella`. Returns the path it is saved to; the proposed paths go to
    // `proposte`.
    QString ImpostaSitoConInstallazione(ServerProva::Risposta file, const QTemporaryDir &cartella,
                                        const QString &nome = QStringLiteral("dravol.exe"),
                                        QStringList *proposte = nullptr)
    {
        ImpostaControllo(Pagina("Versione 06.2002-16"));
        file.tipo = "application/octet-stream";
        m_server->Imposta("/prg/dravol.exe", file);
        const QString destinazione = cartella.filePath(nome);
        m_sostituzioni->SceltaSalvataggio([destinazione, proposte](QWidget *, const QString &proposta) {
            if (proposte)
                *proposte << proposta;
            return destinazione;
        });
        return destinazione;
    }

    // The version page is asked for and never answered.
    void ControlloMuto() { m_server->ImpostaMuto("/index.php"); }

private slots:
    void initTestCase()
    {
        Applicazione::ImpostaSostituzioniCaratteri();
        IncorporaModulo();
    }

    void init()
    {
        m_finestre = std::make_unique<FinestreProva>();
        m_server = new ServerProva;
        m_sostituzioni = std::make_unique<SostituzioniProva>();
        m_sostituzioni->IndirizzoSito(Sito());
    }
    void cleanup()
    {
        m_sostituzioni.reset();
        delete m_server;
        m_finestre.reset();
    }

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
        // What the window shows of each kind of outcome; every outcome of a check, as its signal, is
        // tst_controlloversione's.
        caricata("newer build 16 > 15", Pagina("Versione 06.2002-16"), "16", true);
        caricata("same build", Pagina("Versione 05.2002-15"), "15", false);
        caricata("no Versione on the page", Pagina("Ultima release 06.2002-16"), "", false);
        fallita("404", 404, Pagina("Non trovato"), {}, false, false);
        fallita("server that stalls", 200, {}, {}, true, false);
        fallita("refused connection", 200, {}, {}, false, true);
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
            m_sostituzioni->IndirizzoSito(
                QStringLiteral("http://127.0.0.1:%1").arg(ServerProva::PortaChiusa()));
        m_sostituzioni->LimiteTempo(silenzio ? 300ms : 30000ms);

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
        QCOMPARE(finestra.Controllo().PagineCaricate(), pagine);
        if (!portaChiusa)
            QCOMPARE(m_server->Richieste().value(0), PercorsoControllo);
        // Nothing is left loading once the outcome is shown.
        QVERIFY(!finestra.Controllo().Browser().InCorso());
        QCOMPARE(box.Inattesi(), 0);
    }

    void secondoControllo_data()
    {
        QTest::addColumn<QByteArray>("prima");
        QTest::addColumn<QByteArray>("seconda"); // empty: the second page is not found
        // The address the published version is read from: the first found by any check.
        QTest::addColumn<QStringList>("valori");
        QTest::addColumn<QString>("verInternet");
        QTest::addColumn<QString>("grande");
        QTest::addColumn<bool>("scarica");
        QTest::addColumn<int>("pagine");

        QTest::newRow("the first version found is still compared")
            << Pagina("Versione 06.2002-16") << Pagina("Versione 04.2002-14") << QStringList{"16"} << "16"
            << Disponibile << true << 2;
        QTest::newRow("an older first version hides a newer second")
            << Pagina("Versione 04.2002-14") << Pagina("Versione 06.2002-16") << QStringList{"14"} << "14"
            << Nessuna << false << 2;
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
        QCOMPARE(finestra.Controllo().PagineCaricate(), 1);

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
        Clic(sbControlla(finestra));

        // While it waited the window showed the previous result, with Controlla disabled.
        QVERIFY(inAttesa.has_value());
        QCOMPARE(inAttesa->grande, primo.grande);
        QCOMPARE(inAttesa->colore, primo.colore);
        QCOMPARE(inAttesa->verInternet, primo.verInternet);
        QVERIFY(!inAttesa->controlla);
        QCOMPARE(inAttesa->scarica, primo.scarica);

        QCOMPARE(m_server->Richieste(), (QList<QByteArray>{PercorsoControllo, PercorsoControllo}));
        QCOMPARE(finestra.Controllo().PagineCaricate(), pagine);
        QCOMPARE(Elementi(Controllo<QListWidget>(finestra, "ListURL")), valori);
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
        QCOMPARE(Controllo<QLabel>(finestra, "LabVerAttuale")->text(), QString());
        QCOMPARE(LabVerInternet(finestra)->text(), QString());
        QCOMPARE(LabMessaggioPiccolo(finestra)->text(), QString());
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
        QVERIFY(sbEsci(finestra)->isEnabled());
        QVERIFY(!sbEsci(finestra)->icon().isNull());
        QCOMPARE(sbEsci(finestra)->accessibleName(), sbEsci(finestra)->toolTip());
        // The browser is no control of the window; the result list and the address field are out of the
        // user's sight, and whatever the window shows lies within it.
        for (const QWidget *controllo : finestra.findChildren<QWidget *>()) {
            if (controllo->isVisible())
                QVERIFY2(finestra.rect().contains(
                             QRect(controllo->mapTo(&finestra, QPoint(0, 0)), controllo->size())),
                         qPrintable(controllo->objectName()));
        }
        QVERIFY(!Controllo<QListWidget>(finestra, "ListURL")->isVisible());
        QVERIFY(!Controllo<QLineEdit>(finestra, "Editurl")->isVisible());

        // Scarica, disabled, does nothing, by its key either. (The keys act in the active window: the box
        // that has just closed may have left no window active.)
        finestra.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&finestra));
        QVERIFY(sbScarica(finestra)->toolTip().endsWith(QStringLiteral(" (Alt+S)")));
        QTest::keyClick(&finestra, Qt::Key_S, Qt::AltModifier);
        QVERIFY(m_server->Richieste().isEmpty());
        // From there Controlla, pressed by its key, named in its hint, checks as usual, without asking
        // again.
        QCOMPARE(sbControlla(finestra)->toolTip(), QStringLiteral("Controlla versione (Alt+C)"));
        QTest::keyClick(&finestra, Qt::Key_C, Qt::AltModifier);
        QCOMPARE(LabMessaggioGrande(finestra)->text(), Disponibile);
        QCOMPARE(LabVerInternet(finestra)->text(), QStringLiteral("16"));
        QCOMPARE(box.Visti().size(), 1);
    }

    void scaricaSalvaIlFileIntero()
    {
        const QByteArray contenuto = ServerProva::BytesCasuali(2 * 1024 * 1024 + 5, 15);
        ServerProva::Risposta file;
        file.corpo = contenuto;
        QTemporaryDir cartella;
        QStringList proposte;
        const QString destinazione =
            ImpostaSitoConInstallazione(file, cartella, QStringLiteral("salvato.exe"), &proposte);

        RispostaBox box;
        TFrmControllaVersione finestra;
        const QString indirizzo = Sito() + QStringLiteral("/prg/dravol.exe");
        QCOMPARE(Controllo<QLineEdit>(finestra, "Editurl")->text(), indirizzo);
        QCOMPARE(sbScarica(finestra)->toolTip(), indirizzo + QStringLiteral(" (Alt+S)"));
        QVERIFY(Apri(finestra, box, QMessageBox::Yes));
        QVERIFY(sbScarica(finestra)->isEnabled());

        // Pressed by its key, as a click would.
        finestra.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&finestra));
        QTest::keyClick(&finestra, Qt::Key_S, Qt::AltModifier);
        QVERIFY(!sbScarica(finestra)->isEnabled());
        QTRY_VERIFY(!finestra.Controllo().Browser().InCorso());
        QCOMPARE(m_server->Richieste().constLast(), QByteArray("/prg/dravol.exe"));
        QCOMPARE(proposte.size(), 1);
        QVERIFY(proposte[0].endsWith(QLatin1String("/dravol.exe")));
        QFile salvato(destinazione);
        QVERIFY(salvato.open(QIODevice::ReadOnly));
        QVERIFY(salvato.readAll() == contenuto);
        QCOMPARE(QDir(cartella.path()).entryList(QDir::Files), QStringList{"salvato.exe"});
        // The window goes on as it was; the button stays disabled.
        QVERIFY(!sbScarica(finestra)->isEnabled());
        QCOMPARE(LabMessaggioGrande(finestra)->text(), Disponibile);
        QCOMPARE(LabMessaggioPiccolo(finestra)->text(), PremiScarica);
        QCOMPARE(finestra.Controllo().PagineCaricate(), 1);
        QCOMPARE(box.Inattesi(), 0);
    }

    void scaricamentoInterrottoNonLasciaFile_data()
    {
        QTest::addColumn<bool>("pagina");
        // The connection drops midway. (How each kind of broken download is detected is the browser's
        // business, tested with it.)
        QTest::newRow("connection dropped midway") << false;
        // The setup file's address answers with a page: a document like any other, but no download.
        QTest::newRow("a page instead of the file") << true;
    }
    void scaricamentoInterrottoNonLasciaFile()
    {
        // Nothing is saved and the window says so.
        QFETCH(bool, pagina);
        ServerProva::Risposta file;
        file.corpo = ServerProva::BytesCasuali(1024 * 1024, 3);
        file.taglio = 300 * 1024;
        QTemporaryDir cartella;
        ImpostaSitoConInstallazione(file, cartella);
        if (pagina)
            m_server->ImpostaPagina("/prg/dravol.exe", Pagina("Manutenzione in corso"));

        RispostaBox box;
        TFrmControllaVersione finestra;
        QVERIFY(Apri(finestra, box, QMessageBox::Yes));
        Clic(sbScarica(finestra));
        QTRY_COMPARE(LabMessaggioPiccolo(finestra)->text(), ImpossibileSenzaPunto);
        QVERIFY(!finestra.Controllo().Browser().InCorso());
        QVERIFY(QDir(cartella.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
        QVERIFY(!sbScarica(finestra)->isEnabled());
        QCOMPARE(LabMessaggioGrande(finestra)->text(), Disponibile);
        QCOMPARE(finestra.Controllo().PagineCaricate(), pagina ? 2 : 1);
        QCOMPARE(box.Visti().size(), 1);

        // A later check finds the newer build again and gives the button back.
        Clic(sbControlla(finestra));
        QVERIFY(sbScarica(finestra)->isEnabled());
        QCOMPARE(LabMessaggioPiccolo(finestra)->text(), PremiScarica);
    }

    void scaricaDuranteUnControllo()
    {
        // Scarica stays usable while a later check waits; the download takes the place of the check's
        // page, and the check must end rather than wait for a page that can no longer come.
        ServerProva::Risposta file;
        file.corpo = ServerProva::BytesCasuali(64 * 1024, 4);
        QTemporaryDir cartella;
        const QString destinazione = ImpostaSitoConInstallazione(file, cartella);

        RispostaBox box;
        TFrmControllaVersione finestra;
        QVERIFY(Apri(finestra, box, QMessageBox::Yes));
        ControlloMuto();
        m_sostituzioni->LimiteTempo(60000ms);

        bool premuto = false;
        bool soccorso = false;
        QTimer utente;
        utente.setInterval(5);
        connect(&utente, &QTimer::timeout, this, [&] {
            if (!premuto && finestra.InAttesa() && m_server->ConnessioniAperte() == 1) {
                premuto = true;
                Clic(sbScarica(finestra));
            }
        });
        // Only for a wait that does not end: closing is the way out of it.
        QTimer soccorritore;
        soccorritore.setSingleShot(true);
        connect(&soccorritore, &QTimer::timeout, this, [&] {
            soccorso = true;
            finestra.close();
        });
        utente.start();
        soccorritore.start(20000);
        Clic(sbControlla(finestra));
        utente.stop();
        soccorritore.stop();

        QVERIFY(premuto);
        QVERIFY(!soccorso);
        QCOMPARE(LabVerInternet(finestra)->text(), NonDisponibile);
        QVERIFY(sbControlla(finestra)->isEnabled());
        QTRY_VERIFY(QFile::exists(destinazione));
        QFile salvato(destinazione);
        QVERIFY(salvato.open(QIODevice::ReadOnly));
        QVERIFY(salvato.readAll() == file.corpo);
        QCOMPARE(box.Inattesi(), 0);
    }

    void chiusuraDuranteLAttesa_data()
    {
        QTest::addColumn<QString>("come");
        QTest::newRow("close box") << "chiusura";
        QTest::newRow("exit button") << "sbEsci";
        QTest::newRow("Escape") << "Esc";
    }
    void chiusuraDuranteLAttesa()
    {
        QFETCH(QString, come);
        ControlloMuto();
        // Far beyond the moment of the close request: a wait that only this limit ends was not ended by
        // the close.
        m_sostituzioni->LimiteTempo(10000ms);

        RispostaBox box;
        box.Rispondi(QMessageBox::Yes);
        QWidget principale;
        principale.show();
        QVERIFY(QTest::qWaitForWindowExposed(&principale));
        // As the main window runs it: modal, then destroyed as soon as its modal run is over.
        auto finestra = std::make_unique<TFrmControllaVersione>(&principale);
        const QPointer<TFrmControllaVersione> guardia(finestra.get());
        QSignalSpy fallite(&finestra->Controllo().Browser(), &BrowserIncorporato::NavigazioneFallita);
        bool chiesto = false;
        bool restataAperta = false;
        QTimer utente;
        utente.setInterval(5);
        connect(&utente, &QTimer::timeout, this, [&] {
            if (!guardia)
                return;
            if (!chiesto && guardia->InAttesa() && m_server->ConnessioniAperte() == 1) {
                chiesto = true;
                if (come == QLatin1String("chiusura"))
                    guardia->close();
                else if (come == QLatin1String("sbEsci"))
                    Clic(sbEsci(*guardia));
                else
                    QTest::keyClick(guardia.data(), Qt::Key_Escape);
            } else if (chiesto && guardia->isVisible() && !guardia->InAttesa()) {
                // The request was lost: the check ran to its time limit and the window stayed.
                restataAperta = true;
                guardia->QDialog::done(QDialog::Rejected);
            }
        });
        utente.start();
        const int esito = finestra->exec();
        finestra.reset();
        utente.stop();

        QVERIFY(chiesto);
        QVERIFY(!restataAperta);
        QCOMPARE(esito, int(QDialog::Rejected));
        QVERIFY(guardia.isNull());
        // The page's loading was given up, not left to run to its time limit.
        QCOMPARE(fallite.count(), 0);
        QTRY_COMPARE(m_server->ConnessioniAperte(), 0);
        QCOMPARE(box.Visti().size(), 1);
    }

    void distruttaDuranteLAttesa()
    {
        // A window not run modally may be destroyed while its check waits: the check must not touch it.
        ControlloMuto();
        m_sostituzioni->LimiteTempo(30000ms);
        RispostaBox box;
        box.Rispondi(QMessageBox::Yes);
        auto *finestra = new TFrmControllaVersione;
        const QPointer<TFrmControllaVersione> guardia(finestra);
        QTimer utente;
        utente.setInterval(5);
        connect(&utente, &QTimer::timeout, this, [&] {
            if (guardia && guardia->InAttesa() && m_server->ConnessioniAperte() == 1)
                delete guardia.data();
        });
        utente.start();
        finestra->show();
        QTRY_VERIFY(guardia.isNull());
        utente.stop();
        QTRY_COMPARE(m_server->ConnessioniAperte(), 0);
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
        const QStringList testi{finestra.windowTitle(), Controllo<QLabel>(finestra, "Label1")->text(),
                                Controllo<QLabel>(finestra, "Label2")->text(), sbScarica(finestra)->text(),
                                sbControlla(finestra)->text()};
        QCOMPARE(testi, attesi);
        QVERIFY2(risposte.VistiIniziano(box), qPrintable(risposte.TitoliETesti().join('\n')));
        QCOMPARE(LabMessaggioGrande(finestra)->text(), InCorso);

        // Whatever the pass did, the window checks as it should.
        QCOMPARE(Controllo<QLineEdit>(finestra, "Editurl")->text(),
                 Sito() + QStringLiteral("/prg/dravol.exe"));
        QVERIFY(Apri(finestra, risposte, QMessageBox::Yes));
        QCOMPARE(m_server->Richieste(), QList<QByteArray>{PercorsoControllo});
        QCOMPARE(LabMessaggioGrande(finestra)->text(), Disponibile);
        QCOMPARE(LabVerInternet(finestra)->text(), QStringLiteral("16"));
        QVERIFY(sbScarica(finestra)->isEnabled());
        QCOMPARE(risposte.Inattesi(), 0);
    }

    void dalMenuDellaFinestraPrincipale()
    {
        ImpostaControllo(Pagina("Versione 06.2002-16"));
        CartellaProva cartella;
        RispostaBox box;
        TFrmMain principale;
        principale.show();
        QVERIFY(QTest::qWaitForWindowExposed(&principale));

        struct Apertura {
            QPointer<TFrmControllaVersione> finestra;
            QWidget *genitore = nullptr;
            Qt::WindowModality modalita = Qt::NonModal;
            bool modale = false;
            qsizetype pagine = 0;
            QString grande;
        };
        QList<Apertura> aperture;
        QTimer pilota;
        pilota.setInterval(5);
        connect(&pilota, &QTimer::timeout, this, [&] {
            auto *finestra = principale.findChild<TFrmControllaVersione *>();
            // Once the question is answered and whatever it started is over.
            if (!finestra || !finestra->isVisible() || finestra->InAttesa() ||
                LabMessaggioGrande(*finestra)->text() == InCorso ||
                (!aperture.isEmpty() && aperture.constLast().finestra == finestra))
                return;
            aperture.append({finestra, finestra->parentWidget(), finestra->windowModality(),
                             QGuiApplication::modalWindow() == finestra->windowHandle(),
                             finestra->Controllo().PagineCaricate(), LabMessaggioGrande(*finestra)->text()});
            Clic(sbEsci(*finestra));
        });
        pilota.start();
        box.Rispondi(QMessageBox::Yes);
        Controllo<QAction>(principale, "Controllaversione1")->trigger();
        box.Rispondi(QMessageBox::No);
        Controllo<QAction>(principale, "Controllaversione1")->trigger();
        pilota.stop();

        QCOMPARE(aperture.size(), 2);
        for (const Apertura &a : aperture) {
            QCOMPARE(a.genitore, &principale);
            QCOMPARE(a.modalita, Qt::WindowModal);
            QVERIFY(a.modale);
            QVERIFY(a.finestra.isNull());
        }
        QVERIFY(principale.findChildren<TFrmControllaVersione *>().isEmpty());
        // Each opening starts afresh: asked again, with no page of the earlier one.
        QCOMPARE(aperture[0].grande, Disponibile);
        QCOMPARE(aperture[0].pagine, 1);
        QCOMPARE(aperture[1].grande, QString());
        QCOMPARE(aperture[1].pagine, 0);
        QCOMPARE(box.Visti().size(), 2);
        QCOMPARE(box.Visti()[1].testo, Domanda);
        QCOMPARE(m_server->Richieste(), QList<QByteArray>{PercorsoControllo});
    }

    void lAttesaNonConsumaProcessore()
    {
        // About a second of waiting on a server that never answers: the wait sleeps until something
        // happens instead of spinning.
        ControlloMuto();
        m_sostituzioni->LimiteTempo(1000ms);
        TFrmControllaVersione finestra;

        QElapsedTimer muro;
        const double cpuPrima = SecondiCpuProcesso();
        muro.start();
        sbControlla(finestra)->click();
        const double secondi = double(muro.nsecsElapsed()) / 1e9;
        const double cpu = SecondiCpuProcesso() - cpuPrima;

        // It waited for the time limit, not less.
        QCOMPARE(LabVerInternet(finestra)->text(), NonDisponibile);
        QVERIFY2(secondi > 0.5, qPrintable(QString::number(secondi)));
        QVERIFY2(
            cpu < 0.2 * secondi,
            qPrintable(QStringLiteral("%1 s of processor time in %2 s of waiting").arg(cpu).arg(secondi)));
    }
};

QTEST_MAIN(TestControllaVersione)
#include "tst_controllaversione.moc"
