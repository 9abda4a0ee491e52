#include "settings/Traduzione.h"

#include "app/Errore.h"
#include "app/Fx.h"

#include <QAbstractButton>
#include <QFileInfo>
#include <QLabel>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>

namespace Traduzione {

namespace {

QString testoErrore(const QSqlError &errore)
{
    const QString testo = errore.databaseText().isEmpty() ? errore.text() : errore.databaseText();
    return testo.trimmed();
}

// One read-only connection to one table file, under a name of its own, removed as soon as the read
// is over. A missing file is an error and is never created. The file is opened as immutable: nothing
// at all is written beside it, not even the journal files of a table in WAL mode.
class Connessione
{
public:
    explicit Connessione(const QString &file) : m_file(file)
    {
        static quint64 contatore = 0;
        m_nome = QStringLiteral("kelmo-%1-%2").arg(file).arg(++contatore);
        // A named pipe or a device would block the engine's open() for ever: only a regular file (or a
        // link to one) is a table; anything else counts as a missing one.
        const QFileInfo informazioni(file);
        if (informazioni.exists() && !informazioni.isFile())
            throw Errore(QStringLiteral("Impossibile aprire %1: non è un file regolare").arg(file));
        if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
            throw Errore(QStringLiteral("Motore di database SQLite non disponibile"));
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_nome);
        m_db.setDatabaseName(QStringLiteral("file:") + QString::fromLatin1(QUrl::toPercentEncoding(file, "/")) +
                             QStringLiteral("?mode=ro&immutable=1"));
        m_db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
        if (!m_db.open())
            throw Errore(QStringLiteral("Impossibile aprire %1: %2").arg(file, testoErrore(m_db.lastError())));
    }
    ~Connessione()
    {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_nome);
    }
    Connessione(const Connessione &) = delete;
    Connessione &operator=(const Connessione &) = delete;

    // Runs one select; the query must not outlive the connection.
    void Esegui(QSqlQuery &query, const QString &sql) const
    {
        query = QSqlQuery(m_db);
        query.setForwardOnly(true);
        if (!query.exec(sql))
            throw Errore(QStringLiteral("Errore di lettura in %1: %2").arg(m_file, testoErrore(query.lastError())));
    }

    // Moves to the next row; false at the end, a failure when the engine could not read it.
    bool Avanti(QSqlQuery &query) const
    {
        if (query.next())
            return true;
        if (query.lastError().isValid())
            throw Errore(QStringLiteral("Errore di lettura in %1: %2").arg(m_file, testoErrore(query.lastError())));
        return false;
    }

    // Whether the table has a column of that name (in any letter case, as the engine compares them).
    // A missing table is the engine's own failure.
    bool HaColonna(const QString &tabella, const QString &colonna) const
    {
        const QSqlRecord colonne = m_db.record(tabella);
        if (colonne.isEmpty())
            throw Errore(QStringLiteral("Errore di lettura in %1: no such table: %2").arg(m_file, tabella));
        return colonne.indexOf(colonna) >= 0;
    }

private:
    QString m_file;
    QString m_nome;
    QSqlDatabase m_db;
};

bool cifraAscii(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// A language value as messages quote it: an overlong one only by its beginning.
QString linguaMostrata(const QString &lingua)
{
    return lingua.size() <= LunghezzaMassimaLingua ? lingua : lingua.left(LunghezzaMassimaLingua) + QStringLiteral("…");
}

} // namespace

void LeggiImpostazione(const QString &campo, QString &uscita)
{
    try {
        QString valore;
        {
            Connessione connessione(FileImpostazioni);
            QSqlQuery query;
            connessione.Esegui(query, QStringLiteral("select * from impostazioni"));
            // Field names are matched without regard to letter case, as the engine does for columns.
            const int indice = query.record().indexOf(campo);
            if (indice < 0)
                throw Errore(QStringLiteral("Campo %1 mancante").arg(campo));
            // A table without records reads as the empty text.
            if (connessione.Avanti(query))
                valore = query.value(indice).toString();
        }
        uscita = valore;
    } catch (...) {
        Fx::MessaggioErrore(QStringLiteral("Errore di lettura in parametri di impostazione, campo: ") + campo);
    }
}

QString TestoPreparato(const QString &testo)
{
    QString preparato = testo.startsWith(QLatin1Char('&')) ? testo.mid(1) : testo;
    preparato.remove(QLatin1Char('\''));
    return preparato;
}

bool NomeLinguaValido(const QString &lingua)
{
    if (lingua.isEmpty() || cifraAscii(lingua.front()))
        return false;
    for (const QChar c : lingua)
        if (!(c == QLatin1Char('_') || cifraAscii(c) || c.isLetter()))
            return false;
    return true;
}

QString TestoSql(const QString &preparato, const QString &lingua)
{
    return QStringLiteral("select ") + lingua + QStringLiteral(" from lingua where ITALIANO = '") + preparato +
           QStringLiteral("' ");
}

void TraduciTesto(const QString &italiano, const QString &lingua, QString &uscita)
{
    const QString preparato = TestoPreparato(italiano);
    // The language value becomes part of the SQL text as a column name, so only a bare name may pass;
    // the prepared text cannot leave its quotes, having no apostrophe left.
    if (lingua.isEmpty())
        throw Errore(QStringLiteral("Nessuna lingua impostata nel campo LINGUA di %1").arg(FileImpostazioni));
    if (lingua.size() > LunghezzaMassimaLingua)
        throw Errore(QStringLiteral("Lingua \"%1\" troppo lunga nel campo LINGUA di %2: al massimo %3 caratteri")
                         .arg(linguaMostrata(lingua), FileImpostazioni)
                         .arg(LunghezzaMassimaLingua));
    if (!NomeLinguaValido(lingua))
        throw Errore(QStringLiteral("Lingua \"%1\" non valida nel campo LINGUA di %2: sono ammessi solo lettere, "
                                    "cifre e trattini bassi, senza una cifra in testa")
                         .arg(linguaMostrata(lingua), FileImpostazioni));

    Connessione connessione(FileLingua);
    // A bare name that is no column of the table (rowid, NULL, CURRENT_TIMESTAMP) would still be a valid
    // expression and read as a timestamp or a blank: only the table's own columns are languages.
    if (!connessione.HaColonna(QStringLiteral("lingua"), lingua))
        throw Errore(QStringLiteral("Errore di lettura in %1: no such column: %2").arg(FileLingua, lingua));
    QSqlQuery query;
    connessione.Esegui(query, TestoSql(preparato, lingua));
    uscita = preparato;
    // Several matching rows: the first one the engine returns.
    if (connessione.Avanti(query))
        uscita = query.value(0).toString();
}

Voce VoceTitolo(QWidget *finestra)
{
    return {[finestra] { return finestra->windowTitle(); },
            [finestra](const QString &testo) { finestra->setWindowTitle(testo); }};
}

Voce VoceTesto(QLabel *etichetta)
{
    return {[etichetta] { return etichetta->text(); },
            [etichetta](const QString &testo) {
                etichetta->setText(testo);
                etichetta->adjustSize();
            }};
}

Voce VoceTesto(QAbstractButton *pulsante)
{
    return {[pulsante] { return pulsante->text(); },
            [pulsante](const QString &testo) { pulsante->setText(testo); }};
}

void TraduciVoci(const QList<Voce> &voci, Guardia guardia)
{
    if (!QFileInfo(Fx::CartellaEseguibile() + FileLingua).isFile())
        return;
    QString lingua;
    LeggiImpostazione(QStringLiteral("LINGUA"), lingua);
    if (lingua == Italiano)
        return;
    if (guardia == Guardia::ItalianoOVuoto && lingua.isEmpty())
        return;
    for (const Voce &voce : voci) {
        QString uscita;
        TraduciTesto(voce.Leggi(), lingua, uscita);
        voce.Scrivi(uscita);
    }
}

} // namespace Traduzione
