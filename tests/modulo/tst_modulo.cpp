// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The module of printing and the update check, loaded as the program loads it: the built file from a
// folder of the program's own, and the files and folders that must be refused, each with its reason.
#include "Configurazione.h"
#include "kit/ModuloSuRichiesta.h"
#include "regole/Errore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

QByteArray Leggi(const char *percorso)
{
    QFile file(QFile::decodeName(percorso));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The built module with every `vecchio` replaced by `nuovo`, of the same length.
QByteArray Cambiato(const QByteArray &vecchio, const QByteArray &nuovo)
{
    const QByteArray modulo = Leggi(KELMO_MODULO);
    return modulo.contains(vecchio) ? QByteArray(modulo).replace(vecchio, nuovo) : QByteArray();
}

// A folder (`c`) with `contenuto` as the module file, in these modes.
bool Scrivi(const QByteArray &c, const QByteArray &contenuto, mode_t file = 0644, mode_t cartella = 0755)
{
    QFile modulo(QFile::decodeName(c + '/' + ModuloSuRichiesta::NomeFile));
    return !contenuto.isEmpty() && modulo.open(QIODevice::WriteOnly) &&
           modulo.write(contenuto) == contenuto.size() && modulo.flush() &&
           ::chmod(QFile::encodeName(modulo.fileName()).constData(), file) == 0 &&
           ::chmod(c.constData(), cartella) == 0;
}

using Preparazione = std::function<bool(const QByteArray &cartella)>;

} // namespace

class TestModulo : public QObject
{
    Q_OBJECT

private slots:
    void caricamento_data()
    {
        QTest::addColumn<Preparazione>("prepara");
        QTest::addColumn<QString>("motivo"); // empty: the module loads
        const QByteArray versione(Configurazione::EtichettaVersione);
        QByteArray altra = versione;
        altra.back() = altra.back() == '9' ? '8' : char(altra.back() + 1);
        const QByteArray nome = ModuloSuRichiesta::NomeFile;

        QTest::newRow("the program's module")
            << Preparazione([](auto c) { return Scrivi(c, Leggi(KELMO_MODULO)); }) << QString();
        QTest::newRow("none") << Preparazione([](auto) { return true; })
                              << QStringLiteral("file o cartella inesistente");
        QTest::newRow("folder anyone writes")
            << Preparazione([](auto c) { return Scrivi(c, Leggi(KELMO_MODULO), 0644, 01777); })
            << QStringLiteral("la cartella è scrivibile da altri utenti");
        QTest::newRow("file anyone writes")
            << Preparazione([](auto c) { return Scrivi(c, Leggi(KELMO_MODULO), 0666); })
            << QStringLiteral("il file è scrivibile da altri utenti");
        QTest::newRow("link") << Preparazione([nome](auto c) {
            return QFile::link(KELMO_MODULO, QFile::decodeName(c + '/' + nome));
        }) << QStringLiteral("collegamento simbolico non seguito");
        QTest::newRow("folder") << Preparazione([nome](auto c) {
            return QDir().mkdir(QFile::decodeName(c + '/' + nome));
        }) << QStringLiteral("non è un file regolare");
        QTest::newRow("no module at all") << Preparazione([](auto c) {
            return Scrivi(c, "\x7f"
                             "ELF non proprio");
        }) << QStringLiteral("il file non è un modulo che questo sistema può caricare");
        QTest::newRow("another program's library")
            << Preparazione([](auto c) { return Scrivi(c, Leggi(KELMO_ALTRA_LIBRERIA)); })
            << QStringLiteral("non è il modulo di questo programma");
        QTest::newRow("a library missing") << Preparazione([](auto c) {
            return Scrivi(c, Cambiato("libQt6PrintSupport.so.6", "libQt6PrintSupporX.so.6"));
        }) << QStringLiteral("manca la libreria libQt6PrintSupporX.so.6");
        QTest::newRow("another version")
            << Preparazione([=](auto c) { return Scrivi(c, Cambiato(versione + '\0', altra + '\0')); })
            << QStringLiteral("è della versione %1, il programma della %2")
                   .arg(QString::fromLatin1(altra), QString::fromLatin1(versione));
        // Only the superuser can give a file or folder to someone else.
        if (::geteuid() != 0)
            return;
        QTest::newRow("file of another user") << Preparazione([nome](auto c) {
            return Scrivi(c, Leggi(KELMO_MODULO)) && ::chown((c + '/' + nome).constData(), 65534, 0) == 0;
        }) << QStringLiteral("il file appartiene a un altro utente");
        QTest::newRow("folder another group writes") << Preparazione([](auto c) {
            return Scrivi(c, Leggi(KELMO_MODULO), 0644, 0775) && ::chown(c.constData(), 0, 65534) == 0;
        }) << QStringLiteral("la cartella è scrivibile da altri utenti");
    }

    void caricamento()
    {
        QFETCH(Preparazione, prepara);
        QFETCH(QString, motivo);
        const QTemporaryDir temporanea;
        const QByteArray cartella = QFile::encodeName(temporanea.path());
        QVERIFY(prepara(cartella));

        QString errore;
        const ModuloSuRichiesta::Funzioni *funzioni = nullptr;
        try {
            funzioni = &ModuloSuRichiesta::CaricaDa(cartella);
        } catch (const Errore &e) {
            errore = e.messaggio();
        }
        if (!motivo.isEmpty()) {
            QCOMPARE(errore, QStringLiteral("Impossibile caricare il modulo %1/%2: %3")
                                 .arg(temporanea.path(), ModuloSuRichiesta::NomeFile, motivo));
            return;
        }
        QVERIFY2(funzioni, qPrintable(errore));
        QCOMPARE(QByteArray(funzioni->versione), QByteArray(Configurazione::EtichettaVersione));
        QVERIFY(funzioni->StampaGiocate);
        QCOMPARE(funzioni->ControllaVersione != nullptr, bool(KELMO_CONTROLLO_AGGIORNAMENTI));
        // Never looked for along a search path or in the working directory.
        QVERIFY_THROWS_EXCEPTION(
            Errore, ModuloSuRichiesta::CaricaDa(QDir(".").relativeFilePath(temporanea.path()).toUtf8()));
    }
};

QTEST_GUILESS_MAIN(TestModulo)
#include "tst_modulo.moc"
