#include "app/Fx.h"

#include "app/BoxMessaggio.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QPointer>

namespace Fx {

namespace {
QString &cartellaImpostata()
{
    static QString cartella;
    return cartella;
}
} // namespace

QMessageBox::StandardButton MostraBox(QMessageBox::Icon icona, const QString &titolo, const QString &testo,
                                      QMessageBox::StandardButtons pulsanti)
{
    const bool soloPulsanti = pulsanti.testFlag(QMessageBox::Yes) && pulsanti.testFlag(QMessageBox::No) &&
                              !pulsanti.testFlag(QMessageBox::Cancel);
    BoxMessaggio box(icona, titolo, testo, pulsanti, soloPulsanti);
    // QMessageBox makes itself application-modal; a box without owner must leave the other windows
    // usable, so the modality is set back after construction and the caller waits in a local loop.
    box.setWindowModality(Qt::NonModal);
    QEventLoop attesa;
    QObject::connect(&box, &QMessageBox::finished, &attesa, &QEventLoop::quit);
    box.show();
    box.raise();
    box.activateWindow();
    attesa.exec();
    return box.risposta();
}

void MessaggioInfo(const QString &testo)
{
    MostraBox(QMessageBox::Information, QStringLiteral("Messaggio."), testo, QMessageBox::Ok);
}

void MessaggioAttenzione(const QString &testo)
{
    MostraBox(QMessageBox::Warning, QStringLiteral("Attenzione."), testo, QMessageBox::Ok);
}

void MessaggioErrore(const QString &testo)
{
    MostraBox(QMessageBox::Critical, QStringLiteral("Errore"), testo, QMessageBox::Ok);
}

bool DomandaSiNo(const QString &testo)
{
    return MostraBox(QMessageBox::Question, QStringLiteral("Richiesta."), testo,
                     QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void FiltraTastoNumerico(QChar &carattere)
{
    const char16_t codice = carattere.unicode();
    if (codice >= u'0' && codice <= u'9')
        return;
    if (codice == 8 || codice == 13)
        return;
    carattere = QChar(0);
}

QString CartellaEseguibile()
{
    const QString &impostata = cartellaImpostata();
    const QString cartella = impostata.isEmpty() ? QCoreApplication::applicationDirPath() : impostata;
    return QDir::cleanPath(cartella) + QLatin1Char('/');
}

void ImpostaCartellaEseguibile(const QString &cartella)
{
    cartellaImpostata() = cartella;
}

} // namespace Fx
