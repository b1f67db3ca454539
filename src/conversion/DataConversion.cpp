#include "conversion/DataConversion.h"

#include "app/CodeLists.h"
#include "platform/JetValue.h"
#include "platform/SqliteHandle.h"

#include <QDateTime>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QSqlQuery>
#include <algorithm>
#include <functional>
#include <map>
#include <sqlite3.h>
#include <utility>

Q_LOGGING_CATEGORY(lcConversion, "velt.conversion")

namespace {

const QString kIsoDate = QStringLiteral("yyyy-MM-dd");

// ---------------------------------------------------------------------------
// Values in the current file's forms

enum class Kind { Text, Money, Integer, YesNo, Date };

bool isCurrency(const QVariant& v)
{
    return v.metaType() == QMetaType::fromType<Currency>();
}

QString dateText(const QDateTime& dt)
{
    const QDate d = dt.date();
    const QTime t = dt.time();
    // Written out by hand: the copies format a date per row.
    char16_t text[23];
    int n = 0;
    const auto put = [&](int value, int digits) {
        for (int i = digits - 1; i >= 0; --i, value /= 10) text[n + i] = char16_t(u'0' + value % 10);
        n += digits;
    };
    const auto sep = [&](char16_t c) { text[n++] = c; };
    put(d.year(), 4), sep(u'-'), put(d.month(), 2), sep(u'-'), put(d.day(), 2);
    if (t != QTime(0, 0)) sep(u' '), put(t.hour(), 2), sep(u':'), put(t.minute(), 2), sep(u':'), put(t.second(), 2);
    if (t.msec()) sep(u'.'), put(t.msec(), 3);
    return QString(reinterpret_cast<const QChar*>(text), n);
}

// A date (QDate, QDateTime, or text as a date column of the older file
// holds it) in the current form; nothing for anything else.
std::optional<QVariant> storedDate(const QVariant& v)
{
    switch (v.metaType().id()) {
    case QMetaType::QDate:
        return QVariant(v.toDate().toString(kIsoDate));
    case QMetaType::QDateTime:
        return QVariant(dateText(v.toDateTime()));
    case QMetaType::QString:
        if (const auto d = JetValue::dateTime(v.toString())) return storedDate(*d);
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

// A value of the older file as the current column of that kind stores it;
// nothing when it does not fit.
std::optional<QVariant> stored(const QVariant& v, Kind kind)
{
    if (dbv::isNull(v)) return QVariant();
    const int type = v.metaType().id();
    switch (kind) {
    case Kind::Text:
        if (type == QMetaType::QString) return v;
        if (type == QMetaType::QDate || type == QMetaType::QDateTime) return storedDate(v);
        if (isCurrency(v)) return QVariant(v.value<Currency>().toPlainString());
        if (type == QMetaType::QByteArray) return std::nullopt;
        return QVariant(v.toString());
    case Kind::Money: {
        if (type == QMetaType::Bool) return std::nullopt;
        const auto c = JetValue::currency(v);
        if (!c) return std::nullopt;
        return Currency::toDb(c);
    }
    case Kind::Integer: {
        const auto n = JetValue::wholeNumber(v);
        if (!n) return std::nullopt;
        return QVariant(*n);
    }
    case Kind::YesNo: {
        const auto yes = JetValue::yesNo(v);
        if (!yes) return std::nullopt;
        return dbv::fromBool(*yes);
    }
    case Kind::Date:
        return storedDate(v);
    }
    return std::nullopt;
}

// The day of a stored date: 'YYYY-MM-DD', with or without a time of day.
QString dayOf(const QString& storedDate)
{
    return storedDate.left(10);
}

void logRefused(const QString& table, const QString& column, const QVariant& v)
{
    qCWarning(lcConversion).noquote() << table << ": value" << v.toString() << "of" << column
                                      << "does not fit the current column; left unwritten";
}

// ---------------------------------------------------------------------------
// The row copy

// A value in the current file's form, as a copy binds it: Null, a whole
// number (money in ten-thousandths, yes/no 0/1) or a text. A text of an
// SQLite older file's row is held where SQLite holds it (valid UTF-8, good
// while that row is read); every other text as a QString. A copy fills one
// per field for every row without making a QVariant of each.
struct Slot {
    enum class Type : quint8 { Null, Integer, Text, Utf8 };
    Type type = Type::Null;
    qint64 integer = 0;
    QString text;
    const char* utf8 = nullptr;
    int size = 0;
    QByteArray kept;  // the text of keep()

    bool isNull() const { return type == Type::Null; }
    // Null or an empty text: an empty key.
    bool isEmpty() const
    {
        return type == Type::Null || (type == Type::Text && text.isEmpty()) || (type == Type::Utf8 && size == 0);
    }
    void setNull() { type = Type::Null; }
    void setInteger(qint64 n) { type = Type::Integer, integer = n; }
    void setText(QString s) { type = Type::Text, text = std::move(s); }
    void setUtf8(const char* data, int bytes) { type = Type::Utf8, utf8 = data, size = bytes; }
    // Holds its text itself, past the older row it was read from.
    void keep()
    {
        if (type != Type::Utf8) return;
        kept = QByteArray(utf8, size);
        utf8 = kept.constData();
    }
    // A value as stored() gives it: Null, a whole number or a text.
    void set(const QVariant& v)
    {
        if (dbv::isNull(v)) return setNull();
        if (dbv::isIntegral(v)) return setInteger(v.toLongLong());
        setText(v.toString());
    }
    // As a QVariant would give it.
    QString toString() const
    {
        switch (type) {
        case Type::Null: return QString();
        case Type::Integer: return QString::number(integer);
        case Type::Text: return text;
        case Type::Utf8: return QString::fromUtf8(utf8, size);
        }
        return QString();
    }
    // The number of a whole-number field (those hold Integer or Null).
    qint64 toLongLong() const { return type == Type::Integer ? integer : toString().toLongLong(); }
};
using Slots = std::vector<Slot>;

struct Field {
    QString column;
    Kind kind = Kind::Text;
    bool fixed = false;  // written as Null, not copied
    bool emptyAsNull = false;  // an empty text is stored as Null
};

Field field(const QString& column, Kind kind = Kind::Text)
{
    return {column, kind, false, false};
}
Field fixedNull(const QString& column)
{
    return {column, Kind::Text, true, false};
}

struct CopyRule {
    QString table;
    QStringList order;    // the older table's order
    QList<Field> fields;  // in the order they are written
    QStringList keys;     // columns of fields
    QStringList nullable = {};    // keys whose Null is matched as Null, not an empty key
    QStringList alsoNeeded = {};  // columns the older table must have besides the keys

    // The index of the field of the column; -1 for none.
    qsizetype field(const QString& column) const
    {
        const auto it = std::find_if(fields.cbegin(), fields.cend(), [&](const Field& f) { return f.column == column; });
        return it == fields.cend() ? -1 : it - fields.cbegin();
    }
};

enum class Verdict { Copy, BadCode, LeftOut, Fail, EmptyKey, BadKey };
class KeyIndex;
struct RowValues;
// Looks at a row with a whole key (its values in the order of the fields
// the copy writes) before it is written; may write what the row needs
// first, and then tells the key index. Fail sets the error.
using RowCheck = std::function<Verdict(const RowValues& row, KeyIndex& keys, Failure& error)>;
// Told of a row skipped for its key (EmptyKey or BadKey); true when the row
// belongs to a quotation left out whole, and is counted with those.
using KeySkip = std::function<bool(const RowValues& row, Verdict why)>;

struct Prepared {
    QList<qsizetype> written;   // indexes of the fields written
    QList<qsizetype> keys;      // indexes of the key fields
    QList<qsizetype> required;  // those that make an empty key when Null or empty
    QList<qsizetype> source;    // per field: its column in the older rows, -1 when none
};

// The fields the older table can give: every fixed one and every one it has.
Prepared prepare(const CopyRule& rule, const QStringList& columns)
{
    Prepared p;
    for (qsizetype i = 0; i < rule.fields.size(); ++i) {
        // Columns are found once by name (without regard to case, as Jet does), then by place.
        const auto it = std::find_if(columns.cbegin(), columns.cend(), [&](const QString& c) {
            return c.compare(rule.fields[i].column, Qt::CaseInsensitive) == 0;
        });
        p.source << (it == columns.cend() ? -1 : it - columns.cbegin());
        if (rule.fields[i].fixed || p.source[i] >= 0) p.written << i;
    }
    for (const QString& k : rule.keys)
        for (qsizetype i = 0; i < rule.fields.size(); ++i)
            if (rule.fields[i].column == k) {
                p.keys << i;
                if (!rule.nullable.contains(k)) p.required << i;
            }
    return p;
}

// A row's values in the order of the fields the copy writes, for the fields
// listed (Null for the others), and which of them the current column refuses
// (those hold Null).
struct RowValues {
    Slots values;
    QList<qsizetype> refused;

    // Every value Null, for a row of the rule.
    void start(const CopyRule& rule)
    {
        if (values.size() != size_t(rule.fields.size())) values.resize(size_t(rule.fields.size()));
        for (Slot& s : values) s.setNull();
        refused.clear();
    }
    // Field i holds v as stored() gave it (nothing: refused).
    void take(const Field& f, qsizetype i, const std::optional<QVariant>& v)
    {
        if (!v) {
            refused << i;
            return;
        }
        values[size_t(i)].set(*v);
        if (f.emptyAsNull && values[size_t(i)].isEmpty()) values[size_t(i)].setNull();
    }
};

// Fills `out` in place: a copy reuses one for all its rows.
void fillRowValues(const CopyRule& rule, const Prepared& p, const LinkRow& row, const QList<qsizetype>& which,
                   RowValues& out)
{
    out.start(rule);
    for (qsizetype i : which) {
        const Field& f = rule.fields[i];
        if (f.fixed || p.source[i] < 0) continue;
        out.take(f, i, stored(row.value(p.source[i]), f.kind));
    }
}

// The same from a row of an SQLite older file as SQLite holds it: the usual
// values are converted straight from their stored form, every other one as
// the older file's reader gives it and then as stored() takes it, so the
// result is the same. A date repeats over the lines of a quotation: the last
// one is remembered per field. Returns LinkFile::kNext, or the column of a
// value that does not fit its older column's kind.
struct StoredDates {
    QList<QByteArray> text;
    QList<std::optional<QVariant>> value;
};

int fillStoredValues(const CopyRule& rule, const Prepared& p, const LinkFile::StoredRow& row,
                     const QList<qsizetype>& which, RowValues& out, StoredDates& dates)
{
    using SK = LinkFile::StoredKind;
    out.start(rule);
    if (dates.text.size() != rule.fields.size()) {
        dates.text = QList<QByteArray>(rule.fields.size());
        dates.value = QList<std::optional<QVariant>>(rule.fields.size());
    }
    sqlite3_stmt* st = row.statement;
    for (qsizetype i : which) {
        const Field& f = rule.fields[i];
        const int c = int(p.source[i]);
        if (f.fixed || c < 0) continue;
        Slot& slot = out.values[size_t(i)];
        const int type = sqlite3_column_type(st, c);
        const SK kind = row.kinds[c];
        if (type == SQLITE_NULL) continue;
        if (f.kind == Kind::Text && kind == SK::Text && type == SQLITE_TEXT) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, c));
            const int size = sqlite3_column_bytes(st, c);
            if (size == 0 && f.emptyAsNull) continue;
            // Text SQLite reads otherwise (not valid UTF-8, U+FFFE, U+FFFF)
            // is taken as the reader takes it.
            if (text && LinkFile::readsAsStored(QByteArrayView(text, size))) slot.setUtf8(text, size);
            else slot.setText(LinkFile::storedText(st, c));
        } else if (f.kind == Kind::Integer && (kind == SK::Integer || kind == SK::Any) && type == SQLITE_INTEGER) {
            slot.setInteger(sqlite3_column_int64(st, c));
        } else if (f.kind == Kind::YesNo && kind == SK::YesNo && type == SQLITE_INTEGER) {
            slot.setInteger(sqlite3_column_int64(st, c) != 0 ? 1 : 0);
        } else if (f.kind == Kind::Money && kind == SK::Money && (type == SQLITE_INTEGER || type == SQLITE_FLOAT)) {
            const auto money = JetValue::currency(type == SQLITE_INTEGER ? QVariant(qlonglong(sqlite3_column_int64(st, c)))
                                                                         : QVariant(sqlite3_column_double(st, c)));
            if (!money) return c;
            slot.setInteger(money->raw());
        } else if (f.kind == Kind::Money && kind == SK::Real && type == SQLITE_FLOAT) {
            // A double is read as it is; as money it may not fit.
            const auto money = Currency::fromDouble(sqlite3_column_double(st, c));
            if (money) slot.setInteger(money->raw());
            else out.refused << i;
        } else if (f.kind == Kind::Date && kind == SK::DateTime && type == SQLITE_TEXT) {
            const QByteArrayView text(reinterpret_cast<const char*>(sqlite3_column_text(st, c)), sqlite3_column_bytes(st, c));
            if (dates.text[i].isNull() || dates.text[i] != text) {
                // Kept before the value is read again, which may move SQLite's text.
                dates.text[i] = text.toByteArray();
                const auto link = LinkFile::linkValue(st, c, kind);
                if (!link) return c;
                dates.value[i] = stored(*link, f.kind);
            }
            out.take(f, i, dates.value[i]);
        } else {
            const auto link = LinkFile::linkValue(st, c, kind);
            if (!link) return c;
            out.take(f, i, stored(*link, f.kind));
        }
    }
    return LinkFile::kNext;
}

// A key field Null or empty, of those that cannot be.
bool hasEmptyKey(const Prepared& p, const Slots& values)
{
    return std::any_of(p.required.cbegin(), p.required.cend(), [&](qsizetype i) { return values[size_t(i)].isEmpty(); });
}

bool hasRefusedKey(const Prepared& p, const RowValues& row)
{
    return !row.refused.isEmpty() &&
           std::any_of(p.keys.cbegin(), p.keys.cend(), [&](qsizetype i) { return row.refused.contains(i); });
}

void fail(TableOutcome& out, const Failure& error)
{
    out.failure = error;
    out.copied = 0;
    out.refused = 0;
    qCWarning(lcConversion).noquote() << out.table << ":" << error;
}

// The same, for a reason in the program's own words.
void fail(TableOutcome& out, const QString& reason)
{
    fail(out, Failure(reason));
}

// A statement of the copies run through SQLite directly, on the data
// database's own connection and inside its transaction: the copies run one
// or two per row, and Qt's binding would cost more than SQLite's writing.
// Values are bound as Qt's driver binds them.
class DirectStatement {
public:
    DirectStatement(Database& data, const QString& sql) : sql_(sql)
    {
        db_ = SqliteHandle(data.connection());
        const QByteArray text = sql.toUtf8();
        if (!db_ || sqlite3_prepare_v2(db_, text.constData(), int(text.size()), &statement_, nullptr) != SQLITE_OK)
            failed();
    }
    ~DirectStatement() { sqlite3_finalize(statement_); }
    DirectStatement(const DirectStatement&) = delete;
    DirectStatement& operator=(const DirectStatement&) = delete;

    // Binds the values at `which`, then `last` when it is given (a row's
    // values bound where they are), and runs the statement to its first row
    // (next() then tells whether there is one). False (error set) on failure.
    bool run(const Slots& values, const QList<qsizetype>& which, std::optional<qint64> last = std::nullopt)
    {
        if (!statement_) return false;
        sqlite3_reset(statement_);
        int place = 0;
        for (qsizetype i : which)
            if (bind(++place, values[size_t(i)]) != SQLITE_OK) return failed();
        if (last && sqlite3_bind_int64(statement_, ++place, *last) != SQLITE_OK) return failed();
        return step();
    }
    // The same for a statement of many rows: the values at `which` of each.
    bool run(const std::vector<Slots>& rows, const QList<qsizetype>& which)
    {
        if (!statement_) return false;
        sqlite3_reset(statement_);
        int place = 0;
        for (const Slots& values : rows)
            for (qsizetype i : which)
                if (bind(++place, values[size_t(i)]) != SQLITE_OK) return failed();
        return step();
    }
    // True while the statement stands on a row; moves to the next one after.
    bool next()
    {
        if (step_ != SQLITE_ROW) return false;
        if (!first_) step_ = sqlite3_step(statement_);
        first_ = false;
        if (step_ == SQLITE_ROW) return true;
        first_ = true;
        return false;
    }
    // A column of the current row: Null, a whole number or a text (what
    // the look-ups read).
    QVariant value(int i) const
    {
        const int type = sqlite3_column_type(statement_, i);
        if (type == SQLITE_NULL) return QVariant();
        if (type == SQLITE_INTEGER) return QVariant(qlonglong(sqlite3_column_int64(statement_, i)));
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, i));
        return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(statement_, i)));
    }
    qint64 lastInsertRowid() const { return sqlite3_last_insert_rowid(db_); }
    Failure error() const { return error_; }

private:
    bool step()
    {
        step_ = sqlite3_step(statement_);
        first_ = true;
        if (step_ != SQLITE_ROW && step_ != SQLITE_DONE) return failed();
        return true;
    }
    // Bound in place: the values outlive the statement's run.
    int bind(int place, const Slot& v)
    {
        switch (v.type) {
        case Slot::Type::Null:
            return sqlite3_bind_null(statement_, place);
        case Slot::Type::Integer:
            return sqlite3_bind_int64(statement_, place, v.integer);
        case Slot::Type::Text:
            return sqlite3_bind_text16(statement_, place, v.text.constData(), int(v.text.size() * sizeof(char16_t)),
                                       SQLITE_STATIC);
        case Slot::Type::Utf8:
            return sqlite3_bind_text(statement_, place, v.utf8, v.size, SQLITE_STATIC);
        }
        return SQLITE_MISUSE;
    }
    bool failed()
    {
        error_ = db_ ? Failure::sqlite(sqlite3_extended_errcode(db_), QString::fromUtf8(sqlite3_errmsg(db_)))
                     : Failure({}, QStringLiteral("no SQLite connection"));
        qCWarning(lcConversion).noquote() << error_ << "[" + sql_ + "]";
        if (statement_) sqlite3_reset(statement_);
        step_ = SQLITE_DONE;
        return false;
    }

    QString sql_;
    sqlite3* db_ = nullptr;
    sqlite3_stmt* statement_ = nullptr;
    int step_ = SQLITE_DONE;
    bool first_ = true;
    Failure error_;
};

// The update and the insert of one set of the fields the copy writes. When
// rows are gathered (the key index needs no rowid of a row added), new
// rows are kept, their texts copied, and inserted kBatch at a time: one
// statement of many rows costs SQLite less than as many statements.
// Gathered rows are written by flush(), which the copy calls before
// anything else reads or writes the table.
struct RowWriter {
    static constexpr int kBatch = 32;

    RowWriter(Database& data, const CopyRule& rule, const QList<qsizetype>& which, bool gather)
        : fields(which), gathering(gather)
    {
        QStringList sets, columns, marks;
        for (qsizetype i : fields) {
            const QString c = Database::quoteIdent(rule.fields[i].column);
            sets << c + QStringLiteral(" = ?");
            columns << c;
            marks << QStringLiteral("?");
        }
        const QString table = Database::quoteIdent(rule.table);
        const QString values = QStringLiteral("(%1)").arg(marks.join(QStringLiteral(", ")));
        const QString insertSql =
            QStringLiteral("insert into %1 (%2) values ").arg(table, columns.join(QStringLiteral(", ")));
        update.emplace(data, QStringLiteral("update %1 set %2 where rowid = ?").arg(table, sets.join(QStringLiteral(", "))));
        insert.emplace(data, insertSql + values);
        if (gathering) {
            QStringList rows;
            for (int r = 0; r < kBatch; ++r) rows << values;
            batch.emplace(data, insertSql + rows.join(QStringLiteral(", ")));
            gathered.reserve(kBatch);
        }
    }

    // Updates the row at rowid, or adds one when there is none (and sets
    // rowid to the new row's, unless the row is gathered).
    bool write(const Slots& values, std::optional<qint64>& rowid, Failure& error)
    {
        if (!rowid && gathering) {
            gathered.push_back(values);
            for (qsizetype i : fields) gathered.back()[size_t(i)].keep();
            return int(gathered.size()) < kBatch || flush(error);
        }
        const bool adding = !rowid;
        DirectStatement& s = adding ? *insert : *update;
        if (!s.run(values, fields, rowid)) {
            error = s.error();
            return false;
        }
        if (adding) rowid = s.lastInsertRowid();
        return true;
    }

    // Inserts the rows gathered, in the order they came.
    bool flush(Failure& error)
    {
        if (gathered.empty()) return true;
        bool ok = true;
        if (int(gathered.size()) == kBatch) {
            ok = batch->run(gathered, fields);
            if (!ok) error = batch->error();
        } else {
            for (const Slots& row : gathered)
                if (!(ok = insert->run(row, fields))) {
                    error = insert->error();
                    break;
                }
        }
        gathered.clear();
        return ok;
    }

    QList<qsizetype> fields;
    bool gathering = false;
    std::optional<DirectStatement> update, insert, batch;
    std::vector<Slots> gathered;
};

// Where the current table holds the row a source row's key finds. Texts
// are compared without regard to case, as Jet compared them: an older
// 'abc商事' updates the current 'ABC商事'.
class KeyIndex {
public:
    virtual ~KeyIndex() = default;
    // The rowid of the first current row with the key of `values`, nothing
    // for none. False (error set) when it cannot be looked up.
    virtual bool find(const Slots& values, std::optional<qint64>& rowid, Failure& error) = 0;
    // The copy added a row with the key of `values`, at rowid when known.
    virtual void added(const Slots& values, std::optional<qint64> rowid) = 0;
    // Whether added() needs the rowid of a row added.
    virtual bool needsRowids() const { return true; }
    // Called before find() reads the table, so that it sees every row written.
    std::function<bool(Failure& error)> beforeLookUp;
};

// A key's texts folded, as a current row's key and a source row's key are
// compared.
QString foldedKey(const QStringList& texts)
{
    QString key;
    for (const QString& t : texts) key += t.toCaseFolded() + QChar(0x1f);
    return key;
}

QString foldedKey(const Slots& values, const QList<qsizetype>& keys)
{
    QStringList texts;
    for (qsizetype i : keys) texts << values[size_t(i)].toString();
    return foldedKey(texts);
}

// The keys of a table small enough to hold them all: the masters and the
// quotation headers.
class HeldKeys final : public KeyIndex {
public:
    HeldKeys(const QList<qsizetype>& keys) : keys_(keys) {}

    // Reads the current rows' keys (columns in the order of `keys`).
    bool load(Database& data, const CopyRule& rule, Failure& error)
    {
        QStringList columns;
        for (qsizetype i : keys_) columns << Database::quoteIdent(rule.fields[i].column);
        auto q = data.query(QStringLiteral("select rowid, %1 from %2 order by rowid")
                                .arg(columns.join(QStringLiteral(", ")), Database::quoteIdent(rule.table)));
        if (!q) {
            error = data.lastError();
            return false;
        }
        while (q->next()) {
            bool null = false;
            QStringList texts;
            for (qsizetype k = 0; k < keys_.size(); ++k) {
                const QVariant v = q->value(int(k) + 1);
                null = null || dbv::isNull(v);
                texts << v.toString();
            }
            // A Null key is never found: a source row with one is skipped.
            if (!null) hold(foldedKey(texts), q->value(0).toLongLong());
        }
        return true;
    }

    bool find(const Slots& values, std::optional<qint64>& rowid, Failure&) override
    {
        const auto it = rows_.constFind(foldedKey(values, keys_));
        rowid = it == rows_.cend() ? std::nullopt : std::optional<qint64>(*it);
        return true;
    }
    void added(const Slots& values, std::optional<qint64> rowid) override { hold(foldedKey(values, keys_), *rowid); }

private:
    void hold(const QString& key, qint64 rowid)
    {
        if (!rows_.contains(key)) rows_.insert(key, rowid);  // the first row wins
    }

    QList<qsizetype> keys_;
    QHash<QString, qint64> rows_;
};

// The order columns the older table has; a column it lacks is simply not copied.
QStringList presentColumns(const QStringList& order, const QStringList& columns)
{
    QStringList present;
    for (const QString& o : order)
        if (columns.contains(o, Qt::CaseInsensitive)) present << o;
    return present;
}

// The rows of the older table, one at a time, each as the values of the
// fields `which`, handed to `row` with a way to read a column as the older
// file's reader gives it; `row` returns false to stop. Rule: in the rule's
// order (the file's order when it has none of the order columns); Any: in
// whichever order reads best. An SQLite older file is read as SQLite holds
// it, without a row of values made for every row read. False when the read
// failed or stopped; `read` counts the rows read.
enum class OldOrder { Rule, Any };
using OldValue = std::function<QVariant(qsizetype)>;
bool forEachOldRow(LinkFile& Dbs, const QStringList& columns, const CopyRule& rule, const Prepared& p,
                   const QList<qsizetype>& which, int& read, OldOrder ordered,
                   const std::function<bool(const RowValues&, const OldValue&)>& row)
{
    RowValues rv;
    const QStringList order = presentColumns(rule.order, columns);
    StoredDates dates;
    const auto fast = Dbs.forEachStoredRow(rule.table, order, [&](const LinkFile::StoredRow& stored) {
        ++read;
        const int b = fillStoredValues(rule, p, stored, which, rv, dates);
        if (b != LinkFile::kNext) return b;
        const bool go = row(rv, [&](qsizetype c) {
            return LinkFile::linkValue(stored.statement, int(c), stored.kinds[c]).value_or(QVariant());
        });
        return go ? LinkFile::kNext : LinkFile::kStop;
    });
    if (fast != LinkFile::StoredRead::Unavailable) return fast == LinkFile::StoredRead::Done;
    // Read otherwise, a table in no particular order streams; in order it may be read whole.
    return Dbs.forEachRow(rule.table, ordered == OldOrder::Rule ? order : QStringList(), [&](const LinkRow& linkRow) {
        ++read;
        fillRowValues(rule, p, linkRow, which, rv);
        return row(rv, [&](qsizetype c) { return linkRow.value(c); });
    });
}

// Copies the rows of the older table, read in the rule's order one at a
// time, inside the caller's transaction. Anything but All: the outcome
// failed, as a row could not be read or could not be written.
enum class RowsCopied { All, ReadFailed, WriteFailed };
RowsCopied copyRows(Database& data, LinkFile& Dbs, const QStringList& columns, const CopyRule& rule, KeyIndex& keys,
                    TableOutcome& out, const RowCheck& check = {}, const KeySkip& keySkip = {})
{
    const Prepared p = prepare(rule, columns);
    // Every field the older table gives; a row with refused values is
    // written without them, by a writer of its own set of fields.
    std::map<QList<qsizetype>, RowWriter> writers;
    RowWriter* whole = nullptr;  // the writer of rows without refused values
    const auto writerFor = [&](const QList<qsizetype>& refused) -> RowWriter& {
        if (refused.isEmpty() && whole) return *whole;
        auto it = writers.find(refused);
        if (it == writers.end()) {
            QList<qsizetype> fields;
            for (qsizetype i : p.written)
                if (!refused.contains(i)) fields << i;
            it = writers.try_emplace(refused, data, rule, fields, !keys.needsRowids()).first;
        }
        if (refused.isEmpty()) whole = &it->second;
        return it->second;
    };
    // Rows gathered are written before the table is read or written
    // otherwise, so that rows keep the order they came in.
    const auto flushAll = [&](Failure& error) {
        for (auto& [refused, writer] : writers)
            if (!writer.flush(error)) return false;
        return true;
    };
    keys.beforeLookUp = flushAll;
    RowWriter* lastWriter = nullptr;

    Failure error;
    // One row: false stops the copy (error set).
    const bool read = forEachOldRow(Dbs, columns, rule, p, p.written, out.read, OldOrder::Rule,
                                    [&](const RowValues& rv, const OldValue& oldValue) {
        const Verdict key = hasRefusedKey(p, rv)            ? Verdict::BadKey
                            : hasEmptyKey(p, rv.values) ? Verdict::EmptyKey
                                                        : Verdict::Copy;
        if (key != Verdict::Copy) {
            if (keySkip && keySkip(rv, key)) ++out.leftOut;
            else ++(key == Verdict::BadKey ? out.badKeys : out.emptyKeys);
            return true;
        }
        if (check) {
            switch (check(rv, keys, error)) {
            case Verdict::BadCode: ++out.badCodes; return true;
            case Verdict::LeftOut: ++out.leftOut; return true;
            case Verdict::Fail: return false;
            default: break;
            }
        }
        std::optional<qint64> rowid;
        if (!keys.find(rv.values, rowid, error)) return false;
        const bool adding = !rowid;
        RowWriter& writer = writerFor(rv.refused);
        if ((!adding || &writer != lastWriter) && !flushAll(error)) return false;
        lastWriter = &writer;
        if (!writer.write(rv.values, rowid, error)) return false;
        if (adding) keys.added(rv.values, rowid);
        for (qsizetype i : rv.refused) logRefused(rule.table, rule.fields[i].column, oldValue(p.source[i]));
        out.refused += int(rv.refused.size());
        ++out.copied;
        return true;
    });
    keys.beforeLookUp = nullptr;
    if (!read && error.isEmpty()) {
        fail(out, Dbs.failure());
        return RowsCopied::ReadFailed;
    }
    if (!error.isEmpty() || !flushAll(error)) {
        fail(out, error);
        return RowsCopied::WriteFailed;
    }
    return RowsCopied::All;
}

// The older table's columns; nothing when the older file lacks the table
// (the outcome says it is missing), or it cannot be read, has no columns
// or lacks one of `needed` (the outcome failed).
std::optional<QStringList> oldColumns(LinkFile& Dbs, const QString& table, TableOutcome& out,
                                      const QStringList& needed = {})
{
    if (!Dbs.hasTable(table)) {
        out.missing = true;
        return std::nullopt;
    }
    auto columns = Dbs.columns(table);
    if (!columns) {
        fail(out, Dbs.failure());
        return std::nullopt;
    }
    // A table is never without columns: its definition is damaged.
    if (columns->isEmpty()) {
        fail(out, QStringLiteral("旧データの%1に項目がありません。ファイルが壊れている可能性があります").arg(table));
        return std::nullopt;
    }
    QStringList lacking;
    for (const QString& c : needed)
        if (!columns->contains(c, Qt::CaseInsensitive)) lacking << c;
    if (!lacking.isEmpty()) {
        fail(out, QStringLiteral("旧データの%1に%2の項目がありません").arg(table, lacking.join(QStringLiteral("、"))));
        return std::nullopt;
    }
    return columns;
}

// The older table's columns, which must include every key of the rule.
std::optional<QStringList> oldColumns(LinkFile& Dbs, const CopyRule& rule, TableOutcome& out)
{
    return oldColumns(Dbs, rule.table, out, rule.keys + rule.alsoNeeded);
}

// A table copied in a transaction of its own, its keys held.
TableOutcome copyTable(Database& data, LinkFile& Dbs, const CopyRule& rule, const RowCheck& check = {})
{
    TableOutcome out(rule.table);
    const auto columns = oldColumns(Dbs, rule, out);
    if (!columns) return out;
    Transaction tx(data);
    HeldKeys keys(prepare(rule, *columns).keys);
    Failure error;
    if (!tx.started() || !keys.load(data, rule, error)) {
        fail(out, error.isEmpty() ? data.lastError() : error);
        return out;
    }
    if (copyRows(data, Dbs, *columns, rule, keys, out, check) == RowsCopied::All && !tx.commit())
        fail(out, data.lastError());
    return out;
}

const QString k顧客マスタ = QStringLiteral("顧客マスタ");
const QString k商品マスタ = QStringLiteral("商品マスタ");
const QString kコードマスタ = QStringLiteral("コードマスタ");
const QString k見積書ヘッダ = QStringLiteral("見積書ヘッダ");
const QString k見積書 = QStringLiteral("見積書");
const QString k自社情報 = QStringLiteral("自社情報");

const CopyRule& headerRule()
{
    static const CopyRule rule{
        k見積書ヘッダ,
        {QStringLiteral("伝票番号")},
        {field(QStringLiteral("伝票番号"), Kind::Integer), field(QStringLiteral("顧客名")),
         field(QStringLiteral("日付"), Kind::Date), field(QStringLiteral("消費税"), Kind::Money),
         field(QStringLiteral("税抜計"), Kind::Money), field(QStringLiteral("合計"), Kind::Money),
         field(QStringLiteral("見積金額"), Kind::Money), field(QStringLiteral("敬称")),
         field(QStringLiteral("済"), Kind::Integer), field(QStringLiteral("顧客情報")), field(QStringLiteral("件名")),
         field(QStringLiteral("受渡場所")), field(QStringLiteral("支払条件")), field(QStringLiteral("有効期限")),
         field(QStringLiteral("納期")), field(QStringLiteral("印鑑1")), field(QStringLiteral("印鑑2")),
         field(QStringLiteral("印鑑3")), field(QStringLiteral("印鑑4")), field(QStringLiteral("メモ"))},
        // The header's key is the number; a Null number is an empty key.
        {QStringLiteral("伝票番号")},
        {},
        // Who and when the quotation is.
        {QStringLiteral("顧客名"), QStringLiteral("日付")}};
    return rule;
}

const CopyRule& lineRule()
{
    static const CopyRule rule{
        k見積書,
        // Lines are read by their whole-number keys first: only lines with
        // the same key meet (a later one updates the row an earlier one
        // wrote), and among lines of the same number, kind and line number
        // this order is that of customer, date and the file, as when the
        // customer's name led; the numbers order without comparing texts.
        {QStringLiteral("伝票番号"), QStringLiteral("伝票区分"), QStringLiteral("行番号"), QStringLiteral("顧客名"),
         QStringLiteral("日付")},
        {field(QStringLiteral("顧客名")), field(QStringLiteral("日付"), Kind::Date),
         field(QStringLiteral("伝票番号"), Kind::Integer), field(QStringLiteral("伝票区分"), Kind::Integer),
         field(QStringLiteral("行番号"), Kind::Integer), field(QStringLiteral("品名")), fixedNull(QStringLiteral("商品区分")),
         field(QStringLiteral("入数")), field(QStringLiteral("単位")), field(QStringLiteral("数量"), Kind::Money),
         field(QStringLiteral("単価"), Kind::Money), field(QStringLiteral("金額"), Kind::Money),
         field(QStringLiteral("非課税"), Kind::YesNo), field(QStringLiteral("ふりがな")),
         field(QStringLiteral("小計"), Kind::YesNo), fixedNull(QStringLiteral("備考"))},
        {QStringLiteral("顧客名"), QStringLiteral("日付"), QStringLiteral("伝票番号"), QStringLiteral("伝票区分"),
         QStringLiteral("行番号")},
        // A line's Null date, kind or line number is matched to a Null one:
        // only a Null or empty customer or number is an empty key.
        {QStringLiteral("日付"), QStringLiteral("伝票区分"), QStringLiteral("行番号")}};
    return rule;
}

// The fields of a quotation rule (headers or lines) that the conflict
// check and the line look-ups read, found by their columns' names; -1 for
// one the rule lacks (a header has no kind or line number).
struct QuotationFields {
    explicit QuotationFields(const CopyRule& rule)
        : number(rule.field(QStringLiteral("伝票番号"))), customer(rule.field(QStringLiteral("顧客名"))),
          date(rule.field(QStringLiteral("日付"))), kind(rule.field(QStringLiteral("伝票区分"))),
          row(rule.field(QStringLiteral("行番号")))
    {
    }
    qsizetype number, customer, date, kind, row;
};

// Who and when a stored quotation (header or line) belongs to: its customer
// (without regard to case, as Jet compared names) and the day of its date
// (the quotation tab stores a date without the time of day an older line
// may carry), Null told from an empty text.
using Identity = std::pair<QString, QString>;

Identity identity(const QVariant& customer, const QVariant& storedDate)
{
    const auto part = [](const QVariant& v, bool date) {
        if (dbv::isNull(v)) return QStringLiteral("N");
        return QStringLiteral("T") + (date ? dayOf(v.toString()) : v.toString().toCaseFolded());
    };
    return {part(customer, false), part(storedDate, true)};
}

// The same of an older row's values.
Identity identity(const Slot& customer, const Slot& storedDate)
{
    const auto variant = [](const Slot& v) { return v.isNull() ? QVariant() : QVariant(v.toString()); };
    return identity(variant(customer), variant(storedDate));
}

// Each quotation number has one identity or very few: short lists, kept
// small for the ten thousands of numbers a file may hold.
using Identities = QList<Identity>;

struct QuotationIds {
    Identities header;
    Identities lines;
    std::optional<LeftOut> problem;  // a line with an empty key or one that does not fit
    Identities all() const { return header + lines; }
};

void add(Identities& ids, Identity id)
{
    if (!ids.contains(id)) ids.append(std::move(id));
}

bool within(const Identities& part, const Identities& whole)
{
    return std::all_of(part.cbegin(), part.cend(), [&](const Identity& i) { return whole.contains(i); });
}

// A code as the numbered slots have it: "01".."99".
bool isSlotCode(const QString& code)
{
    static const QRegularExpression re(QStringLiteral("^(0[1-9]|[1-9][0-9])$"));
    return re.match(code).hasMatch();
}

// Quotation numbers as the message names them: "伝票番号 7、295", the
// first few of a long list and the count of the rest.
QString numberList(const QList<qint64>& numbers)
{
    constexpr int kShown = 10;
    QStringList shown;
    for (qsizetype i = 0; i < numbers.size() && i < kShown; ++i) shown << QString::number(numbers[i]);
    QString text = QStringLiteral("伝票番号 ") + shown.join(QStringLiteral("、"));
    if (numbers.size() > kShown) text += QStringLiteral(" ほか%1件").arg(numbers.size() - kShown);
    return text;
}

QString reasonText(LeftOut why)
{
    switch (why) {
    case LeftOut::EmptyKey: return QStringLiteral("顧客名が空の明細がある");
    case LeftOut::BadKey: return QStringLiteral("キーを変換できない明細がある");
    case LeftOut::Conflict: return QStringLiteral("別の見積書が登録済みの番号");
    case LeftOut::NoHeader: return QStringLiteral("見積書ヘッダがない");
    case LeftOut::NoLines: return QStringLiteral("明細を読み込めない");
    }
    return {};
}

}  // namespace

// ---------------------------------------------------------------------------
// Outcomes

bool TableOutcome::complete() const
{
    return !missing && failure.isEmpty() && emptyKeys == 0 && badKeys == 0 && badCodes == 0 && leftOut == 0 &&
           quotationsLeftOut.isEmpty() && refused == 0;
}

QString TableOutcome::summaryLine() const
{
    if (!failure.isEmpty()) {
        QString why = QString(failure.said).remove(QLatin1Char('\n'));
        if (why.endsWith(u'。')) why.chop(1);
        return QStringLiteral("%1：変換できませんでした%2。このテーブルは変更していません")
            .arg(table, why.isEmpty() ? QString() : QStringLiteral("（%1）").arg(why));
    }
    if (missing) return QStringLiteral("%1：旧データにテーブルがありません").arg(table);
    QString line = QStringLiteral("%1：読込 %2件、変換 %3件").arg(table).arg(read).arg(copied);
    if (emptyKeys) line += QStringLiteral("、キーが空のためスキップ %1件").arg(emptyKeys);
    if (badKeys) line += QStringLiteral("、キーを変換できないためスキップ %1件").arg(badKeys);
    if (badCodes) line += QStringLiteral("、コードが01～99以外のためスキップ %1件").arg(badCodes);
    if (leftOut) line += QStringLiteral("、変換しなかった見積書のためスキップ %1件").arg(leftOut);
    if (refused) line += QStringLiteral("、変換できない値 %1件（その項目は書き込んでいません）").arg(refused);
    return line;
}

QString ConversionMessage(const QList<TableOutcome>& outcomes)
{
    QString text = QStringLiteral("コンバートが終了しました");
    const bool complete = std::all_of(outcomes.cbegin(), outcomes.cend(), [](const TableOutcome& o) { return o.complete(); });
    if (complete) return text;
    text += QStringLiteral("\n\n変換できなかったデータがあります。\n");
    QStringList lines;
    QMap<LeftOut, QSet<qint64>> leftOut;
    for (const TableOutcome& o : outcomes) {
        lines << o.summaryLine();
        for (auto it = o.quotationsLeftOut.cbegin(); it != o.quotationsLeftOut.cend(); ++it)
            leftOut[it.key()].unite(QSet<qint64>(it.value().cbegin(), it.value().cend()));
    }
    if (!leftOut.isEmpty()) {
        lines << QString() << QStringLiteral("次の見積書はヘッダも明細も変換していません。");
        for (auto it = leftOut.cbegin(); it != leftOut.cend(); ++it) {
            QList<qint64> numbers(it.value().cbegin(), it.value().cend());
            std::sort(numbers.begin(), numbers.end());
            lines << reasonText(it.key()) + QStringLiteral("：") + numberList(numbers);
        }
    }
    return text + lines.join(QLatin1Char('\n'));
}

// ---------------------------------------------------------------------------
// The copies

const QStringList DataConversion::Tables{k自社情報, k顧客マスタ, k商品マスタ, kコードマスタ, k見積書ヘッダ, k見積書};

DataConversion::DataConversion(LinkFile& Dbs, Database& data) : Dbs_(Dbs), data_(data) {}

TableOutcome DataConversion::CnvJisyaInfo()
{
    TableOutcome out{k自社情報};
    if (!oldColumns(Dbs_, k自社情報, out)) return out;
    const auto old = Dbs_.rows(k自社情報);
    if (!old) {
        fail(out, Dbs_.failure());
        return out;
    }
    out.read = int(old->rows.size());
    if (old->rows.isEmpty()) return out;  // the current settings row stays as it is
    const LinkRow& src = old->rows.first();  // only the first row takes part

    struct Setting {
        const char16_t* column;
        Kind kind;
        std::optional<QVariant> fixed;
    };
    const QVariant yes = dbv::fromBool(true);
    const QList<Setting> settings{
        {u"自社名", Kind::Text, {}},          {u"自社情報", Kind::Text, {}},
        {u"年号", Kind::Text, {}},            {u"税区分", Kind::Text, {}},
        {u"税端数", Kind::Text, {}},          {u"行端数", Kind::Text, {}},
        {u"小数", Kind::Text, QVariant(QStringLiteral("しない"))},
        {u"最大見積書番号", Kind::Integer, {}}, {u"税計算", Kind::YesNo, {}},
        {u"印刷用紙", Kind::Text, {}},        {u"商品リンクアプリ", Kind::Text, {}},
        {u"商品リンクパス", Kind::Text, {}},  {u"顧客リンクアプリ", Kind::Text, {}},
        {u"顧客リンクパス", Kind::Text, {}},  {u"郵便番号辞書パス", Kind::Text, {}},
        {u"YubinDataPath", Kind::Text, {}},   {u"YubinLocalEria", Kind::Text, {}},
        {u"YubinLocalEriaSw", Kind::Integer, {}}, {u"商品表示順", Kind::Text, {}},
        {u"入数列タイトル", Kind::Text, {}},  {u"商品登録", Kind::YesNo, yes},
        {u"商品区分登録", Kind::YesNo, yes},  {u"単位登録", Kind::YesNo, yes},
        {u"入数登録", Kind::YesNo, yes},      {u"支払条件登録", Kind::YesNo, yes},
        {u"有効期限登録", Kind::YesNo, yes},  {u"受渡場所登録", Kind::YesNo, yes},
        {u"納期登録", Kind::YesNo, yes},
    };

    Transaction tx(data_);
    if (!tx.started()) {
        fail(out, data_.lastError());
        return out;
    }
    bool ok = false;
    const auto current = data_.firstRow(QStringLiteral("select rowid, 最大見積書番号 from 自社情報 order by rowid limit 1"), {}, &ok);
    if (!ok) {
        fail(out, data_.lastError());
        return out;
    }

    Fields values;
    for (const Setting& s : settings) {
        const QString column = QString::fromUtf16(s.column);
        if (s.fixed) {
            values.append({column, *s.fixed});
            continue;
        }
        if (!src.has(column)) continue;  // a setting the older file lacks keeps its value
        const QVariant source = src.value(column);
        auto v = stored(source, s.kind);
        if (!v) {
            // A setting the current column refuses keeps its value, or its default in a new row.
            logRefused(k自社情報, column, source);
            ++out.refused;
            continue;
        }
        if (column == u"最大見積書番号" && current) {
            // Never lower the counter: a lower one would hand out numbers already stored.
            const QVariant now = current->value(1);
            bool isNumber = false;
            const qint64 n = now.toLongLong(&isNumber);
            if (!dbv::isNull(now) && isNumber && (dbv::isNull(*v) || v->toLongLong() < n)) v = QVariant(n);
        }
        values.append({column, *v});
    }

    bool written = false;
    if (current) {
        QStringList sets;
        QVariantList binds;
        for (const auto& [c, v] : values) {
            sets << Database::quoteIdent(c) + QStringLiteral(" = ?");
            binds << v;
        }
        binds << current->value(0);
        written = data_.exec(QStringLiteral("update 自社情報 set %1 where rowid = ?").arg(sets.join(QStringLiteral(", "))), binds);
    } else {
        written = data_.insert(k自社情報, values);
    }
    if (!written || !tx.commit()) {
        fail(out, data_.lastError());
        return out;
    }
    out.copied = 1;
    return out;
}

TableOutcome DataConversion::CnvKokyaku()
{
    static const CopyRule rule{k顧客マスタ,
                               {QStringLiteral("ふりがな")},
                               {field(QStringLiteral("顧客名")), field(QStringLiteral("顧客情報")),
                                field(QStringLiteral("ふりがな")), field(QStringLiteral("敬称"))},
                               {QStringLiteral("顧客名")}};
    return copyTable(data_, Dbs_, rule);
}

TableOutcome DataConversion::CnvSyohin()
{
    static const CopyRule rule{k商品マスタ,
                               {QStringLiteral("ふりがな")},
                               {field(QStringLiteral("品名")), fixedNull(QStringLiteral("商品区分")),
                                field(QStringLiteral("入数")), field(QStringLiteral("単位")),
                                field(QStringLiteral("単価"), Kind::Money), field(QStringLiteral("非課税"), Kind::YesNo),
                                field(QStringLiteral("ふりがな"))},
                               {QStringLiteral("品名")}};
    return copyTable(data_, Dbs_, rule);
}

TableOutcome DataConversion::CnvCode()
{
    static const CopyRule rule{kコードマスタ,
                               {QStringLiteral("kcode"), QStringLiteral("code")},
                               // An empty name is a free slot, which the code lists mark with Null.
                               {field(QStringLiteral("kcode")), field(QStringLiteral("code")),
                                {QStringLiteral("sname"), Kind::Text, false, true}},
                               {QStringLiteral("kcode"), QStringLiteral("code")}};
    std::optional<QSet<QString>> kinds;  // kinds that have their slots, case-folded
    Statement slot(data_, QStringLiteral("insert into コードマスタ (kcode, code, sname) values (?, ?, null)"));
    const RowCheck check = [&](const RowValues& row, KeyIndex& keys, Failure& error) {
        const Slots& values = row.values;
        if (!isSlotCode(values[1].toString())) return Verdict::BadCode;
        if (!kinds) {
            auto q = data_.query(QStringLiteral("select distinct kcode from コードマスタ where kcode is not null"));
            if (!q) {
                error = data_.lastError();
                return Verdict::Fail;
            }
            kinds.emplace();
            while (q->next()) kinds->insert(q->value(0).toString().toCaseFolded());
        }
        const QString kcode = values[0].toString();
        if (kinds->contains(kcode.toCaseFolded())) return Verdict::Copy;
        // A kind the current file lacks gets its 99 free slots, as every kind has.
        Slots free(3);
        free[0].setText(kcode);
        for (int i = 1; i <= 99; ++i) {
            free[1].setText(QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0')));
            if (!slot.run({free[0].text, free[1].text})) {
                error = slot.error();
                return Verdict::Fail;
            }
            keys.added(free, slot.query().lastInsertId().toLongLong());
        }
        kinds->insert(kcode.toCaseFolded());
        return Verdict::Copy;
    };
    return copyTable(data_, Dbs_, rule, check);
}

namespace {

// Who and when each quotation is, by number, for the numbers `wanted`: from
// the older headers and lines, and whether a line of it has an empty key or
// one that does not fit (a row without a number takes no part). A customer
// or date the current column refuses counts as Null, as a new row would
// hold it. A table that cannot be read adds nothing: its copy fails on its
// own.
void collectOld(LinkFile& Dbs, const QStringList& columns, const CopyRule& rule, bool header,
                const QHash<qint64, QuotationIds>& wanted, QHash<qint64, QuotationIds>& old)
{
    const Prepared p = prepare(rule, columns);
    const QuotationFields f(rule);
    const QList<qsizetype> which = p.keys + QList<qsizetype>{f.customer, f.date};
    int read = 0;
    forEachOldRow(Dbs, columns, rule, p, which, read, OldOrder::Any, [&](const RowValues& rv, const OldValue&) {
        const Slot& number = rv.values[size_t(f.number)];
        if (number.isNull() || !wanted.contains(number.toLongLong())) return true;
        QuotationIds& ids = old[number.toLongLong()];
        if (hasRefusedKey(p, rv)) {
            if (!ids.problem) ids.problem = LeftOut::BadKey;
        } else if (hasEmptyKey(p, rv.values)) {
            if (!ids.problem) ids.problem = LeftOut::EmptyKey;
        } else {
            add(header ? ids.header : ids.lines, identity(rv.values[size_t(f.customer)], rv.values[size_t(f.date)]));
        }
        return true;
    });
}

// The quotation numbers of an older quotation table (rows without one take
// no part); nothing when it cannot be read. `read` counts its rows.
std::optional<QSet<qint64>> oldNumbers(LinkFile& Dbs, const QStringList& columns, const CopyRule& rule, int& read)
{
    const Prepared p = prepare(rule, columns);
    const qsizetype number = QuotationFields(rule).number;
    QSet<qint64> numbers;
    const bool ok = forEachOldRow(Dbs, columns, rule, p, {number}, read, OldOrder::Any,
                                  [&](const RowValues& rv, const OldValue&) {
        if (!rv.values[size_t(number)].isNull()) numbers.insert(rv.values[size_t(number)].toLongLong());
        return true;
    });
    if (!ok) return std::nullopt;
    return numbers;
}

// The quotation lines, too many to hold their keys: a line is looked up by
// its number, kind and line number (indexed, Null matching Null), and its
// customer (without regard to case) and the day of its date are compared
// here. A line of a number the current file did not hold can only meet a
// line this copy added; such a line is looked up only when one with the
// same key may have been added.
class LineKeys final : public KeyIndex {
public:
    explicit LineKeys(Database& data)
        : data_(data), find_(data, QStringLiteral("select rowid, 顧客名, 日付 from 見積書 where 伝票番号 = ? and "
                                                  "伝票区分 is ? and 行番号 is ? order by rowid"))
    {
    }

    bool load(Failure& error)
    {
        auto q = data_.query(QStringLiteral("select distinct 伝票番号 from 見積書"));
        if (!q) {
            error = data_.lastError();
            return false;
        }
        while (q->next()) held_.insert(q->value(0).toLongLong());
        return true;
    }

    bool find(const Slots& values, std::optional<qint64>& rowid, Failure& error) override
    {
        rowid.reset();
        if (!held_.contains(values[size_t(f_.number)].toLongLong()) && !added_.contains(place(values))) return true;
        if (beforeLookUp && !beforeLookUp(error)) return false;
        if (!find_.run(values, placeFields_)) {
            error = find_.error();
            return false;
        }
        const Identity wanted = identity(values[size_t(f_.customer)], values[size_t(f_.date)]);
        while (find_.next()) {
            if (identity(find_.value(1), find_.value(2)) == wanted) {
                rowid = find_.value(0).toLongLong();
                break;
            }
        }
        return true;
    }
    void added(const Slots& values, std::optional<qint64>) override { added_.insert(place(values)); }
    bool needsRowids() const override { return false; }

private:
    // A line's number, kind and line number, hashed: the look-up above
    // compares customer and date, so a line of another customer or date in
    // the same place costs only a look-up, and no text is folded per line.
    size_t place(const Slots& values) const
    {
        return qHashMulti(0, values[size_t(f_.number)].toLongLong(), values[size_t(f_.kind)].toLongLong(),
                          values[size_t(f_.row)].toLongLong());
    }

    Database& data_;
    DirectStatement find_;
    const QuotationFields f_{lineRule()};
    const QList<qsizetype> placeFields_{f_.number, f_.kind, f_.row};
    QSet<qint64> held_;   // numbers the current file holds lines of
    QSet<size_t> added_;  // places of the lines added, hashed
};

// Raises the quotation counter 最大見積書番号 to the highest quotation number
// stored (headers and lines), so that a new quotation is never proposed a
// number already stored, which storing would replace. It is never lowered.
// False (error set) when it cannot be read or written.
bool RaiseCounterToStoredNumbers(Database& data, Failure& error)
{
    Statement highest(data, QStringLiteral("select max(n) from (select max(伝票番号) as n from 見積書ヘッダ "
                                           "union all select max(伝票番号) from 見積書)"));
    if (!highest.run({})) {
        error = highest.error();
        return false;
    }
    const QVariant highestStored = highest.first();
    const std::optional<qint64> top = dbv::isNull(highestStored) ? std::nullopt : JetValue::wholeNumber(highestStored);
    if (!top) return true;  // no quotation stored
    return RaiseQuotationCounter(data, *top, error);
}

// The quotations left out, as the outcomes name them.
QMap<LeftOut, QList<qint64>> byReason(const QHash<qint64, LeftOut>& left)
{
    QMap<LeftOut, QList<qint64>> named;
    for (auto it = left.cbegin(); it != left.cend(); ++it) named[it.value()] << it.key();
    for (QList<qint64>& numbers : named) std::sort(numbers.begin(), numbers.end());
    return named;
}

}  // namespace

std::optional<QHash<qint64, LeftOut>> DataConversion::heldBack(QSet<qint64>& held, Failure& error)
{
    // Who and when each current quotation is, by number.
    QHash<qint64, QuotationIds> current;
    const auto scan = [&](const QString& sql, bool header) {
        auto q = data_.query(sql);
        if (!q) return false;
        while (q->next()) {
            QuotationIds& ids = current[q->value(0).toLongLong()];
            add(header ? ids.header : ids.lines, identity(q->value(1), q->value(2)));
        }
        return true;
    };
    if (!scan(QStringLiteral("select 伝票番号, 顧客名, 日付 from 見積書ヘッダ"), true) ||
        !scan(QStringLiteral("select distinct 伝票番号, 顧客名, substr(日付, 1, 10) from 見積書"), false)) {
        error = data_.lastError();
        return std::nullopt;
    }
    QHash<qint64, LeftOut> found;
    held = QSet<qint64>();
    for (auto it = current.cbegin(); it != current.cend(); ++it) held.insert(it.key());
    if (current.isEmpty()) return found;

    // The same of the older quotations under those numbers (the copy has
    // checked that both older tables can be read).
    QHash<qint64, QuotationIds> old;
    TableOutcome unused;
    for (bool header : {true, false}) {
        const CopyRule& rule = header ? headerRule() : lineRule();
        if (const auto columns = oldColumns(Dbs_, rule, unused)) collectOld(Dbs_, *columns, rule, header, current, old);
    }

    // Another quotation holds the number when the current file has anything
    // under it that the older quotation does not account for, or when the
    // older lines would sit beside current lines of another day or customer.
    // The older quotation is decided here, whole, as a copy that is under
    // way cannot take back what it changed in a current quotation.
    for (auto it = old.cbegin(); it != old.cend(); ++it) {
        const QuotationIds& now = current[it.key()];
        const QuotationIds& before = it.value();
        const bool other = !within(now.all(), before.all()) ||
                           (!before.lines.isEmpty() && !now.lines.isEmpty() && !within(now.lines, before.lines));
        if (other) found.insert(it.key(), LeftOut::Conflict);
        else if (before.problem) found.insert(it.key(), *before.problem);
        else if (before.header.isEmpty()) found.insert(it.key(), LeftOut::NoHeader);
    }
    return found;
}

void DataConversion::copyQuotations()
{
    quotations_.emplace(TableOutcome(k見積書ヘッダ), TableOutcome(k見積書));
    TableOutcome& headers = quotations_->first;
    TableOutcome& lines = quotations_->second;
    const QString linesHeldBack = QStringLiteral("見積書ヘッダを変換できないため、明細も書き込んでいません");
    const QString headersHeldBack = QStringLiteral("見積書（明細）を変換できないため、ヘッダも書き込んでいません");
    QHash<qint64, LeftOut> left;  // the quotations left out whole, by number
    const auto name = [&] { headers.quotationsLeftOut = lines.quotationsLeftOut = byReason(left); };
    // A table whose quotations cannot arrive whole, as the other table cannot
    // be read: nothing of it is written, and its quotations are named.
    const auto holdBack = [&](const CopyRule& rule, const QStringList& columns, TableOutcome& out, LeftOut why,
                              const QString& reason) {
        out = TableOutcome(rule.table);
        const auto numbers = oldNumbers(Dbs_, columns, rule, out.read);
        if (!numbers) return fail(out, Dbs_.failure());
        if (out.read == 0) return;
        fail(out, reason);
        for (qint64 n : *numbers) left.insert(n, why);
    };

    const auto headerColumns = oldColumns(Dbs_, headerRule(), headers);
    const auto lineColumns = oldColumns(Dbs_, lineRule(), lines);
    if (!headerColumns || !lineColumns) {
        if (headerColumns) holdBack(headerRule(), *headerColumns, headers, LeftOut::NoLines, headersHeldBack);
        if (lineColumns) holdBack(lineRule(), *lineColumns, lines, LeftOut::NoHeader, linesHeldBack);
        return name();
    }

    const auto failBoth = [&](const Failure& error) {
        fail(headers, error);
        fail(lines, error);
    };
    // Headers, lines and the counter in one transaction.
    Transaction tx(data_);
    if (!tx.started()) return failBoth(data_.lastError());
    Failure error;
    QSet<qint64> held;  // numbers the current file holds
    const auto decided = heldBack(held, error);
    if (!decided) return failBoth(error);
    left = *decided;
    const QuotationFields headerFields(headerRule()), lineFields(lineRule());
    const auto numberOf = [](const RowValues& rv, const QuotationFields& f) {
        return rv.values[size_t(f.number)].toLongLong();
    };
    // Rows written per number, taken back when a line found later leaves
    // its quotation out; only a number the current file did not hold can
    // be found so (its rows were all added by this copy).
    struct Written {
        int rows = 0;
        int refused = 0;
    };
    QHash<qint64, Written> headersWritten, linesWritten;
    QSet<qint64> found;
    const auto leave = [&](qint64 n, LeftOut why) {
        if (left.contains(n)) return;
        left.insert(n, why);
        if (!held.contains(n)) found.insert(n);
    };

    QSet<qint64> withHeader;  // numbers of the older headers
    const RowCheck headerCheck = [&](const RowValues& rv, KeyIndex&, Failure&) {
        const qint64 n = numberOf(rv, headerFields);
        withHeader.insert(n);
        if (left.contains(n)) return Verdict::LeftOut;
        Written& w = headersWritten[n];
        ++w.rows, w.refused += int(rv.refused.size());
        return Verdict::Copy;
    };
    const RowCheck lineCheck = [&](const RowValues& rv, KeyIndex&, Failure&) {
        const qint64 n = numberOf(rv, lineFields);
        if (!withHeader.contains(n)) leave(n, LeftOut::NoHeader);
        if (left.contains(n)) return Verdict::LeftOut;
        Written& w = linesWritten[n];
        ++w.rows, w.refused += int(rv.refused.size());
        return Verdict::Copy;
    };
    const KeySkip lineKeySkip = [&](const RowValues& rv, Verdict why) {
        if (rv.values[size_t(lineFields.number)].isNull()) return false;  // a line of no quotation
        const qint64 n = numberOf(rv, lineFields);
        // A number the current file holds was decided before: it has none.
        if (!held.contains(n)) leave(n, why == Verdict::BadKey ? LeftOut::BadKey : LeftOut::EmptyKey);
        return left.contains(n);
    };

    HeldKeys headerKeys(prepare(headerRule(), {}).keys);
    LineKeys lineKeys(data_);
    if (!headerKeys.load(data_, headerRule(), error) || !lineKeys.load(error)) return failBoth(error);
    const RowsCopied headersCopied = copyRows(data_, Dbs_, *headerColumns, headerRule(), headerKeys, headers, headerCheck);
    if (headersCopied != RowsCopied::All) {
        left.clear();
        if (headersCopied == RowsCopied::ReadFailed) holdBack(lineRule(), *lineColumns, lines, LeftOut::NoHeader, linesHeldBack);
        else fail(lines, linesHeldBack);
        return name();
    }
    const RowsCopied linesCopied = copyRows(data_, Dbs_, *lineColumns, lineRule(), lineKeys, lines, lineCheck, lineKeySkip);
    if (linesCopied != RowsCopied::All) {
        left.clear();
        fail(headers, headersHeldBack);
        if (linesCopied == RowsCopied::ReadFailed)
            for (qint64 n : std::as_const(withHeader)) left.insert(n, LeftOut::NoLines);
        return name();
    }

    // The quotations found incomplete on the way: what was written of them
    // goes again.
    Statement dropHeader(data_, QStringLiteral("delete from 見積書ヘッダ where 伝票番号 = ?"));
    Statement dropLines(data_, QStringLiteral("delete from 見積書 where 伝票番号 = ?"));
    for (qint64 n : std::as_const(found)) {
        if (!dropHeader.run({n}) || !dropLines.run({n})) {
            left.clear();
            return failBoth(dropHeader.error().isEmpty() ? dropLines.error() : dropHeader.error());
        }
        for (auto [out, written] : {std::pair{&headers, headersWritten.value(n)}, std::pair{&lines, linesWritten.value(n)}}) {
            out->copied -= written.rows;
            out->refused -= written.refused;
            out->leftOut += written.rows;
        }
    }
    // The counter ends above every number stored.
    if (!RaiseCounterToStoredNumbers(data_, error) || !tx.commit()) {
        left.clear();
        return failBoth(error.isEmpty() ? data_.lastError() : error);
    }
    name();
}

TableOutcome DataConversion::CnvMitumoriHeader()
{
    if (!quotations_) copyQuotations();
    return quotations_->first;
}

TableOutcome DataConversion::CnvMitumori()
{
    if (!quotations_) copyQuotations();
    return quotations_->second;
}
