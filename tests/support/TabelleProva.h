// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>

#include <stdexcept>

// A temporary working directory for the settings and translation tables, which the program opens by
// bare name: while it lives it is the current directory, and the previous one comes back at its end.
// The tables are real SQLite files written by the test.
class TabelleProva
{
public:
    TabelleProva() : m_precedente(QDir::currentPath()), m_configurazionePrecedente(qgetenv("XDG_CONFIG_HOME"))
    {
        if (!m_cartella.isValid() || !QDir::setCurrent(m_cartella.path()))
            throw std::runtime_error("no temporary working directory");
        // The user's configuration folder, where a settings table of their own would be read first:
        // never the real one.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_cartella.filePath(QStringLiteral("configurazione"))));
    }
    ~TabelleProva()
    {
        QDir::setCurrent(m_precedente);
        if (m_configurazionePrecedente.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", m_configurazionePrecedente);
    }
    TabelleProva(const TabelleProva &) = delete;
    TabelleProva &operator=(const TabelleProva &) = delete;

    QString Percorso(const QString &nome) const { return m_cartella.filePath(nome); }
    // Where the user's own settings table goes, within the folder.
    static inline const QString Propria = QStringLiteral("configurazione/kelmo-dravolo/impostazioni.db");

    // Runs the statements on a new or existing file of the folder.
    void Esegui(const QString &file, const QStringList &istruzioni) const
    {
        static int contatore = 0;
        const QString nome = QStringLiteral("prova-scrittura-%1").arg(++contatore);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nome);
            db.setDatabaseName(Percorso(file));
            if (!db.open())
                throw std::runtime_error("cannot create test table");
            for (const QString &istruzione : istruzioni) {
                QSqlQuery query(db);
                if (!query.exec(istruzione))
                    throw std::runtime_error(
                        ("bad test statement: " + istruzione + " - " + query.lastError().text())
                            .toStdString());
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(nome);
    }

    // impostazioni.db (or the user's own, at Propria) with one record holding the language value.
    void Lingua(const QString &valore, bool propria = false) const
    {
        if (propria && !QDir().mkpath(QFileInfo(Percorso(Propria)).path()))
            throw std::runtime_error("cannot make the configuration folder");
        Esegui(propria ? Propria : QStringLiteral("impostazioni.db"),
               {QStringLiteral("create table impostazioni (LINGUA text)"),
                QStringLiteral("insert into impostazioni values ('%1')")
                    .arg(QString(valore).replace("'", "''"))});
    }

    // lingua.db with the columns ITALIANO and Inglese and the given pairs, in this order.
    void Traduzioni(const QList<QPair<QString, QString>> &righe) const
    {
        QStringList istruzioni{QStringLiteral("create table lingua (ITALIANO text, Inglese text)")};
        for (const auto &[italiano, inglese] : righe)
            istruzioni << QStringLiteral("insert into lingua values ('%1', '%2')")
                              .arg(QString(italiano).replace("'", "''"), QString(inglese).replace("'", "''"));
        Esegui(QStringLiteral("lingua.db"), istruzioni);
    }

    QByteArray Contenuto(const QString &file) const
    {
        QFile f(Percorso(file));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private:
    QString m_precedente;
    QByteArray m_configurazionePrecedente;
    QTemporaryDir m_cartella;
};
