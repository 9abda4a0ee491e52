// The splash window: its title and texts, the one translated text, the count that starts at showing
// and closes it, the ways of closing it that are refused, and its place before the main window.
#include "app/Finestre.h"
#include "build_config.h"
#include "main/TFrmMain.h"
#include "support/AperturaProva.h"
#include "support/CartellaProva.h"
#include "support/Clic.h"
#include "support/FinestreProva.h"
#include "support/RispostaBox.h"
#include "support/TabelleProva.h"
#include "windows/TFrmAbout.h"
#include "windows/TfrmStart.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

// Counts the paint events a window receives.
class ContaDisegni : public QObject
{
public:
    explicit ContaDisegni(QWidget *finestra) { finestra->installEventFilter(this); }
    int Conteggio = 0;

protected:
    bool eventFilter(QObject *, QEvent *evento) override
    {
        if (evento->type() == QEvent::Paint)
            ++Conteggio;
        return false;
    }
};

class TestFrmStart : public QObject
{
    Q_OBJECT
private slots:

    void testi_data()
    {
        // The pass itself is the translation routines' test; here, this window's one text and guard.
        QTest::addColumn<QString>("lingua");
        QTest::addColumn<QString>("label1");
        QTest::addColumn<QStringList>("box");
        const QString italiano = QStringLiteral("Caricamento in corso, attendere..");
        // With an empty value a lookup would fail with a report: none comes, so none was made.
        QTest::newRow("empty value") << "" << italiano << QStringList{};
        QTest::newRow("Inglese") << "Inglese"
                                 << "Loading, please wait.." << QStringList{};
        QTest::newRow("missing column")
            << "Russo" << italiano
            << QStringList{"Kelmo_Dravolo|Errore di lettura in lingua.db: no such column: Russo"};
    }
    void testi()
    {
        QFETCH(QString, lingua);
        QFETCH(QString, label1);
        QFETCH(QStringList, box);
        CartellaProva cartella;
        cartella.Scrivi(QStringLiteral("lingua.db"), {});
        TabelleProva tabelle;
        tabelle.Lingua(lingua);
        tabelle.Traduzioni({{"Caricamento in corso, attendere..", "Loading, please wait.."},
                            {"Inizializzazione", "Initialising"},
                            {"Caricamento", "Loading"}});

        FinestreProva finestre;
        RispostaBox risposte;
        TfrmStart splash;
        QCOMPARE(splash.windowTitle(), QStringLiteral("Caricamento Kelmo_DraVolo"));
        QCOMPARE(splash.Label1->text(), label1);
        QCOMPARE(splash.LabelCodice->text(), QStringLiteral("Inizializzazione"));
        QCOMPARE(splash.LabelSito->text(), QString::fromUtf8(Configurazione::IndirizzoSito));
        QVERIFY2(risposte.VistiIniziano(box), qPrintable(risposte.TitoliETesti().join('\n')));
    }

    void aspetto()
    {
        FinestreProva finestre;
        TfrmStart splash;
        QCOMPARE(splash.size(), QSize(280, 317));
        QCOMPARE(splash.ImageLogo->pixmap().size(), QSize(280, 265));
        const Qt::WindowFlags flags = splash.windowFlags();
        QVERIFY(!(flags & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    }

    void chiusoSoloDalTimer()
    {
        FinestreProva finestre;
        TfrmStart splash(300);
        QVERIFY(!splash.TimerStart->isActive());
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        QVERIFY(splash.TimerStart->isActive());

        QTest::keyClick(splash.windowHandle(), Qt::Key_Escape);
        QVERIFY(splash.isVisible());
        QVERIFY(!splash.close());
        QVERIFY(splash.isVisible());
        splash.windowHandle()->close();
        QVERIFY(splash.isVisible());
        splash.reject();
        QVERIFY(splash.isVisible());

        QTRY_VERIFY(!splash.isVisible());
        QVERIFY(!splash.TimerStart->isActive());
        QCOMPARE(splash.result(), int(QDialog::Accepted));

        // Its picture is given back once it has closed; shown again, it has it again.
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        QCOMPARE(splash.ImageLogo->pixmap().size(), QSize(280, 265));
        QTRY_VERIFY(!splash.isVisible());
    }

    void clicNonChiudeNeRiavvia()
    {
        FinestreProva finestre;
        TfrmStart splash(60000);
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        AperturaProva apertura;
        QTRY_VERIFY(splash.TimerStart->remainingTime() < 60000);
        const int rimasto = splash.TimerStart->remainingTime();
        Clic(splash.ImageLogo);
        Clic(splash.LabelSito);
        const QUrl sito(QString::fromUtf8(Configurazione::IndirizzoSito));
        QCOMPARE(apertura.Aperti, (QList<QUrl>{sito, sito}));
        QVERIFY(splash.isVisible());
        QVERIFY(splash.TimerStart->isActive());
        QVERIFY(splash.TimerStart->remainingTime() <= rimasto);
    }

    void primaDellaFinestraPrincipale()
    {
        // The start-up order: the splash alone and modal on screen; the main window's controls built
        // only after the splash's first frame; the main window on screen once the splash has gone, with
        // the size and place it has when built at once.
        FinestreProva finestre;
        const TFrmMain pronta;
        TFrmMain principale(nullptr, TFrmMain::Controlli::Differiti);
        Finestre::FrmMain = &principale;
        TfrmStart splash(300);
        ContaDisegni disegni(&splash);
        int disegniAllaCostruzione = -1;
        bool principaleVisibileAllaCostruzione = true;
        splash.MostraAllAvvio([&] {
            disegniAllaCostruzione = disegni.Conteggio;
            principaleVisibileAllaCostruzione = principale.isVisible();
            principale.CreaControlli();
        });
        QCOMPARE(QApplication::activeModalWidget(), &splash);
        QVERIFY(!principale.centralWidget());
        QTRY_VERIFY(principale.centralWidget());
        QVERIFY2(disegniAllaCostruzione >= 1, "the controls were built before the splash was drawn");
        QVERIFY(!principaleVisibileAllaCostruzione);
        QVERIFY(splash.isVisible());
        QTRY_VERIFY(!splash.isVisible());
        QVERIFY(principale.isVisible());
        // pos() is the frame's place, size() the client area's.
        QCOMPARE(principale.pos(), pronta.pos());
        QCOMPARE(principale.size(), pronta.size());
        QCOMPARE(principale.centralWidget()->size(), QSize(213, 168));

        // Shown without having been built (a splash that never got drawn): the controls come first,
        // then the showing, which lays the window out as before.
        TFrmMain maiCostruita(nullptr, TFrmMain::Controlli::Differiti);
        maiCostruita.show();
        QVERIFY(QTest::qWaitForWindowExposed(&maiCostruita));
        QCOMPARE(maiCostruita.pos(), pronta.pos());
        QCOMPARE(maiCostruita.size(), pronta.size());
    }
};

QTEST_MAIN(TestFrmStart)
#include "tst_frmstart.moc"
