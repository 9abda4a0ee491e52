#include "settings/TFrmImp.h"

#include "app/AttivazionePerMostra.h"
#include "app/Errore.h"
#include "app/Fx.h"
#include "app/Glifi.h"
#include "app/RapportoErrori.h"
#include "main/Estrazione.h"
#include "main/NumeroFisso.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMetaObject>
#include <QRegularExpression>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <unistd.h>

using RapportoErrori::Collega;

namespace Impostazioni
{

int NumeroDalTesto(const QString &testo)
{
    bool valido = !testo.isEmpty();
    for (QChar c : testo)
        valido = valido && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    const int numero = valido ? testo.toInt(&valido) : 0;
    if (!valido)
        throw Errore(QStringLiteral("'%1' non è un valore intero valido").arg(testo));
    return numero;
}

namespace
{

// Temporary files of saves that were cut short (the process killed between writing and renaming):
// the file's name, a point and six letters or digits, no longer than a whole file.
void RimuoviAvanzi(const QString &percorso)
{
    const QFileInfo file(percorso);
    const QRegularExpression nomeAvanzo(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(file.fileName()) + QStringLiteral("\\.[A-Za-z0-9]{6}")));
    QDir cartella = file.absoluteDir();
    const auto candidati = cartella.entryInfoList({file.fileName() + QStringLiteral(".??????")},
                                                  QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QFileInfo &candidato : candidati)
        if (nomeAvanzo.match(candidato.fileName()).hasMatch() &&
            candidato.size() <= NumeroFisso::Contenuto(QStringLiteral("00")).size())
            cartella.remove(candidato.fileName());
}

} // namespace

void ScriviNumeroFisso(const QString &dueCifre)
{
    QString percorso = NumeroFisso::NomeFile;
    const auto nonSalvato = [&](const QString &motivo) {
        return Errore(QStringLiteral("Impossibile salvare il file del numero fisso %1: %2")
                          .arg(Fx::PercorsoMostrato(percorso), motivo));
    };
    try {
        percorso = NumeroFisso::PercorsoPerSalvare();
    } catch (const Errore &e) {
        throw nonSalvato(e.messaggio());
    }
    // Only a regular file is replaced: saving over a link would replace what it points to, and a
    // folder, a pipe or a device of that name is not the user's setting.
    const QFileInfo esistente(percorso);
    if (esistente.isSymLink() || (esistente.exists() && !esistente.isFile()))
        throw nonSalvato(QStringLiteral("non è un file regolare"));
    RimuoviAvanzi(percorso);

    const QByteArray contenuto = NumeroFisso::Contenuto(dueCifre);
    QSaveFile file(percorso);
    // Never fall back to writing the file in place: a failure half-way would leave it truncated.
    file.setDirectWriteFallback(false);
    // Unbuffered, so that a full disk fails the write itself and is seen here: a buffered write fails
    // only inside commit(), which then still puts the empty new file in place of the earlier one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw nonSalvato(file.errorString());
    const auto motivo = [&file] {
        return file.error() == QFileDevice::ResourceError ? QStringLiteral("spazio su disco esaurito")
                                                          : file.errorString();
    };
    if (file.write(contenuto) != contenuto.size() || file.error() != QFileDevice::NoError)
        throw nonSalvato(motivo());
    // commit() ignores a failed sync; a file system that reports its write errors only then is heard.
    if (::fsync(file.handle()) != 0 && errno != EINVAL && errno != EROFS)
        throw nonSalvato(QString::fromLocal8Bit(std::strerror(errno)));
    if (!file.commit())
        throw nonSalvato(motivo());
}

void RimuoviNumeroFisso()
{
    QFile file(NumeroFisso::Percorso());
    if (!file.remove())
        throw Errore(QStringLiteral("Impossibile rimuovere il file del numero fisso %1: %2")
                         .arg(Fx::PercorsoMostrato(file.fileName()), file.errorString()));
}

} // namespace Impostazioni

TFrmImp::TFrmImp(QWidget *genitore) : QDialog(genitore)
{
    setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(271, 56);
    // Modal to the main window only: the message boxes this window shows have no owner and must stay
    // usable (an application-modal run would block them, and their button could not be pressed).
    setWindowModality(Qt::WindowModal);

    BTMsalva->setIcon(Glifi::Icona(QStringLiteral("ok")));
    BTMannulla->setIcon(Glifi::Icona(QStringLiteral("annulla")));
    EDTnumFIS->installEventFilter(this);

    Collega(Check1, &QCheckBox::toggled, this, &TFrmImp::Check1Click);
    Collega(BTMsalva, &QPushButton::clicked, this, &TFrmImp::BTMsalvaClick);
    Collega(BTMannulla, &QPushButton::clicked, this, &TFrmImp::BTMannullaClick);

    new AttivazionePerMostra(this, [this] { FormActivate(); });

    BTMsalva->setFocus();
    Fx::CentraSulDesktop(this);
}

bool TFrmImp::eventFilter(QObject *oggetto, QEvent *evento)
{
    if (oggetto != EDTnumFIS || evento->type() != QEvent::KeyPress)
        return QDialog::eventFilter(oggetto, evento);

    const auto *tasto = static_cast<QKeyEvent *>(evento);
    // Tab moves the focus and Delete edits the field; neither is a typed character (X11 gives Delete
    // the text DEL, which the filter would cancel).
    if (tasto->key() == Qt::Key_Tab || tasto->key() == Qt::Key_Backtab || tasto->key() == Qt::Key_Delete)
        return false;
    QString caratteri = tasto->text();
    if (tasto->key() == Qt::Key_Return || tasto->key() == Qt::Key_Enter)
        caratteri = QString(QChar(13));
    // Keys that type nothing (arrows, Delete, Home...) are not characters and always reach the field.
    if (caratteri.isEmpty())
        return false;

    bool passano = false;
    RapportoErrori::Protetto([&] {
        bool tutti = true;
        for (QChar carattere : caratteri) {
            QChar Key = carattere;
            EDTnumFISKeyPress(Key);
            tutti = tutti && Key == carattere;
        }
        passano = tutti;
    });
    return !passano;
}

void TFrmImp::keyPressEvent(QKeyEvent *evento)
{
    // The window has no default and no cancel button: Escape does nothing, Enter presses only the
    // button that has the focus.
    switch (evento->key()) {
    case Qt::Key_Escape:
        evento->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto *pulsante = qobject_cast<QPushButton *>(focusWidget()))
            pulsante->click();
        evento->accept();
        return;
    default:
        QDialog::keyPressEvent(evento);
    }
}

void TFrmImp::FormActivate()
{
    if (!NumeroFisso::Esiste())
        return;
    Check1->setChecked(true);
    EDTnumFIS->setText(NumeroFisso::Leggi());
}

void TFrmImp::Check1Click()
{
    EDTnumFIS->setVisible(Check1->isChecked());
}

void TFrmImp::EDTnumFISKeyPress(QChar &Key)
{
    Fx::FiltraTastoNumerico(Key);
    if (Key == QChar(13)) {
        Key = QChar(0);
        if (!EDTnumFIS->text().isEmpty())
            BTMsalvaClick();
    }
}

void TFrmImp::BTMsalvaClick()
{
    if (Check1->isChecked()) {
        const int numero = Impostazioni::NumeroDalTesto(EDTnumFIS->text());
        if (numero < Impostazioni::NumeroMinimo || numero > Impostazioni::NumeroMassimo) {
            Fx::MessaggioAttenzione(
                QStringLiteral("Il numero inserito deve avere un valore compreso tra 1 e 90!"));
            EDTnumFIS->clear();
        }
    }

    EDTnumFIS->setText(Estrazione::AggiungiZeroIniziale(EDTnumFIS->text()));

    if (Check1->isChecked() && !EDTnumFIS->text().isEmpty()) {
        Impostazioni::ScriviNumeroFisso(EDTnumFIS->text());
        Fx::MessaggioInfo(QStringLiteral("Le impostazioni sono state salvate"));
        accept();
        return;
    }

    if (!Check1->isChecked() && NumeroFisso::Esiste()) {
        Impostazioni::RimuoviNumeroFisso();
        Fx::MessaggioInfo(QStringLiteral("Le impostazioni sono state rimosse."));
        accept();
    }
}

void TFrmImp::BTMannullaClick()
{
    reject();
}
