// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Printing from the main window through the real print path to a PDF file, read back with
// pdftotext: the two questions, the stop question over 100 plays, the lines of both kinds of printing
// with their indent, the header once on the first page, long logs over pages, cancelling, the printer
// dialog itself, and a printer that fails. And the same play lines saved to a text file.
#include "Configurazione.h"
#include "kit/Applicazione.h"
#include "kit/Servizi.h"
#include "principale/RegistroGiocate.h"
#include "principale/TFrmMain.h"
#include "regole/MotiviSistema.h"
#include "stampa/StampaGiocate.h"
#include "support/CartellaPiena.h"
#include "support/CartellaProva.h"
#include "support/ComeAltroUtente.h"
#include "support/Controllo.h"
#include "support/FinestreProva.h"
#include "support/LetturaPdf.h"
#include "support/RispostaBox.h"
#include "support/SostituzioniProva.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <cerrno>
#include <memory>

#include <sys/stat.h>

namespace
{

const QString DomandaTutte = QStringLiteral("Stampare tutte le giocate effettuate fino adesso?");
const QString DomandaCorrente = QStringLiteral("Stampare solamente questa giocata?");
const QString DomandaInterrompo =
    QStringLiteral("Sono state effettuate più di 100 giocate, Interrompo la stampa?");
// The host of the site and the mailbox the program was built with.
const QString Intestazione = QStringLiteral("Riepilogo Stampa giocate effettuate tramite Kelmo_Dravolo - ") +
                             QUrl(QString::fromUtf8(Configurazione::IndirizzoSito)).host() +
                             QStringLiteral(" - ") + QString::fromUtf8(Configurazione::IndirizzoMail);

} // namespace

class TestStampa : public QObject
{
    Q_OBJECT

    QTemporaryDir m_pdf;
    std::unique_ptr<CartellaProva> m_cartella;
    std::unique_ptr<RispostaBox> m_box;
    std::unique_ptr<TFrmMain> m_finestra;
    std::unique_ptr<SostituzioniProva> m_sostituzioni;
    QString m_file;
    bool m_conferma = true;
    int m_dialoghi = 0;
    qsizetype m_boxPrimaDelDialogo = -1;
    QPageLayout m_pagina;

    void Gioca(int volte)
    {
        for (int i = 0; i < volte; ++i)
            Controllo<QPushButton>(*m_finestra, "BTSgioca")->click();
    }

    QStringList Registro() const
    {
        QStringList righe;
        for (qsizetype i = 0; i < Controllo<RegistroGiocate>(*m_finestra, "Memo1")->Conteggio(); ++i)
            righe << Controllo<RegistroGiocate>(*m_finestra, "Memo1")->Riga(i);
        return righe;
    }

    // The text of every printed line, page after page.
    static QStringList Righe(const QList<PaginaPdf> &pagine)
    {
        QStringList testi;
        for (const PaginaPdf &pagina : pagine)
            for (const RigaPdf &riga : pagina.righe)
                testi << riga.Testo();
        return testi;
    }

    // The printing font on a PDF printer at its own resolution, in points: from the top of one line to
    // the top of the next, and the width of the seven-blank indent.
    struct Misure {
        double passo;
        double sette;
    };
    static Misure MisureStampa()
    {
        QPrinter stampante(QPrinter::HighResolution);
        stampante.setOutputFormat(QPrinter::PdfFormat);
        const double punti = 72.0 / stampante.resolution();
        return {(QFontMetrics(CarattereStampa(), &stampante).height() + 2) * punti,
                QFontMetricsF(CarattereStampa(), &stampante).horizontalAdvance(QStringLiteral("       ")) *
                    punti};
    }

private slots:
    void initTestCase()
    {
        Applicazione::ImpostaSostituzioniCaratteri();
        IncorporaModulo();
        QVERIFY(m_pdf.isValid());
    }

    void init()
    {
        m_cartella = std::make_unique<CartellaProva>();
        m_box = std::make_unique<RispostaBox>();
        m_finestra = std::make_unique<TFrmMain>();
        m_file = m_pdf.filePath(QStringLiteral("%1.pdf").arg(QTest::currentTestFunction()));
        QFile::remove(m_file);
        m_conferma = true;
        m_dialoghi = 0;
        m_boxPrimaDelDialogo = -1;
        // The printer choice: the user picks "print to file" with this name, or cancels.
        m_sostituzioni = std::make_unique<SostituzioniProva>();
        m_sostituzioni->SceltaStampante([this](QPrinter &stampante, QWidget *genitore) {
            ++m_dialoghi;
            m_boxPrimaDelDialogo = m_box->Visti().size();
            if (genitore != m_finestra.get())
                qWarning("the printer dialog is not over the main window");
            m_pagina = stampante.pageLayout();
            if (!m_conferma)
                return false;
            stampante.setOutputFormat(QPrinter::PdfFormat);
            stampante.setOutputFileName(m_file);
            m_pagina = stampante.pageLayout();
            return true;
        });
    }

    void cleanup()
    {
        m_sostituzioni.reset();
        m_finestra.reset();
        const int inattesi = m_box->Inattesi();
        m_box.reset();
        m_cartella.reset();
        // Every box a test meets is one it expects and answers.
        QCOMPARE(inattesi, 0);
    }

    void intestazione_data()
    {
        QTest::addColumn<QString>("sito");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("build's site") << "http://www.kelmo.example"
                                      << "www.kelmo.example";
        QTest::newRow("with a path") << "http://www.kelmo.example/prg/"
                                     << "www.kelmo.example";
        QTest::newRow("secure") << "https://kelmo.example"
                                << "kelmo.example";
    }
    void intestazione()
    {
        QFETCH(QString, sito);
        QFETCH(QString, atteso);
        QCOMPARE(TestiStampa::Intestazione(sito, QStringLiteral("posta@kelmo.example")),
                 QStringLiteral("       Riepilogo Stampa giocate effettuate tramite Kelmo_Dravolo - ") +
                     atteso + QStringLiteral(" - posta@kelmo.example"));
        QCOMPARE(StampaGiocate::Intestazione(), QStringLiteral("       ") + Intestazione);
    }

    void sceltaDellaStampa_data()
    {
        // The plays before printing: three drawn, three drawn and then one that failed on a damaged
        // fixed-number file (which leaves the fields holding no play), or only the failed one.
        QTest::addColumn<QString>("giocate");
        QTest::addColumn<QList<QMessageBox::StandardButton>>("risposte");
        QTest::addColumn<QStringList>("domande");
        QTest::addColumn<QString>("avviso"); // the information box after the questions, or none
        QTest::addColumn<bool>("tutte");
        QTest::addColumn<bool>("stampa");
        QTest::newRow("all plays") << "buone" << QList{QMessageBox::Yes} << QStringList{DomandaTutte} << ""
                                   << true << true;
        QTest::newRow("current play") << "buone" << QList{QMessageBox::No, QMessageBox::Yes}
                                      << QStringList{DomandaTutte, DomandaCorrente} << "" << false << true;
        QTest::newRow("neither") << "buone" << QList{QMessageBox::No, QMessageBox::No}
                                 << QStringList{DomandaTutte, DomandaCorrente} << "" << false << false;
        QTest::newRow("after a failed draw, the last recorded play is printed")
            << "poi fallita" << QList{QMessageBox::No, QMessageBox::Yes}
            << QStringList{DomandaTutte, DomandaCorrente} << "" << false << true;
        QTest::newRow("no play recorded: nothing printed, the box says why")
            << "solo fallita" << QList{QMessageBox::No, QMessageBox::Yes, QMessageBox::Ok}
            << QStringList{DomandaTutte, DomandaCorrente}
            << "Nessuna giocata da stampare: l'ultima estrazione non è andata a buon fine." << false << false;
    }
    void sceltaDellaStampa()
    {
        QFETCH(QString, giocate);
        QFETCH(QList<QMessageBox::StandardButton>, risposte);
        QFETCH(QStringList, domande);
        QFETCH(QString, avviso);
        QFETCH(bool, tutte);
        QFETCH(bool, stampa);
        if (giocate != QLatin1String("solo fallita"))
            Gioca(3);
        if (giocate != QLatin1String("buone")) {
            m_cartella->Scrivi(QStringLiteral("redme.qzl"), QByteArray("AO 'ab'$tg\r\n"));
            m_box->Rispondi(QMessageBox::Ok);
            Gioca(1);
            QCOMPARE(m_box->Visti().size(), 1);
            QCOMPARE(m_box->Visti().first().icona, QMessageBox::Critical);
            // The draw's error box is its own test's business; from here on, only printing's boxes.
            m_box = std::make_unique<RispostaBox>();
        }
        const QStringList registro = Registro();
        const Estrazione::Combinazione campi = m_finestra->Combinazione();
        for (QMessageBox::StandardButton risposta : risposte)
            m_box->Rispondi(risposta);
        Controllo<QPushButton>(*m_finestra, "BTSstampa")->click();

        QCOMPARE(m_box->Testi(), avviso.isEmpty() ? domande : domande + QStringList{avviso});
        for (qsizetype i = 0; i < domande.size(); ++i) {
            QCOMPARE(m_box->Visti()[i].titolo, QStringLiteral("Richiesta."));
            QCOMPARE(m_box->Visti()[i].pulsanti, QMessageBox::Yes | QMessageBox::No);
        }
        if (!avviso.isEmpty())
            QCOMPARE(m_box->Visti().back().icona, QMessageBox::Information);
        QCOMPARE(m_dialoghi, stampa ? 1 : 0);
        QCOMPARE(QFile::exists(m_file), stampa);
        // Printing changes neither the log nor the fields.
        QCOMPARE(Registro(), registro);
        QCOMPARE(m_finestra->Combinazione(), campi);
        if (!stampa)
            return;

        const QList<PaginaPdf> pagine = LeggiPdf(m_file);
        QCOMPARE(pagine.size(), 1);
        QStringList attese{Intestazione};
        if (tutte)
            attese += registro;
        else
            attese << registro.back();
        QCOMPARE(Righe(pagine), attese);
        QCOMPARE(CaratteriPdf(m_file), QStringList{QStringLiteral("LiberationSans-Bold")});

        // Geometry: the header and every play line start behind seven blanks of the printing font; a
        // blank line stands before the header and between the header and the first play.
        const QList<RigaPdf> &righe = pagine[0].righe;
        const auto [passo, sette] = MisureStampa();
        const QRectF area = m_pagina.paintRect(QPageLayout::Point);
        for (const RigaPdf &riga : righe)
            QVERIFY2(std::abs(riga.x0 - area.left() - sette) < 0.1,
                     qPrintable(QStringLiteral("%1: indent %2, expected %3")
                                    .arg(riga.Testo())
                                    .arg(riga.x0 - area.left())
                                    .arg(sette)));
        QVERIFY2(std::abs(righe[0].y0 - area.top() - passo) < 1.0,
                 qPrintable(QString::number(righe[0].y0 - area.top())));
        QVERIFY2(std::abs(righe[1].y0 - righe[0].y0 - 2 * passo) < 0.1,
                 qPrintable(QString::number(righe[1].y0 - righe[0].y0)));
        for (qsizetype i = 2; i < righe.size(); ++i)
            QVERIFY(std::abs(righe[i].y0 - righe[i - 1].y0 - passo) < 0.1);
    }

    void sogliaDellaDomanda_data()
    {
        QTest::addColumn<int>("giocate");
        QTest::addColumn<QList<QMessageBox::StandardButton>>("risposte");
        QTest::addColumn<QStringList>("domande");
        QTest::addColumn<bool>("stampa");
        QTest::newRow("100 plays, no question")
            << 100 << QList{QMessageBox::Yes} << QStringList{DomandaTutte} << true;
        QTest::newRow("101 plays, Yes stops") << 101 << QList{QMessageBox::Yes, QMessageBox::Yes}
                                              << QStringList{DomandaTutte, DomandaInterrompo} << false;
        QTest::newRow("101 plays, No prints all") << 101 << QList{QMessageBox::Yes, QMessageBox::No}
                                                  << QStringList{DomandaTutte, DomandaInterrompo} << true;
    }
    void sogliaDellaDomanda()
    {
        QFETCH(int, giocate);
        QFETCH(QList<QMessageBox::StandardButton>, risposte);
        QFETCH(QStringList, domande);
        QFETCH(bool, stampa);
        Gioca(giocate);
        QCOMPARE(Controllo<RegistroGiocate>(*m_finestra, "Memo1")->Conteggio(), giocate);
        for (QMessageBox::StandardButton risposta : risposte)
            m_box->Rispondi(risposta);
        Controllo<QPushButton>(*m_finestra, "BTSstampa")->click();

        QCOMPARE(m_box->Testi(), domande);
        QCOMPARE(m_dialoghi, stampa ? 1 : 0);
        QCOMPARE(QFile::exists(m_file), stampa);
        if (!stampa)
            return;
        // The questions all came before the printer dialog.
        QCOMPARE(m_boxPrimaDelDialogo, domande.size());
        const QList<PaginaPdf> pagine = LeggiPdf(m_file);
        QCOMPARE(Righe(pagine), QStringList{Intestazione} + Registro());
    }

    void registroSuPiuPagine()
    {
        Gioca(250);
        m_box->Rispondi(QMessageBox::Yes).Rispondi(QMessageBox::No);
        Controllo<QPushButton>(*m_finestra, "BTSstampa")->click();

        const QList<PaginaPdf> pagine = LeggiPdf(m_file);
        QVERIFY2(pagine.size() >= 3, qPrintable(QString::number(pagine.size())));
        QCOMPARE(Righe(pagine), QStringList{Intestazione} + Registro());
        // The header only at the top of the first page; later pages start at the top with plays.
        QCOMPARE(pagine[0].righe[0].Testo(), Intestazione);
        const QRectF area = m_pagina.paintRect(QPageLayout::Point);
        const double passo = MisureStampa().passo;
        for (qsizetype n = 1; n < pagine.size(); ++n) {
            QVERIFY(!pagine[n].righe.isEmpty());
            QVERIFY2(std::abs(pagine[n].righe[0].y0 - (pagine[0].righe[0].y0 - passo)) < 0.1,
                     qPrintable(QString::number(pagine[n].righe[0].y0)));
        }
        // A page is full when one more line would have passed the page height less two lines (at the
        // printer's own resolution, where device pixels are not points).
        for (qsizetype n = 0; n + 1 < pagine.size(); ++n) {
            const RigaPdf &ultima = pagine[n].righe.back();
            const double dopo = ultima.y0 - (pagine[0].righe[0].y0 - passo) + passo;
            QVERIFY2(dopo > area.height() - 2 * passo && dopo - passo <= area.height() - 2 * passo,
                     qPrintable(
                         QStringLiteral("page %1 ends at %2 of %3").arg(n + 1).arg(dopo).arg(area.height())));
        }
    }

    void annullaNelDialogo_data()
    {
        QTest::addColumn<QList<QMessageBox::StandardButton>>("risposte");
        QTest::addColumn<QStringList>("domande");
        QTest::newRow("all plays") << QList{QMessageBox::Yes} << QStringList{DomandaTutte};
        QTest::newRow("current play")
            << QList{QMessageBox::No, QMessageBox::Yes} << QStringList{DomandaTutte, DomandaCorrente};
    }
    void annullaNelDialogo()
    {
        QFETCH(QList<QMessageBox::StandardButton>, risposte);
        QFETCH(QStringList, domande);
        Gioca(2);
        m_conferma = false;
        for (QMessageBox::StandardButton risposta : risposte)
            m_box->Rispondi(risposta);
        Controllo<QPushButton>(*m_finestra, "BTSstampa")->click();
        QCOMPARE(m_dialoghi, 1);
        QCOMPARE(m_box->Testi(), domande);
        QCOMPARE(m_box->Inattesi(), 0);
        QVERIFY(!QFile::exists(m_file));
    }

    void stampanteInErrore()
    {
        Gioca(1);
        m_file = m_pdf.filePath(QStringLiteral("manca/stampa.pdf"));
        m_box->Rispondi(QMessageBox::No).Rispondi(QMessageBox::Yes).Rispondi(QMessageBox::Ok);
        Controllo<QPushButton>(*m_finestra, "BTSstampa")->click();
        QCOMPARE(
            m_box->Testi(),
            (QStringList{DomandaTutte, DomandaCorrente,
                         QStringLiteral("Impossibile avviare la stampa su %1: file o cartella inesistente.")
                             .arg(m_file)}));
        QCOMPARE(m_box->Visti().back().titolo, QStringLiteral("Kelmo_Dravolo"));
        QCOMPARE(m_box->Visti().back().icona, QMessageBox::Critical);
        QVERIFY(!QFile::exists(m_file));
        // The program goes on: the next play and print work.
        m_file = m_pdf.filePath(QStringLiteral("dopo.pdf"));
        Gioca(1);
        m_box->Rispondi(QMessageBox::Yes);
        Controllo<QPushButton>(*m_finestra, "BTSstampa")->click();
        QCOMPARE(Righe(LeggiPdf(m_file)), QStringList{Intestazione} + Registro());
    }

    void giocateSalvate_data()
    {
        // What stands at the chosen name before the save: nothing, an earlier file, a link to a file
        // elsewhere, a folder; or the disk is full; or the user cancels the dialog.
        QTest::addColumn<QString>("prima");
        QTest::addColumn<QString>("motivo"); // empty: saved
        QTest::newRow("new file") << "niente"
                                  << "";
        QTest::newRow("dialog cancelled: nothing saved, no box") << "annullato"
                                                                 << "";
        QTest::newRow("earlier file replaced") << "file"
                                               << "";
        QTest::newRow("link to a file elsewhere") << "collegamento"
                                                  << "non è un file regolare";
        QTest::newRow("folder") << "cartella"
                                << "non è un file regolare";
        QTest::newRow("full disk, earlier file kept") << "pieno"
                                                      << "spazio su disco esaurito";
        QTest::newRow("earlier file write-protected, kept") << "protetto"
                                                            << "il file è protetto da scrittura";
    }
    void giocateSalvate()
    {
        // The play lines as printed, one a line, saved whole or not at all where the user chooses;
        // what stood there is left as it was when the save fails.
        QFETCH(QString, prima);
        QFETCH(QString, motivo);
        QTemporaryDir cartella;
        QTemporaryDir altrove;
        std::unique_ptr<CartellaPiena> piena;
        std::unique_ptr<ComeAltroUtente> come;
        QString file = cartella.filePath(QStringLiteral("giocate.txt"));
        const QByteArray vecchio = "giocate di ieri\n";
        QString vittima = altrove.filePath(QStringLiteral("vittima"));
        const auto scrivi = [&](const QString &dove) {
            QFile f(dove);
            return f.open(QIODevice::WriteOnly) && f.write(vecchio) == vecchio.size();
        };
        QVERIFY(scrivi(vittima));
        if (prima == QLatin1String("file")) {
            QVERIFY(scrivi(file));
        } else if (prima == QLatin1String("collegamento")) {
            QVERIFY(QFile::link(vittima, file));
        } else if (prima == QLatin1String("cartella")) {
            QVERIFY(QDir().mkdir(file));
        } else if (prima == QLatin1String("protetto")) {
            // The user's own file and folder; as root, those of the user the save is made as.
            QVERIFY(scrivi(file));
            vittima = file;
            QVERIFY(::chmod(QFile::encodeName(file).constData(), 0444) == 0);
            for (const QString &suo : {cartella.path(), file})
                QVERIFY(::chown(QFile::encodeName(suo).constData(), ComeAltroUtente::Utente(),
                                ComeAltroUtente::Gruppo()) == 0);
        } else if (prima == QLatin1String("pieno")) {
            piena = std::make_unique<CartellaPiena>();
            if (!piena->Motivo().isEmpty())
                QSKIP(qPrintable(QStringLiteral("no full file system can be made here: ") + piena->Motivo()));
            // Where a file-size limit stands in for the full disk, the write fails with its own reason.
            if (!piena->Montata())
                motivo = MotiviSistema::Motivo(EFBIG);
            file = piena->Percorso(QStringLiteral("giocate.txt"));
            QVERIFY(scrivi(file));
            QVERIFY2(piena->Riempi(), qPrintable(piena->Motivo()));
        }
        QStringList proposte;
        m_sostituzioni->SceltaSalvataggio([&](QWidget *genitore, const QString &proposta) {
            if (genitore != m_finestra.get())
                qWarning("the save dialog is not over the main window");
            proposte << proposta;
            return prima == QLatin1String("annullato") ? QString() : file;
        });
        m_finestra->show();
        QVERIFY(QTest::qWaitForWindowActive(m_finestra.get()));
        Gioca(3);
        QString attese;
        for (const QString &riga : Registro())
            attese += QStringLiteral("       ") + riga + QLatin1Char('\n');
        if (!motivo.isEmpty())
            m_box->Rispondi(QMessageBox::Ok);
        if (prima == QLatin1String("protetto"))
            come = std::make_unique<ComeAltroUtente>();
        Controllo<QAction>(*m_finestra, "SalvaGiocate1")->trigger();
        come.reset();

        QCOMPARE(proposte, QStringList{QDir(Servizi::CartellaProposta(QStandardPaths::DocumentsLocation))
                                           .filePath(QStringLiteral("giocate.txt"))});
        QFile salvato(file);
        if (prima == QLatin1String("annullato")) {
            QVERIFY(m_box->Visti().isEmpty());
            QVERIFY(QDir(cartella.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
            return;
        }
        if (motivo.isEmpty()) {
            QVERIFY(m_box->Visti().isEmpty());
            QVERIFY(salvato.open(QIODevice::ReadOnly));
            QCOMPARE(QString::fromUtf8(salvato.readAll()), attese);
            QCOMPARE(QDir(cartella.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"giocate.txt"});
            return;
        }
        QCOMPARE(m_box->TitoliETesti(),
                 QStringList{QStringLiteral("Kelmo_Dravolo|Impossibile salvare le giocate in ") + file +
                             QStringLiteral(": ") + motivo + QLatin1Char('.')});
        // The box took the keyboard; once answered, the main window has it back.
        QVERIFY(QTest::qWaitForWindowActive(m_finestra.get()));
        QFile intatta(prima == QLatin1String("pieno") ? file : vittima);
        QVERIFY(intatta.open(QIODevice::ReadOnly));
        QCOMPARE(intatta.readAll(), vecchio);
        if (prima == QLatin1String("collegamento"))
            QVERIFY(QFileInfo(file).isSymLink());
        if (prima == QLatin1String("cartella"))
            QVERIFY(QFileInfo(file).isDir());
        if (piena)
            QCOMPARE(piena->File(), QStringList{"giocate.txt"});
    }

    void dialogoDelleStampanti_data()
    {
        QTest::addColumn<bool>("conferma");
        QTest::addColumn<int>("pagina");
        QTest::newRow("cancelled: nothing printed, nothing shown") << false << 0;
        QTest::newRow("pages 2 to 2 to a PDF file: only the second page") << true << 2;
        QTest::newRow("pages 3 to 3, past the last: no job, no file") << true << 3;
    }
    void dialogoDelleStampanti()
    {
        // The real dialog: no selection and no current page, printing to a file offered; the range of
        // pages it offers is honoured.
        QFETCH(bool, conferma);
        QFETCH(int, pagina);
        m_sostituzioni->SceltaStampante({});
        // Two pages: the header and the first plays, then the rest.
        Gioca(100);
        bool visto = false;
        QAbstractPrintDialog::PrintDialogOptions opzioni;
        QTimer guardia;
        guardia.setInterval(10);
        connect(&guardia, &QTimer::timeout, this, [&] {
            auto *dialogo = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget());
            if (!dialogo || !dialogo->isVisible() || visto)
                return;
            visto = true;
            opzioni = dialogo->options();
            if (!conferma) {
                dialogo->reject();
                return;
            }
            // As the user does it: the file, then "pages from 2 to 2" (or 3 to 3).
            auto *file = dialogo->findChild<QLineEdit *>(QStringLiteral("filename"));
            auto *intervallo = dialogo->findChild<QRadioButton *>(QStringLiteral("printRange"));
            auto *da = dialogo->findChild<QSpinBox *>(QStringLiteral("from"));
            auto *a = dialogo->findChild<QSpinBox *>(QStringLiteral("to"));
            if (!file || !intervallo || !da || !a || !intervallo->isEnabled()) {
                qWarning("the dialog has no usable page range");
                dialogo->reject();
                return;
            }
            file->setText(m_file);
            intervallo->setChecked(true);
            a->setValue(pagina);
            da->setValue(pagina);
            dialogo->accept();
        });
        guardia.start();
        m_box->Rispondi(QMessageBox::Yes);
        Controllo<QPushButton>(*m_finestra, "BTSstampa")->click();
        guardia.stop();

        QVERIFY(visto);
        QVERIFY(!opzioni.testFlag(QAbstractPrintDialog::PrintSelection));
        QVERIFY(!opzioni.testFlag(QAbstractPrintDialog::PrintCurrentPage));
        QVERIFY(opzioni.testFlag(QAbstractPrintDialog::PrintToFile));
        QCOMPARE(m_box->Testi(), QStringList{DomandaTutte});
        QCOMPARE(m_box->Inattesi(), 0);
        // The log fills two pages (the second ends with the last play, below): a third page is past
        // the end, and no job, not even an empty one, is started for it.
        if (!conferma || pagina > 2) {
            QVERIFY(!QFile::exists(m_file));
            return;
        }
        const QList<PaginaPdf> pagine = LeggiPdf(m_file);
        QCOMPARE(pagine.size(), 1);
        const QStringList righe = Righe(pagine);
        const QStringList registro = Registro();
        QVERIFY2(!righe.isEmpty() && righe.size() < registro.size(),
                 qPrintable(QString::number(righe.size())));
        QCOMPARE(righe, registro.mid(registro.size() - righe.size()));
    }
};

QTEST_MAIN(TestStampa)
#include "tst_stampa.moc"
