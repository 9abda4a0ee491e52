// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The bug-report window: the translation pass over its seven texts with its failure paths, the
// bug-report mail, the site link, and a new window at each "Segnala Bug".
#include "Configurazione.h"
#include "finestre/EtichettaCliccabile.h"
#include "finestre/TFrmAbout.h"
#include "finestre/TfrmBug.h"
#include "principale/TFrmMain.h"
#include "support/AperturaProva.h"
#include "support/CartellaProva.h"
#include "support/Clic.h"
#include "support/Controllo.h"
#include "support/FinestreProva.h"
#include "support/RispostaBox.h"
#include "support/SostituzioniProva.h"
#include "support/TabelleProva.h"

#include <QAction>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

namespace
{
const QStringList Italiani{
    "Segnalazione bug al team Kelmo",
    "Il tuo supporto aiuta a migliorare i software Kelmo",
    "Premi su 'segnala' per inoltrarci la segnalazione dell'errore:",
    "Le risposte ai bug già segnalati sono visibli sulla sezione",
    "forum del nostro sito internet",
    "Segnala",
    "Esci",
};
const QStringList Inglesi{
    "Bug report to the Kelmo team",
    "Your support helps to improve Kelmo software",
    "Press 'Report' to send us the error report:",
    "Answers to bugs already reported are in the",
    "forum section of our web site",
    "&Report",
    "Exit",
};

QStringList testiDi(const TfrmBug &bug)
{
    return {bug.windowTitle(),
            Controllo<QLabel>(bug, "Label4")->text(),
            Controllo<QLabel>(bug, "Label1")->text(),
            Controllo<QLabel>(bug, "Label2")->text(),
            Controllo<QLabel>(bug, "Label3")->text(),
            Controllo<QPushButton>(bug, "ButSegnala")->text(),
            Controllo<QPushButton>(bug, "ButEsci")->text()};
}
} // namespace

class TestFrmBug : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<FinestreProva> m_finestre;

private slots:
    void init() { m_finestre = std::make_unique<FinestreProva>(); }
    void cleanup() { m_finestre.reset(); }

    void traduzione_data()
    {
        // The pass itself (the presence test, "Italiano", a failed settings read, a value that is not a
        // column name) is the translation routines' test; here, this window's list and guard.
        QTest::addColumn<QString>("lingua");
        QTest::addColumn<bool>("conLabel1"); // the table holds Label1's text
        QTest::addColumn<QStringList>("attesi");
        QTest::addColumn<QStringList>("box");

        QStringList senzaLabel1 = Inglesi;
        senzaLabel1[2] = "Premi su segnala per inoltrarci la segnalazione dellerrore:";

        QTest::newRow("Inglese") << "Inglese" << true << Inglesi << QStringList{};
        QTest::newRow("Label1 not in the table: shown without apostrophes")
            << "Inglese" << false << senzaLabel1 << QStringList{};
        QTest::newRow("empty value reaches the engine")
            << "" << true << Italiani
            << QStringList{"Kelmo_Dravolo|Nessuna lingua impostata nel campo LINGUA di impostazioni.db."};
        QTest::newRow("missing column")
            << "Russo" << true << Italiani
            << QStringList{"Kelmo_Dravolo|Errore di lettura in lingua.db: no such column: Russo"};
    }
    void traduzione()
    {
        QFETCH(QString, lingua);
        QFETCH(bool, conLabel1);
        QFETCH(QStringList, attesi);
        QFETCH(QStringList, box);
        CartellaProva cartella;
        cartella.Scrivi(QStringLiteral("lingua.db"), {});
        TabelleProva tabelle;
        tabelle.Lingua(lingua);
        QList<QPair<QString, QString>> righe;
        for (int i = 0; i < Italiani.size(); ++i)
            if (i != 2 || conLabel1)
                righe.append({QString(Italiani[i]).remove(QLatin1Char('\'')), Inglesi[i]});
        tabelle.Traduzioni(righe);
        const QByteArray prima = tabelle.Contenuto(QStringLiteral("lingua.db"));

        RispostaBox risposte;
        TfrmBug bug;
        QCOMPARE(testiDi(bug), attesi);
        QCOMPARE(Controllo<EtichettaCliccabile>(bug, "lblLink")->text(),
                 QString::fromUtf8(Configurazione::IndirizzoSito));
        QVERIFY2(risposte.VistiIniziano(box), qPrintable(risposte.TitoliETesti().join('\n')));
        QCOMPARE(tabelle.Contenuto(QStringLiteral("lingua.db")), prima);
    }

    void traduzioneAncoraAllaRiapertura()
    {
        // Nothing is kept between openings: a change of the language shows at the next one.
        CartellaProva cartella;
        cartella.Scrivi(QStringLiteral("lingua.db"), {});
        TabelleProva tabelle;
        tabelle.Lingua(QStringLiteral("Italiano"));
        tabelle.Traduzioni({{"Esci", "Exit"}});
        QCOMPARE(Controllo<QPushButton>(TfrmBug(), "ButEsci")->text(), QStringLiteral("Esci"));
        tabelle.Esegui(QStringLiteral("impostazioni.db"), {"update impostazioni set LINGUA = 'Inglese'"});
        QCOMPARE(Controllo<QPushButton>(TfrmBug(), "ButEsci")->text(), QStringLiteral("Exit"));
    }

    void mailECollegamento()
    {
        CartellaProva cartella;
        TfrmBug bug;
        bug.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bug));
        AperturaProva apertura;
        Clic(Controllo<QPushButton>(bug, "ButSegnala"));
        Clic(Controllo<QPushButton>(bug, "ButSegnala"));
        QCOMPARE(apertura.Aperti.size(), 2);
        for (const QUrl &mail : apertura.Aperti) {
            QCOMPARE(mail.scheme(), QStringLiteral("mailto"));
            QCOMPARE(mail.path(), QString::fromUtf8(Configurazione::IndirizzoMail));
            QCOMPARE(mail.query(QUrl::FullyDecoded),
                     QStringLiteral(
                         "subject=Bug: Kelmo_DraVolo, 05.2002-15&body=Di seguito la segnalzione del bug:"));
        }
        QVERIFY(bug.isVisible());

        // The subject follows the program's identity at the moment of the press.
        SostituzioniProva sostituzioni;
        sostituzioni.Identita({}, QStringLiteral("06.2002-16"));
        Clic(Controllo<QPushButton>(bug, "ButSegnala"));
        QCOMPARE(apertura.Aperti.size(), 3);
        QVERIFY(apertura.Aperti[2]
                    .query(QUrl::FullyDecoded)
                    .startsWith("subject=Bug: Kelmo_DraVolo, 06.2002-16&"));

        Clic(Controllo<EtichettaCliccabile>(bug, "lblLink"));
        QCOMPARE(apertura.Aperti.size(), 4);
        QCOMPARE(apertura.Aperti[3], QUrl(QString::fromUtf8(Configurazione::IndirizzoSito)));
        // From the keyboard too: Tab reaches the link, Enter opens it.
        for (int i = 0; i < 8 && !Controllo<EtichettaCliccabile>(bug, "lblLink")->hasFocus(); ++i)
            QTest::keyClick(&bug, Qt::Key_Tab);
        QVERIFY(Controllo<EtichettaCliccabile>(bug, "lblLink")->hasFocus());
        QTest::keyClick(Controllo<EtichettaCliccabile>(bug, "lblLink"), Qt::Key_Return);
        QCOMPARE(apertura.Aperti.size(), 5);
        QCOMPARE(apertura.Aperti[4], apertura.Aperti[3]);

        Clic(Controllo<QPushButton>(bug, "ButEsci"));
        QTRY_VERIFY(!bug.isVisible());
    }

    void nuovaAdOgniApertura()
    {
        CartellaProva cartella;
        TFrmMain principale;
        QList<QPointer<TfrmBug>> aperte;
        QList<bool> modali;
        for (int volta = 0; volta < 2; ++volta) {
            QTimer::singleShot(0, &principale, [&] {
                auto *bug = qobject_cast<TfrmBug *>(QApplication::activeModalWidget());
                aperte.append(bug);
                if (!bug)
                    return;
                modali.append(bug->parentWidget() == &principale);
                if (QTest::qWaitForWindowExposed(bug))
                    Clic(Controllo<QPushButton>(*bug, "ButEsci"));
            });
            Controllo<QAction>(principale, "SegnalBug1")->trigger();
        }
        QCOMPARE(aperte.size(), 2);
        QCOMPARE(modali, (QList<bool>{true, true}));
        // Each was destroyed when its modal run ended.
        QVERIFY(aperte[0].isNull() && aperte[1].isNull());
    }
};

QTEST_MAIN(TestFrmBug)
#include "tst_frmbug.moc"
