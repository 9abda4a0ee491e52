// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Start-up's own run: the splash alone and modal before the main window, whose controls and the
// program's icon come once the splash's first frame is up.
#include "avvio/Avvio.h"
#include "finestre/TfrmStart.h"
#include "principale/TFrmMain.h"
#include "support/Sorveglianza.h"

#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QTest>

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

class TestAvvio : public QObject
{
    Q_OBJECT
private slots:
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

QTEST_MAIN(TestAvvio)
#include "tst_avvio.moc"
