// The settings window as the main window opens it: a new modal window owned by the main window at
// each press of "Impostazioni", destroyed when it closes, and the next play honouring what it saved or
// removed, without a restart.
#include "app/Applicazione.h"
#include "main/NumeroFisso.h"
#include "main/TFrmMain.h"
#include "settings/TFrmImp.h"
#include "support/CartellaProva.h"
#include "support/RispostaBox.h"

#include <QFile>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <functional>

class TestImpostazioniDallaPrincipale : public QObject
{
    Q_OBJECT

    struct Apertura
    {
        QPointer<TFrmImp> finestra;
        QWidget *genitore = nullptr;
        bool modale = false;
    };

    QList<Apertura> m_aperture;
    QList<std::function<void(TFrmImp &)>> m_passi;
    bool m_inCorso = false;

    // Presses "Impostazioni" and, once the window is up and restored, runs the next step on it; a
    // step that leaves the window open is followed by "Annulla", so the test never hangs.
    void PremiImpostazioni(TFrmMain &principale, std::function<void(TFrmImp &)> passo)
    {
        m_passi.append(std::move(passo));
        QTimer pilota;
        pilota.setInterval(5);
        connect(&pilota, &QTimer::timeout, this, [&] {
            auto *finestra = principale.findChild<TFrmImp *>();
            if (m_inCorso || !finestra || !finestra->isVisible() || m_passi.isEmpty())
                return;
            m_inCorso = true;
            m_aperture.append({finestra, finestra->parentWidget(), finestra->isModal()});
            QCoreApplication::sendPostedEvents(finestra, QEvent::MetaCall);
            const QPointer<TFrmImp> guardia(finestra);
            m_passi.takeFirst()(*finestra);
            if (guardia && guardia->isVisible())
                guardia->BTMannulla->click();
            m_inCorso = false;
        });
        pilota.start();
        principale.BTSimp->click();
        pilota.stop();
    }

    static void Clic(TFrmImp &finestra, QWidget *controllo)
    {
        QTest::mouseClick(finestra.windowHandle(), Qt::LeftButton, {},
                          controllo->mapTo(&finestra, controllo->rect().center()));
    }

private slots:
    void initTestCase() { Applicazione::ImpostaSostituzioniCaratteri(); }
    void init()
    {
        m_aperture.clear();
        m_passi.clear();
    }

    void finestraNuovaOgniVolta()
    {
        CartellaProva cartella;
        RispostaBox box;
        TFrmMain principale;
        principale.show();
        QVERIFY(QTest::qWaitForWindowExposed(&principale));
        for (int volta = 0; volta < 3; ++volta) {
            PremiImpostazioni(principale, [](TFrmImp &finestra) { finestra.EDTnumFIS->setText(QStringLiteral("x")); });
            QCOMPARE(m_aperture.size(), volta + 1);
            const Apertura &a = m_aperture.back();
            QCOMPARE(a.genitore, &principale);
            QVERIFY(a.modale);
            // Destroyed once closed: nothing of it is left under the main window.
            QVERIFY(a.finestra.isNull());
            QVERIFY(principale.findChildren<TFrmImp *>().isEmpty());
        }
        QCOMPARE(box.Visti().size(), 0);
    }

    void laGiocataSeguenteSegueLImpostazione()
    {
        CartellaProva cartella;
        RispostaBox box;
        TFrmMain principale;
        principale.show();
        QVERIFY(QTest::qWaitForWindowExposed(&principale));
        principale.BTSgioca->click();

        box.Rispondi(QMessageBox::Ok);
        PremiImpostazioni(principale, [](TFrmImp &finestra) {
            Clic(finestra, finestra.Check1);
            QTest::keyClicks(finestra.EDTnumFIS, QStringLiteral("7"));
            QTest::keyClick(finestra.EDTnumFIS, Qt::Key_Return);
        });
        QCOMPARE(box.Visti().size(), 1);
        QCOMPARE(box.Visti()[0].testo, QStringLiteral("Le impostazioni sono state salvate"));
        QVERIFY(m_aperture.back().finestra.isNull());
        for (int i = 0; i < 20; ++i) {
            principale.BTSgioca->click();
            QCOMPARE(principale.EDTn1->text(), QStringLiteral("07"));
        }

        bool ripristinata = false;
        box.Rispondi(QMessageBox::Ok);
        PremiImpostazioni(principale, [&](TFrmImp &finestra) {
            ripristinata = finestra.Check1->isChecked() && finestra.EDTnumFIS->text() == QStringLiteral("07");
            Clic(finestra, finestra.Check1);
            Clic(finestra, finestra.BTMsalva);
        });
        QVERIFY(ripristinata);
        QCOMPARE(box.Visti().size(), 2);
        QCOMPARE(box.Visti()[1].testo, QStringLiteral("Le impostazioni sono state rimosse."));
        QVERIFY(!QFile::exists(cartella.Percorso(NumeroFisso::NomeFile)));
        // All six numbers are drawn again: the first field no longer stays on 07.
        QSet<QString> primi;
        for (int i = 0; i < 30; ++i) {
            principale.BTSgioca->click();
            primi.insert(principale.EDTn1->text());
        }
        QVERIFY2(primi.size() > 5, qPrintable(QStringList(primi.begin(), primi.end()).join(' ')));
        QCOMPARE(box.Inattesi(), 0);
    }
};

QTEST_MAIN(TestImpostazioniDallaPrincipale)
#include "tst_impostazioni_principale.moc"
