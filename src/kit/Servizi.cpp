// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "kit/Servizi.h"

#include "kit/Sostituzioni.h"
#include "regole/Errore.h"
#include "regole/MotiviSistema.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <optional>
#include <unistd.h>
#include <utility>

namespace Servizi
{

namespace
{
constexpr char PrefissoDescrittore[] = "/proc/self/fd/";

// The folders held through their descriptors: the name given for each, its real name in bytes and the
// descriptor.
struct CartellaAperta {
    QString nome;
    QByteArray vero;
    int descrittore;
};
QList<CartellaAperta> &cartelleAperte()
{
    static QList<CartellaAperta> cartelle;
    return cartelle;
}

// The held folder a path lies in, and the rest of the path after it.
std::optional<std::pair<CartellaAperta, QString>> nellaCartellaAperta(const QString &percorso)
{
    for (const CartellaAperta &cartella : cartelleAperte())
        if (percorso.startsWith(cartella.nome))
            return std::pair{cartella, percorso.mid(cartella.nome.size())};
    return std::nullopt;
}

// An environment variable that names an absolute path, in bytes, or nothing.
std::optional<QByteArray> percorsoAssoluto(const char *variabile)
{
    const QByteArray valore = qgetenv(variabile);
    if (!valore.startsWith('/'))
        return std::nullopt;
    return valore;
}
} // namespace

QString CartellaEseguibile()
{
    if (const QString &impostata = Sostituzioni::Attuali().CartellaEseguibile; !impostata.isEmpty()) {
        const QString pulita = QDir::cleanPath(impostata);
        return pulita.endsWith(QLatin1Char('/')) ? pulita : pulita + QLatin1Char('/');
    }
    // The link names the executable as it runs, whatever the working directory or argv[0] say.
    static const QByteArray eseguibile = [] {
        QByteArray percorso(PATH_MAX, '\0');
        const ssize_t lunghezza = ::readlink("/proc/self/exe", percorso.data(), percorso.size());
        if (lunghezza <= 0 || lunghezza >= percorso.size())
            throw Errore(QStringLiteral("Impossibile trovare la cartella del programma: %1")
                             .arg(lunghezza < 0 ? MotiviSistema::Motivo(errno)
                                                : QStringLiteral("percorso troppo lungo")));
        percorso.truncate(lunghezza);
        return percorso;
    }();
    return CartellaDi(eseguibile);
}

QString CartellaDi(const QByteArray &eseguibile)
{
    const qsizetype barra = eseguibile.lastIndexOf('/');
    if (barra < 0)
        throw Errore(QStringLiteral("Impossibile trovare la cartella del programma: %1")
                         .arg(QFile::decodeName(eseguibile)));
    // The root keeps its one separator.
    return NomeCartella(eseguibile.left(qMax<qsizetype>(barra, 1)), QStringLiteral("del programma"));
}

QString NomeCartella(const QByteArray &cartella, const QString &quale)
{
    const QString nome = QFile::decodeName(cartella);
    if (QFile::encodeName(nome) == cartella) {
        const QString pulito = QDir::cleanPath(nome);
        return pulito.endsWith(QLatin1Char('/')) ? pulito : pulito + QLatin1Char('/');
    }

    // Opened anew at each call, onto the descriptor it had before, so that the name goes on resolving
    // as a path would (to a file system mounted over the folder, say) and keeps its number.
    const auto nonAperta = [&] {
        return Errore(QStringLiteral("Impossibile aprire la cartella %1 %2: %3")
                          .arg(quale, nome, MotiviSistema::Motivo(errno)));
    };
    const int descrittore = ::open(cartella.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (descrittore < 0)
        throw nonAperta();
    const QByteArray vero = cartella.endsWith('/') ? cartella : cartella + '/';
    for (const CartellaAperta &aperta : cartelleAperte()) {
        if (aperta.vero != vero)
            continue;
        const bool spostata = ::dup3(descrittore, aperta.descrittore, O_CLOEXEC) >= 0;
        const Errore errore = nonAperta();
        ::close(descrittore);
        if (!spostata)
            throw errore;
        return aperta.nome;
    }
    const QString nomeDescrittore =
        QString::fromLatin1(PrefissoDescrittore) + QString::number(descrittore) + QLatin1Char('/');
    cartelleAperte().append({nomeDescrittore, vero, descrittore});
    return nomeDescrittore;
}

QString PercorsoMostrato(const QString &percorso)
{
    if (const auto dentro = nellaCartellaAperta(percorso))
        return QFile::decodeName(dentro->first.vero) + dentro->second;
    return percorso;
}

QString CartellaConfigurazione()
{
    // Relative values are ignored, as the XDG base directory rules say: they would depend on the
    // working directory. The folder a variable names is taken by its bytes, whatever they are: read as
    // UTF-8, a name that is not would become another folder's.
    const QString quale = QStringLiteral("di configurazione");
    if (const auto xdg = percorsoAssoluto("XDG_CONFIG_HOME"))
        return NomeCartella(*xdg, quale) + QStringLiteral("kelmo-dravolo/");
    if (const auto casa = percorsoAssoluto("HOME"))
        return NomeCartella(*casa, quale) + QStringLiteral(".config/kelmo-dravolo/");
    throw Errore(qEnvironmentVariableIsEmpty("HOME")
                     ? QStringLiteral("nessuna cartella di configurazione, la variabile HOME non è impostata")
                     : QStringLiteral("nessuna cartella di configurazione, la variabile HOME non è un "
                                      "percorso assoluto"));
}

QString CartellaProposta(QStandardPaths::StandardLocation tipo)
{
    const QString cartella = QStandardPaths::writableLocation(tipo);
    if (!cartella.isEmpty() && QFileInfo(cartella).isDir())
        return cartella;
    if (const auto casa = percorsoAssoluto("HOME")) {
        try {
            return NomeCartella(*casa, QStringLiteral("personale"));
        } catch (const Errore &) {
            // No home to propose: the root, where the dialog can at least be used.
        }
    }
    return QDir::rootPath();
}

QUrl UrlCollegamento(const QString &obiettivo)
{
    // The folder's bytes are encoded as bytes: QUrl::toPercentEncoding takes a QString, and the bytes
    // that are not UTF-8 would reach it as replacement characters, a folder that does not exist.
    if (const auto dentro = nellaCartellaAperta(obiettivo))
        return QUrl::fromEncoded("file://" + dentro->first.vero.toPercentEncoding("/") +
                                 QUrl::toPercentEncoding(dentro->second, "/"));
    if (QDir::isAbsolutePath(obiettivo))
        return QUrl::fromLocalFile(obiettivo);
    return QUrl::fromUserInput(obiettivo);
}

void ApriCollegamento(const QString &obiettivo)
{
    // The outcome is not examined: a missing browser or association is not the program's failure.
    QDesktopServices::openUrl(UrlCollegamento(obiettivo));
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

} // namespace Servizi
