// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "traduzione/TabelleTraduzione.h"

#include "kit/Servizi.h"
#include "regole/MotiviSistema.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QUrl>

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <thread>

namespace TabelleTraduzione
{

namespace
{

// How often, in the engine's own instructions, a running read looks at the clock.
constexpr int IstruzioniTraControlli = 1000;
// How long a read waits before it tries again for a lock that another connection holds.
constexpr qint64 PausaTraTentativiMs = 5;

// The engine's heap limit belongs to the whole process: it is set for the length of one read, above
// what the engine already holds, and the previous limits come back afterwards.
class LimiteMemoria
{
public:
    LimiteMemoria() : m_soffice(sqlite3_soft_heap_limit64(-1)), m_rigido(sqlite3_hard_heap_limit64(-1))
    {
        sqlite3_hard_heap_limit64(sqlite3_memory_used() + sqlite3_int64(LimiteMemoriaMb) * 1024 * 1024);
    }
    ~LimiteMemoria()
    {
        sqlite3_hard_heap_limit64(m_rigido);
        sqlite3_soft_heap_limit64(m_soffice);
    }
    LimiteMemoria(const LimiteMemoria &) = delete;
    LimiteMemoria &operator=(const LimiteMemoria &) = delete;

private:
    sqlite3_int64 m_soffice;
    sqlite3_int64 m_rigido;
};

struct ChiudiDb {
    void operator()(sqlite3 *db) const { sqlite3_close_v2(db); }
};

// Why the engine failed: where the system refused it a file (opened, read), the system's reason in
// Italian; otherwise the engine's own message.
QString MotivoMotore(sqlite3 *db, int esito)
{
    const int primario = esito & 0xff;
    if (db && (primario == SQLITE_CANTOPEN || primario == SQLITE_IOERR))
        if (const int sistema = sqlite3_system_errno(db); sistema != 0)
            return MotiviSistema::Motivo(sistema);
    return QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(esito));
}
struct FinalizzaIstruzione {
    void operator()(sqlite3_stmt *istruzione) const { sqlite3_finalize(istruzione); }
};
using Istruzione = std::unique_ptr<sqlite3_stmt, FinalizzaIstruzione>;

// One read-only connection to the file of one table, closed as soon as the read is over. A missing
// file is an error and is never created. The read sees only what another program has committed: it
// takes the engine's locks, reads a table in WAL mode through its -wal and -shm files, and fails rather
// than read a table that a writer holds locked or left half-written. The table's own file is never
// written, not even to undo a writer's unfinished transaction; only for a table in WAL mode may the
// engine make the -wal and -shm files it reads through. The read is bounded in time, waits for locks
// included, in the length of any value and in memory, so that no content of the file and no other
// program can hold up the window that reads it.
class Connessione
{
public:
    Connessione(const QString &file, const QString &tabella) : m_file(file), m_tabella(tabella)
    {
        // A named pipe or a device would block the engine's open() for ever: only a regular file (or a
        // link to one) is a table; anything else counts as a missing one. The same holds for the files
        // the engine opens beside it: the journal it looks into for a transaction left unfinished, and
        // those of a table in WAL mode.
        for (const char *suffisso : {"", "-journal", "-wal", "-shm"}) {
            const QFileInfo informazioni(file + QLatin1String(suffisso));
            if (informazioni.exists() && !informazioni.isFile())
                throw Errore(QStringLiteral("Impossibile aprire %1: non è un file regolare")
                                 .arg(informazioni.filePath()));
        }
        m_orologio.start();
        const QByteArray uri = "file:" + QUrl::toPercentEncoding(file, "/") + "?mode=ro";
        sqlite3 *db = nullptr;
        const int esito =
            sqlite3_open_v2(uri.constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
        m_db.reset(db);
        if (esito != SQLITE_OK)
            throw Errore(QStringLiteral("Impossibile aprire %1: %2").arg(file, MotivoMotore(db, esito)));
        // The failures below are told apart by the engine's detailed codes.
        sqlite3_extended_result_codes(db, 1);
        // Longer values are refused by the engine before it holds them, whether stored or computed.
        sqlite3_limit(db, SQLITE_LIMIT_LENGTH, LimiteValoreByte);
        sqlite3_progress_handler(db, IstruzioniTraControlli, &Connessione::Controlla, this);
        sqlite3_busy_handler(db, &Connessione::Attendi, this);
        // Sorts and recursive queries keep their rows in memory, under the heap limit, rather than in
        // temporary files that nothing bounds.
        const int temporanei = sqlite3_exec(db, "pragma temp_store = memory", nullptr, nullptr, nullptr);
        if (temporanei != SQLITE_OK)
            Fallisci(temporanei);
    }
    Connessione(const Connessione &) = delete;
    Connessione &operator=(const Connessione &) = delete;

    // The name of the table's column that the engine would take for `nome`: letter case aside, in
    // ASCII, as the engine compares names. Nothing when the table has no such column; a missing table
    // is the engine's own failure. The columns are those of "select *", prepared and never run, so
    // rowid, NULL or CURRENT_TIMESTAMP are no columns.
    std::optional<QByteArray> Colonna(const QString &nome)
    {
        const Istruzione tutte = Prepara("select * from " + m_tabella.toUtf8());
        const QByteArray cercato = nome.toUtf8();
        for (int i = 0; i < sqlite3_column_count(tutte.get()); ++i) {
            const char *colonna = sqlite3_column_name(tutte.get(), i);
            if (colonna && sqlite3_stricmp(colonna, cercato.constData()) == 0)
                return QByteArray(colonna);
        }
        return std::nullopt;
    }

    // Runs one select and reads the first column of its first row as text (NULL as the empty text);
    // nothing when no row comes.
    std::optional<QString> PrimoValore(const QByteArray &sql)
    {
        const Istruzione istruzione = Prepara(sql);
        const int esito = sqlite3_step(istruzione.get());
        if (esito == SQLITE_DONE)
            return std::nullopt;
        if (esito != SQLITE_ROW)
            Fallisci(esito);
        const bool nullo = sqlite3_column_type(istruzione.get(), 0) == SQLITE_NULL;
        const auto *testo = reinterpret_cast<const char *>(sqlite3_column_text(istruzione.get(), 0));
        if (!testo && !nullo)
            Fallisci(sqlite3_errcode(m_db.get()));
        return QString::fromUtf8(testo, sqlite3_column_bytes(istruzione.get(), 0));
    }

private:
    Istruzione Prepara(const QByteArray &sql) const
    {
        sqlite3_stmt *istruzione = nullptr;
        const int esito =
            sqlite3_prepare_v2(m_db.get(), sql.constData(), int(sql.size()), &istruzione, nullptr);
        Istruzione preparata(istruzione);
        if (esito != SQLITE_OK || !istruzione)
            Fallisci(esito);
        return preparata;
    }

    // The engine's failure as the read's: one cut short by a limit names the table and the limit.
    [[noreturn]] void Fallisci(int esito) const
    {
        const QString tabella =
            QStringLiteral("Errore di lettura in %1, tabella %2: ").arg(m_file, m_tabella);
        if (m_scaduta)
            throw ErroreLimite(
                tabella + QStringLiteral("la lettura supera il limite di tempo di %1 ms").arg(LimiteTempoMs));
        if ((esito & 0xff) == SQLITE_BUSY || (esito & 0xff) == SQLITE_LOCKED)
            throw ErroreLimite(tabella +
                               QStringLiteral("la tabella è bloccata da un'altra connessione oltre il "
                                              "limite di tempo di %1 ms")
                                   .arg(LimiteTempoMs));
        // A writer that ended in the middle of a transaction left pages of it in the file, and the journal
        // to undo them with: undoing is a write, which a read never makes.
        if (esito == SQLITE_READONLY_ROLLBACK)
            throw ErroreTabella(
                tabella +
                QStringLiteral("la tabella ha una transazione interrotta (file %1-journal) che solo "
                               "un'apertura in scrittura può annullare")
                    .arg(m_file));
        // The last committed changes of a table in WAL mode may stand in its -wal file, which is read only
        // through the index in the -shm file; without them the table's file alone would be read stale.
        if (esito == SQLITE_READONLY_DIRECTORY || esito == SQLITE_READONLY_CANTINIT ||
            esito == SQLITE_READONLY_RECOVERY || esito == SQLITE_READONLY_CANTLOCK ||
            ((esito & 0xff) == SQLITE_CANTOPEN && InModalitaWal()))
            throw ErroreTabella(
                tabella + QStringLiteral("la tabella è in modalità WAL e la sua cartella non permette di "
                                         "aprire o creare i file %1-wal e %1-shm che servono a leggerla")
                              .arg(m_file));
        if ((esito & 0xff) == SQLITE_TOOBIG)
            throw ErroreLimite(tabella +
                               QStringLiteral("un valore supera il limite di %1 byte").arg(LimiteValoreByte));
        if ((esito & 0xff) == SQLITE_NOMEM)
            throw ErroreLimite(
                tabella +
                QStringLiteral("la lettura supera il limite di memoria di %1 MB").arg(LimiteMemoriaMb));
        throw Errore(
            QStringLiteral("Errore di lettura in %1: %2").arg(m_file, MotivoMotore(m_db.get(), esito)));
    }

    // Whether the table's file says it is in WAL mode: its header's read version, read through the
    // engine's own handle (another handle on the file, once closed, would drop the process's locks on it).
    bool InModalitaWal() const
    {
        sqlite3_file *handle = nullptr;
        if (sqlite3_file_control(m_db.get(), "main", SQLITE_FCNTL_FILE_POINTER, &handle) != SQLITE_OK ||
            !handle || !handle->pMethods)
            return false;
        unsigned char versione = 0;
        return handle->pMethods->xRead(handle, &versione, 1, 19) == SQLITE_OK && versione == 2;
    }

    // Called by the engine while another connection holds the lock it needs; a non-zero answer makes it
    // try again. The waits count against the read's time limit, from the same clock.
    static int Attendi(void *connessione, int)
    {
        const auto *questa = static_cast<const Connessione *>(connessione);
        const qint64 resta = LimiteTempoMs - questa->m_orologio.elapsed();
        if (resta <= 0)
            return 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min<qint64>(resta, PausaTraTentativiMs)));
        return 1;
    }

    // Called by the engine every IstruzioniTraControlli instructions; a non-zero answer interrupts it.
    static int Controlla(void *connessione)
    {
        auto *questa = static_cast<Connessione *>(connessione);
        questa->m_scaduta = questa->m_orologio.hasExpired(LimiteTempoMs);
        return questa->m_scaduta ? 1 : 0;
    }

    QString m_file;
    QString m_tabella;
    const LimiteMemoria m_limiteMemoria; // set before the connection opens, restored after it closes
    QElapsedTimer m_orologio;
    bool m_scaduta = false;
    std::unique_ptr<sqlite3, ChiudiDb> m_db;
};

// A column name as the SQL text holds it whatever it contains: between double quotes, each doubled.
QByteArray NomeTraVirgolette(QByteArray nome)
{
    return '"' + nome.replace('"', "\"\"") + '"';
}

// A language value as messages quote it: an overlong one only by its beginning.
QString linguaMostrata(const QString &lingua)
{
    return lingua.size() <= TestoTraduzione::LunghezzaMassimaLingua
               ? lingua
               : lingua.left(TestoTraduzione::LunghezzaMassimaLingua) + QStringLiteral("…");
}

} // namespace

QString PercorsoImpostazioni()
{
    try {
        const QString propria = Servizi::CartellaConfigurazione() + FileImpostazioni;
        if (QFileInfo::exists(propria))
            return propria;
    } catch (const Errore &) {
        // No configuration folder: the user can have no table of their own.
    }
    return FileImpostazioni;
}

QString LeggiCampo(const QString &campo)
{
    Connessione connessione(PercorsoImpostazioni(), QStringLiteral("impostazioni"));
    // Field names are matched without regard to letter case, as the engine does for columns. Only that
    // field is read: the record's other cells may hold anything.
    const std::optional<QByteArray> nome = connessione.Colonna(campo);
    if (!nome)
        throw Errore(QStringLiteral("Campo %1 mancante").arg(campo));
    // A table without records reads as the empty text.
    return connessione.PrimoValore("select " + NomeTraVirgolette(*nome) + " from impostazioni")
        .value_or(QString());
}

void TraduciTesto(const QString &italiano, const QString &lingua, QString &uscita)
{
    const QString preparato = TestoTraduzione::TestoPreparato(italiano);
    // The messages name the table the value was read from.
    // The language value becomes part of the SQL text as a column name, so only a bare name may pass;
    // the prepared text cannot leave its quotes, having no apostrophe left.
    if (lingua.isEmpty())
        throw Errore(
            QStringLiteral("Nessuna lingua impostata nel campo LINGUA di %1").arg(PercorsoImpostazioni()));
    if (lingua.size() > TestoTraduzione::LunghezzaMassimaLingua)
        throw Errore(
            QStringLiteral("Lingua \"%1\" troppo lunga nel campo LINGUA di %2: al massimo %3 caratteri")
                .arg(linguaMostrata(lingua), PercorsoImpostazioni())
                .arg(TestoTraduzione::LunghezzaMassimaLingua));
    if (!TestoTraduzione::NomeLinguaValido(lingua))
        throw Errore(
            QStringLiteral("Lingua \"%1\" non valida nel campo LINGUA di %2: sono ammessi solo lettere, "
                           "cifre e trattini bassi, senza una cifra in testa")
                .arg(linguaMostrata(lingua), PercorsoImpostazioni()));

    Connessione connessione(FileLingua, QStringLiteral("lingua"));
    // A bare name that is no column of the table (rowid, NULL, CURRENT_TIMESTAMP) would still be a valid
    // expression and read as a timestamp or a blank: only the table's own columns are languages.
    if (!connessione.Colonna(lingua))
        throw Errore(QStringLiteral("Errore di lettura in %1: no such column: %2").arg(FileLingua, lingua));
    // Several matching rows: the first one the engine returns.
    uscita =
        connessione.PrimoValore(TestoTraduzione::TestoSql(preparato, lingua).toUtf8()).value_or(preparato);
}

} // namespace TabelleTraduzione
