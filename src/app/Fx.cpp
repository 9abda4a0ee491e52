#include "app/Fx.h"

#include "app/BoxMessaggio.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <QWindow>

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
    // A modal window that is open keeps blocking the windows it blocked, but not a box shown while it
    // runs: the box becomes its transient, so the user can still answer it.
    if (QWidget *modale = QApplication::activeModalWidget(); modale && modale->windowHandle()) {
        box.winId();
        box.windowHandle()->setTransientParent(modale->windowHandle());
    }
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

void CentraSulDesktop(QWidget *finestra)
{
    if (QScreen *schermo = finestra->screen())
        finestra->move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, finestra->size(),
                                           schermo->availableGeometry())
                           .topLeft());
}

QString CartellaEseguibile()
{
    const QString &impostata = cartellaImpostata();
    const QString cartella = impostata.isEmpty() ? QCoreApplication::applicationDirPath() : impostata;
    const QString pulita = QDir::cleanPath(cartella);
    return pulita.endsWith(QLatin1Char('/')) ? pulita : pulita + QLatin1Char('/');
}

void ImpostaCartellaEseguibile(const QString &cartella)
{
    cartellaImpostata() = cartella;
}

QUrl UrlCollegamento(const QString &obiettivo)
{
    if (QDir::isAbsolutePath(obiettivo))
        return QUrl::fromLocalFile(obiettivo);
    return QUrl::fromUserInput(obiettivo);
}

void ApriCollegamento(const QString &obiettivo)
{
    // The outcome is not examined: a missing browser or association is not the program's failure.
    QDesktopServices::openUrl(UrlCollegamento(obiettivo));
}

QString TestoMail(const QString &indirizzo, const QString &oggetto, const QString &corpo)
{
    return QStringLiteral("mailto:") + indirizzo + QStringLiteral("?subject=") + oggetto + QStringLiteral("&body=") +
           corpo;
}

QUrl UrlMail(const QString &indirizzo, const QString &oggetto, const QString &corpo)
{
    // The same pieces in the same order; only the values are encoded. A blank, an "&" or an "ù" left
    // bare would be cut or changed by the opener or the mail client.
    const QByteArray testo = QByteArrayLiteral("mailto:") + QUrl::toPercentEncoding(indirizzo, "@") +
                             QByteArrayLiteral("?subject=") + QUrl::toPercentEncoding(oggetto) +
                             QByteArrayLiteral("&body=") + QUrl::toPercentEncoding(corpo);
    return QUrl::fromEncoded(testo, QUrl::StrictMode);
}

void ComponiMail(const QString &indirizzo, const QString &oggetto, const QString &corpo)
{
    QDesktopServices::openUrl(UrlMail(indirizzo, oggetto, corpo));
}

} // namespace Fx
