// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The settings window as the main window opens it: a new modal window owned by the main window at
// each press of "Impostazioni", destroyed when it closes, and the next play honouring what it saved or
// removed, without a restart.
#include "impostazioni/NumeroFisso.h"
#include "impostazioni/TFrmImp.h"
#include "kit/Applicazione.h"
#include "principale/TFrmMain.h"
#include "support/CartellaProva.h"
#include "support/Clic.h"
#include "support/Controllo.h"
#include "support/RispostaBox.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

class TestImpostazioniDallaPrincipale : public QObject
{
    Q_OBJECT

    struct Apertura {
        QPointer<TFrmImp> finestra;
        QWidget *genitore = nullptr;
        Qt::WindowModality modalita = Qt::NonModal;
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
            m_aperture.append({finestra, finestra->parentWidget(), finestra->windowModality()});
            QCoreApplication::sendPostedEvents(finestra, QEvent::MetaCall);
            const QPointer<TFrmImp> guardia(finestra);
            m_passi.takeFirst()(*finestra);
            if (guardia && guardia->isVisible())
                Controllo<QPushButton>(*guardia, "BTMannulla")->click();
            m_inCorso = false;
        });
        pilota.start();
        Controllo<QPushButton>(principale, "BTSimp")->click();
        pilota.stop();
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
            PremiImpostazioni(principale, [](TFrmImp &finestra) {
                Controllo<QLineEdit>(finestra, "EDTnumFIS")->setText(QStringLiteral("x"));
            });
            QCOMPARE(m_aperture.size(), volta + 1);
            const Apertura &a = m_aperture.back();
            QCOMPARE(a.genitore, &principale);
            // Modal to the main window, which it disables while it is open.
            QCOMPARE(a.modalita, Qt::WindowModal);
            // Destroyed once closed: nothing of it is left under the main window.
            QVERIFY(a.finestra.isNull());
            QVERIFY(principale.findChildren<TFrmImp *>().isEmpty());
        }
        QCOMPARE(box.Visti().size(), 0);
    }

    void iBoxSopraLaFinestraSiPremono()
    {
        // The warning shown by the modal settings window has no owner; a real click on its button must
        // reach it (Qt drops input to windows blocked by a modal one).
        CartellaProva cartella;
        TFrmMain principale;
        principale.show();
        QVERIFY(QTest::qWaitForWindowExposed(&principale));
        QStringList testi;
        int tentativi = 0;
        bool bloccato = false;
        QTimer utente;
        utente.setInterval(10);
        connect(&utente, &QTimer::timeout, this, [&] {
            QMessageBox *box = RispostaBox::BoxAperto();
            if (!box)
                return;
            if (tentativi == 0)
                testi << box->text();
            QAbstractButton *pulsante = box->buttons().value(0);
            if (++tentativi > 20) {
                // The clicks did not get through: close it anyway, so the test ends.
                bloccato = true;
                pulsante->click();
                return;
            }
            Clic(pulsante);
        });
        utente.start();
        bool proseguita = false;
        PremiImpostazioni(principale, [&](TFrmImp &finestra) {
            Clic(Controllo<QCheckBox>(finestra, "Check1"));
            QTest::keyClicks(Controllo<QLineEdit>(finestra, "EDTnumFIS"), QStringLiteral("91"));
            QTest::keyClick(Controllo<QLineEdit>(finestra, "EDTnumFIS"), Qt::Key_Return);
            // Once the warning is gone the window goes on, with the field emptied.
            proseguita =
                Controllo<QLineEdit>(finestra, "EDTnumFIS")->text().isEmpty() && finestra.isVisible();
        });
        utente.stop();
        QVERIFY(proseguita);
        QCOMPARE(testi,
                 QStringList{QStringLiteral("Il numero inserito deve avere un valore compreso tra 1 e 90!")});
        QVERIFY(!bloccato);
        QVERIFY(!QFile::exists(cartella.Percorso(FormatoNumeroFisso::NomeFile)));
    }

    void laGiocataSeguenteSegueLImpostazione()
    {
        CartellaProva cartella;
        RispostaBox box;
        TFrmMain principale;
        principale.show();
        QVERIFY(QTest::qWaitForWindowExposed(&principale));
        Controllo<QPushButton>(principale, "BTSgioca")->click();

        box.Rispondi(QMessageBox::Ok);
        PremiImpostazioni(principale, [](TFrmImp &finestra) {
            Clic(Controllo<QCheckBox>(finestra, "Check1"));
            QTest::keyClicks(Controllo<QLineEdit>(finestra, "EDTnumFIS"), QStringLiteral("7"));
            QTest::keyClick(Controllo<QLineEdit>(finestra, "EDTnumFIS"), Qt::Key_Return);
        });
        QCOMPARE(box.Visti().size(), 1);
        QCOMPARE(box.Visti()[0].testo, QStringLiteral("Le impostazioni sono state salvate"));
        QVERIFY(m_aperture.back().finestra.isNull());
        for (int i = 0; i < 20; ++i) {
            Controllo<QPushButton>(principale, "BTSgioca")->click();
            QCOMPARE(Controllo<QLineEdit>(principale, "EDTn1")->text(), QStringLiteral("07"));
        }

        bool ripristinata = false;
        box.Rispondi(QMessageBox::Ok);
        PremiImpostazioni(principale, [&](TFrmImp &finestra) {
            ripristinata = Controllo<QCheckBox>(finestra, "Check1")->isChecked() &&
                           Controllo<QLineEdit>(finestra, "EDTnumFIS")->text() == QStringLiteral("07");
            Clic(Controllo<QCheckBox>(finestra, "Check1"));
            Clic(Controllo<QPushButton>(finestra, "BTMsalva"));
        });
        QVERIFY(ripristinata);
        QCOMPARE(box.Visti().size(), 2);
        QCOMPARE(box.Visti()[1].testo, QStringLiteral("Le impostazioni sono state rimosse."));
        QVERIFY(!QFile::exists(cartella.Percorso(FormatoNumeroFisso::NomeFile)));
        // All six numbers are drawn again: the first field no longer stays on 07.
        QSet<QString> primi;
        for (int i = 0; i < 30; ++i) {
            Controllo<QPushButton>(principale, "BTSgioca")->click();
            primi.insert(Controllo<QLineEdit>(principale, "EDTn1")->text());
        }
        QVERIFY2(primi.size() > 5, qPrintable(QStringList(primi.begin(), primi.end()).join(' ')));
        QCOMPARE(box.Inattesi(), 0);
    }
};

QTEST_MAIN(TestImpostazioniDallaPrincipale)
#include "tst_impostazioni_principale.moc"
