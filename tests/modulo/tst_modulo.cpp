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

// The built module's bytes with every `vecchio` replaced by `nuovo`, of the same length.
QByteArray ModuloCambiato(const QByteArray &vecchio, const QByteArray &nuovo)
{
    QFile file(QStringLiteral(KELMO_MODULO));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray contenuto = file.readAll();
    if (!contenuto.contains(vecchio))
        return {};
    return contenuto.replace(vecchio, nuovo);
}

// A folder holding the module file, made by a row's preparation.
struct Cartella {
    QTemporaryDir temporanea;
    QByteArray nome = QFile::encodeName(temporanea.path());
    QByteArray modulo = nome + '/' + ModuloSuRichiesta::NomeFile;

    bool Scrivi(const QByteArray &contenuto, mode_t permessi = 0644) const
    {
        QFile file(QFile::decodeName(modulo));
        return !contenuto.isEmpty() && file.open(QIODevice::WriteOnly) &&
               file.write(contenuto) == contenuto.size() && file.flush() &&
               ::chmod(modulo.constData(), permessi) == 0;
    }
    bool Copia(mode_t permessi = 0644) const { return Scrivi(ModuloCambiato("", ""), permessi); }
};

using Preparazione = std::function<bool(const Cartella &)>;

} // namespace

class TestModulo : public QObject
{
    Q_OBJECT

private slots:
    void caricamento_data()
    {
        QTest::addColumn<Preparazione>("prepara");
        // Empty: the module loads.
        QTest::addColumn<QString>("motivo");

        QTest::newRow("il modulo nella cartella del programma") << Preparazione([](const Cartella &c) {
            return ::chmod(c.nome.constData(), 0755) == 0 && c.Copia();
        }) << QString();
        QTest::newRow("nessun modulo") << Preparazione([](const Cartella &) { return true; })
                                       << QStringLiteral("file o cartella inesistente");
        QTest::newRow("cartella scrivibile da tutti") << Preparazione([](const Cartella &c) {
            return c.Copia() && ::chmod(c.nome.constData(), 01777) == 0;
        }) << QStringLiteral("la cartella è scrivibile da altri utenti");
        QTest::newRow("file scrivibile da tutti")
            << Preparazione([](const Cartella &c) { return c.Copia(0666); })
            << QStringLiteral("il file è scrivibile da altri utenti");
        QTest::newRow("collegamento simbolico") << Preparazione([](const Cartella &c) {
            return QFile::link(QStringLiteral(KELMO_MODULO), QFile::decodeName(c.modulo));
        }) << QStringLiteral("collegamento simbolico non seguito");
        QTest::newRow("una cartella")
            << Preparazione([](const Cartella &c) { return QDir().mkdir(QFile::decodeName(c.modulo)); })
            << QStringLiteral("non è un file regolare");
        QTest::newRow("non un modulo") << Preparazione([](const Cartella &c) {
            return c.Scrivi("\x7f"
                            "ELF non proprio");
        }) << QStringLiteral("il file non è un modulo che questo sistema può caricare");
        QTest::newRow("la libreria di un altro programma") << Preparazione([](const Cartella &c) {
            QFile libreria(QStringLiteral(KELMO_ALTRA_LIBRERIA));
            return libreria.open(QIODevice::ReadOnly) && c.Scrivi(libreria.readAll());
        }) << QStringLiteral("non è il modulo di questo programma");
        QTest::newRow("una libreria che manca") << Preparazione([](const Cartella &c) {
            return c.Scrivi(ModuloCambiato("libQt6PrintSupport.so.6", "libQt6PrintSupporX.so.6"));
        }) << QStringLiteral("manca la libreria libQt6PrintSupporX.so.6");
        const QByteArray versione(Configurazione::EtichettaVersione);
        QByteArray altra = versione;
        altra.back() = altra.back() == '9' ? '8' : char(altra.back() + 1);
        QTest::newRow("un'altra versione")
            << Preparazione(
                   [=](const Cartella &c) { return c.Scrivi(ModuloCambiato(versione + '\0', altra + '\0')); })
            << QStringLiteral("è della versione %1, il programma della %2")
                   .arg(QString::fromLatin1(altra), QString::fromLatin1(versione));
        // Only the superuser can give a file or folder to someone else.
        if (::geteuid() == 0) {
            QTest::newRow("file di un altro utente") << Preparazione([](const Cartella &c) {
                return c.Copia() && ::chown(c.modulo.constData(), 65534, 0) == 0;
            }) << QStringLiteral("il file appartiene a un altro utente");
            QTest::newRow("cartella scrivibile dal gruppo di altri") << Preparazione([](const Cartella &c) {
                return c.Copia() && ::chown(c.nome.constData(), 0, 65534) == 0 &&
                       ::chmod(c.nome.constData(), 0775) == 0;
            }) << QStringLiteral("la cartella è scrivibile da altri utenti");
        }
    }

    void caricamento()
    {
        QFETCH(Preparazione, prepara);
        QFETCH(QString, motivo);
        const Cartella cartella;
        QVERIFY(cartella.temporanea.isValid());
        QVERIFY(prepara(cartella));

        QString errore;
        const ModuloSuRichiesta::Funzioni *funzioni = nullptr;
        try {
            funzioni = &ModuloSuRichiesta::CaricaDa(cartella.nome);
        } catch (const Errore &e) {
            errore = e.messaggio();
        }
        if (!motivo.isEmpty()) {
            QCOMPARE(errore, QStringLiteral("Impossibile caricare il modulo %1: %2")
                                 .arg(QFile::decodeName(cartella.modulo), motivo));
            return;
        }
        QVERIFY2(funzioni, qPrintable(errore));
        QCOMPARE(QByteArray(funzioni->versione), QByteArray(Configurazione::EtichettaVersione));
        QVERIFY(funzioni->StampaGiocate);
        QCOMPARE(funzioni->ControllaVersione != nullptr, bool(KELMO_CONTROLLO_AGGIORNAMENTI));
    }

    void percorsoRelativo()
    {
        QVERIFY_THROWS_EXCEPTION(Errore, ModuloSuRichiesta::CaricaDa("cartella/relativa"));
    }
};

QTEST_GUILESS_MAIN(TestModulo)
#include "tst_modulo.moc"
