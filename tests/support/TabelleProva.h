#pragma once

#include <QDir>
#include <QFile>
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
    TabelleProva() : m_precedente(QDir::currentPath())
    {
        if (!m_cartella.isValid() || !QDir::setCurrent(m_cartella.path()))
            throw std::runtime_error("no temporary working directory");
    }
    ~TabelleProva() { QDir::setCurrent(m_precedente); }
    TabelleProva(const TabelleProva &) = delete;
    TabelleProva &operator=(const TabelleProva &) = delete;

    QString Percorso(const QString &nome) const { return m_cartella.filePath(nome); }

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
                    throw std::runtime_error(("bad test statement: " + istruzione + " - " +
                                              query.lastError().text()).toStdString());
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(nome);
    }

    // impostazioni.db with one record holding the language value.
    void Lingua(const QString &valore) const
    {
        Esegui(QStringLiteral("impostazioni.db"),
               {QStringLiteral("create table impostazioni (LINGUA text)"),
                QStringLiteral("insert into impostazioni values ('%1')").arg(QString(valore).replace("'", "''"))});
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
    QTemporaryDir m_cartella;
};
