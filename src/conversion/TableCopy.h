#pragma once
// The table-copy engine of the data conversion: the rows of an older table
// (read through LinkFile) copied into the current table of the same name by
// a rule, a row at a time, inside the caller's transaction.
//
// A rule names the fields written, their kinds and the key. Each older row
// gives the values of the fields its table has, in their stored forms
// (ColumnValue::stored), read straight from the older file's row
// (LinkCursor::stored): a text SQLite holds is lent from its row, not
// copied. The key finds the current row, which is updated, or a row is
// added. A value the current column refuses is left out of its row.

#include "conversion/TableOutcome.h"
#include "platform/ColumnValue.h"
#include "platform/Database.h"
#include "platform/LinkFile.h"
#include "platform/StoredValue.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace tablecopy {

// A row's values in the order of a rule's fields.
using Slots = std::vector<StoredValue>;

struct Field {
    QString column;
    ColumnKind kind = ColumnKind::Text;
    bool fixed = false;        // written as Null, not copied
    bool emptyAsNull = false;  // an empty text is stored as Null
};

Field field(const QString& column, ColumnKind kind = ColumnKind::Text);
Field fixedNull(const QString& column);

struct CopyRule {
    QString table;
    QStringList order;    // the older table's order
    QList<Field> fields;  // in the order they are written
    QStringList keys;     // columns of fields
    QStringList nullable = {};    // keys whose Null is matched as Null, not an empty key
    QStringList alsoNeeded = {};  // columns the older table must have besides the keys

    // The index of the field of the column; -1 for none.
    qsizetype field(const QString& column) const;
};

// A rule over the columns of one older table.
struct Prepared {
    QList<qsizetype> written;   // indexes of the fields written
    QList<qsizetype> keys;      // indexes of the key fields
    QList<qsizetype> required;  // those that make an empty key when Null or empty
    QList<qsizetype> source;    // per field: its column in the older rows, -1 when none
};

// The fields the older table can give: every fixed one and every one it has.
Prepared prepare(const CopyRule& rule, const QStringList& columns);

// A row's values in the order of the fields the copy writes, for the fields
// read (Null for the others), and which of them the current column refuses
// (those hold Null). A copy reuses one for all its rows; a text it holds
// may be lent by the older row (StoredValue::keep() to hold it longer).
struct RowValues {
    Slots values;
    QList<qsizetype> refused;

    // Every value Null, for a row of the rule.
    void start(const CopyRule& rule);
};

// A key field Null or empty, of those that cannot be.
bool hasEmptyKey(const Prepared& p, const Slots& values);
// A key field the current column refuses.
bool hasRefusedKey(const Prepared& p, const RowValues& row);

enum class Verdict { Copy, BadCode, LeftOut, Fail, EmptyKey, BadKey };

// Rows a copy holds back to write many at once: written before anything
// else reads the table, so that a look-up sees every row copied.
class PendingRows {
public:
    virtual ~PendingRows() = default;
    // False (error set) when they cannot be written.
    virtual bool flush(Failure& error) = 0;
};

// Where the current table holds the row a source row's key finds. Texts
// are compared without regard to case, as Jet compared them: an older
// 'abc商事' updates the current 'ABC商事'.
class KeyIndex {
public:
    virtual ~KeyIndex() = default;
    // The rowid of the first current row with the key of `values`, nothing
    // for none; a look-up that reads the table writes `pending` first.
    // False (error set) when it cannot be looked up.
    virtual bool find(const Slots& values, PendingRows& pending, std::optional<qint64>& rowid, Failure& error) = 0;
    // The copy added a row with the key of `values`, at rowid when known.
    virtual void added(const Slots& values, std::optional<qint64> rowid) = 0;
    // Whether added() needs the rowid of a row added.
    virtual bool needsRowids() const { return true; }
};

// The keys of a table small enough to hold them all: the masters and the
// quotation headers.
class HeldKeys final : public KeyIndex {
public:
    explicit HeldKeys(const QList<qsizetype>& keys) : keys_(keys) {}

    // Reads the current rows' keys (columns in the order of `keys`).
    bool load(Database& data, const CopyRule& rule, Failure& error);

    bool find(const Slots& values, PendingRows& pending, std::optional<qint64>& rowid, Failure& error) override;
    void added(const Slots& values, std::optional<qint64> rowid) override;

private:
    void hold(const QString& key, qint64 rowid);

    QList<qsizetype> keys_;
    QHash<QString, qint64> rows_;
};

// Looks at a row with a whole key (its values in the order of the fields
// the copy writes) before it is written; may write what the row needs
// first, and then tells the key index. Fail sets the error.
using RowCheck = std::function<Verdict(const RowValues& row, KeyIndex& keys, Failure& error)>;
// Told of a row skipped for its key (EmptyKey or BadKey); true when the row
// belongs to a quotation left out whole, and is counted with those.
using KeySkip = std::function<bool(const RowValues& row, Verdict why)>;

// The rows of the older table, one at a time, each as the values of the
// fields `which`, handed to `row` with the older row itself (to read a
// column as the older file's reader gives it); `row` returns false to stop.
// In the rule's order as `order` keeps it (the file's order when the table
// has none of the order columns). False when the read failed (a value of
// the fields read that does not fit its older column fails it) or stopped;
// `read` counts the rows read.
using OldRow = std::function<bool(const RowValues& values, LinkCursor& row)>;
bool forEachOldRow(LinkFile& Dbs, const QStringList& columns, const CopyRule& rule, const Prepared& p,
                   const QList<qsizetype>& which, int& read, LinkFile::Order order, const OldRow& row);

// Copies the rows of the older table, read in the rule's order one at a
// time, inside the caller's transaction. Anything but All: the outcome
// failed, as a row could not be read or could not be written.
enum class RowsCopied { All, ReadFailed, WriteFailed };
RowsCopied copyRows(Database& data, LinkFile& Dbs, const QStringList& columns, const CopyRule& rule, KeyIndex& keys,
                    TableOutcome& out, const RowCheck& check = {}, const KeySkip& keySkip = {});

// The older table's columns; nothing when the older file lacks the table
// (the outcome says it is missing), or it cannot be read, has no columns
// or lacks one of `needed` (the outcome failed).
std::optional<QStringList> oldColumns(LinkFile& Dbs, const QString& table, TableOutcome& out,
                                      const QStringList& needed = {});
// The older table's columns, which must include every key of the rule.
std::optional<QStringList> oldColumns(LinkFile& Dbs, const CopyRule& rule, TableOutcome& out);

// A table copied in a transaction of its own, its keys held.
TableOutcome copyTable(Database& data, LinkFile& Dbs, const CopyRule& rule, const RowCheck& check = {});

// The outcome failed: nothing of the table written, and why.
void fail(TableOutcome& out, const Failure& error);
// The same, for a reason in the program's own words.
void fail(TableOutcome& out, const QString& reason);

// A value the current column refuses, left unwritten: logged.
void logRefused(const QString& table, const QString& column, const QVariant& v);

}  // namespace tablecopy
