// SQLite link files: an SQLite file of the tables of a linked application
// or of the older data file, read in the program's process, read-only (no
// journal, no WAL file is ever created). Rows are read through SQLite
// directly, a cursor standing on SQLite's own row: a value is converted
// only when it is asked for, and a text that needs no conversion is lent
// from SQLite's row memory for as long as the read stands on that row.

#include "platform/Database.h"
#include "platform/JapaneseOrder.h"
#include "platform/JetValue.h"
#include "platform/LinkFileBackend.h"
#include "platform/SqliteHandle.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <limits>
#include <sqlite3.h>
#include <string>
#include <vector>

namespace {

using Read = LinkFileBackend::Read;

// Whether text stored as these bytes reads as SQLite's own UTF-16 reads it
// (storedText()), character for character: valid UTF-8 without U+FFFE or
// U+FFFF (SQLite reads those two as U+FFFD).
bool readsAsStored(QByteArrayView utf8)
{
    if (!utf8.isValidUtf8()) return false;
    // U+FFFE and U+FFFF are EF BF BE and EF BF BF.
    for (qsizetype at = utf8.indexOf("\xEF\xBF"); at >= 0 && at + 2 < utf8.size(); at = utf8.indexOf("\xEF\xBF", at + 1))
        if ((uchar(utf8[at + 2]) & 0xFE) == 0xBE) return false;
    return true;
}

QByteArrayView utf8Of(sqlite3_stmt* statement, int i)
{
    return QByteArrayView(reinterpret_cast<const char*>(sqlite3_column_text(statement, i)), sqlite3_column_bytes(statement, i));
}

// The text at column i as Qt's driver reads it: SQLite's own UTF-16, so that
// a text that is not valid UTF-8 comes back the same both ways. A text that
// reads alike is taken from its UTF-8 (which SQLite then keeps, so that
// what was lent of it stays where it is).
QString storedText(sqlite3_stmt* statement, int i)
{
    const QByteArrayView utf8 = utf8Of(statement, i);
    if (utf8.data() && readsAsStored(utf8)) return QString::fromUtf8(utf8);
    const auto* text = static_cast<const QChar*>(sqlite3_column_text16(statement, i));
    return QString(text, sqlite3_column_bytes16(statement, i) / qsizetype(sizeof(QChar)));
}

// A stored value as Qt's SQLite driver gives it.
QVariant storedValue(sqlite3_stmt* statement, int i)
{
    switch (sqlite3_column_type(statement, i)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(statement, i)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(statement, i));
    case SQLITE_TEXT:
        return QVariant(storedText(statement, i));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(statement, i)),
                                   sqlite3_column_bytes(statement, i)));
    default:
        return QVariant();
    }
}

// The row an SQLite statement stands on, its values read as they are asked
// for in the kinds their columns declare.
class SqliteCursor final : public LinkCursor {
public:
    SqliteCursor(const QStringList& columns, const QList<ColumnKind>& kinds)
        : LinkCursor(columns), kinds_(kinds), dates_(size_t(columns.size()))
    {
    }

    void standOn(sqlite3_stmt* statement)
    {
        statement_ = statement;
        unreadable_ = -1;
    }
    // The first column asked for whose value does not fit its kind; -1 for none.
    qsizetype unreadable() const { return unreadable_; }

    std::optional<QVariant> value(qsizetype i) override
    {
        const int c = int(i);
        // Text and whole numbers as their columns want them need no conversion.
        const int type = sqlite3_column_type(statement_, c);
        const ColumnKind kind = kinds_[i];
        if ((type == SQLITE_TEXT && kind == ColumnKind::Text) ||
            (type == SQLITE_INTEGER && (kind == ColumnKind::Integer || kind == ColumnKind::Any)))
            return storedValue(statement_, c);
        auto v = ColumnValue::read(storedValue(statement_, c), kind);
        if (!v && unreadable_ < 0) unreadable_ = i;
        return v;
    }

    // The usual values go straight from SQLite's row to their stored form;
    // every other one as LinkCursor::stored takes it. Each shortcut gives
    // what ColumnValue::stored(value(i), kind) gives.
    Stored stored(qsizetype i, ColumnKind kind, StoredValue& out) override
    {
        const int c = int(i);
        const int type = sqlite3_column_type(statement_, c);
        const ColumnKind held = kinds_[i];
        if (type == SQLITE_NULL) {
            out.setNull();
            return Stored::Fits;
        }
        if (kind == ColumnKind::Text && held == ColumnKind::Text && type == SQLITE_TEXT) {
            const QByteArrayView text = utf8Of(statement_, c);
            // Text SQLite reads otherwise (not valid UTF-8, U+FFFE, U+FFFF)
            // is taken as the reader takes it.
            if (text.data() && readsAsStored(text)) out.lend(RowText(clock(), text));
            else out.setText(storedText(statement_, c));
            return Stored::Fits;
        }
        if (kind == ColumnKind::Integer && (held == ColumnKind::Integer || held == ColumnKind::Any) && type == SQLITE_INTEGER) {
            out.setInteger(sqlite3_column_int64(statement_, c));
            return Stored::Fits;
        }
        if (kind == ColumnKind::Bool && held == ColumnKind::Bool && type == SQLITE_INTEGER) {
            out.setInteger(sqlite3_column_int64(statement_, c) != 0 ? 1 : 0);
            return Stored::Fits;
        }
        if (kind == ColumnKind::Money && held == ColumnKind::Money && (type == SQLITE_INTEGER || type == SQLITE_FLOAT)) {
            const auto money = JetValue::currency(type == SQLITE_INTEGER ? QVariant(qlonglong(sqlite3_column_int64(statement_, c)))
                                                                         : QVariant(sqlite3_column_double(statement_, c)));
            if (!money) {
                if (unreadable_ < 0) unreadable_ = i;
                return Stored::Unreadable;
            }
            out.setInteger(money->raw());
            return Stored::Fits;
        }
        if (kind == ColumnKind::Money && held == ColumnKind::Real && type == SQLITE_FLOAT) {
            // A double is read as it is; as money it may not fit.
            const auto money = Currency::fromDouble(sqlite3_column_double(statement_, c));
            if (!money) return Stored::Refused;
            out.setInteger(money->raw());
            return Stored::Fits;
        }
        if (kind == ColumnKind::Date && held == ColumnKind::Date && type == SQLITE_TEXT) {
            // A date repeats over the rows read in order (the lines of a
            // quotation): the last one is remembered per column.
            LastDate& last = dates_[size_t(i)];
            const QByteArrayView text = utf8Of(statement_, c);
            if (last.text.isNull() || last.text != text) {
                last.text = text.toByteArray();
                const auto v = value(i);
                if (!v) {
                    last.text = QByteArray();
                    return Stored::Unreadable;
                }
                last.stored = ColumnValue::stored(*v, kind);
            }
            if (!last.stored) return Stored::Refused;
            out.set(*last.stored);
            return Stored::Fits;
        }
        return LinkCursor::stored(i, kind, out);
    }

    bool held() const override { return false; }

private:
    struct LastDate {
        QByteArray text;
        std::optional<QVariant> stored;  // as a Date column stores it
    };

    sqlite3_stmt* statement_ = nullptr;
    QList<ColumnKind> kinds_;
    std::vector<LastDate> dates_;
    qsizetype unreadable_ = -1;
};

using Statement = std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)>;

class SqliteLinkFile final : public LinkFileBackend {
public:
    ~SqliteLinkFile() override
    {
        if (connection_.isEmpty()) return;
        db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(connection_);
    }

    bool open(const QString& path, LinkFailure& failure)
    {
        path_ = path;
        const QFileInfo fi(path);
        // A file in WAL mode would make SQLite create its -wal and -shm files
        // even for reading. When no other program has the file open (no -wal
        // file), it is read as immutable, which creates nothing.
        QUrl url = QUrl::fromLocalFile(fi.absoluteFilePath());
        url.setQuery(walWithoutLog(fi.absoluteFilePath()) ? QStringLiteral("mode=ro&immutable=1")
                                                          : QStringLiteral("mode=ro"));
        // Named by this object: a reader opens one file once.
        connection_ = QStringLiteral("velt-link-%1").arg(quintptr(this), 0, 16);
        db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
        db_.setDatabaseName(url.toString(QUrl::FullyEncoded));
        db_.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=2000"));
        if (!db_.open()) return fail(failure, SqlFailure(db_.lastError()));
        // Texts in SQL order as LinkFile::rows() orders them: in Japanese order.
        RegisterJapaneseCollation(db_);
        QSqlQuery q(db_);
        q.setForwardOnly(true);
        if (!q.exec(QStringLiteral("select name from sqlite_master where type in ('table', 'view') "
                                   "and name not like 'sqlite\\_%' escape '\\' order by rowid")))
            return fail(failure, SqlFailure(q.lastError()));
        while (q.next()) tables_.append(q.value(0).toString());
        return true;
    }

    QStringList tables() const override { return tables_; }

    std::optional<QStringList> columns(const QString& table, LinkFailure& failure) override
    {
        const auto info = columnInfo(table, failure);
        if (!info) return std::nullopt;
        return info->columns;
    }

    Read readEach(const QString& table, const RowHandler& row, LinkFailure& failure) override
    {
        const auto info = columnInfo(table, failure);
        if (!info) return Read::Failed;
        Statement statement = prepare(QStringLiteral("select %1 from %2").arg(info->select.join(QStringLiteral(", ")), Database::quoteIdent(table)));
        if (!statement) return failed(failure);
        return each(statement.get(), table, *info, row, failure);
    }

    // Ordered by SQLite itself, either way: Unavailable when a value of an
    // order column could take another place in SQL's order than in
    // LinkFile::rows()'s.
    Read readOrdered(const QString& table, const QList<qsizetype>& order, LinkFile::Order, const RowHandler& row,
                     LinkFailure& failure) override
    {
        const auto info = columnInfo(table, failure);
        if (!info) return Read::Failed;
        const QStringList& select = info->select;
        const QList<ColumnKind>& kinds = info->kinds;
        QStringList orderBy, orderColumns;
        QList<ColumnKind> orderKinds;
        for (qsizetype i : order) {
            orderBy << sqlOrder(select[i], kinds[i]);
            orderColumns << select[i];
            orderKinds << kinds[i];
        }
        const QString from = Database::quoteIdent(table);
        // Rows that order alike keep the file's order (a table without rowid
        // has no such order here).
        // One pass finds both whether a value could be placed otherwise and
        // whether the table is stored in that order already (rows written
        // as they are numbered, as a file usually holds them): then it is
        // read as it lies, as sorting it would only cost.
        switch (survey(from, orderBy, orderColumns, orderKinds)) {
        case Survey::Unsafe:
        case Survey::Unknown:
            return Read::Unavailable;
        case Survey::InOrder:
            orderBy = QStringList{QStringLiteral("rowid")};
            break;
        case Survey::NotInOrder:
            orderBy << QStringLiteral("rowid");
            break;
        }
        Statement statement = prepare(QStringLiteral("select %1 from %2 order by %3")
                                          .arg(select.join(QStringLiteral(", ")), from, orderBy.join(QStringLiteral(", "))));
        if (!statement) return Read::Unavailable;
        return each(statement.get(), table, *info, row, failure);
    }

private:
    // A table's columns as a read selects them: their names, the same quoted
    // for SQL, and the kinds their declared types name.
    struct Columns {
        QStringList columns;
        QStringList select;
        QList<ColumnKind> kinds;
    };

    // The SQLite connection under Qt's driver (the system's SQLite library).
    sqlite3* handle() const { return SqliteHandle(db_); }

    Statement prepare(const QString& sql) const
    {
        const QByteArray text = sql.toUtf8();
        sqlite3* db = handle();
        sqlite3_stmt* prepared = nullptr;
        if (!db || sqlite3_prepare_v2(db, text.constData(), int(text.size()), &prepared, nullptr) != SQLITE_OK) {
            sqlite3_finalize(prepared);
            prepared = nullptr;
        }
        return Statement(prepared, &sqlite3_finalize);
    }

    // Each row of the statement to `row`, on one cursor.
    Read each(sqlite3_stmt* statement, const QString& table, const Columns& info, const RowHandler& row,
              LinkFailure& failure)
    {
        SqliteCursor cursor(info.columns, info.kinds);
        int step = SQLITE_ROW;
        while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
            cursor.standOn(statement);
            const bool go = row(cursor);
            if (const qsizetype bad = cursor.unreadable(); bad >= 0) {
                failure = {LinkFile::Error::BadValue,
                           linkmsg::badValue(table, info.columns[bad], storedValue(statement, int(bad)).toString())};
                return Read::Failed;
            }
            if (!go) return Read::Stopped;
        }
        if (step != SQLITE_DONE) return failed(failure);
        return Read::Done;
    }

    enum class Survey { InOrder, NotInOrder, Unsafe, Unknown };
    // The rows in rowid order, their order columns (`columns`, of `kinds`)
    // as SQL orders them (`expressions`, those of sqlOrder()): Unsafe as soon
    // as a value could take another place in that order than
    // CompareLinkValues() gives its converted value (placedAlike()); else
    // InOrder when each row's values compare at or after the previous
    // row's, as SQL compares them: Null first, then numbers, then texts in
    // Japanese order. NotInOrder when one does not or holds a blob; Unknown
    // when the pass cannot run.
    Survey survey(const QString& from, const QStringList& expressions, const QStringList& columns,
                  const QList<ColumnKind>& kinds) const
    {
        if (expressions.isEmpty()) return Survey::Unknown;
        // The order values, then the stored values they come from.
        const Statement statement = prepare(QStringLiteral("select %1, %2 from %3 order by rowid")
                                                .arg(expressions.join(QStringLiteral(", ")), columns.join(QStringLiteral(", ")), from));
        if (!statement) return Survey::Unknown;
        sqlite3_stmt* const prepared = statement.get();
        struct Value {
            int rank = 0;  // 0 Null, 1 number, 2 text
            bool whole = false;
            qint64 integer = 0;
            double real = 0;
            std::string text;
        };
        const int n = int(expressions.size());
        std::vector<Value> previous(n), current(n);
        const auto compare = [](const Value& a, const Value& b) {
            if (a.rank != b.rank) return a.rank < b.rank ? -1 : 1;
            if (a.rank == 1) {
                if (a.whole && b.whole) return a.integer < b.integer ? -1 : (a.integer > b.integer ? 1 : 0);
                // Exactly, as SQLite compares a whole number with a real
                // (past 2^53 a whole number need not be a double).
                const long double x = a.whole ? static_cast<long double>(a.integer) : a.real;
                const long double y = b.whole ? static_cast<long double>(b.integer) : b.real;
                return x < y ? -1 : (x > y ? 1 : 0);
            }
            if (a.rank == 2 && a.text != b.text) {
                japanese_order_detail::Buffer x, y;
                return JapaneseCompare(japanese_order_detail::decoded(a.text.data(), int(a.text.size()), x),
                                       japanese_order_detail::decoded(b.text.data(), int(b.text.size()), y));
            }
            return 0;
        };
        bool first = true, inOrder = true;
        int step = SQLITE_ROW;
        while ((step = sqlite3_step(prepared)) == SQLITE_ROW) {
            for (int i = 0; i < n; ++i)
                if (!placedAlike(prepared, i, n + i, kinds[i])) return Survey::Unsafe;
            for (int i = 0; i < n && inOrder; ++i) {
                Value& v = current[i];
                switch (sqlite3_column_type(prepared, i)) {
                case SQLITE_NULL:
                    v.rank = 0;
                    break;
                case SQLITE_INTEGER:
                    v.rank = 1, v.whole = true, v.integer = sqlite3_column_int64(prepared, i);
                    v.real = double(v.integer);
                    break;
                case SQLITE_FLOAT:
                    v.rank = 1, v.whole = false, v.real = sqlite3_column_double(prepared, i);
                    break;
                case SQLITE_TEXT:
                    v.rank = 2;
                    v.text.assign(reinterpret_cast<const char*>(sqlite3_column_text(prepared, i)),
                                  size_t(sqlite3_column_bytes(prepared, i)));
                    break;
                default:
                    inOrder = false;
                }
            }
            if (inOrder && !first) {
                int c = 0;
                for (int i = 0; i < n && c == 0; ++i) c = compare(current[i], previous[i]);
                inOrder = c >= 0;
            }
            first = false;
            std::swap(previous, current);
        }
        if (step != SQLITE_DONE) return Survey::Unknown;
        return inOrder ? Survey::InOrder : Survey::NotInOrder;
    }

    // False when the stored value at column `stored` could take another
    // place in SQL's order (its order value at column `order`, from
    // sqlOrder()) than CompareLinkValues() gives its converted value. Values
    // that do not convert at all fail the read anyway.
    static bool placedAlike(sqlite3_stmt* row, int order, int stored, ColumnKind kind)
    {
        const int type = sqlite3_column_type(row, stored);
        const bool number = type == SQLITE_INTEGER || type == SQLITE_FLOAT || type == SQLITE_NULL;
        const auto text = [&] {
            return QByteArrayView(sqlite3_column_text(row, stored), sqlite3_column_bytes(row, stored));
        };
        switch (kind) {
        case ColumnKind::Any:  // SQLite's own order of Null, numbers, texts and blobs is ours
            // Text that SQLite's own reading changes (see readsAsStored())
            // comes back otherwise than the collation decodes it.
            return type != SQLITE_TEXT || readsAsStored(text());
        case ColumnKind::Integer: {
            // A whole number in text: SQL's cast skips only ASCII blanks
            // before it, the conversion trims every blank (an ideographic
            // one too); a text of ASCII alone that converts casts alike.
            if (type != SQLITE_TEXT) return true;
            const QByteArrayView t = text();
            return std::all_of(t.begin(), t.end(), [](char c) { return uchar(c) < 0x80; });
        }
        case ColumnKind::Text:
            return type == SQLITE_NULL || (type == SQLITE_TEXT && readsAsStored(text()));
        case ColumnKind::Real:
        case ColumnKind::Bool:
            return number;
        case ColumnKind::Money: {
            // Exact while every real holds at most four decimals: x * 10000
            // equals round(x * 10000) as SQLite rounds it.
            if (!number) return false;
            if (type != SQLITE_FLOAT) return true;
            const double r = sqlite3_column_double(row, stored) * 10000;
            constexpr double kLargest = double(std::numeric_limits<qint64>::max()) - 1;
            if (!std::isfinite(r)) return false;
            if (r >= 0 && r < kLargest) return r == double(qint64(r + 0.5));
            if (r < 0 && -r < kLargest) return r == -double(qint64(-r + 0.5));
            return true;  // as large as that, a double is whole
        }
        case ColumnKind::Date: {
            // A text in the full form orders as its date and time do: a date
            // (10 characters), with hours and minutes (16), seconds (19) and
            // a fraction of one to three digits (21 to 23, '.' at the 20th).
            if (type != SQLITE_TEXT) return true;
            if (sqlite3_column_type(row, order) == SQLITE_NULL) return false;  // no date to SQL
            // Characters counted as SQLite's length() and substr() count them.
            const unsigned char* z = sqlite3_column_text(row, stored);
            const unsigned char* end = z + sqlite3_column_bytes(row, stored);
            int characters = 0;
            unsigned char twentieth = 0;
            while (z < end && *z) {
                if (++characters == 20) twentieth = *z;
                if (*z++ >= 0xC0)
                    while (z < end && (*z & 0xC0) == 0x80) ++z;
            }
            return characters == 10 || characters == 16 || characters == 19 ||
                   (characters >= 21 && characters <= 23 && twentieth == '.');
        }
        case ColumnKind::Binary:
            return type == SQLITE_BLOB || type == SQLITE_NULL;
        }
        return false;
    }

    // The column's SQL order expression: SQLite's own order of Null,
    // numbers, texts and blobs, texts in Japanese order, dates by their day.
    static QString sqlOrder(const QString& c, ColumnKind kind)
    {
        switch (kind) {
        case ColumnKind::Any:
        case ColumnKind::Text:
            return c + QStringLiteral(" collate ") + QLatin1String(kJapaneseCollation);
        case ColumnKind::Integer:
            return QStringLiteral("cast(%1 as integer)").arg(c);
        case ColumnKind::Real:
            return QStringLiteral("cast(%1 as real)").arg(c);
        case ColumnKind::Bool:
            return QStringLiteral("(%1 <> 0)").arg(c);
        case ColumnKind::Money:
        case ColumnKind::Binary:
            return c;
        case ColumnKind::Date:
            // A text without '/' is read as it is: replace() would copy each.
            return QStringLiteral("julianday(case when instr(%1, '/') then replace(%1, '/', '-') else %1 end)").arg(c);
        }
        return c;
    }

    static bool walWithoutLog(const QString& path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) return false;
        const QByteArray header = f.read(20);
        return header.size() == 20 && header[18] == 2 && header[19] == 2 && !QFileInfo::exists(path + QStringLiteral("-wal"));
    }

    // A table's columns in the file's order; nothing (failure set) when it
    // has none or they cannot be read.
    std::optional<Columns> columnInfo(const QString& table, LinkFailure& failure)
    {
        QSqlQuery q(db_);
        q.setForwardOnly(true);
        if (!q.exec(QStringLiteral("pragma table_info(%1)").arg(Database::quoteIdent(table)))) {
            fail(failure, SqlFailure(q.lastError()));
            return std::nullopt;
        }
        Columns out;
        while (q.next()) {
            const QString column = q.value(1).toString();
            out.columns << column;
            out.select << Database::quoteIdent(column);
            out.kinds << ColumnKindOf(q.value(2).toString());
        }
        if (out.columns.isEmpty()) {
            failure = {LinkFile::Error::NoTable, linkmsg::noTable(table)};
            return std::nullopt;
        }
        return out;
    }

    bool fail(LinkFailure& failure, const Failure& why)
    {
        failure = {LinkFile::Error::Unreadable, linkmsg::unreadable(path_, why)};
        return false;
    }

    // A failure SQLite's connection holds.
    Read failed(LinkFailure& failure)
    {
        fail(failure, Failure::sqlite(handle()));
        return Read::Failed;
    }

    QString path_;
    QString connection_;
    QSqlDatabase db_;
    QStringList tables_;
};

}  // namespace

std::unique_ptr<LinkFileBackend> openSqliteLinkFile(const QString& path, LinkFailure& failure)
{
    auto sqlite = std::make_unique<SqliteLinkFile>();
    if (!sqlite->open(path, failure)) return nullptr;
    return sqlite;
}
