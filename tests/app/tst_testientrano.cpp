// Every window's captions fit the place laid out for them, in the faces that stand in for the
// designs' fonts: a text cut off at its end is a text the user cannot read.
#include "app/Applicazione.h"
#include "main/TFrmMain.h"
#include "settings/TFrmImp.h"
#include "support/CartellaProva.h"
#include "support/FinestreProva.h"
#include "update/TFrmControllaVersione.h"
#include "windows/TFrmAbout.h"
#include "windows/TfrmBug.h"
#include "windows/TfrmStart.h"

#include <QAbstractButton>
#include <QLabel>
#include <QTest>

#include <memory>

namespace {
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
                tagliati << finestra->objectName() + QLatin1Char('/') + controllo->objectName() + QLatin1String(": ") +
                                riga;
    }
    return tagliati;
}
} // namespace

class TestTestiEntrano : public QObject
{
    Q_OBJECT
private slots:
    void testiDelleFinestre()
    {
        CartellaProva cartella;
        FinestreProva finestre(true);
        TFrmMain &principale = finestre.Principale();
        TFrmAbout &about = finestre.About();
        TfrmStart start;
        TfrmBug bug(&principale);
        TFrmImp impostazioni(&principale);
        TFrmControllaVersione controllo(&principale);

        QStringList tagliati;
        for (QWidget *finestra : std::initializer_list<QWidget *>{&principale, &about, &start, &bug, &impostazioni,
                                                                 &controllo})
            tagliati += TestiTagliati(finestra);
        QVERIFY2(tagliati.isEmpty(), qPrintable(tagliati.join(QLatin1Char('\n'))));
    }
};

int main(int argc, char *argv[])
{
    Applicazione applicazione(argc, argv);
    TestTestiEntrano prova;
    return QTest::qExec(&prova, argc, argv);
}
#include "tst_testientrano.moc"
