// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The splash window: its title and texts, the one translated text, the count that starts at showing
// and closes it, and the ways of closing it that are refused.
#include "Configurazione.h"
#include "finestre/EtichettaCliccabile.h"
#include "finestre/TfrmStart.h"
#include "support/AperturaProva.h"
#include "support/CartellaProva.h"
#include "support/Clic.h"
#include "support/Controllo.h"
#include "support/FinestreProva.h"
#include "support/RispostaBox.h"
#include "support/TabelleProva.h"

#include <QLabel>
#include <QTest>
#include <QTimer>

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
        QCOMPARE(Controllo<QLabel>(splash, "Label1")->text(), label1);
        QCOMPARE(Controllo<QLabel>(splash, "LabelCodice")->text(), QStringLiteral("Inizializzazione"));
        QCOMPARE(Controllo<EtichettaCliccabile>(splash, "LabelSito")->text(),
                 QString::fromUtf8(Configurazione::IndirizzoSito));
        QVERIFY2(risposte.VistiIniziano(box), qPrintable(risposte.TitoliETesti().join('\n')));
    }

    void aspetto()
    {
        FinestreProva finestre;
        TfrmStart splash;
        QCOMPARE(splash.size(), QSize(280, 317));
        QCOMPARE(Controllo<EtichettaCliccabile>(splash, "ImageLogo")->pixmap().size(), QSize(280, 265));
        const Qt::WindowFlags flags = splash.windowFlags();
        QVERIFY(!(flags & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    }

    void chiusoSoloDalTimer()
    {
        FinestreProva finestre;
        TfrmStart splash(300);
        QVERIFY(!Controllo<QTimer>(splash, "TimerStart")->isActive());
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        QVERIFY(Controllo<QTimer>(splash, "TimerStart")->isActive());

        QTest::keyClick(splash.windowHandle(), Qt::Key_Escape);
        QVERIFY(splash.isVisible());
        QVERIFY(!splash.close());
        QVERIFY(splash.isVisible());
        splash.windowHandle()->close();
        QVERIFY(splash.isVisible());
        splash.reject();
        QVERIFY(splash.isVisible());

        QTRY_VERIFY(!splash.isVisible());
        QVERIFY(!Controllo<QTimer>(splash, "TimerStart")->isActive());
        QCOMPARE(splash.result(), int(QDialog::Accepted));

        // Its picture is given back once it has closed; shown again, it has it again.
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        QCOMPARE(Controllo<EtichettaCliccabile>(splash, "ImageLogo")->pixmap().size(), QSize(280, 265));
        QTRY_VERIFY(!splash.isVisible());
    }

    void clicNonChiudeNeRiavvia()
    {
        FinestreProva finestre;
        TfrmStart splash(60000);
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        AperturaProva apertura;
        QTRY_VERIFY(Controllo<QTimer>(splash, "TimerStart")->remainingTime() < 60000);
        const int rimasto = Controllo<QTimer>(splash, "TimerStart")->remainingTime();
        Clic(Controllo<EtichettaCliccabile>(splash, "ImageLogo"));
        Clic(Controllo<EtichettaCliccabile>(splash, "LabelSito"));
        const QUrl sito(QString::fromUtf8(Configurazione::IndirizzoSito));
        QCOMPARE(apertura.Aperti, (QList<QUrl>{sito, sito}));
        // From the keyboard: Tab reaches the site's link (the logo is a picture, passed over) and Space
        // opens it.
        QTest::keyClick(&splash, Qt::Key_Tab);
        QVERIFY(Controllo<EtichettaCliccabile>(splash, "LabelSito")->hasFocus());
        QTest::keyClick(Controllo<EtichettaCliccabile>(splash, "LabelSito"), Qt::Key_Space);
        QCOMPARE(apertura.Aperti, (QList<QUrl>{sito, sito, sito}));
        QVERIFY(splash.isVisible());
        QVERIFY(Controllo<QTimer>(splash, "TimerStart")->isActive());
        QVERIFY(Controllo<QTimer>(splash, "TimerStart")->remainingTime() <= rimasto);
    }
};

QTEST_MAIN(TestFrmStart)
#include "tst_frmstart.moc"
