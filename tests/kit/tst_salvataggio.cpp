// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A save over an earlier file: the new file is that file anew (owner, group, mode, access control list,
// extended attributes) or nothing is saved, and a file a write would be refused is not replaced.
#include "kit/Salvataggio.h"
#include "support/ComeAltroUtente.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace
{

constexpr uid_t AltroUtente = 4242;

// What a save must keep of a file besides its content.
struct Proprieta {
    uid_t proprietario = 0;
    gid_t gruppo = 0;
    mode_t permessi = 0;
    QList<std::pair<QByteArray, QByteArray>> attributi;
    bool operator==(const Proprieta &) const = default;
};

Proprieta Leggi(const QByteArray &percorso)
{
    Proprieta letta;
    struct stat stato {
    };
    if (::lstat(percorso.constData(), &stato) != 0)
        return letta;
    letta.proprietario = stato.st_uid;
    letta.gruppo = stato.st_gid;
    letta.permessi = stato.st_mode & 07777;
    QByteArray nomi(4096, '\0');
    nomi.resize(qMax<ssize_t>(0, ::llistxattr(percorso.constData(), nomi.data(), size_t(nomi.size()))));
    for (const QByteArray &nome : nomi.split('\0')) {
        if (nome.isEmpty())
            continue;
        QByteArray valore(4096, '\0');
        valore.resize(qMax<ssize_t>(
            0, ::lgetxattr(percorso.constData(), nome.constData(), valore.data(), size_t(valore.size()))));
        letta.attributi.append({nome, valore});
    }
    std::sort(letta.attributi.begin(), letta.attributi.end());
    return letta;
}

// An access control list that gives AltroUtente read and write and leaves the owner, the group and
// the others what `permessi` gives them, in the form the system keeps it as an attribute.
QByteArray AclConAltroUtente(mode_t permessi)
{
    QByteArray acl;
    const auto aggiungi = [&acl](quint32 valore, int byte) {
        for (int i = 0; i < byte; ++i)
            acl.append(char((valore >> (8 * i)) & 0xff));
    };
    aggiungi(2, 4); // version
    const quint32 nessunId = 0xffffffff;
    const quint32 proprietario = (permessi >> 6) & 7, gruppo = (permessi >> 3) & 7, altri = permessi & 7;
    for (const auto &[etichetta, concessi, id] : {std::tuple{0x01u, proprietario, nessunId},
                                                  {0x02u, 6u, quint32(AltroUtente)},
                                                  {0x04u, gruppo, nessunId},
                                                  {0x10u, 6u | gruppo, nessunId},
                                                  {0x20u, altri, nessunId}}) {
        aggiungi(etichetta, 2);
        aggiungi(concessi, 2);
        aggiungi(id, 4);
    }
    return acl;
}

} // namespace

class TestSalvataggio : public QObject
{
    Q_OBJECT
private slots:
    void sopraUnFileEsistente_data()
    {
        QTest::addColumn<int>("permessi");    // of the earlier file, before its access control list
        QTest::addColumn<bool>("altrui");     // the earlier file is AltroUtente's
        QTest::addColumn<bool>("comeUtente"); // saved by an unprivileged user (as root: ComeAltroUtente)
        QTest::addColumn<QString>("motivo");  // empty: saved
        QTest::newRow("the user's own file, whatever the umask") << 0640 << false << true << QString();
        QTest::newRow("the user's own file, write-protected")
            << 0444 << false << true << "il file è protetto da scrittura";
        if (::geteuid() != 0)
            return; // files of other users are made by root alone
        QTest::newRow("another user's file, saved by root") << 0640 << true << false << QString();
        QTest::newRow("a write-protected file, saved by root, who may write it")
            << 0444 << false << false << QString();
        QTest::newRow("another user's file in a folder open to all, saved by a user")
            << 0666 << true << true
            << "non si può conservare il proprietario del file esistente: operazione non "
               "permessa";
    }
    void sopraUnFileEsistente()
    {
        QFETCH(int, permessi);
        QFETCH(bool, altrui);
        QFETCH(bool, comeUtente);
        QFETCH(QString, motivo);
        QTemporaryDir cartella;
        const QByteArray nomeCartella = QFile::encodeName(cartella.path());
        const QByteArray percorso = nomeCartella + "/giocate.txt";
        {
            QFile prima(QFile::decodeName(percorso));
            QVERIFY(prima.open(QIODevice::WriteOnly) && prima.write("prima\n") == 6);
        }
        QVERIFY(::chmod(percorso.constData(), mode_t(permessi)) == 0);
        // The user who saves owns the folder, but where the file is another user's: then anyone may
        // write the folder, and nothing but the file's owner stands in the way.
        const uid_t utente = comeUtente ? ComeAltroUtente::Utente() : ::geteuid();
        const gid_t gruppo = comeUtente ? ComeAltroUtente::Gruppo() : ::getegid();
        QVERIFY(::chown(nomeCartella.constData(), utente, gruppo) == 0);
        QVERIFY(::chmod(nomeCartella.constData(), altrui ? 0777 : 0700) == 0);
        QVERIFY(::chown(percorso.constData(), altrui ? AltroUtente : utente, altrui ? AltroUtente : gruppo) ==
                0);
        QVERIFY(::lsetxattr(percorso.constData(), "user.kelmo", "prova", 5, 0) == 0);
        const QByteArray acl = AclConAltroUtente(mode_t(permessi));
        QVERIFY(::lsetxattr(percorso.constData(), "system.posix_acl_access", acl.constData(),
                            size_t(acl.size()), 0) == 0);
        const Proprieta attese = Leggi(percorso);

        const mode_t maschera = ::umask(077);
        QString visto;
        {
            std::unique_ptr<ComeAltroUtente> come;
            if (comeUtente)
                come = std::make_unique<ComeAltroUtente>();
            try {
                Salvataggio file(QFile::decodeName(percorso));
                file.Apri();
                file.Scrivi("dopo\n");
                file.Concludi();
            } catch (const Errore &e) {
                visto = e.messaggio();
            }
        }
        ::umask(maschera);

        QCOMPARE(visto, motivo);
        QFile salvato(QFile::decodeName(percorso));
        QVERIFY(salvato.open(QIODevice::ReadOnly));
        QCOMPARE(salvato.readAll(), QByteArray(motivo.isEmpty() ? "dopo\n" : "prima\n"));
        const Proprieta viste = Leggi(percorso);
        QCOMPARE(viste.proprietario, attese.proprietario);
        QCOMPARE(viste.gruppo, attese.gruppo);
        QCOMPARE(QString::number(viste.permessi, 8), QString::number(attese.permessi, 8));
        QCOMPARE(viste.attributi, attese.attributi);
        QCOMPARE(QDir(cartella.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
                 QStringList{"giocate.txt"});
    }
};

QTEST_GUILESS_MAIN(TestSalvataggio)
#include "tst_salvataggio.moc"
