// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The main window offscreen, driven through its named controls and its keys: the first-press rule, the
// play log, the fixed number and its failures, the uniformity of the draw, the menu that gives the
// buttons and the session's plays to the keyboard, and F1's help page, found beside the executable.
#include "Configurazione.h"
#include "impostazioni/NumeroFisso.h"
#include "kit/Applicazione.h"
#include "kit/Servizi.h"
#include "principale/RegistroGiocate.h"
#include "principale/TFrmMain.h"
#include "support/AperturaProva.h"
#include "support/CartellaProva.h"
#include "support/Clic.h"
#include "support/Controllo.h"
#include "support/RispostaBox.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// The controls the rows use most, by their names in the form.
QPushButton *BTSgioca(const TFrmMain &finestra)
{
    return Controllo<QPushButton>(finestra, "BTSgioca");
}

QPushButton *BTSstampa(const TFrmMain &finestra)
{
    return Controllo<QPushButton>(finestra, "BTSstampa");
}

QLineEdit *EDTn2(const TFrmMain &finestra)
{
    return Controllo<QLineEdit>(finestra, "EDTn2");
}

RegistroGiocate *Memo1(const TFrmMain &finestra)
{
    return Controllo<RegistroGiocate>(finestra, "Memo1");
}

const QRegularExpression DueCifre(QStringLiteral("^(0[1-9]|[1-8][0-9]|90)$"));

QStringList Campi(const TFrmMain &finestra)
{
    QStringList testi;
    for (QLineEdit *campo : finestra.CampiNumero())
        testi << campo->text();
    return testi;
}

bool TuttiDiversi(const QStringList &testi)
{
    return QSet<QString>(testi.begin(), testi.end()).size() == testi.size();
}

// Counts the requests to close a window and refuses them.
struct ChiusureRifiutate : QObject {
    int richieste = 0;
    bool eventFilter(QObject *, QEvent *evento) override
    {
        if (evento->type() != QEvent::Close)
            return false;
        ++richieste;
        evento->ignore();
        return true;
    }
};

// Chi-square threshold for 89 degrees of freedom whose chance of being passed by a fair draw is
// below one in a million (upper tail at 168.0: 8.5e-7).
constexpr double SogliaChiQuadro = 168.0;
} // namespace

class TestFinestraPrincipale : public QObject
{
    Q_OBJECT
private slots:
    void aspettoIniziale()
    {
        CartellaProva cartella;
        TFrmMain finestra;
        QCOMPARE(finestra.windowTitle(), QStringLiteral("Kelmo_Dravolo"));
        QCOMPARE(finestra.centralWidget()->size(), QSize(213, 168));
        QVERIFY(!(finestra.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(!BTSstampa(finestra)->isEnabled());
        QCOMPARE(Campi(finestra), QStringList(6, QStringLiteral("??")));
        QVERIFY(Memo1(finestra)->isHidden());
        QCOMPARE(Memo1(finestra)->Conteggio(), 1);
        QCOMPARE(Memo1(finestra)->Riga(0), QStringLiteral("Memo1"));
        for (QLineEdit *campo : finestra.CampiNumero()) {
            QVERIFY(campo->isReadOnly());
            QCOMPARE(campo->maxLength(), 2);
            QVERIFY(!campo->accessibleName().isEmpty());
        }
        QCOMPARE(Controllo<QAction>(finestra, "Help1")->shortcut(), QKeySequence(Qt::Key_F1));
        for (QPushButton *pulsante :
             {BTSstampa(finestra), Controllo<QPushButton>(finestra, "BTSimp"), BTSgioca(finestra)}) {
            QCOMPARE(pulsante->focusPolicy(), Qt::NoFocus);
            QCOMPARE(pulsante->accessibleName(), pulsante->text());
        }
        // "Aggiorna versione" stands in the menu exactly when the update check is built.
        QCOMPARE(Controllo<QMenu>(finestra, "Utilit1")
                     ->actions()
                     .contains(Controllo<QAction>(finestra, "Controllaversione1")),
                 bool(KELMO_CONTROLLO_AGGIORNAMENTI));
    }

    void primaGiocataEGiocateSuccessive()
    {
        CartellaProva cartella;
        TFrmMain finestra;
        finestra.show();
        QVERIFY(QTest::qWaitForWindowExposed(&finestra));
        // The pictures are decoded when the window is first drawn.
        for (QLabel *tassello :
             {Controllo<QLabel>(finestra, "Image1"), Controllo<QLabel>(finestra, "Image2"),
              Controllo<QLabel>(finestra, "Image3"), Controllo<QLabel>(finestra, "Image4")})
            QTRY_COMPARE(tassello->pixmap().size(), QSize(97, 80));
        QTRY_COMPARE(Controllo<QLabel>(finestra, "Image5")->pixmap().size(), QSize(60, 57));
        // A real click through the window system on "Gioca".
        Clic(BTSgioca(finestra));
        QTRY_VERIFY(BTSstampa(finestra)->isEnabled());
        QCOMPARE(Memo1(finestra)->Conteggio(), 1);
        const QString prima = Memo1(finestra)->Riga(0);
        QCOMPARE(prima.size(), 17);
        QCOMPARE(prima, Campi(finestra).join(QLatin1Char(' ')));

        for (int giocata = 2; giocata <= 300; ++giocata) {
            BTSgioca(finestra)->click();
            QCOMPARE(Memo1(finestra)->Conteggio(), giocata);
            const QStringList campi = Campi(finestra);
            QVERIFY(TuttiDiversi(campi));
            for (const QString &testo : campi)
                QVERIFY2(DueCifre.match(testo).hasMatch(), qPrintable(testo));
            QCOMPARE(Memo1(finestra)->Riga(giocata - 1), campi.join(QLatin1Char(' ')));
        }
        QCOMPARE(Memo1(finestra)->Riga(0), prima);
    }

    void menuGiocateDallaTastiera()
    {
        // Each button has an entry with its shortcut, enabled exactly when the button is, that acts
        // through the button's own click; the plays are copied with Ctrl+C, which a number field with
        // a selection keeps for that selection.
        CartellaProva cartella;
        RispostaBox box;
        TFrmMain finestra;
        finestra.show();
        QVERIFY(QTest::qWaitForWindowActive(&finestra));
        const QList<QAction *> voci = Controllo<QMenu>(finestra, "Giocate1")->actions();
        QStringList testi;
        for (const QAction *voce : voci)
            testi << (voce->isSeparator() ? QStringLiteral("-")
                                          : voce->text() + QLatin1Char('\t') + voce->shortcut().toString());
        QCOMPARE(testi, (QStringList{"&Gioca\tF5", "Gioca &più volte...\tCtrl+G", "&Stampa...\tCtrl+P",
                                     "&Impostazioni...\tCtrl+I", "-", "&Mostra le giocate...\tCtrl+L",
                                     "&Copia le giocate\tCtrl+C", "S&alva le giocate...\tCtrl+S",
                                     "&Verifica vincite...\tCtrl+R", "-", "&Esci\tCtrl+Q"}));
        QCOMPARE(Controllo<QMenu>(finestra, "Giocate1")->title(), QStringLiteral("&Giocate"));
        // The help page and the man page list every shortcut.
        const auto leggi = [](const char *percorso) {
            QFile file(QString::fromUtf8(KELMO_SAMPLE_DATA "/../") + QString::fromUtf8(percorso));
            return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
        };
        const QString guida = leggi("resources/help.html");
        const QString manuale = leggi("dist/linux/kelmo-dravolo.1");
        for (const QAction *voce : voci) {
            const QString tasti = voce->shortcut().toString();
            if (tasti.isEmpty())
                continue;
            QString inGuida = QStringLiteral("<kbd>") + tasti + QStringLiteral("</kbd>");
            inGuida.replace(QLatin1Char('+'), QStringLiteral("</kbd>+<kbd>"));
            QVERIFY2(guida.contains(inGuida), qPrintable(tasti));
            QVERIFY2(manuale.contains(QStringLiteral(".B ") + tasti + QLatin1Char('\n')), qPrintable(tasti));
        }
        QCOMPARE(Controllo<QMenuBar>(finestra, "MainMenu1")->actions().constFirst(),
                 Controllo<QMenu>(finestra, "Giocate1")->menuAction());
        const auto abilitate = [&] {
            return QList<bool>{BTSstampa(finestra)->isEnabled(),
                               Controllo<QAction>(finestra, "Stampa1")->isEnabled(),
                               Controllo<QAction>(finestra, "CopiaGiocate1")->isEnabled(),
                               Controllo<QAction>(finestra, "SalvaGiocate1")->isEnabled()};
        };
        QCOMPARE(abilitate(), QList<bool>(4, false));
        // Disabled, nothing happens: no question, no copy.
        QGuiApplication::clipboard()->setText(QStringLiteral("prima"));
        QTest::keyClick(&finestra, Qt::Key_P, Qt::ControlModifier);
        QTest::keyClick(Controllo<QLineEdit>(finestra, "EDTn1"), Qt::Key_C, Qt::ControlModifier);
        QVERIFY(box.Visti().isEmpty());
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("prima"));

        int giocate = 0;
        QObject::connect(BTSgioca(finestra), &QPushButton::clicked, [&] { ++giocate; });
        for (int i = 1; i <= 3; ++i) {
            QTest::keyClick(Controllo<QLineEdit>(finestra, "EDTn3"), Qt::Key_F5);
            QCOMPARE(giocate, i);
            QCOMPARE(Memo1(finestra)->Conteggio(), i);
        }
        QCOMPARE(abilitate(), QList<bool>(4, true));

        // The plays as printed, each behind the seven-blank indent, one a line.
        QString attese;
        for (qsizetype i = 0; i < 3; ++i)
            attese += QStringLiteral("       ") + Memo1(finestra)->Riga(i) + QLatin1Char('\n');
        EDTn2(finestra)->setFocus();
        EDTn2(finestra)->deselect();
        QTest::keyClick(EDTn2(finestra), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), attese);
        EDTn2(finestra)->selectAll();
        QTest::keyClick(EDTn2(finestra), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), EDTn2(finestra)->text());

        // The print entry asks the print questions, as the button does.
        box.Rispondi(QMessageBox::No).Rispondi(QMessageBox::No);
        QTest::keyClick(EDTn2(finestra), Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(box.Testi(), (QStringList{"Stampare tutte le giocate effettuate fino adesso?",
                                           "Stampare solamente questa giocata?"}));
        // Offscreen, no window manager gives the window back its activation when the boxes close.
        finestra.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&finestra));
        // Asked to close, as by its close box; refused here, since closing ends the program's loops.
        ChiusureRifiutate chiusure;
        finestra.installEventFilter(&chiusure);
        QTest::keyClick(EDTn2(finestra), Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(chiusure.richieste, 1);
    }

    void numeroFissoSempreNelPrimoCampo_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("fisso");
        QTest::newRow("90") << FormatoNumeroFisso::Contenuto(QStringLiteral("90")) << "90";
        QTest::newRow("05 equals a drawn 5") << FormatoNumeroFisso::Contenuto(QStringLiteral("05")) << "05";
        QTest::newRow("01 equals a drawn 1") << FormatoNumeroFisso::Contenuto(QStringLiteral("01")) << "01";
        QTest::newRow("single digit padded") << QByteArray("AO '7\r\n") << "07";
    }
    void numeroFissoSempreNelPrimoCampo()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, fisso);
        CartellaProva cartella;
        cartella.Scrivi(QStringLiteral("redme.qzl"), file);
        TFrmMain finestra;
        RispostaBox risposte;
        for (int giocata = 0; giocata < 2000; ++giocata) {
            BTSgioca(finestra)->click();
            const QStringList campi = Campi(finestra);
            QCOMPARE(campi.first(), fisso);
            QVERIFY(!campi.mid(1).contains(fisso));
            QVERIFY(TuttiDiversi(campi));
        }
        QCOMPARE(Memo1(finestra)->Conteggio(), 2000);
        QCOMPARE(risposte.Visti().size(), 0);
    }

    void fileNonValidoNonRegistraNiente_data()
    {
        QTest::addColumn<QByteArray>("file");
        // Which contents the reader refuses is its own test's business; here, what a refused file does
        // to the play.
        QTest::newRow("letters") << QByteArray("AO 'ab'$tg\r\n");
        QTest::newRow("empty") << QByteArray();
    }
    void fileNonValidoNonRegistraNiente()
    {
        QFETCH(QByteArray, file);
        CartellaProva cartella;
        TFrmMain finestra;
        BTSgioca(finestra)->click();
        const QStringList prima = Campi(finestra);
        cartella.Scrivi(QStringLiteral("redme.qzl"), file);

        RispostaBox risposte;
        risposte.Rispondi(QMessageBox::Ok);
        BTSgioca(finestra)->click();
        QCOMPARE(risposte.Visti().size(), 1);
        QCOMPARE(risposte.Visti().first().titolo, QStringLiteral("Kelmo_Dravolo"));
        QCOMPARE(risposte.Visti().first().icona, QMessageBox::Critical);
        QVERIFY(risposte.Visti().first().testo.contains(QStringLiteral("redme.qzl")));
        QCOMPARE(Memo1(finestra)->Conteggio(), 1);
        // The first field keeps the previous play; the others show the raw draws, before the padding
        // rule.
        const QStringList dopo = Campi(finestra);
        QCOMPARE(dopo.first(), prima.first());
        for (const QString &testo : dopo.mid(1)) {
            bool numero = false;
            const int valore = testo.toInt(&numero);
            QVERIFY(numero && valore >= 1 && valore <= 90 && testo == QString::number(valore));
        }

        QVERIFY(QFile::remove(NumeroFisso::Percorso()));
        BTSgioca(finestra)->click();
        QCOMPARE(Memo1(finestra)->Conteggio(), 2);
        QCOMPARE(risposte.Visti().size(), 1);
    }

    void chiusuraConUnaDomandaAperta()
    {
        // Closing the main window ends the program at once, also while one of its questions waits for
        // an answer: the box has no owner and refuses to close without one.
        CartellaProva cartella;
        TFrmMain finestra;
        finestra.show();
        QVERIFY(QTest::qWaitForWindowExposed(&finestra));
        BTSgioca(finestra)->click();
        bool chiusa = false;
        bool soccorsa = false;
        QTimer utente;
        utente.setInterval(10);
        connect(&utente, &QTimer::timeout, this, [&] {
            if (!chiusa && RispostaBox::BoxAperto()) {
                chiusa = true;
                finestra.windowHandle()->close();
            }
        });
        // Only for a program that goes on running: its loops are ended from outside.
        QTimer soccorso;
        soccorso.setSingleShot(true);
        connect(&soccorso, &QTimer::timeout, this, [&] {
            soccorsa = true;
            QCoreApplication::exit(1);
        });
        QTimer::singleShot(0, BTSstampa(finestra), &QPushButton::click);
        utente.start();
        soccorso.start(5000);
        const int esito = QCoreApplication::exec();
        QVERIFY(chiusa);
        QVERIFY(!soccorsa);
        QCOMPARE(esito, 0);
        QVERIFY(!finestra.isVisible());
        QTRY_VERIFY(!RispostaBox::BoxAperto());
    }

    void estrazioneUniforme()
    {
        // Every number from 01 to 90 comes with the same chance in every field: a play is kept only
        // when its six values differ, which by symmetry favours none of them.
        CartellaProva cartella;
        TFrmMain finestra;
        constexpr int Giocate = 60000;
        std::array<qint64, 91> conteggi{};
        for (int giocata = 0; giocata < Giocate; ++giocata) {
            BTSgioca(finestra)->click();
            for (QLineEdit *campo : finestra.CampiNumero())
                ++conteggi[static_cast<std::size_t>(campo->text().toInt())];
        }
        QCOMPARE(conteggi[0], 0);

        const double valori = 6.0 * Giocate;
        const double atteso = valori / 90;
        double chiQuadro = 0;
        for (int v = 1; v <= 90; ++v)
            chiQuadro += std::pow(conteggi[v] - atteso, 2) / atteso;
        // One spread of a value's count is sqrt(atteso), about 63 here: the bounds stand some six
        // spreads away, while a rule that drew 01 twice as often would give 1/45.
        const double quotaUno = conteggi[1] / valori;
        qInfo("chi-square %.1f over 89 degrees of freedom; 01 drawn %.4f of the time, 90 %.4f (1/90 = %.4f)",
              chiQuadro, quotaUno, conteggi[90] / valori, 1.0 / 90);
        QVERIFY2(chiQuadro < SogliaChiQuadro, qPrintable(QString::number(chiQuadro)));
        QVERIFY(conteggi[90] > 0);
        QVERIFY2(quotaUno > 0.9 / 90 && quotaUno < 1.1 / 90, qPrintable(QString::number(quotaUno)));
    }

    void guida_data()
    {
        QTest::addColumn<bool>("accanto");
        QTest::addColumn<QByteArray>("sottocartella"); // the executable's folder within the test's folder
        QTest::newRow("missing beside the executable") << false << QByteArray();
        QTest::newRow("beside the executable") << true << QByteArray();
        QTest::newRow("missing in a folder whose name is not UTF-8") << false << QByteArray("citt\xe0");
        QTest::newRow("beside the executable in a folder whose name is not UTF-8")
            << true << QByteArray("citt\xe0");
    }
    void guida()
    {
        // Looked for next to the executable, whatever the working directory: a help.html there is not
        // the one opened. A folder name that Qt cannot decode is still the folder used, and the opener
        // gets its real bytes.
        QFETCH(bool, accanto);
        QFETCH(QByteArray, sottocartella);
        CartellaProva cartella;
        const QByteArray vera = cartella.Sottocartella(sottocartella);
        const QByteArray guida = vera + "/help.html";
        if (accanto) {
            std::FILE *file = std::fopen(guida.constData(), "w");
            QVERIFY(file && std::fputs("<html></html>", file) >= 0 && std::fclose(file) == 0);
        }
        const auto pulisci = qScopeGuard([&] {
            if (!sottocartella.isEmpty()) {
                ::unlink(guida.constData());
                ::rmdir(vera.constData());
            }
        });
        QTemporaryDir altra;
        QVERIFY(QFile(altra.filePath(QStringLiteral("help.html"))).open(QIODevice::WriteOnly));
        const QString precedente = QDir::currentPath();
        QVERIFY(QDir::setCurrent(altra.path()));
        TFrmMain finestra;
        AperturaProva apertura;
        RispostaBox risposte;
        Controllo<QAction>(finestra, "Help1")->trigger();
        QDir::setCurrent(precedente);
        if (accanto) {
            QVERIFY(risposte.Visti().isEmpty());
            QCOMPARE(apertura.Aperti.size(), 1);
            // Decoded as the opener decodes it, the address names the file's real bytes.
            const QByteArray indirizzo = apertura.Aperti[0].toEncoded();
            QVERIFY2(indirizzo.startsWith("file:///"), indirizzo.constData());
            QCOMPARE(QByteArray::fromPercentEncoding(indirizzo.mid(7)), guida);
            return;
        }
        QCOMPARE(risposte.TitoliETesti(),
                 QStringList{"Errore|Impossibile aprire la guida, file help.html non trovato"});
        QCOMPARE(risposte.Visti()[0].icona, QMessageBox::Critical);
        QVERIFY(apertura.Aperti.isEmpty());
    }
};

int main(int argc, char *argv[])
{
    Applicazione applicazione(argc, argv);
    TestFinestraPrincipale prova;
    return QTest::qExec(&prova, argc, argv);
}
#include "tst_finestraprincipale.moc"
