// The update-check window's download and its life around a check, against a real web server on
// 127.0.0.1: the download saved whole or not at all, a download in the middle of a check, closing or
// destroying the window while a check waits, the window as the main window opens it, and a wait that
// costs no processor time.
#include "app/Applicazione.h"
#include "main/TFrmMain.h"
#include "support/CartellaProva.h"
#include "support/Clic.h"
#include "update/ProvaControllo.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <ctime>

using namespace std::chrono_literals;

namespace
{

double SecondiCpuProcesso()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

} // namespace

class TestControllaVersioneAttesa : public QObject, private SitoControllo
{
    Q_OBJECT

private slots:
    void initTestCase() { Applicazione::ImpostaSostituzioniCaratteri(); }
    void init() { Prepara(); }
    void cleanup() { Riordina(); }

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
        QCOMPARE(finestra.Editurl->text(), indirizzo);
        QCOMPARE(finestra.sbScarica->toolTip(), indirizzo);
        QVERIFY(Apri(finestra, box, QMessageBox::Yes));
        QVERIFY(finestra.sbScarica->isEnabled());

        Clic(finestra.sbScarica);
        QVERIFY(!finestra.sbScarica->isEnabled());
        QTRY_VERIFY(!finestra.WebBrowser1->InCorso());
        QCOMPARE(m_server->Richieste().constLast(), QByteArray("/prg/dravol.exe"));
        QCOMPARE(proposte.size(), 1);
        QVERIFY(proposte[0].endsWith(QLatin1String("/dravol.exe")));
        QFile salvato(destinazione);
        QVERIFY(salvato.open(QIODevice::ReadOnly));
        QVERIFY(salvato.readAll() == contenuto);
        QCOMPARE(QDir(cartella.path()).entryList(QDir::Files), QStringList{"salvato.exe"});
        // The window goes on as it was; the button stays disabled.
        QVERIFY(!finestra.sbScarica->isEnabled());
        QCOMPARE(finestra.LabMessaggioGrande->text(), Disponibile);
        QCOMPARE(finestra.LabMessaggioPiccolo->text(), PremiScarica);
        QCOMPARE(finestra.PagineCaricate().size(), 1);
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
        Clic(finestra.sbScarica);
        QTRY_COMPARE(finestra.LabMessaggioPiccolo->text(), ImpossibileSenzaPunto);
        QVERIFY(!finestra.WebBrowser1->InCorso());
        QVERIFY(QDir(cartella.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
        QVERIFY(!finestra.sbScarica->isEnabled());
        QCOMPARE(finestra.LabMessaggioGrande->text(), Disponibile);
        QCOMPARE(finestra.PagineCaricate().size(), pagina ? 2 : 1);
        QCOMPARE(box.Visti().size(), 1);

        // A later check finds the newer build again and gives the button back.
        Clic(finestra.sbControlla);
        QVERIFY(finestra.sbScarica->isEnabled());
        QCOMPARE(finestra.LabMessaggioPiccolo->text(), PremiScarica);
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
        BrowserIncorporato::ImpostaLimiteTempo(60000ms);

        bool premuto = false;
        bool soccorso = false;
        QTimer utente;
        utente.setInterval(5);
        connect(&utente, &QTimer::timeout, this, [&] {
            if (!premuto && finestra.InAttesa() && m_server->ConnessioniAperte() == 1) {
                premuto = true;
                Clic(finestra.sbScarica);
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
        Clic(finestra.sbControlla);
        utente.stop();
        soccorritore.stop();

        QVERIFY(premuto);
        QVERIFY(!soccorso);
        QCOMPARE(finestra.LabVerInternet->text(), NonDisponibile);
        QVERIFY(finestra.sbControlla->isEnabled());
        QTRY_VERIFY(QFile::exists(destinazione));
        QFile salvato(destinazione);
        QVERIFY(salvato.open(QIODevice::ReadOnly));
        QVERIFY(salvato.readAll() == file.corpo);
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
        BrowserIncorporato::ImpostaLimiteTempo(10000ms);

        RispostaBox box;
        box.Rispondi(QMessageBox::Yes);
        QWidget principale;
        principale.show();
        QVERIFY(QTest::qWaitForWindowExposed(&principale));
        // As the main window runs it: modal, then destroyed as soon as its modal run is over.
        auto finestra = std::make_unique<TFrmControllaVersione>(&principale);
        const QPointer<TFrmControllaVersione> guardia(finestra.get());
        QSignalSpy fallite(finestra->WebBrowser1, &BrowserIncorporato::NavigazioneFallita);
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
                    Clic(guardia->sbEsci);
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
        BrowserIncorporato::ImpostaLimiteTempo(30000ms);
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
                finestra->LabMessaggioGrande->text() == InCorso ||
                (!aperture.isEmpty() && aperture.constLast().finestra == finestra))
                return;
            aperture.append({finestra, finestra->parentWidget(), finestra->windowModality(),
                             QGuiApplication::modalWindow() == finestra->windowHandle(),
                             finestra->PagineCaricate().size(), finestra->LabMessaggioGrande->text()});
            Clic(finestra->sbEsci);
        });
        pilota.start();
        box.Rispondi(QMessageBox::Yes);
        principale.Controllaversione1->trigger();
        box.Rispondi(QMessageBox::No);
        principale.Controllaversione1->trigger();
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
        BrowserIncorporato::ImpostaLimiteTempo(1000ms);
        TFrmControllaVersione finestra;

        QElapsedTimer muro;
        const double cpuPrima = SecondiCpuProcesso();
        muro.start();
        finestra.sbControlla->click();
        const double secondi = double(muro.nsecsElapsed()) / 1e9;
        const double cpu = SecondiCpuProcesso() - cpuPrima;

        // It waited for the time limit, not less.
        QCOMPARE(finestra.LabVerInternet->text(), NonDisponibile);
        QVERIFY2(secondi > 0.5, qPrintable(QString::number(secondi)));
        QVERIFY2(
            cpu < 0.2 * secondi,
            qPrintable(QStringLiteral("%1 s of processor time in %2 s of waiting").arg(cpu).arg(secondi)));
    }
};

QTEST_MAIN(TestControllaVersioneAttesa)
#include "tst_controllaversione_attesa.moc"
