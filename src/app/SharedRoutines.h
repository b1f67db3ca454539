#pragma once
// Small routines shared by the windows: money rounding by the configured mode,
// registering a typed value in the first free slot of a code list, postal-code
// formatting, Japanese input on/off, the file and colour dialogs, and the
// failure box of a grid cell that could not be written.

#include "platform/Currency.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

class MessageCatalog;
class QColor;
class WorkTableModel;

// Rounds an amount to a whole number by mode: "切り捨て" (toward zero),
// "四捨五入" (halves away from zero), any other text upward away from zero
// (every fraction of 0.00001 or more). Amounts beyond ±9999999999.99 give 0.
// Works on the exact decimal value: 0.29 × 100 by "切り捨て" is 29.
Currency RoundAmount(const Decimal& amount, const QString& mode);
inline Currency RoundAmount(const Currency& amount, const QString& mode)
{
    return RoundAmount(Decimal::of(amount), mode);
}

class QWidget;
class Database;
class Session;

// What registering a code value did.
enum class CodeEntry {
    Added,           // the value took the first free slot
    AlreadyPresent,  // a slot of the kind holds it already
    ListFull,        // the kind has no free slot (or no slot rows at all)
    Failed,          // the list could not be read or written, or the value is empty
};

// Writes value into the first free slot (Null sname, lowest code) of the code
// kind kcode in コードマスタ of the data database, and says what happened.
// Only Added writes anything. Slot rows are never added here.
CodeEntry AutoEntryCode(Database& dataDb, const QString& kcode, const QString& value);

// Raises the quotation counter 最大見積書番号 of the settings row to number
// when it holds a lower number or none (a settings row is added when there is
// none); it is never lowered. Runs inside the caller's transaction. False
// (error set) when the counter cannot be read or written.
bool RaiseQuotationCounter(Database& dataDb, qint64 number, QString& error);

// "1234567" -> "123-4567"; a value holding "-" or of another length comes back
// unchanged; "" stays "".
QString FormatPostalCode(const QString& value);

// Text as it stands inside the pattern of "like ? escape '\'": "%", "_" and
// "\" are escaped, so they match only themselves.
QString LikeLiteral(const QString& text);

// The condition of a search box, added to a where clause's conditions (with
// its value to bind) when text is not empty: text found anywhere inside
// column, "*" standing for any text and "?" for any one character, every
// other character taken literally ("%", "_" and quotes are plain;
// platform/SearchPattern.h), the Latin letters A-Z in either case as the
// original engine compared them (the program's connections keep LIKE case-sensitive for
// everything else).
void AddContainsCondition(QStringList& conditions, QVariantList& binds, const QString& column, const QString& text);

// The postal-code look-up behind the 郵便 buttons: when the dictionary file is
// missing it says so ("ファイルなし") and stops; otherwise it runs the
// session's look-up (data file and dictionary handed over, search shown, result
// taken) and gives the customer block of the chosen entry, "〒" + the code as
// nnn-nnnn + CR LF + the address. Nothing when nothing was chosen or no
// look-up could be made. The caller writes the block only into an empty box.
std::optional<QString> LookUpPostalBlock(Session& session);

// Japanese input on or off for a control (best effort: enables or disables the
// input method and sets input hints; kana mode cannot be forced on). A grid
// switches its editors too. A null widget is left alone.
void SetImeOpen(QWidget* w, bool open);

// The record of the file-open dialog: the caller fills the inputs, the dialog
// writes FileName and FileTitle.
struct FileDialogRecord {
    QString Filter;        // in: "display|pattern|display|pattern|..."
    int FilterIndex = 1;   // in: 1-based index of the filter shown first
    QString DialogTitle;   // in
    QString spare;
    QString FileName;      // out: full path, "" when cancelled
    QString FileTitle;     // out: file name without folder
    QString InitDir;       // in: folder the dialog opens in (a drive path is mapped)
};

// The dialogs behind one interface, so that tests can answer them; the
// session holds the one in use.
class DialogProvider {
public:
    virtual ~DialogProvider() = default;
    // The chosen existing file's path, "" on cancel. nameFilters in Qt's form
    // ("Text (pattern ...)"); empty lists all files.
    virtual QString openFile(QWidget* owner, const QString& title, const QString& folder,
                             const QStringList& nameFilters, int selectedFilter) = 0;
    // The chosen colour as a Windows colour value; nothing on cancel.
    virtual std::optional<int> chooseColor(QWidget* owner, int startColour) = 0;
};

class QtDialogProvider : public DialogProvider {
public:
    QString openFile(QWidget* owner, const QString& title, const QString& folder, const QStringList& nameFilters,
                     int selectedFilter) override;
    std::optional<int> chooseColor(QWidget* owner, int startColour) override;
};

// "MDB ファイル(*.mdb)|moxeldata.mdb|" -> {"MDB ファイル(*.mdb) (moxeldata.mdb)"};
// a filter shorter than two characters gives no filter (all files).
QStringList NameFiltersFromFilter(const QString& filter);

// Shows the session's file-open dialog; nonzero when a file was chosen
// (FileName and FileTitle set), 0 on cancel (both emptied). A drive path in
// InitDir is mapped under the session's drive root.
int ShowOpenFileDialog(Session& session, QWidget* owner, FileDialogRecord& record);

// Shows the session's colour dialog (16 white custom colours every time); the
// colour as R + G·256 + B·65536, or -1 on cancel.
int ShowColorDialog(Session& session, QWidget* owner, int startColour);

// Windows colour value <-> QColor.
int WindowsColour(const QColor& c);
QColor ColourFromWindows(int value);

// Caption of the pack-quantity column from the 入数列タイトル setting:
// "" or "入数" -> "入　数", "規格" -> "規　格", any other text unchanged.
QString PackColumnCaption(const QString& title);

// Shows the failure box (catalogue "その他" / "失敗") for every edit of the
// model's cells that the work table did not take, so a cell never reverts
// without a word. The box comes once the grid has closed its editor.
void ShowCellWriteFailures(WorkTableModel* model, const MessageCatalog& messages);
