// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The player's plays beside the designed window: several drawn at once, the session's plays listed in
// a window of their own, and the plays (the session's, or a file's) checked against a draw.
#include "principale/FinestraGiocate.h"
#include "principale/FinestraVerifica.h"
#include "principale/LetturaGiocate.h"
#include "principale/SceltaQuanteGiocate.h"
#include "principale/TFrmMain.h"
#include "regole/Estrazione.h"
#include "regole/FileGiocate.h"
#include "support/CartellaProva.h"
#include "support/Controllo.h"
#include "support/SostituzioniProva.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSet>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>

namespace
{

// Acts on the next modal window of that kind as the user would, once it is on screen.
template <typename Finestra> void AlProssimo(std::function<void(Finestra &)> azione)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, azione] {
        if (auto *finestra = qobject_cast<Finestra *>(QApplication::activeModalWidget())) {
            timer->deleteLater();
            azione(*finestra);
        }
    });
    timer->start();
}

QStringList Voci(const QListWidget *elenco, int ruolo = Qt::DisplayRole)
{
    QStringList voci;
    for (int i = 0; i < elenco->count(); ++i)
        voci << elenco->item(i)->data(ruolo).toString();
    return voci;
}

void Scrivi(const QString &percorso, const QByteArray &contenuto)
{
    QFile file(percorso);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(contenuto) == contenuto.size());
}

} // namespace

class TestGiocate : public QObject
{
    Q_OBJECT

    std::unique_ptr<CartellaProva> m_cartella;
    std::unique_ptr<TFrmMain> m_finestra;

    void GiocaPiuVolte(int quante)
    {
        AlProssimo<SceltaQuanteGiocate>([quante](SceltaQuanteGiocate &scelta) {
            if (quante <= 0) {
                scelta.reject();
                return;
            }
            scelta.Quante()->setValue(quante);
            scelta.accept();
        });
        Controllo<QAction>(*m_finestra, "GiocaPiuVolte1")->trigger();
    }

private slots:
    void init()
    {
        m_cartella = std::make_unique<CartellaProva>();
        m_finestra = std::make_unique<TFrmMain>();
        m_finestra->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_finestra.get()));
    }
    void cleanup()
    {
        m_finestra.reset();
        m_cartella.reset();
    }

    void piuGiocateInUnaVolta_data()
    {
        QTest::addColumn<int>("prima");  // presses of Gioca before
        QTest::addColumn<int>("quante"); // chosen in the window; 0: cancelled
        QTest::newRow("ten at once, the first plays of the session") << 0 << 10;
        QTest::newRow("a hundred, none repeated") << 0 << 100;
        QTest::newRow("one, after two presses of Gioca") << 2 << 1;
        QTest::newRow("cancelled: nothing drawn") << 0 << 0;
    }
    void piuGiocateInUnaVolta()
    {
        QFETCH(int, prima);
        QFETCH(int, quante);
        for (int i = 0; i < prima; ++i)
            Controllo<QPushButton>(*m_finestra, "BTSgioca")->click();
        GiocaPiuVolte(quante);

        const QStringList giocate = m_finestra->Giocate();
        QCOMPARE(giocate.size(), prima + quante);
        // The first-play rule, once: printing enabled, the placeholder gone.
        QCOMPARE(Controllo<QPushButton>(*m_finestra, "BTSstampa")->isEnabled(), prima + quante > 0);
        if (giocate.isEmpty())
            return;
        QCOMPARE(Estrazione::RigaGiocata(m_finestra->Combinazione()), giocate.constLast());
        QSet<QString> diverse;
        for (const QString &giocata : giocate.mid(prima)) {
            QCOMPARE(Estrazione::PrimaCoppiaUguale(Estrazione::DallaRiga(giocata)), -1);
            diverse.insert(Estrazione::RigaGiocata(Estrazione::InOrdine(Estrazione::DallaRiga(giocata))));
        }
        QCOMPARE(diverse.size(), quante);
    }

    void elencoDelleGiocate()
    {
        Controllo<QAction>(*m_finestra, "MostraGiocate1")->trigger();
        auto *elenco = m_finestra->findChild<FinestraGiocate *>();
        QVERIFY(elenco && elenco->isVisible());
        QCOMPARE(elenco->Elenco()->count(), 0);
        QCOMPARE(elenco->Conteggio()->text(), QStringLiteral("Nessuna giocata nella sessione"));
        QVERIFY(!elenco->Copia()->isEnabled());

        // It stays open beside the main window and follows the plays as they are drawn.
        for (int i = 0; i < 3; ++i)
            Controllo<QPushButton>(*m_finestra, "BTSgioca")->click();
        GiocaPiuVolte(5);
        const QStringList giocate = m_finestra->Giocate();
        QCOMPARE(elenco->Elenco()->count(), 8);
        QCOMPARE(elenco->Conteggio()->text(), QStringLiteral("8 giocate nella sessione"));
        const QStringList voci = Voci(elenco->Elenco());
        const QStringList lette = Voci(elenco->Elenco(), Qt::AccessibleTextRole);
        for (int i = 0; i < giocate.size(); ++i) {
            const QString ordinata =
                Estrazione::RigaGiocata(Estrazione::InOrdine(Estrazione::DallaRiga(giocate.at(i))));
            // Numbered from 1, as drawn and in ascending order side by side; heard as one line.
            QVERIFY2(voci.at(i).startsWith(QStringLiteral("%1.").arg(i + 1, 3)), qPrintable(voci.at(i)));
            QVERIFY2(voci.at(i).indexOf(giocate.at(i)) < voci.at(i).lastIndexOf(ordinata),
                     qPrintable(voci.at(i)));
            QCOMPARE(lette.at(i), QStringLiteral("Giocata %1: %2").arg(i + 1).arg(ordinata));
        }
        // One such window at a time.
        Controllo<QAction>(*m_finestra, "MostraGiocate1")->trigger();
        QCOMPARE(m_finestra->findChildren<FinestraGiocate *>().size(), 1);

        // Copied and saved as the main window's menu does.
        QTest::mouseClick(elenco->Copia(), Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), m_finestra->TestoGiocate());
        QTemporaryDir cartella;
        const QString file = cartella.filePath(QStringLiteral("giocate.txt"));
        SostituzioniProva sostituzioni;
        // The answer runs on, its own copy intact, past a seam changed while it runs, as one may be
        // during a dialog's event loop.
        sostituzioni.SceltaSalvataggio([file](QWidget *, const QString &) {
            SostituzioniProva durante;
            durante.LimiteTempo(std::chrono::milliseconds(1));
            return file;
        });
        QTest::mouseClick(elenco->Salva(), Qt::LeftButton);
        QFile salvato(file);
        QVERIFY(salvato.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(salvato.readAll()), m_finestra->TestoGiocate());
    }

    void verificaVincite_data()
    {
        // The six numbers and the Jolly typed; the plays (null: the session's, each followed by its
        // expected line); what shows: the reasons beside the fields, or the lines and the summary.
        QTest::addColumn<QStringList>("estratti");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("motivi"); // one a field, six then the Jolly
        QTest::addColumn<QStringList>("righe");
        QTest::addColumn<QString>("riepilogo");
        const QStringList buoni{"5", "12", "33", "47", "68", "90", "7"};
        const QStringList nessunMotivo(7, QString());
        const QByteArray salvate =
            "       05 12 33 47 68 90\n       90 68 47 33 12 07\n       01 02 03 04 05 06\n";
        QTest::newRow("a file saved by the program")
            << buoni << salvate << nessunMotivo
            << QStringList{"Giocata 1: [05] [12] [33] [47] [68] [90] - 6",
                           "Giocata 2: 07 [12] [33] [47] [68] [90] - 5+1",
                           "Giocata 3: 01 02 03 04 [05] 06 - nessuna"}
            << "Riepilogo - 6: 1, 5+1: 1, 5: 0, 4: 0, 3: 0, 2: 0, nessuna: 1";
        QTest::newRow("without the Jolly, five is 5")
            << QStringList{"5", "12", "33", "47", "68", "90", ""} << salvate << nessunMotivo
            << QStringList{"Giocata 1: [05] [12] [33] [47] [68] [90] - 6",
                           "Giocata 2: 07 [12] [33] [47] [68] [90] - 5",
                           "Giocata 3: 01 02 03 04 [05] 06 - nessuna"}
            << "Riepilogo - 6: 1, 5+1: 0, 5: 1, 4: 0, 3: 0, 2: 0, nessuna: 1";
        QStringList motivi = nessunMotivo;
        motivi[2] = QStringLiteral("non è un numero da 1 a 90");
        motivi[4] = QStringLiteral("ripete il numero del campo 1");
        motivi[6] = QStringLiteral("il Jolly non può essere uno dei sei numeri");
        QTest::newRow("refused fields, each with its reason, nothing computed")
            << QStringList{"5", "12", "91", "47", "05", "90", "12"} << salvate << motivi << QStringList{}
            << QString();
        QTest::newRow("a malformed file: refused whole, its line named")
            << buoni << QByteArray("       05 12 33 47 68 90\n       05 12 33\n") << nessunMotivo
            << QStringList{} << "riga 2";
    }
    void verificaVincite()
    {
        QFETCH(QStringList, estratti);
        QFETCH(QByteArray, file);
        QFETCH(QStringList, motivi);
        QFETCH(QStringList, righe);
        QFETCH(QString, riepilogo);
        QTemporaryDir cartella;
        const QString percorso = cartella.filePath(QStringLiteral("giocate.txt"));
        Scrivi(percorso, file);
        SostituzioniProva sostituzioni;
        sostituzioni.SceltaApertura([&](QWidget *, const QString &) { return percorso; });

        AlProssimo<FinestraVerifica>([&](FinestraVerifica &verifica) {
            // Closed however the checks end: a failed one returns from here.
            const auto chiudi = qScopeGuard([&] { verifica.reject(); });
            for (int i = 0; i < 6; ++i)
                verifica.Numeri()[std::size_t(i)]->setText(estratti.at(i));
            verifica.Jolly()->setText(estratti.at(6));
            QTest::mouseClick(verifica.ApriGiocate(), Qt::LeftButton);
            QVERIFY(verifica.DaFile()->isChecked());
            QTest::mouseClick(verifica.Verifica(), Qt::LeftButton);
            QStringList visti;
            for (const QLabel *motivo : verifica.Motivi())
                visti << (motivo->isVisible() ? motivo->text() : QString());
            QCOMPARE(visti, motivi);
            QCOMPARE(Voci(verifica.Risultati()), righe);
            QVERIFY2(riepilogo.isEmpty() ? verifica.Riepilogo()->text().isEmpty()
                                         : verifica.Riepilogo()->text().contains(riepilogo),
                     qPrintable(verifica.Riepilogo()->text()));
            QCOMPARE(verifica.Copia()->isEnabled(), !righe.isEmpty());
            if (!righe.isEmpty()) {
                QTest::mouseClick(verifica.Copia(), Qt::LeftButton);
                QCOMPARE(QGuiApplication::clipboard()->text(), righe.join('\n') + '\n' + riepilogo + '\n');
            }
        });
        Controllo<QAction>(*m_finestra, "VerificaVincite1")->trigger();
    }

    void verificaDelleGiocateDellaSessione()
    {
        // The session's plays: each first play checked against itself wins a 6, and every play is counted.
        for (int i = 0; i < 4; ++i)
            Controllo<QPushButton>(*m_finestra, "BTSgioca")->click();
        const QStringList giocate = m_finestra->Giocate();
        const Estrazione::Combinazione prima = Estrazione::DallaRiga(giocate.constFirst());
        AlProssimo<FinestraVerifica>([&](FinestraVerifica &verifica) {
            const auto chiudi = qScopeGuard([&] { verifica.reject(); });
            QVERIFY(verifica.DellaSessione()->isChecked());
            for (std::size_t i = 0; i < 6; ++i)
                verifica.Numeri()[i]->setText(prima[i]);
            QTest::mouseClick(verifica.Verifica(), Qt::LeftButton);
            const QStringList righe = Voci(verifica.Risultati());
            QCOMPARE(righe.size(), giocate.size());
            QVERIFY2(righe.constFirst().endsWith(QStringLiteral(" - 6")), qPrintable(righe.constFirst()));
        });
        Controllo<QAction>(*m_finestra, "VerificaVincite1")->trigger();
    }

    void fileDaNonLeggere_data()
    {
        QTest::addColumn<QString>("genere");
        QTest::addColumn<QString>("motivo");
        QTest::newRow("a link to a file of plays") << "collegamento"
                                                   << "è un collegamento simbolico";
        QTest::newRow("a named pipe") << "fifo"
                                      << "non è un file regolare";
        QTest::newRow("too big") << "grande"
                                 << "il file supera 1 MB";
    }
    void fileDaNonLeggere()
    {
        // Read with the care every read here has: never through a link, never more than the limit.
        QFETCH(QString, genere);
        QFETCH(QString, motivo);
        QTemporaryDir cartella;
        const QString buono = cartella.filePath(QStringLiteral("buono.txt"));
        const QString percorso = cartella.filePath(QStringLiteral("giocate.txt"));
        Scrivi(buono, "       05 12 33 47 68 90\n");
        if (genere == QLatin1String("collegamento"))
            QVERIFY(QFile::link(buono, percorso));
        else if (genere == QLatin1String("fifo"))
            QVERIFY(::mkfifo(QFile::encodeName(percorso).constData(), 0600) == 0);
        else
            Scrivi(
                percorso,
                QByteArray("       05 12 33 47 68 90\n").repeated(FileGiocate::MassimaDimensione / 25 + 1));
        QString visto;
        try {
            LetturaGiocate::Leggi(percorso);
        } catch (const Errore &errore) {
            visto = errore.messaggio();
        }
        QCOMPARE(visto, QStringLiteral("Impossibile leggere le giocate da %1: %2").arg(percorso, motivo));
        QCOMPARE(LetturaGiocate::Leggi(buono).size(), 1);
    }
};

QTEST_MAIN(TestGiocate)
#include "tst_giocate.moc"
