// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Every window's captions fit the place laid out for them, in the faces that stand in for the
// designs' fonts, in Italian and in every language of the sample translation table: a text cut off at
// its end, or run under the next control, is a text the user cannot read. And every text can be read
// against what stands behind it, under the default light palette and under a dark one: measured on
// the window as drawn.
#include "Configurazione.h"
#include "aggiornamento/TFrmControllaVersione.h"
#include "finestre/TFrmAbout.h"
#include "finestre/TfrmBug.h"
#include "finestre/TfrmStart.h"
#include "impostazioni/TFrmImp.h"
#include "kit/Applicazione.h"
#include "kit/Colori.h"
#include "kit/Glifi.h"
#include "principale/TFrmMain.h"
#include "support/CartellaProva.h"
#include "support/Controllo.h"
#include "support/FinestreProva.h"
#include "support/RispostaBox.h"
#include "support/ServerProva.h"
#include "support/Sorveglianza.h"
#include "support/SostituzioniProva.h"
#include "support/TabelleProva.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QStyle>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <memory>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
bool MostraTesto(const QWidget *controllo)
{
    if (const auto *etichetta = qobject_cast<const QLabel *>(controllo))
        return !etichetta->text().isEmpty();
    return qobject_cast<const QAbstractButton *>(controllo) || qobject_cast<const QLineEdit *>(controllo);
}

// A label sized to its text (as translated texts are) cannot be cut by its own width, but by the
// edge of the panel it stands on or by the control next to it; each as "window/control: ...".
QStringList EtichetteCoperte(QWidget *finestra, QLabel *etichetta)
{
    QStringList coperte;
    if (etichetta->wordWrap() || !MostraTesto(etichetta) || !etichetta->isVisibleTo(finestra))
        return coperte;
    // The site and mail addresses are settings of the build: how long they are is the builder's choice.
    if (etichetta->text() == QString::fromUtf8(Configurazione::IndirizzoSito) ||
        etichetta->text() == QString::fromUtf8(Configurazione::IndirizzoMail))
        return coperte;
    const QFontMetrics metriche = etichetta->fontMetrics();
    const QStringList righe = etichetta->text().split(QLatin1Char('\n'));
    int larghezza = 0;
    for (const QString &riga : righe)
        larghezza = std::max(larghezza, metriche.horizontalAdvance(riga));
    // The letters from the top of the first line down to the last baseline: a box laid out over the
    // next control's edge (the large status label of the update window) does not count, letters do.
    const int altezza = metriche.height() + int(righe.size() - 1) * metriche.lineSpacing();
    const QRect area = etichetta->contentsRect();
    const QRect testo =
        QStyle::alignedRect(Qt::LeftToRight, etichetta->alignment(), QSize(larghezza, altezza), area)
            .adjusted(0, 0, 0, -metriche.descent())
            .translated(etichetta->pos());
    const QWidget *genitore = etichetta->parentWidget();
    const QString nome = finestra->objectName() + QLatin1Char('/') + etichetta->objectName();
    if (testo.left() < 0 || testo.right() >= genitore->width())
        coperte << nome + QLatin1String(" runs past the edge of ") + genitore->objectName();
    for (const QWidget *vicino : genitore->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (vicino != etichetta && vicino->isVisibleTo(finestra) && MostraTesto(vicino) &&
            testo.intersects(vicino->geometry()))
            coperte << nome + QLatin1String(" runs into ") + vicino->objectName();
    return coperte;
}

// The labels and buttons whose text is wider than the control; each as "window/control".
QStringList TestiTagliati(QWidget *finestra)
{
    QStringList tagliati;
    finestra->ensurePolished();
    for (QWidget *controllo : finestra->findChildren<QWidget *>()) {
        controllo->ensurePolished();
        QString testo;
        int spazio = controllo->width();
        if (auto *etichetta = qobject_cast<QLabel *>(controllo); etichetta && !etichetta->wordWrap()) {
            tagliati += EtichetteCoperte(finestra, etichetta);
            testo = etichetta->text();
            spazio -= 2 * etichetta->margin();
        } else if (auto *pulsante = qobject_cast<QAbstractButton *>(controllo)) {
            testo = pulsante->text();
            // Icon, check mark or frame take their part of the button.
            spazio -= pulsante->icon().isNull() ? 8 : pulsante->iconSize().width() + 12;
            if (qobject_cast<QCheckBox *>(controllo))
                spazio = controllo->width() - 18;
        }
        testo.remove(QLatin1Char('&'));
        for (const QString &riga : testo.split(QLatin1Char('\n')))
            if (!riga.isEmpty() && controllo->fontMetrics().horizontalAdvance(riga) > spazio)
                tagliati << finestra->objectName() + QLatin1Char('/') + controllo->objectName() +
                                QLatin1String(": ") + riga;
    }
    return tagliati;
}
// The statements of an SQL text file, one per ";" at the end of a line; comment lines left out.
QStringList IstruzioniSql(const QString &percorso)
{
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList istruzioni;
    QString corrente;
    for (const QString &riga : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        if (riga.trimmed().startsWith(QLatin1String("--")))
            continue;
        corrente += riga + QLatin1Char('\n');
        if (riga.trimmed().endsWith(QLatin1Char(';'))) {
            istruzioni << corrente.trimmed();
            corrente.clear();
        }
    }
    return istruzioni;
}

// A dark palette of the kind desktops set on the Fusion style.
QPalette TavolozzaScura()
{
    QPalette tavolozza;
    const QColor finestra(53, 53, 53);
    const QColor spento(127, 127, 127);
    tavolozza.setColor(QPalette::Window, finestra);
    tavolozza.setColor(QPalette::WindowText, Qt::white);
    tavolozza.setColor(QPalette::Base, QColor(42, 42, 42));
    tavolozza.setColor(QPalette::AlternateBase, QColor(66, 66, 66));
    tavolozza.setColor(QPalette::ToolTipBase, finestra);
    tavolozza.setColor(QPalette::ToolTipText, Qt::white);
    tavolozza.setColor(QPalette::Text, Qt::white);
    tavolozza.setColor(QPalette::Button, finestra);
    tavolozza.setColor(QPalette::ButtonText, Qt::white);
    tavolozza.setColor(QPalette::BrightText, Qt::red);
    tavolozza.setColor(QPalette::Light, QColor(90, 90, 90));
    tavolozza.setColor(QPalette::Midlight, QColor(70, 70, 70));
    tavolozza.setColor(QPalette::Mid, QColor(40, 40, 40));
    tavolozza.setColor(QPalette::Dark, QColor(30, 30, 30));
    tavolozza.setColor(QPalette::Shadow, QColor(20, 20, 20));
    tavolozza.setColor(QPalette::Link, QColor(42, 130, 218));
    tavolozza.setColor(QPalette::Highlight, QColor(42, 130, 218));
    tavolozza.setColor(QPalette::HighlightedText, Qt::black);
    for (QPalette::ColorRole ruolo : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        tavolozza.setColor(QPalette::Disabled, ruolo, spento);
    return tavolozza;
}

// The window drawn as the user sees it, and drawn again with one control's text made transparent:
// the pixels that differ are that text's, and the second picture holds what stands behind them.
QImage Disegno(QWidget *finestra)
{
    return finestra->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QImage SenzaTesto(QWidget *finestra, QWidget *controllo)
{
    QImage immagine;
    if (auto *etichetta = qobject_cast<QLabel *>(controllo)) {
        const QString testo = etichetta->text();
        etichetta->setText(QString());
        immagine = Disegno(finestra);
        etichetta->setText(testo);
    } else if (auto *campo = qobject_cast<QLineEdit *>(controllo)) {
        const QString testo = campo->text();
        campo->setText(QString());
        immagine = Disegno(finestra);
        campo->setText(testo);
    } else {
        const QPalette vecchia = controllo->palette();
        QPalette trasparente = vecchia;
        for (QPalette::ColorRole ruolo : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
            trasparente.setColor(ruolo, Qt::transparent);
        controllo->setPalette(trasparente);
        immagine = Disegno(finestra);
        controllo->setPalette(vecchia);
    }
    return immagine;
}

// The contrast of a control's text with what is behind it: of the text's pixels, those that stand
// out most (the strokes themselves rather than their smoothed edges). 0 when it shows no text.
double ContrastoDelTesto(QWidget *finestra, QWidget *controllo)
{
    const QImage con = Disegno(finestra);
    const QImage senza = SenzaTesto(finestra, controllo);
    const double scala = con.devicePixelRatio();
    const QRect area = QRect(QPointF(controllo->mapTo(finestra, QPoint(0, 0))).toPoint() * scala,
                             controllo->size() * scala) &
                       con.rect();
    std::vector<double> contrasti;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (con.pixel(x, y) != senza.pixel(x, y))
                contrasti.push_back(Contrasto::Rapporto(con.pixelColor(x, y), senza.pixelColor(x, y)));
    if (contrasti.empty())
        return 0;
    const auto quota = contrasti.begin() + static_cast<std::ptrdiff_t>(contrasti.size() * 9 / 10);
    std::nth_element(contrasti.begin(), quota, contrasti.end());
    return *quota;
}

// The least contrast of normal text with its background that WCAG 2 level AA asks for. Written out
// here rather than taken from the program, so that a lower bar in the program cannot lower the test's.
constexpr double ContrastoRichiesto = 4.5;

// The texts of a window that fall short of the least contrast, each as "control: contrast".
QStringList TestiIlleggibili(QWidget *finestra)
{
    QStringList illeggibili;
    for (QWidget *controllo : finestra->findChildren<QWidget *>()) {
        // A control the user cannot use (the print button before the first play) may be dimmed.
        if (!controllo->isVisibleTo(finestra) || !controllo->isEnabled())
            continue;
        const auto *etichetta = qobject_cast<QLabel *>(controllo);
        const auto *pulsante = qobject_cast<QAbstractButton *>(controllo);
        const auto *campo = qobject_cast<QLineEdit *>(controllo);
        const bool conTesto = (etichetta && !etichetta->text().isEmpty()) ||
                              (pulsante && !pulsante->text().isEmpty()) ||
                              (campo && !campo->text().isEmpty()) || qobject_cast<QMenuBar *>(controllo);
        if (!conTesto)
            continue;
        const double contrasto = ContrastoDelTesto(finestra, controllo);
        if (contrasto < ContrastoRichiesto)
            illeggibili << QStringLiteral("%1: %2").arg(controllo->objectName()).arg(contrasto, 0, 'f', 2);
    }
    return illeggibili;
}

QByteArray PaginaVersione(const QByteArray &versione)
{
    return "<HTML><BODY><P>Versione " + versione + "</P></BODY></HTML>";
}

} // namespace

class TestTestiEntrano : public QObject
{
    Q_OBJECT
private slots:
    void testiDelleFinestre_data()
    {
        // The designed texts, and those of every language of the sample translation table.
        QTest::addColumn<QString>("lingua");
        for (const char *lingua : {"Italiano", "Inglese", "Francese", "Tedesco", "Spagnolo"})
            QTest::newRow(lingua) << QString::fromLatin1(lingua);
    }
    void testiDelleFinestre()
    {
        QFETCH(QString, lingua);
        CartellaProva cartella;
        cartella.Scrivi(QStringLiteral("lingua.db"), {});
        TabelleProva tabelle;
        tabelle.Lingua(lingua);
        tabelle.Esegui(QStringLiteral("lingua.db"),
                       IstruzioniSql(QStringLiteral(KELMO_SAMPLE_DATA "/lingua.sql")));
        FinestreProva finestre(true);
        TFrmMain &principale = finestre.Principale();
        TFrmAbout &about = finestre.About();
        TfrmStart start;
        TfrmBug bug(&principale);
        TFrmImp impostazioni(&principale);
        TFrmControllaVersione controllo(&principale);

        QStringList tagliati;
        for (QWidget *finestra :
             std::initializer_list<QWidget *>{&principale, &about, &start, &bug, &impostazioni, &controllo})
            tagliati += TestiTagliati(finestra);
        QVERIFY2(tagliati.isEmpty(), qPrintable(tagliati.join(QLatin1Char('\n'))));
    }

    void didascalieOstili_data()
    {
        // Captions that markup would turn against the window: pictures read from a pipe that never
        // answers, from an endless device or from a large file, tables nested until the layout takes
        // minutes or overflows the stack. %1 is a folder of the test's.
        QTest::addColumn<QString>("didascalia");
        const QString tabella = QStringLiteral("<table><tr><td>");
        QTest::newRow("picture from a named pipe") << QStringLiteral("<img src=\"%1/tubo\">");
        QTest::newRow("picture from /dev/zero") << QStringLiteral("<img src=\"/dev/zero\">");
        QTest::newRow("picture from a 256 MB file") << QStringLiteral("<img src=\"%1/grande.bin\">");
        QTest::newRow("20 nested tables") << tabella.repeated(20) + QStringLiteral("Versione");
        QTest::newRow("3,000 nested tables") << tabella.repeated(3000) + QStringLiteral("Versione");
        QTest::newRow("bold") << QStringLiteral("<b>Versione</b>");
    }
    void didascalieOstili()
    {
        // Every translated window shows such a caption as the characters it is made of, and comes up
        // at once, without reading any file it names.
        QFETCH(QString, didascalia);
        CartellaProva cartella;
        cartella.Scrivi(QStringLiteral("lingua.db"), {});
        const QByteArray tubo = QFile::encodeName(cartella.Percorso(QStringLiteral("tubo")));
        QVERIFY(::mkfifo(tubo.constData(), 0600) == 0);
        const QByteArray grande = QFile::encodeName(cartella.Percorso(QStringLiteral("grande.bin")));
        const int descrittore = ::open(grande.constData(), O_CREAT | O_WRONLY, 0600);
        QVERIFY(descrittore >= 0 && ::ftruncate(descrittore, 256 << 20) == 0 && ::close(descrittore) == 0);
        if (didascalia.contains(QLatin1String("%1")))
            didascalia = didascalia.arg(cartella.Percorso());
        TabelleProva tabelle;
        tabelle.Lingua(QStringLiteral("Inglese"));
        tabelle.Esegui(QStringLiteral("lingua.db"),
                       IstruzioniSql(QStringLiteral(KELMO_SAMPLE_DATA "/lingua.sql")) +
                           QStringList{QStringLiteral("update lingua set Inglese = '%1'")
                                           .arg(QString(didascalia).replace("'", "''"))});
        FinestreProva finestre(true);
        rusage prima{};
        ::getrusage(RUSAGE_SELF, &prima);

        const Sorveglianza guardia("a translated window with a caption written as markup",
                                   std::chrono::seconds(5));
        TfrmStart start;
        TfrmBug bug(&finestre.Principale());
        TFrmControllaVersione controllo(&finestre.Principale());
        QStringList nonLetterali;
        int tradotte = 0;
        for (QWidget *finestra : std::initializer_list<QWidget *>{&start, &bug, &controllo}) {
            for (const QLabel *etichetta : finestra->findChildren<QLabel *>()) {
                if (etichetta->text() != didascalia)
                    continue;
                ++tradotte;
                // Laid out as plain text, the label is as wide as the caption's characters.
                if (etichetta->sizeHint().width() < etichetta->fontMetrics().horizontalAdvance(didascalia))
                    nonLetterali << finestra->objectName() + QLatin1Char('/') + etichetta->objectName();
            }
            // Drawn as well: a layout put off until the first paint would come due here.
            finestra->grab();
        }
        rusage dopo{};
        ::getrusage(RUSAGE_SELF, &dopo);
        QVERIFY(tradotte >= 3);
        QVERIFY2(nonLetterali.isEmpty(), qPrintable(nonLetterali.join(QLatin1Char('\n'))));
        // Peak memory in kB: a picture read whole would add hundreds of megabytes. (AddressSanitizer
        // keeps freed memory in quarantine, so its peaks say nothing about what the windows hold.)
#ifndef __SANITIZE_ADDRESS__
        QVERIFY2(dopo.ru_maxrss - prima.ru_maxrss < 64 * 1024,
                 qPrintable(QStringLiteral("%1 kB more").arg(dopo.ru_maxrss - prima.ru_maxrss)));
#endif
    }

    void immaginiADoppiaDensita()
    {
        // Every glyph of every window also comes drawn at twice its size, for screens at 200 %.
        CartellaProva cartella;
        FinestreProva finestre(true);
        TfrmStart start;
        TfrmBug bug(&finestre.Principale());
        TFrmImp impostazioni(&finestre.Principale());
        TFrmControllaVersione controllo;
        QStringList sfocati;
        for (QWidget *finestra : std::initializer_list<QWidget *>{&finestre.Principale(), &finestre.About(),
                                                                  &start, &bug, &impostazioni, &controllo})
            for (const QAbstractButton *pulsante : finestra->findChildren<QAbstractButton *>())
                // (Qt's own buttons, such as the menu bar's overflow arrow, are not ours.)
                if (!pulsante->icon().isNull() && !pulsante->objectName().startsWith(QLatin1String("qt_")) &&
                    (!pulsante->icon().availableSizes().contains(pulsante->iconSize() * 2) ||
                     pulsante->icon().pixmap(pulsante->iconSize(), 2).size() != pulsante->iconSize() * 2 ||
                     pulsante->icon().pixmap(pulsante->iconSize(), 2).devicePixelRatio() != 2))
                    sfocati << pulsante->objectName();
        QVERIFY2(sfocati.isEmpty(), qPrintable(sfocati.join(QLatin1Char(' '))));
        // A glyph that is not there gives no icon, though icons are read only when first asked about.
        QVERIFY(Glifi::Icona(QStringLiteral("inesistente")).isNull());

        // The logos: the same picture, at the same size on the window, drawn with twice the pixels. The
        // drawings are made anew, so they are compared in blocks of 4 x 4 pixels, where a letter's edge
        // a pixel further on does not count and a wrong or broken picture does.
        for (const QString &nome :
             {QStringLiteral("logo"), QStringLiteral("about"), QStringLiteral("start")}) {
            const QImage semplice = Glifi::Immagine(nome, 1).toImage();
            const QPixmap doppia = Glifi::Immagine(nome, 2);
            QVERIFY(!semplice.isNull());
            QCOMPARE(doppia.devicePixelRatio(), 2.0);
            QCOMPARE(doppia.deviceIndependentSize().toSize(), semplice.size());
            const QSize blocchi = semplice.size() / 4;
            const QImage a = semplice.scaled(blocchi, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            const QImage b =
                doppia.toImage().scaled(blocchi, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            double differenza = 0;
            for (int y = 0; y < a.height(); ++y)
                for (int x = 0; x < a.width(); ++x) {
                    const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
                    differenza += std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) +
                                  std::abs(p.blue() - q.blue());
                }
            differenza /= 3.0 * a.width() * a.height();
            QVERIFY2(differenza < 16, qPrintable(nome + QStringLiteral(": %1").arg(differenza)));
        }
    }

    void testiLeggibili_data()
    {
        // The dark palette is the desktop's from the start, or comes while the window is open.
        QTest::addColumn<int>("scura"); // 0 light, 1 dark, 2 turned dark
        QTest::addColumn<QString>("finestra");
        QTest::addColumn<QByteArray>("pubblicata"); // the update check's page: the build it publishes
        for (int scura : {0, 1, 2}) {
            const char *tavolozza = scura == 0 ? "light" : scura == 1 ? "dark" : "turned dark";
            for (const char *finestra : {"main", "about", "splash", "bug", "settings"})
                QTest::addRow("%s, %s", tavolozza, finestra)
                    << scura << QString::fromLatin1(finestra) << QByteArray();
            if (scura == 2)
                continue;
            // While the page loads, "Controllo versione in corso..." stands in the text colour.
            QTest::addRow("%s, update: checking", tavolozza)
                << scura << QStringLiteral("update") << QByteArray();
            QTest::addRow("%s, update: newer build", tavolozza)
                << scura << QStringLiteral("update") << QByteArray("06.2002-16");
            QTest::addRow("%s, update: no newer build", tavolozza)
                << scura << QStringLiteral("update") << QByteArray("05.2002-15");
        }
    }
    void testiLeggibili()
    {
        QFETCH(int, scura);
        QFETCH(QString, finestra);
        QFETCH(QByteArray, pubblicata);
        const QPalette chiara = QApplication::palette();
        const auto ripristina = qScopeGuard([&] { QApplication::setPalette(chiara); });
        if (scura == 1)
            QApplication::setPalette(TavolozzaScura());

        CartellaProva cartella;
        FinestreProva finestre(true);
        std::unique_ptr<QWidget> propria;
        QWidget *daVedere = nullptr;
        RispostaBox box;
        ServerProva server;
        if (finestra == QLatin1String("main")) {
            daVedere = &finestre.Principale();
        } else if (finestra == QLatin1String("about")) {
            daVedere = &finestre.About();
        } else if (finestra == QLatin1String("splash")) {
            propria = std::make_unique<TfrmStart>();
        } else if (finestra == QLatin1String("bug")) {
            propria = std::make_unique<TfrmBug>(&finestre.Principale());
        } else if (finestra == QLatin1String("settings")) {
            propria = std::make_unique<TFrmImp>(&finestre.Principale());
        } else {
            // A check on a page that never comes is measured while it waits; one that ends, once its
            // outcome is shown.
            if (pubblicata.isEmpty())
                server.ImpostaMuto("/index.php");
            else
                server.ImpostaPagina("/index.php", PaginaVersione(pubblicata));
            SostituzioniProva sostituzioni;
            sostituzioni.IndirizzoSito(QStringLiteral("http://127.0.0.1:%1").arg(server.Porta()));
            TFrmControllaVersione controllo;
            QStringList illeggibili;
            bool misurato = false;
            QTimer attesa;
            connect(&attesa, &QTimer::timeout, this, [&] {
                if (misurato || !controllo.InAttesa())
                    return;
                misurato = true;
                illeggibili = TestiIlleggibili(&controllo);
                controllo.close();
            });
            if (pubblicata.isEmpty())
                attesa.start(10);
            box.Rispondi(QMessageBox::Yes);
            controllo.show();
            QVERIFY(QTest::qWaitFor(
                [&] {
                    return !box.Visti().isEmpty() && !controllo.InAttesa() &&
                           (misurato || !pubblicata.isEmpty());
                },
                60000));
            if (!misurato) {
                QVERIFY(Controllo<QPushButton>(controllo, "sbScarica")->isEnabled() ==
                        (pubblicata == "06.2002-16"));
                illeggibili = TestiIlleggibili(&controllo);
            }
            QVERIFY2(illeggibili.isEmpty(), qPrintable(illeggibili.join(QLatin1Char('\n'))));
            return;
        }
        if (propria)
            daVedere = propria.get();
        if (scura == 2)
            daVedere->setPalette(TavolozzaScura());
        const QStringList illeggibili = TestiIlleggibili(daVedere);
        QVERIFY2(illeggibili.isEmpty(), qPrintable(illeggibili.join(QLatin1Char('\n'))));
    }
};

int main(int argc, char *argv[])
{
    Applicazione applicazione(argc, argv);
    TestTestiEntrano prova;
    return QTest::qExec(&prova, argc, argv);
}
#include "tst_testientrano.moc"
