// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The printer text device on real PDF output, read back with pdftotext: line advance, blank and empty
// lines, the indent, wrapping after the last character that fits, new pages, fonts, and failures that
// hand nothing to the printer and leave no empty or cut file.
#include "kit/Applicazione.h"
#include "regole/Errore.h"
#include "stampa/DispositivoTesto.h"
#include "support/CartellaPiena.h"
#include "support/LetturaPdf.h"
#include "support/Sorveglianza.h"

#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <sys/stat.h>

namespace
{

// At 72 pixels per inch a device pixel is a PDF point, so the rules read directly in the PDF.
constexpr int Risoluzione = 72;
constexpr double Tolleranza = 0.05;

std::unique_ptr<QPrinter> Stampante(const QString &pdf, QSizeF pagina, double margine)
{
    auto stampante = std::make_unique<QPrinter>(QPrinter::HighResolution);
    stampante->setOutputFormat(QPrinter::PdfFormat);
    stampante->setOutputFileName(pdf);
    stampante->setResolution(Risoluzione);
    stampante->setPageLayout(QPageLayout(QPageSize(pagina, QPageSize::Point), QPageLayout::Portrait,
                                         QMarginsF(margine, margine, margine, margine), QPageLayout::Point));
    return stampante;
}

void Stampa(QPrinter &stampante, const QStringList &righe, const QFont &carattere = CarattereStampa())
{
    DispositivoTesto dispositivo(stampante);
    dispositivo.Apri();
    dispositivo.ImpostaCarattere(carattere);
    for (const QString &riga : righe)
        dispositivo.ScriviRiga(riga);
    dispositivo.Chiudi();
}

// What stands under a name: the type bits of its mode, 0 when nothing does.
mode_t Tipo(const QString &percorso)
{
    struct stat stato = {};
    return ::lstat(QFile::encodeName(percorso).constData(), &stato) == 0 ? stato.st_mode & S_IFMT : 0;
}

} // namespace

class TestDispositivoTesto : public QObject
{
    Q_OBJECT

    QTemporaryDir m_cartella;
    QString Pdf(const char *nome) const { return m_cartella.filePath(QString::fromLatin1(nome) + ".pdf"); }

private slots:
    void initTestCase()
    {
        Applicazione::ImpostaSostituzioniCaratteri();
        QVERIFY(m_cartella.isValid());
    }

    void avanzamentoERientro()
    {
        const QString pdf = Pdf("righe");
        auto stampante = Stampante(pdf, QSizeF(300, 400), 20);
        Stampa(*stampante, {" ", "AB", " ", "       05 12", "", "CD"});

        const QList<PaginaPdf> pagine = LeggiPdf(pdf);
        QCOMPARE(pagine.size(), 1);
        const QList<RigaPdf> &righe = pagine[0].righe;
        QCOMPARE(righe.size(), 3);
        QCOMPARE(righe[0].Testo(), QStringLiteral("AB"));
        QCOMPARE(righe[1].Testo(), QStringLiteral("05 12"));
        QCOMPARE(righe[2].Testo(), QStringLiteral("CD"));

        const QFontMetrics metriche(CarattereStampa(), stampante.get());
        const int altezza = metriche.height();
        // A line with text, the blank ones included, advances by its height plus 2; an empty line by
        // the character height.
        QVERIFY2(std::abs(righe[1].y0 - righe[0].y0 - 2 * (altezza + 2)) < Tolleranza,
                 qPrintable(QString::number(righe[1].y0 - righe[0].y0)));
        QVERIFY2(std::abs(righe[2].y0 - righe[1].y0 - (altezza + 2 + altezza)) < Tolleranza,
                 qPrintable(QString::number(righe[2].y0 - righe[1].y0)));
        // The first line stands at the top of the printable area: "AB" is the second line.
        QVERIFY2(std::abs(righe[0].y0 - (20 + altezza + 2)) < 1.5, qPrintable(QString::number(righe[0].y0)));
        // Lines start at the left edge of the printable area; the seven blanks keep their width.
        QVERIFY2(std::abs(righe[0].x0 - 20) < Tolleranza, qPrintable(QString::number(righe[0].x0)));
        const double sette =
            QFontMetricsF(CarattereStampa(), stampante.get()).horizontalAdvance(QStringLiteral("       "));
        QVERIFY(sette > 10);
        QVERIFY2(std::abs(righe[1].x0 - 20 - sette) < Tolleranza,
                 qPrintable(QStringLiteral("%1 against %2").arg(righe[1].x0 - 20).arg(sette)));
        QCOMPARE(CaratteriPdf(pdf), QStringList{QStringLiteral("LiberationSans-Bold")});
    }

    void aCapoDopoLUltimoCarattereCheEntra_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::newRow("digits") << QString(QStringLiteral("0123456789")).repeated(10);
        QTest::newRow("wide and narrow letters") << QString(QStringLiteral("WiWWiiMl1.")).repeated(9);
    }
    void aCapoDopoLUltimoCarattereCheEntra()
    {
        QFETCH(QString, testo);
        const QString pdf = Pdf("acapo");
        auto stampante = Stampante(pdf, QSizeF(200, 300), 10);
        Stampa(*stampante, {testo, QStringLiteral("END")});

        const QList<PaginaPdf> pagine = LeggiPdf(pdf);
        QCOMPARE(pagine.size(), 1);
        const QList<RigaPdf> &righe = pagine[0].righe;
        QVERIFY(righe.size() >= 3);
        QCOMPARE(righe.back().Testo(), QStringLiteral("END"));

        const QFontMetrics metriche(CarattereStampa(), stampante.get());
        const int larghezza = stampante->width();
        QCOMPARE(larghezza, 180);
        QString ricomposto;
        for (qsizetype i = 0; i + 1 < righe.size(); ++i) {
            const QString parte = righe[i].Testo();
            ricomposto += parte;
            QVERIFY2(std::abs(righe[i].x0 - 10) < 0.5, qPrintable(QString::number(righe[i].x0)));
            QVERIFY2(metriche.horizontalAdvance(parte) <= larghezza, qPrintable(parte));
            if (i + 2 < righe.size()) {
                // One more character would not have fitted.
                const QString conIlSeguente = parte + testo.at(ricomposto.size());
                QVERIFY2(metriche.horizontalAdvance(conIlSeguente) > larghezza, qPrintable(conIlSeguente));
            }
            if (i > 0)
                QVERIFY(std::abs(righe[i].y0 - righe[i - 1].y0 - (metriche.height() + 2)) < Tolleranza);
        }
        QCOMPARE(ricomposto, testo);
    }

    void nuovaPagina_data()
    {
        QTest::addColumn<int>("pagineIntere");
        QTest::addColumn<int>("resto");
        QTest::newRow("exactly one page: no blank sheet after it") << 1 << 0;
        QTest::newRow("one line more") << 1 << 1;
        QTest::newRow("two pages and three lines") << 2 << 3;
    }
    void nuovaPagina()
    {
        QFETCH(int, pagineIntere);
        QFETCH(int, resto);
        const QString pdf = Pdf("pagine");
        auto stampante = Stampante(pdf, QSizeF(200, 150), 10);
        const int altezzaPagina = stampante->height();
        QCOMPARE(altezzaPagina, 130);
        const int passo = QFontMetrics(CarattereStampa(), stampante.get()).height() + 2;
        // A page ends with the first line after which the position passes the page height less twice
        // the line height.
        int perPagina = 1;
        while (perPagina * passo <= altezzaPagina - 2 * passo)
            ++perPagina;
        QVERIFY(perPagina > 3);

        QStringList scritte;
        for (int i = 0; i < pagineIntere * perPagina + resto; ++i)
            scritte << QStringLiteral("R%1").arg(i, 3, 10, QLatin1Char('0'));
        Stampa(*stampante, scritte);

        const QList<PaginaPdf> pagine = LeggiPdf(pdf);
        QCOMPARE(pagine.size(), pagineIntere + (resto > 0 ? 1 : 0));
        QStringList lette;
        for (qsizetype n = 0; n < pagine.size(); ++n) {
            const QList<RigaPdf> &righe = pagine[n].righe;
            QCOMPARE(righe.size(), n < pagineIntere ? perPagina : resto);
            // Each page starts again at the top.
            QVERIFY(std::abs(righe.front().y0 - pagine[0].righe.front().y0) < Tolleranza);
            // Nothing runs past the bottom of the printable area.
            QVERIFY2(righe.back().y1 <= 10 + altezzaPagina, qPrintable(QString::number(righe.back().y1)));
            for (const RigaPdf &riga : righe)
                lette << riga.Testo();
        }
        QCOMPARE(lette, scritte);
    }

    void carattereValeDaQuandoImpostato()
    {
        const QString pdf = Pdf("caratteri");
        auto stampante = Stampante(pdf, QSizeF(300, 400), 20);
        const QFont grande(QStringLiteral("Liberation Sans"), 20);
        {
            DispositivoTesto dispositivo(*stampante);
            dispositivo.Apri();
            dispositivo.ImpostaCarattere(CarattereStampa());
            dispositivo.ScriviRiga(QStringLiteral("AB"));
            dispositivo.ImpostaCarattere(grande);
            dispositivo.ScriviRiga(QStringLiteral("CD"));
            dispositivo.ScriviRiga(QStringLiteral("EF"));
            dispositivo.Chiudi();
        }
        const QList<PaginaPdf> pagine = LeggiPdf(pdf);
        QCOMPARE(pagine.size(), 1);
        const QList<RigaPdf> &righe = pagine[0].righe;
        QCOMPARE(righe.size(), 3);
        QVERIFY(righe[1].y1 - righe[1].y0 > 1.5 * (righe[0].y1 - righe[0].y0));
        const int passoGrande = QFontMetrics(grande, stampante.get()).height() + 2;
        QVERIFY(std::abs(righe[2].y0 - righe[1].y0 - passoGrande) < Tolleranza);
        QStringList caratteri = CaratteriPdf(pdf);
        caratteri.sort();
        QCOMPARE(caratteri,
                 (QStringList{QStringLiteral("LiberationSans"), QStringLiteral("LiberationSans-Bold")}));
    }

    void stampanteCheNonApre_data()
    {
        QTest::addColumn<QString>("ostacolo");
        QTest::addColumn<bool>("precedente");
        QTest::addColumn<QString>("messaggio");
        const QString nonRegolare =
            QStringLiteral("Impossibile avviare la stampa su %1: non è un file regolare");
        const QString pieno =
            QStringLiteral("Impossibile scrivere la stampa su %1: spazio su disco esaurito");
        QTest::newRow("missing folder")
            << "manca" << false << "Impossibile avviare la stampa su %1: file o cartella inesistente";
        QTest::newRow("named pipe: refused, never waited on") << "fifo" << false << nonRegolare;
        QTest::newRow("folder") << "cartella" << false << nonRegolare;
        // Planted by another user of a shared folder: what it points to is never replaced.
        QTest::newRow("link to a file elsewhere") << "collegamento" << false << nonRegolare;
        QTest::newRow("full disk, no earlier file") << "pieno" << false << pieno;
        QTest::newRow("full disk, earlier file kept") << "pieno" << true << pieno;
    }
    void stampanteCheNonApre()
    {
        // A file that cannot be written whole is reported, and leaves no empty or cut file behind:
        // whatever stood under that name stays as it was.
        QFETCH(QString, ostacolo);
        QFETCH(bool, precedente);
        QFETCH(QString, messaggio);
        const QByteArray prima = "%PDF-1.4 an earlier print";
        std::unique_ptr<CartellaPiena> piena;
        QTemporaryDir altrove;
        bool motivoProprio = false;
        QString pdf = m_cartella.filePath(QStringLiteral("manca/stampa.pdf"));
        if (ostacolo == QLatin1String("fifo") || ostacolo == QLatin1String("cartella")) {
            pdf = Pdf(ostacolo.toLatin1().constData());
            const QByteArray percorso = QFile::encodeName(pdf);
            QVERIFY(ostacolo == QLatin1String("fifo") ? ::mkfifo(percorso.constData(), 0600) == 0
                                                      : ::mkdir(percorso.constData(), 0700) == 0);
        } else if (ostacolo == QLatin1String("collegamento")) {
            pdf = Pdf("collegamento");
            QVERIFY(altrove.isValid());
            QFile vittima(altrove.filePath(QStringLiteral("vittima")));
            QVERIFY(vittima.open(QIODevice::WriteOnly) && vittima.write(prima) == prima.size());
            vittima.close();
            QVERIFY(QFile::link(vittima.fileName(), pdf));
        } else if (ostacolo == QLatin1String("pieno")) {
            piena = std::make_unique<CartellaPiena>();
            if (!piena->Motivo().isEmpty())
                QSKIP(qPrintable(QStringLiteral("no full file system can be made here: ") + piena->Motivo()));
            pdf = piena->Percorso(QStringLiteral("stampa.pdf"));
            if (precedente) {
                QFile scritto(pdf);
                QVERIFY(scritto.open(QIODevice::WriteOnly) && scritto.write(prima) == prima.size());
            }
            QVERIFY2(piena->Riempi(), qPrintable(piena->Motivo()));
            // A file-size limit, where no tmpfs can be mounted, fails the write with a reason of its own.
            motivoProprio = !piena->Montata();
        }
        const mode_t tipo = Tipo(pdf);

        auto stampante = Stampante(pdf, QSizeF(300, 400), 20);
        try {
            // A named pipe opened for writing would wait for a reader for ever.
            const Sorveglianza guardia("printing onto a file that cannot be written");
            Stampa(*stampante, {QStringLiteral("AB")});
            QFAIL("printing onto a file that cannot be written did not fail");
        } catch (const Errore &errore) {
            if (motivoProprio)
                QVERIFY2(
                    errore.messaggio().startsWith(messaggio.section(QLatin1Char(':'), 0, 0).arg(pdf) + ": "),
                    qPrintable(errore.messaggio()));
            else
                QCOMPARE(errore.messaggio(), messaggio.arg(pdf));
        }

        QCOMPARE(Tipo(pdf), tipo);
        if (ostacolo == QLatin1String("collegamento")) {
            QFile vittima(altrove.filePath(QStringLiteral("vittima")));
            QVERIFY(vittima.open(QIODevice::ReadOnly));
            QCOMPARE(vittima.readAll(), prima);
        }
        if (piena) {
            QCOMPARE(piena->File(), precedente ? QStringList{QStringLiteral("stampa.pdf")} : QStringList());
            QFile letto(pdf);
            QCOMPARE(letto.open(QIODevice::ReadOnly) ? letto.readAll() : QByteArray(),
                     precedente ? prima : QByteArray());
        }
    }

    void lavoroNonChiusoNonArrivaAllaStampante()
    {
        const QString pdf = Pdf("interrotta");
        auto stampante = Stampante(pdf, QSizeF(200, 150), 10);
        {
            DispositivoTesto dispositivo(*stampante);
            dispositivo.Apri();
            for (int i = 0; i < 30; ++i)
                dispositivo.ScriviRiga(QStringLiteral("R%1").arg(i));
            QVERIFY(dispositivo.Pagine() > 1);
        }
        QVERIFY(!QFile::exists(pdf));
    }
};

QTEST_MAIN(TestDispositivoTesto)
#include "tst_stampa_dispositivo.moc"
