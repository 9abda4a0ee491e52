// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The four message boxes and the general error report, with the application object
// the program itself uses (Italian standard buttons).
#include "kit/Applicazione.h"
#include "kit/Messaggi.h"
#include "kit/RapportoErrori.h"
#include "regole/Errore.h"
#include "support/Clic.h"
#include "support/RispostaBox.h"

#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <stdexcept>

namespace
{
// Runs `azione` on the open box once it is on screen.
void QuandoBoxAperto(std::function<void(QMessageBox *)> azione)
{
    auto *timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, azione] {
        if (QMessageBox *box = RispostaBox::BoxAperto()) {
            timer->stop();
            timer->deleteLater();
            azione(box);
        }
    });
    timer->start();
}
} // namespace

class TestMessaggi : public QObject
{
    Q_OBJECT
private slots:
    void boxConTitoloIconaEPulsanti_data()
    {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<QString>("titolo");
        QTest::addColumn<int>("icona");
        QTest::addColumn<int>("pulsanti");
        QTest::newRow("info") << 0 << "Messaggio." << int(QMessageBox::Information) << int(QMessageBox::Ok);
        QTest::newRow("warning") << 1 << "Attenzione." << int(QMessageBox::Warning) << int(QMessageBox::Ok);
        QTest::newRow("error") << 2 << "Errore" << int(QMessageBox::Critical) << int(QMessageBox::Ok);
        QTest::newRow("question") << 3 << "Richiesta." << int(QMessageBox::Question)
                                  << int(QMessageBox::Yes | QMessageBox::No);
    }
    void boxConTitoloIconaEPulsanti()
    {
        QFETCH(int, tipo);
        QFETCH(QString, titolo);
        QFETCH(int, icona);
        QFETCH(int, pulsanti);
        // The text is shown exactly as given: no full stop is added.
        const QString testo = QStringLiteral("Testo di prova con più parole");
        RispostaBox risposte;
        risposte.Rispondi(tipo == 3 ? QMessageBox::No : QMessageBox::Ok);
        switch (tipo) {
        case 0:
            Messaggi::MessaggioInfo(testo);
            break;
        case 1:
            Messaggi::MessaggioAttenzione(testo);
            break;
        case 2:
            Messaggi::MessaggioErrore(testo);
            break;
        case 3:
            QCOMPARE(Messaggi::DomandaSiNo(testo), false);
            break;
        }
        QCOMPARE(risposte.Visti().size(), 1);
        const BoxVisto &visto = risposte.Visti().first();
        QCOMPARE(visto.titolo, titolo);
        QCOMPARE(visto.testo, testo);
        QCOMPARE(int(visto.icona), icona);
        QCOMPARE(int(visto.pulsanti), pulsanti);
        QCOMPARE(risposte.Inattesi(), 0);
    }

    void domandaSiNoConPulsantiItaliani()
    {
        QString si, no;
        QuandoBoxAperto([&](QMessageBox *box) {
            si = box->button(QMessageBox::Yes)->text().remove(QLatin1Char('&'));
            no = box->button(QMessageBox::No)->text().remove(QLatin1Char('&'));
            box->button(QMessageBox::Yes)->click();
        });
        QCOMPARE(Messaggi::DomandaSiNo(QStringLiteral("Continuo?")), true);
        QCOMPARE(si, QStringLiteral("Sì"));
        QCOMPARE(no, QStringLiteral("No"));
    }

    void domandaSiNoNonSiChiudeConEscOChiusura()
    {
        bool apertaDopoEsc = false, apertaDopoChiusura = false;
        QuandoBoxAperto([&](QMessageBox *box) {
            QTest::keyClick(box->windowHandle(), Qt::Key_Escape);
            QCoreApplication::processEvents();
            apertaDopoEsc = box->isVisible();
            box->close();
            QCoreApplication::processEvents();
            apertaDopoChiusura = box->isVisible();
            box->button(QMessageBox::Yes)->click();
        });
        QCOMPARE(Messaggi::DomandaSiNo(QStringLiteral("Continuo?")), true);
        QVERIFY(apertaDopoEsc);
        QVERIFY(apertaDopoChiusura);
    }

    void altreFinestreUtilizzabiliMentreIlBoxAttende()
    {
        QPushButton altra(QStringLiteral("Altra finestra"));
        altra.resize(200, 60);
        altra.show();
        QVERIFY(QTest::qWaitForWindowExposed(&altra));
        int clic = 0;
        connect(&altra, &QPushButton::clicked, [&] { ++clic; });
        bool bloccata = true;
        QuandoBoxAperto([&](QMessageBox *box) {
            // Through the window system, as a real click: a modal box would block it.
            Clic(&altra);
            bloccata = clic == 0;
            box->button(QMessageBox::Ok)->click();
        });
        Messaggi::MessaggioInfo(QStringLiteral("In attesa"));
        QVERIFY(!bloccata);
        QCOMPARE(clic, 1);
    }

    void boxUtilizzabileDaUnaFinestraModale()
    {
        // A box shown while a modal window runs must still take a real click, or the user is stuck.
        QDialog modale;
        modale.resize(240, 120);
        bool chiuso = false;
        QTimer::singleShot(0, &modale, [&] {
            QuandoBoxAperto([&](QMessageBox *box) {
                QAbstractButton *ok = box->button(QMessageBox::Ok);
                Clic(ok);
                QCoreApplication::processEvents();
                chiuso = !box->isVisible();
                if (!chiuso)
                    ok->click();
            });
            Messaggi::MessaggioAttenzione(QStringLiteral("Dalla finestra modale"));
            modale.accept();
        });
        modale.exec();
        QVERIFY(chiuso);
    }

    void puntoFinaleDelRapporto_data()
    {
        QTest::addColumn<QString>("messaggio");
        QTest::addColumn<QString>("mostrato");
        QTest::newRow("letter") << "File non trovato"
                                << "File non trovato.";
        QTest::newRow("digit") << "Errore 42"
                               << "Errore 42.";
        QTest::newRow("accented letter") << "Non si può"
                                         << "Non si può.";
        QTest::newRow("question mark sorts after the stop") << "Perché?"
                                                            << "Perché?.";
        QTest::newRow("full stop") << "Fatto."
                                   << "Fatto.";
        QTest::newRow("exclamation") << "Attenzione!"
                                     << "Attenzione!";
        QTest::newRow("parenthesis") << "Errore (disco)"
                                     << "Errore (disco)";
        QTest::newRow("blank") << "Errore "
                               << "Errore ";
        QTest::newRow("comma") << "uno,"
                               << "uno,";
        QTest::newRow("empty") << ""
                               << "";
    }
    void puntoFinaleDelRapporto()
    {
        QFETCH(QString, messaggio);
        QFETCH(QString, mostrato);
        QCOMPARE(RapportoErrori::TestoRapporto(messaggio), mostrato);
    }

    void rapportoDiUnGestoreCheFallisce()
    {
        // A handler that fails is abandoned at that point; the box shows the failure's own message
        // under the application title, and the program goes on with the next event.
        QPushButton pulsante;
        int passiFatti = 0;
        struct Finestra : QObject {
            int *passi;
            void Gestore()
            {
                ++*passi;
                throw Errore(QStringLiteral("Impossibile leggere il file"));
            }
        } finestra;
        finestra.passi = &passiFatti;
        RapportoErrori::Collega(&pulsante, &QPushButton::clicked, &finestra, &Finestra::Gestore);
        RispostaBox risposte;
        risposte.Rispondi(QMessageBox::Ok).Rispondi(QMessageBox::Ok);
        pulsante.click();
        pulsante.click();
        QCOMPARE(passiFatti, 2);
        QCOMPARE(risposte.Visti().size(), 2);
        const BoxVisto &visto = risposte.Visti().first();
        QCOMPARE(visto.titolo, QStringLiteral("Kelmo_Dravolo"));
        QCOMPARE(visto.testo, QStringLiteral("Impossibile leggere il file."));
        QCOMPARE(visto.icona, QMessageBox::Critical);
        QCOMPARE(visto.pulsanti, QMessageBox::StandardButtons(QMessageBox::Ok));
    }

    void rapportoDiOgniTipoDiEccezione()
    {
        RispostaBox risposte;
        RapportoErrori::Protetto([] { throw std::runtime_error("disk failure"); });
        RapportoErrori::Protetto([] { throw 42; });
        RapportoErrori::Protetto([] { throw std::bad_alloc(); });
        QCOMPARE(risposte.Visti().size(), 3);
        QCOMPARE(risposte.Visti()[0].testo, QStringLiteral("disk failure."));
        QCOMPARE(risposte.Visti()[1].testo, QStringLiteral("Errore sconosciuto."));
        QCOMPARE(risposte.Visti()[2].testo, QStringLiteral("Memoria insufficiente."));
    }
};

int main(int argc, char *argv[])
{
    Applicazione applicazione(argc, argv);
    TestMessaggi prova;
    return QTest::qExec(&prova, argc, argv);
}
#include "tst_messaggi.moc"
