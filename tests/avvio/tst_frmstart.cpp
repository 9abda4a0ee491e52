// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The splash window: its title and texts, the one translated text, the count that starts at showing
// and closes it, the ways of closing it that are refused, and its place before the main window in
// start-up's own run.
#include "Configurazione.h"
#include "avvio/Avvio.h"
#include "finestre/TFrmAbout.h"
#include "finestre/TfrmStart.h"
#include "principale/TFrmMain.h"
#include "support/AperturaProva.h"
#include "support/CartellaProva.h"
#include "support/Clic.h"
#include "support/FinestreProva.h"
#include "support/RispostaBox.h"
#include "support/Sorveglianza.h"
#include "support/TabelleProva.h"

#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>

// Watches a start-up run from outside, as its events go by: the splash's frames, the moment the main
// window gains its first child (its controls' build begins) and the main window's showing, which it
// answers by closing the main window, and so ends the run.
class OsservaAvvio : public QObject
{
public:
    OsservaAvvio() : m_precedenti(QApplication::topLevelWidgets()) { qApp->installEventFilter(this); }

    int DisegniSplash = 0;
    bool ModaleAlPrimoDisegno = false;
    bool CostruitaAlPrimoDisegno = false;
    bool IconaAlPrimoDisegno = false;
    // Splash frames begun before the build, -1 when no build was seen.
    int DisegniAllaCostruzione = -1;
    bool CostruitaDisegnandoLoSplash = false;
    bool VisibileAllaCostruzione = false;
    bool SplashConLaPrincipale = true;
    // Each build makes the window's actions anew: F1's is there once per build.
    qsizetype AzioniGuida = 0;
    QPoint Posto;
    QSize Misura;
    QSize MisuraCliente;

protected:
    bool eventFilter(QObject *oggetto, QEvent *evento) override
    {
        // The main window start-up made: the one TFrmMain that was not there before the run. Once it
        // has gone with the run, no other is watched.
        if (!m_trovata)
            for (QWidget *finestra : QApplication::topLevelWidgets())
                if (auto *trovata = qobject_cast<TFrmMain *>(finestra);
                    trovata && !m_precedenti.contains(finestra)) {
                    m_principale = trovata;
                    m_trovata = true;
                }
        // Cast only now: during its destruction the window is no TFrmMain any more.
        auto *principale = qobject_cast<TFrmMain *>(m_principale.data());
        if (!principale)
            return false;
        if (auto *splash = qobject_cast<TfrmStart *>(oggetto); splash && evento->type() == QEvent::Paint) {
            m_splash = splash;
            if (DisegniSplash++ == 0) {
                ModaleAlPrimoDisegno = QApplication::activeModalWidget() == splash;
                CostruitaAlPrimoDisegno = principale->centralWidget() != nullptr;
                IconaAlPrimoDisegno = !QApplication::windowIcon().isNull();
            }
        } else if (oggetto == principale && evento->type() == QEvent::ChildAdded &&
                   DisegniAllaCostruzione < 0) {
            DisegniAllaCostruzione = DisegniSplash;
            CostruitaDisegnandoLoSplash = m_splash && m_splash->testAttribute(Qt::WA_WState_InPaintEvent);
            VisibileAllaCostruzione = principale->isVisible();
        } else if (oggetto == principale && evento->type() == QEvent::Show) {
            SplashConLaPrincipale = m_splash && m_splash->isVisible();
            AzioniGuida = principale->findChildren<QAction *>(QStringLiteral("Help1")).size();
            // pos() is the frame's place, size() the client area's.
            Posto = principale->pos();
            Misura = principale->size();
            if (principale->centralWidget())
                MisuraCliente = principale->centralWidget()->size();
            QMetaObject::invokeMethod(principale, &QWidget::close, Qt::QueuedConnection);
        }
        return false;
    }

private:
    QPointer<TfrmStart> m_splash;
    QPointer<QWidget> m_principale;
    QWidgetList m_precedenti;
    bool m_trovata = false;
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
        // From the keyboard: Tab reaches the site's link (the logo is a picture, passed over) and Space
        // opens it.
        QTest::keyClick(&splash, Qt::Key_Tab);
        QVERIFY(splash.LabelSito->hasFocus());
        QTest::keyClick(splash.LabelSito, Qt::Key_Space);
        QCOMPARE(apertura.Aperti, (QList<QUrl>{sito, sito, sito}));
        QVERIFY(splash.isVisible());
        QVERIFY(splash.TimerStart->isActive());
        QVERIFY(splash.TimerStart->remainingTime() <= rimasto);
    }

    void primaDellaFinestraPrincipale()
    {
        // Start-up's own run, with a short splash: the splash alone and modal on screen; the program's
        // icon and the main window's controls given once, after the splash's first frame and not while
        // it is painted; the main window on screen once the splash has gone, with the size and place it
        // has when built at once.
        const TFrmMain pronta;
        OsservaAvvio avvio;
        {
            const Sorveglianza guardia("start-up run");
            QCOMPARE(Avvio::EseguiFinestre(300), 0);
        }
        QVERIFY(avvio.ModaleAlPrimoDisegno);
        QVERIFY2(!avvio.CostruitaAlPrimoDisegno && avvio.DisegniAllaCostruzione >= 1,
                 "the controls were built before the splash was drawn");
        QVERIFY2(!avvio.CostruitaDisegnandoLoSplash, "the controls were built while the splash was painted");
        QVERIFY2(!avvio.IconaAlPrimoDisegno && !QApplication::windowIcon().isNull(),
                 "the program's icon was not given after the splash's first frame");
        QVERIFY(!avvio.VisibileAllaCostruzione);
        QVERIFY2(!avvio.SplashConLaPrincipale, "the main window came up with the splash on screen");
        QCOMPARE(avvio.AzioniGuida, 1);
        QCOMPARE(avvio.Posto, pronta.pos());
        QCOMPARE(avvio.Misura, pronta.size());
        QCOMPARE(avvio.MisuraCliente, QSize(213, 168));

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
