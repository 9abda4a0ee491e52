#pragma once

#include "settings/TestoTraduzione.h"

#include <QList>
#include <QString>

#include <functional>

class QAbstractButton;
class QLabel;
class QWidget;

// Translation of interface texts. The language is named by the field LINGUA of the settings table
// "impostazioni.db"; the translations stand in the table `lingua` of "lingua.db", one row per Italian
// text (column ITALIANO) and one column per language. Both files are opened by bare name, so they are
// found in the working directory, read-only, with a connection of their own for each read; a settings
// table of the user's own, in their configuration folder, is read in place of the other.
//
// Whatever the files hold (views over queries without end, texts of any length), each read stays
// within the limits below; a read cut short by one fails like any other read, with a message that
// names the table and the limit.
namespace Traduzione
{

inline const QString FileImpostazioni = QStringLiteral("impostazioni.db");
inline const QString FileLingua = QStringLiteral("lingua.db");
inline const QString Italiano = QStringLiteral("Italiano");

// How long one read may keep the engine busy: the splash's pass makes two reads before the first
// window is on screen.
inline constexpr int LimiteTempoMs = 250;
// The longest value, in bytes, that the engine reads or makes during a read: a caption is a line or
// two; the limit also covers the tables' own definitions and the rows of a sort.
inline constexpr int LimiteValoreByte = 64 * 1024;
// The memory, in MB, that the engine may take for one read, sorts and recursive queries included.
inline constexpr int LimiteMemoriaMb = 16;

// The settings table to read: the user's own, kelmo-dravolo/impostazioni.db in their configuration
// folder (Fx::CartellaConfigurazione), when one stands there, so that each user can choose a language
// without touching the program's; otherwise "impostazioni.db" in the working directory.
QString PercorsoImpostazioni();

// Reads one field of the settings table's first record into `uscita`. A failure is reported with the
// error box "Errore di lettura in parametri di impostazione, campo: " + field and leaves `uscita` as it
// was; a read cut short by a limit adds a second line that names the table and the limit.
void LeggiImpostazione(const QString &campo, QString &uscita);

// Looks an Italian text up for a language. `uscita` receives the translation, or the prepared text
// when no row matches. A failure of the database (missing table or column, a language value that is
// not a column of the table or longer than LunghezzaMassimaLingua, a read cut short by a limit) is
// thrown as Errore; `uscita` is then left as it was.
void TraduciTesto(const QString &italiano, const QString &lingua, QString &uscita);

// One text of a window that the translation pass replaces: how to read it and how to set it.
struct Voce {
    std::function<QString()> Leggi;
    std::function<void(const QString &)> Scrivi;
};

Voce VoceTitolo(QWidget *finestra);
// A label keeps sizing itself to its text.
Voce VoceTesto(QLabel *etichetta);
Voce VoceTesto(QAbstractButton *pulsante);

// Which language values end the pass before any lookup besides "Italiano".
enum class Guardia {
    SoloItaliano,   // an empty value goes on to the lookups, which the database then rejects
    ItalianoOVuoto, // an empty value means that no language is set
};

// The translation pass of a window: nothing when "lingua.db" is not next to the executable;
// otherwise the language value is read and, past the guard, each text is looked up in list order and
// replaced. A failing lookup ends the pass there: earlier texts keep their translation, that one and
// the later ones stay Italian, and the failure goes on to the caller.
void TraduciVoci(const QList<Voce> &voci, Guardia guardia);

} // namespace Traduzione
