// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The About window: its texts and pictures, the two links, the information request composed from its
// labels, and the same window shown again from the main window's menu.
#include "Configurazione.h"
#include "finestre/EtichettaCliccabile.h"
#include "finestre/TFrmAbout.h"
#include "principale/TFrmMain.h"
#include "support/AperturaProva.h"
#include "support/Clic.h"
#include "support/Controllo.h"
#include "support/FinestreProva.h"
#include "support/SostituzioniProva.h"

#include <QAbstractButton>
#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QTest>
#include <QTimer>

class TestFrmAbout : public QObject
{
    Q_OBJECT
private slots:
    void contenuto()
    {
        // The texts the form file gives are its own business (the window-text checks read them); here,
        // what the window holds that others rely on: the version that --version prints without any
        // window, and the build's site and mailbox.
        TFrmAbout about;
        QCOMPARE(Controllo<QLabel>(about, "LabelVers")->text(),
                 QString::fromUtf8(Configurazione::EtichettaVersione));
        QCOMPARE(Controllo<EtichettaCliccabile>(about, "lblLink")->text(),
                 QString::fromUtf8(Configurazione::IndirizzoSito));
        QCOMPARE(Controllo<EtichettaCliccabile>(about, "Label13")->text(),
                 QString::fromUtf8(Configurazione::IndirizzoMail));
        QCOMPARE(about.size(), QSize(260, 295));
        // The hint is kept for assistive tools only: the window shows no hints.
        QVERIFY(Controllo<QAbstractButton>(about, "sbEsci")->toolTip().isEmpty());
        QCOMPARE(Controllo<QAbstractButton>(about, "sbEsci")->accessibleDescription(),
                 QStringLiteral("Clicca per uscire"));
        // The logo is decoded when the window is first drawn.
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QTRY_COMPARE(Controllo<QLabel>(about, "Image1")->pixmap().size(), QSize(150, 142));

        // The window is silver, its bottom panel has the window colour of the palette in use.
        const QImage disegno = about.grab().toImage();
        QCOMPARE(disegno.pixelColor(163, 160), QColor(0xc0, 0xc0, 0xc0));
        const QPoint inPanel2 = Controllo<QFrame>(about, "Panel2")->geometry().topLeft() +
                                QPoint(10, Controllo<QFrame>(about, "Panel2")->height() / 2);
        QCOMPARE(disegno.pixelColor(inPanel2), about.palette().color(QPalette::Window));
    }

    void collegamenti_data()
    {
        // How the user opens a link: a click, or Tab to it and a key.
        QTest::addColumn<int>("tasto"); // 0: a click
        QTest::newRow("clicked") << 0;
        QTest::newRow("Tab, Enter") << int(Qt::Key_Return);
        QTest::newRow("Tab, Space") << int(Qt::Key_Space);
    }
    void collegamenti()
    {
        QFETCH(int, tasto);
        TFrmAbout about;
        about.show();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        // Shown, the window gives no link the focus by itself: it looks and answers as it always has.
        QTRY_VERIFY(!Controllo<EtichettaCliccabile>(about, "lblLink")->hasFocus() &&
                    !Controllo<EtichettaCliccabile>(about, "Label13")->hasFocus());
        AperturaProva apertura;
        const auto apri = [&](EtichettaCliccabile *collegamento) {
            if (!tasto) {
                Clic(collegamento);
                // A click opens the link and leaves the focus where it was.
                return !collegamento->hasFocus();
            }
            for (int i = 0; i < 8 && !collegamento->hasFocus(); ++i)
                QTest::keyClick(&about, Qt::Key_Tab);
            if (!collegamento->hasFocus())
                return false;
            // The focus shows: a frame drawn over the label's own look.
            const QImage conFuoco = collegamento->grab().toImage();
            collegamento->clearFocus();
            const bool visibile = conFuoco != collegamento->grab().toImage();
            collegamento->setFocus(Qt::TabFocusReason);
            QTest::keyClick(collegamento, Qt::Key(tasto));
            return visibile;
        };

        QVERIFY(apri(Controllo<EtichettaCliccabile>(about, "lblLink")));
        QCOMPARE(apertura.Aperti, QList<QUrl>{QUrl(QString::fromUtf8(Configurazione::IndirizzoSito))});

        // The subject is made of the program's key and version label as they stand at the click.
        SostituzioniProva sostituzioni;
        sostituzioni.Identita(QStringLiteral("Chiave"), QStringLiteral("01.2000-7"));
        QVERIFY(apri(Controllo<EtichettaCliccabile>(about, "Label13")));
        QCOMPARE(apertura.Aperti.size(), 2);
        const QUrl mail = apertura.Aperti[1];
        QCOMPARE(mail.path(), QString::fromUtf8(Configurazione::IndirizzoMail));
        QCOMPARE(mail.query(QUrl::FullyDecoded),
                 QStringLiteral(
                     "subject=Inf: Chiave, 01.2000-7&body=Vorrei ricevere informazioni in più per quanto "
                     "riguarda:"));
        QVERIFY(about.isVisible());
    }

    void mostrataDalMenuSempreLaStessa()
    {
        FinestreProva finestre(true);
        TFrmAbout &about = finestre.About();
        const QString etichetta = Controllo<QLabel>(about, "LabelVers")->text();
        QList<QWidget *> modali;
        for (int volta = 0; volta < 2; ++volta) {
            QTimer::singleShot(0, &about, [&] {
                modali.append(QApplication::activeModalWidget());
                if (QTest::qWaitForWindowExposed(&about))
                    Clic(Controllo<QAbstractButton>(about, "sbEsci"));
            });
            Controllo<QAction>(finestre.Principale(), "About1")->trigger();
            QVERIFY(!about.isVisible());
        }
        QCOMPARE(modali, (QList<QWidget *>{&about, &about}));
        QCOMPARE(Controllo<QLabel>(about, "LabelVers")->text(), etichetta);
    }
};

QTEST_MAIN(TestFrmAbout)
#include "tst_frmabout.moc"
