#include "platform/LinkFile.h"

#include "platform/Database.h"
#include "platform/JapaneseOrder.h"
#include "platform/JetValue.h"
#include "platform/SqliteHandle.h"
#include "platform/LinkFileBackend.h"

#include <QAtomicInt>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <QSqlDriver>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <sqlite3.h>
#include <string>
#include <vector>

Q_LOGGING_CATEGORY(lcLinkFile, "velt.linkfile")

// ---------------------------------------------------------------------------
// Messages

namespace linkmsg {
Failure notFound(const QString& path)
{
    return Failure(QStringLiteral("「%1」が見つかりません。").arg(QFileInfo(path).fileName()), {}, FailureReason::Missing);
}
Failure notADatabase(const QString& path)
{
    return Failure(QStringLiteral("「%1」はデータベースファイルではありません。").arg(QFileInfo(path).fileName()));
}
Failure unreadable(const QString& path, const QString& detail)
{
    return Failure(QStringLiteral("「%1」を読み込めません（%2）。").arg(QFileInfo(path).fileName(), detail));
}
Failure unreadable(const QString& path, const Failure& why)
{
    Failure f = why;
    return f.prepend(QStringLiteral("「%1」を読み込めません。").arg(QFileInfo(path).fileName()));
}
Failure damaged(const QString& path, const QString& detail, const QString& engineWords)
{
    return Failure(QStringLiteral("「%1」は壊れている可能性があるため読み込めません（%2）。").arg(QFileInfo(path).fileName(), detail),
                   engineWords, FailureReason::Damaged);
}
Failure noTable(const QString& table)
{
    return Failure(QStringLiteral("テーブル「%1」がありません。").arg(table));
}
Failure noColumn(const QString& table, const QString& column)
{
    return Failure(QStringLiteral("テーブル「%1」に列「%2」がありません。").arg(table, column));
}
Failure badValue(const QString& table, const QString& column, const QString& value)
{
    return Failure(QStringLiteral("テーブル「%1」の列「%2」の値「%3」を読み込めません。").arg(table, column, value));
}
Failure badDate(const QString& table, const QString& column, const QString& row)
{
    return Failure(QStringLiteral("テーブル「%1」の %3 行目、列「%2」の日付が範囲（100年～9999年）の外です。").arg(table, column, row));
}
}  // namespace linkmsg

namespace {

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// ---------------------------------------------------------------------------
// SQLite link files

// What a declared column type asks of its values.
using Kind = LinkFile::StoredKind;

Kind kindOf(const QString& declaredType)
{
    const QString t = declaredType.toUpper();
    const auto has = [&](const char* word) { return t.contains(QLatin1String(word)); };
    if (t.isEmpty()) return Kind::Any;
    if (has("CURRENCY") || has("MONEY")) return Kind::Money;
    if (has("BOOL") || has("YESNO") || has("LOGICAL") || t == QLatin1String("BIT")) return Kind::YesNo;
    if (has("DATE") || has("TIME")) return Kind::DateTime;
    if (has("CHAR") || has("TEXT") || has("MEMO") || has("CLOB") || has("STRING")) return Kind::Text;
    if (has("BLOB") || has("BINARY") || has("OLE")) return Kind::Binary;
    if (has("INT") || has("BYTE") || has("LONG") || has("COUNTER")) return Kind::Integer;
    if (has("REAL") || has("FLOA") || has("DOUB") || has("SINGLE") || has("NUMERIC") || has("DECIMAL"))
        return Kind::Real;
    return Kind::Any;
}

// The stored value (as Qt's SQLite driver gives it) in the kind of its column.
std::optional<QVariant> convert(const QVariant& v, Kind kind)
{
    if (v.isNull()) return QVariant();
    const int type = v.metaType().id();
    const bool text = type == QMetaType::QString;
    switch (kind) {
    case Kind::Any:
        if (type == QMetaType::Int) return QVariant(v.toLongLong());
        return v;
    case Kind::Text:
        return QVariant(v.toString());
    case Kind::Integer: {
        const auto n = JetValue::wholeNumber(v);
        return n ? std::optional<QVariant>(QVariant(*n)) : std::nullopt;
    }
    case Kind::Real: {
        bool ok = false;
        const double d = text ? v.toString().trimmed().toDouble(&ok) : v.toDouble(&ok);
        return ok ? std::optional<QVariant>(QVariant(d)) : std::nullopt;
    }
    case Kind::Money: {
        const auto c = JetValue::currency(v);
        return c ? std::optional<QVariant>(QVariant::fromValue(*c)) : std::nullopt;
    }
    case Kind::YesNo: {
        const auto yes = JetValue::yesNo(v);
        return yes ? std::optional<QVariant>(QVariant(*yes)) : std::nullopt;
    }
    case Kind::DateTime:
        if (!text) return std::nullopt;
        return JetValue::dateTime(v.toString());
    case Kind::Binary:
        return QVariant(v.toByteArray());
    }
    return std::nullopt;
}

QString quoteIdent(const QString& name)
{
    QString q = name;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

class SqliteLinkFile final : public LinkFileBackend {
    friend class ::LinkFile;

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
        registerCollation();
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
        QStringList names;
        for (const auto& c : *info) names.append(c.first);
        return names;
    }

    bool readEach(const QString& table, const std::function<void(const QStringList&)>& header,
                  const std::function<bool(QVariantList&&)>& row, LinkFailure& failure) override
    {
        const auto info = columnInfo(table, failure);
        if (!info) return false;
        QString select;
        QStringList columns;
        QList<Kind> kinds;
        for (const auto& c : *info) {
            select += (select.isEmpty() ? QString() : QStringLiteral(", ")) + quoteIdent(c.first);
            columns.append(c.first);
            kinds.append(c.second);
        }
        QSqlQuery q(db_);
        q.setForwardOnly(true);
        if (!q.exec(QStringLiteral("select %1 from %2").arg(select, quoteIdent(table))))
            return fail(failure, SqlFailure(q.lastError()));
        header(columns);
        while (q.next()) {
            QVariantList values;
            if (!convertRow(q, table, columns, kinds, values, failure)) return false;
            if (!row(std::move(values))) return false;
        }
        if (q.lastError().isValid()) return fail(failure, SqlFailure(q.lastError()));
        return true;
    }

    enum class Ordered { Done, Stopped, Failed, NotInSql };

    // Every row of the table ordered by the columns at `order` as rows()
    // orders them (then by the file's order), each handed to `row`
    // (false stops). NotInSql, before any row is handed over, when a value of
    // an order column could take another place in SQL's order than in ours.
    Ordered readOrdered(const QString& table, const QList<qsizetype>& order, QStringList& columns,
                        const std::function<int(const LinkFile::StoredRow&)>& row, LinkFailure& failure)
    {
        const auto info = columnInfo(table, failure);
        if (!info) return Ordered::Failed;
        QStringList select, orderBy, orderColumns;
        QList<Kind> kinds, orderKinds;
        for (const auto& c : *info) {
            select << quoteIdent(c.first);
            columns << c.first;
            kinds << c.second;
        }
        for (qsizetype i : order) {
            orderBy << sqlOrder(select[i], kinds[i]);
            orderColumns << select[i];
            orderKinds << kinds[i];
        }
        const QString from = quoteIdent(table);
        // Rows that order alike keep the file's order (a table without rowid
        // has no such order here). Read through SQLite directly: this is the
        // long read of a conversion.
        sqlite3* db = handle();
        // One pass finds both whether a value could be placed otherwise and
        // whether the table is stored in that order already (rows written
        // as they are numbered, as a file usually holds them): then it is
        // read as it lies, as sorting it would only cost.
        switch (survey(db, from, orderBy, orderColumns, orderKinds)) {
        case Survey::Unsafe:
        case Survey::Unknown:
            return Ordered::NotInSql;
        case Survey::InOrder:
            orderBy = QStringList{QStringLiteral("rowid")};
            break;
        case Survey::NotInOrder:
            orderBy << QStringLiteral("rowid");
            break;
        }
        const QByteArray sql = QStringLiteral("select %1 from %2 order by %3")
                                   .arg(select.join(QStringLiteral(", ")), from, orderBy.join(QStringLiteral(", ")))
                                   .toUtf8();
        sqlite3_stmt* prepared = nullptr;
        if (!db || sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &prepared, nullptr) != SQLITE_OK) {
            sqlite3_finalize(prepared);
            return Ordered::NotInSql;
        }
        const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(prepared, &sqlite3_finalize);
        const LinkFile::StoredRow current{prepared, kinds, columns};
        int step = SQLITE_ROW;
        while ((step = sqlite3_step(prepared)) == SQLITE_ROW) {
            const int next = row(current);
            if (next == LinkFile::kStop) return Ordered::Stopped;
            if (next >= 0) {
                failure = {LinkFile::Error::BadValue,
                           linkmsg::badValue(table, columns[next], storedValue(prepared, next).toString())};
                return Ordered::Failed;
            }
        }
        if (step != SQLITE_DONE) {
            fail(failure, Failure::sqlite(sqlite3_extended_errcode(db), QString::fromUtf8(sqlite3_errmsg(db))));
            return Ordered::Failed;
        }
        return Ordered::Done;
    }

private:
    enum class Survey { InOrder, NotInOrder, Unsafe, Unknown };
    // The rows in rowid order, their order columns (`columns`, of `kinds`)
    // as SQL orders them (`expressions`, those of sqlOrder()): Unsafe as soon
    // as a value could take another place in that order than
    // compareValues() gives its converted value (placedAlike()); else
    // InOrder when each row's values compare at or after the previous
    // row's, as SQL compares them: Null first, then numbers, then texts in
    // Japanese order. NotInOrder when one does not or holds a blob; Unknown
    // when the pass cannot run.
    static Survey survey(sqlite3* db, const QString& from, const QStringList& expressions, const QStringList& columns,
                         const QList<Kind>& kinds)
    {
        if (!db || expressions.isEmpty()) return Survey::Unknown;
        // The order values, then the stored values they come from.
        const QByteArray sql = QStringLiteral("select %1, %2 from %3 order by rowid")
                                   .arg(expressions.join(QStringLiteral(", ")), columns.join(QStringLiteral(", ")), from)
                                   .toUtf8();
        sqlite3_stmt* prepared = nullptr;
        if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &prepared, nullptr) != SQLITE_OK) {
            sqlite3_finalize(prepared);
            return Survey::Unknown;
        }
        const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(prepared, &sqlite3_finalize);
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
    // sqlOrder()) than compareValues() gives its converted value. Values
    // that do not convert at all fail the read anyway.
    static bool placedAlike(sqlite3_stmt* row, int order, int stored, Kind kind)
    {
        const int type = sqlite3_column_type(row, stored);
        const bool number = type == SQLITE_INTEGER || type == SQLITE_FLOAT || type == SQLITE_NULL;
        const auto text = [&] {
            return QByteArrayView(sqlite3_column_text(row, stored), sqlite3_column_bytes(row, stored));
        };
        switch (kind) {
        case Kind::Any:  // SQLite's own order of Null, numbers, texts and blobs is ours
            // Text that SQLite's own reading changes (see readsAsStored())
            // comes back otherwise than the collation decodes it.
            return type != SQLITE_TEXT || LinkFile::readsAsStored(text());
        case Kind::Integer: {
            // A whole number in text: SQL's cast skips only ASCII blanks
            // before it, the conversion trims every blank (an ideographic
            // one too); a text of ASCII alone that converts casts alike.
            if (type != SQLITE_TEXT) return true;
            const QByteArrayView t = text();
            return std::all_of(t.begin(), t.end(), [](char c) { return uchar(c) < 0x80; });
        }
        case Kind::Text:
            return type == SQLITE_NULL || (type == SQLITE_TEXT && LinkFile::readsAsStored(text()));
        case Kind::Real:
        case Kind::YesNo:
            return number;
        case Kind::Money: {
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
        case Kind::DateTime: {
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
        case Kind::Binary:
            return type == SQLITE_BLOB || type == SQLITE_NULL;
        }
        return false;
    }

    // The query's current row, its values in the kinds of their columns.
    static bool convertRow(const QSqlQuery& q, const QString& table, const QStringList& columns, const QList<Kind>& kinds,
                           QVariantList& values, LinkFailure& failure)
    {
        values.reserve(columns.size());
        for (qsizetype i = 0; i < columns.size(); ++i) {
            const QVariant stored = q.value(int(i));
            const auto v = convert(stored, kinds[i]);
            if (!v) {
                failure = {LinkFile::Error::BadValue, linkmsg::badValue(table, columns[i], stored.toString())};
                return false;
            }
            values.append(*v);
        }
        return true;
    }

    // The column's SQL order expression: SQLite's own order of Null,
    // numbers, texts and blobs, texts in Japanese order, dates by their day.
    static QString sqlOrder(const QString& c, Kind kind)
    {
        switch (kind) {
        case Kind::Any:
        case Kind::Text:
            return c + QStringLiteral(" collate ") + QLatin1String(kJapaneseCollation);
        case Kind::Integer:
            return QStringLiteral("cast(%1 as integer)").arg(c);
        case Kind::Real:
            return QStringLiteral("cast(%1 as real)").arg(c);
        case Kind::YesNo:
            return QStringLiteral("(%1 <> 0)").arg(c);
        case Kind::Money:
        case Kind::Binary:
            return c;
        case Kind::DateTime:
            // A text without '/' is read as it is: replace() would copy each.
            return QStringLiteral("julianday(case when instr(%1, '/') then replace(%1, '/', '-') else %1 end)").arg(c);
        }
        return c;
    }

    void registerCollation()
    {
        // Texts in SQL order as compareValues() orders them: in Japanese order.
        RegisterJapaneseCollation(db_);
    }

    // The SQLite connection under Qt's driver (the system's SQLite library).
    sqlite3* handle() const { return SqliteHandle(db_); }

    // A stored value as Qt's SQLite driver gives it.
    static QVariant storedValue(sqlite3_stmt* statement, int i)
    {
        switch (sqlite3_column_type(statement, i)) {
        case SQLITE_INTEGER:
            return QVariant(qlonglong(sqlite3_column_int64(statement, i)));
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(statement, i));
        case SQLITE_TEXT:
            return QVariant(LinkFile::storedText(statement, i));
        case SQLITE_BLOB:
            return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(statement, i)),
                                       sqlite3_column_bytes(statement, i)));
        default:
            return QVariant();
        }
    }

    static bool walWithoutLog(const QString& path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) return false;
        const QByteArray header = f.read(20);
        return header.size() == 20 && header[18] == 2 && header[19] == 2 && !QFileInfo::exists(path + QStringLiteral("-wal"));
    }

    std::optional<QList<std::pair<QString, Kind>>> columnInfo(const QString& table, LinkFailure& failure)
    {
        QSqlQuery q(db_);
        q.setForwardOnly(true);
        if (!q.exec(QStringLiteral("pragma table_info(%1)").arg(quoteIdent(table)))) {
            fail(failure, SqlFailure(q.lastError()));
            return std::nullopt;
        }
        QList<std::pair<QString, Kind>> out;
        while (q.next()) out.append({q.value(1).toString(), kindOf(q.value(2).toString())});
        if (out.isEmpty()) {
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

    QString path_;
    QString connection_;
    QSqlDatabase db_;
    QStringList tables_;
};

// ---------------------------------------------------------------------------
// Ordering

int rank(const QVariant& v)
{
    if (v.isNull()) return 0;
    switch (v.metaType().id()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return 1;
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        return 2;
    case QMetaType::QString:
        return 3;
    case QMetaType::QByteArray:
        return 4;
    default:
        return v.metaType() == QMetaType::fromType<Currency>() ? 1 : 5;
    }
}

// Whole numbers and Currency compared exactly in ten-thousandths.
std::optional<__int128> scaled(const QVariant& v)
{
    if (v.metaType() == QMetaType::fromType<Currency>()) return v.value<Currency>().raw();
    if (v.metaType().id() == QMetaType::Bool) return __int128(v.toBool() ? 1 : 0) * Currency::kScale;
    if (dbv::isIntegral(v)) return __int128(v.toLongLong()) * Currency::kScale;
    return std::nullopt;
}

long double asLongDouble(const QVariant& v)
{
    if (v.metaType() == QMetaType::fromType<Currency>())
        return static_cast<long double>(v.value<Currency>().raw()) / Currency::kScale;
    if (dbv::isIntegral(v)) return static_cast<long double>(v.toLongLong());
    return v.toDouble();
}

QDateTime asDateTime(const QVariant& v)
{
    return v.metaType().id() == QMetaType::QDate ? v.toDate().startOfDay() : v.toDateTime();
}

template <typename T>
int threeWay(const T& a, const T& b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

int compareValues(const QVariant& a, const QVariant& b)
{
    const int ra = rank(a), rb = rank(b);
    if (ra != rb) return ra < rb ? -1 : 1;
    switch (ra) {
    case 0:
        return 0;
    case 1: {
        const auto sa = scaled(a), sb = scaled(b);
        if (sa && sb) return threeWay(*sa, *sb);
        return threeWay(asLongDouble(a), asLongDouble(b));
    }
    case 2:
        return threeWay(asDateTime(a), asDateTime(b));
    case 3:
        return JapaneseCompare(a.toString(), b.toString());
    case 4:
        return threeWay(a.toByteArray(), b.toByteArray());
    default:
        return threeWay(a.toString(), b.toString());
    }
}

}  // namespace

// ---------------------------------------------------------------------------
// LinkRow, LinkTable

qsizetype LinkRow::Header::indexOf(const QString& name) const
{
    auto it = byName.constFind(name);
    if (it == byName.constEnd()) it = byName.constFind(name.toCaseFolded());
    return it == byName.constEnd() ? -1 : *it;
}

bool LinkRow::has(const QString& column) const
{
    return header_ && header_->indexOf(column) >= 0;
}

QVariant LinkRow::value(const QString& column) const
{
    return header_ ? value(header_->indexOf(column)) : QVariant();
}

const QStringList& LinkRow::columns() const
{
    static const QStringList none;
    return header_ ? header_->columns : none;
}

bool LinkTable::hasColumn(const QString& column) const
{
    return std::any_of(columns.cbegin(), columns.cend(), [&](const QString& c) { return sameName(c, column); });
}

// ---------------------------------------------------------------------------
// LinkFile

LinkFile::LinkFile() = default;

LinkFile::~LinkFile() = default;

LinkFile::Format LinkFile::detect(const QString& path)
{
    QFile f(path);
    if (!QFileInfo(path).isFile() || !f.open(QIODevice::ReadOnly)) return Format::None;
    const QByteArray head = f.read(32);
    if (head.startsWith(QByteArrayLiteral("SQLite format 3\0"))) return Format::SQLite;
    // The version byte at 0x14: 0 for Jet 3, 1 for Jet 4.
    if (head.size() >= 21 && head.mid(4, 15) == QByteArrayLiteral("Standard Jet DB"))
        return head[20] == 0 ? Format::Jet3 : Format::Jet4;
    return Format::None;
}

bool LinkFile::fail(Error error, const Failure& failure)
{
    error_ = error;
    failure_ = failure;
    qCWarning(lcLinkFile).noquote() << path_ << ":" << failure;
    return false;
}

bool LinkFile::open(const QString& path)
{
    close();
    path_ = path;
    error_ = Error::None;
    failure_ = {};
    if (!QFileInfo(path).isFile()) return fail(Error::NotFound, linkmsg::notFound(path));
    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly))
        return fail(Error::Unreadable,
                    linkmsg::unreadable(path, Failure(QStringLiteral("ファイルを開けません。読み取りの権限を確かめてください。"),
                                                      probe.errorString())));
    probe.close();

    const Format announced = detect(path);
    LinkFailure failure;
    switch (announced) {
    case Format::None:
        return fail(Error::NotADatabase, linkmsg::notADatabase(path));
    case Format::SQLite: {
        auto sqlite = std::make_unique<SqliteLinkFile>();
        if (!sqlite->open(path, failure)) return fail(failure.error, failure.failure);
        backend_ = std::move(sqlite);
        format_ = Format::SQLite;
        return true;
    }
    case Format::Jet3:
    case Format::Jet4: {
        Format format = announced;
        backend_ = openJetLinkFile(path, limits_, format, failure);
        if (!backend_) return fail(failure.error, failure.failure);
        format_ = format;
        return true;
    }
    }
    return false;
}

void LinkFile::close()
{
    backend_.reset();
    format_ = Format::None;
}

QStringList LinkFile::tables() const
{
    return backend_ ? backend_->tables() : QStringList();
}

QString LinkFile::resolveTable(const QString& table) const
{
    for (const QString& t : tables())
        if (sameName(t, table)) return t;
    return {};
}

bool LinkFile::hasTable(const QString& table) const
{
    return !resolveTable(table).isEmpty();
}

std::optional<QStringList> LinkFile::columns(const QString& table)
{
    if (!backend_) {
        // A failed open keeps its own message.
        if (error_ == Error::None) fail(Error::Unreadable, linkmsg::unreadable(path_, QStringLiteral("開かれていません")));
        return std::nullopt;
    }
    const QString name = resolveTable(table);
    if (name.isEmpty()) {
        fail(Error::NoTable, linkmsg::noTable(table));
        return std::nullopt;
    }
    LinkFailure failure;
    auto result = backend_->columns(name, failure);
    if (!result) fail(failure.error, failure.failure);
    return result;
}

std::optional<std::pair<QString, QList<qsizetype>>> LinkFile::orderColumns(const QString& table,
                                                                         const QStringList& orderBy)
{
    const auto cols = columns(table);
    if (!cols) return std::nullopt;
    const QString name = resolveTable(table);
    // Order columns are checked before anything is read.
    QList<qsizetype> order;
    for (const QString& column : orderBy) {
        const auto it = std::find_if(cols->cbegin(), cols->cend(), [&](const QString& c) { return sameName(c, column); });
        if (it == cols->cend()) {
            fail(Error::NoColumn, linkmsg::noColumn(name, column));
            return std::nullopt;
        }
        order.append(it - cols->cbegin());
    }
    return std::pair{name, order};
}

std::optional<LinkTable> LinkFile::rows(const QString& table, const QStringList& orderBy)
{
    const auto found = orderColumns(table, orderBy);
    if (!found) return std::nullopt;
    const auto& [name, order] = *found;

    QStringList columnNames;
    QList<QVariantList> values;
    LinkFailure failure;
    if (!backend_->read(name, columnNames, values, failure)) {
        fail(failure.error, failure.failure);
        return std::nullopt;
    }

    if (!order.isEmpty()) {
        std::stable_sort(values.begin(), values.end(), [&](const QVariantList& a, const QVariantList& b) {
            for (qsizetype i : order) {
                const int c = compareValues(a.value(i), b.value(i));
                if (c != 0) return c < 0;
            }
            return false;
        });
    }

    const auto names = header(columnNames);
    LinkTable out;
    out.name = name;
    out.columns = columnNames;
    out.rows.reserve(values.size());
    for (QVariantList& v : values) {
        LinkRow row;
        row.header_ = names;
        row.values_ = std::move(v);
        out.rows.append(std::move(row));
    }
    return out;
}

bool LinkFile::forEachRow(const QString& table, const std::function<bool(const LinkRow&)>& row)
{
    if (!backend_) return columns(table).has_value();  // reports why
    const QString name = resolveTable(table);
    if (name.isEmpty()) return fail(Error::NoTable, linkmsg::noTable(table));
    LinkRow current;
    bool stopped = false;
    LinkFailure failure;
    const bool ok = backend_->readEach(
        name, [&](const QStringList& columnNames) { current.header_ = header(columnNames); },
        [&](QVariantList&& values) {
            current.values_ = std::move(values);
            stopped = !row(current);
            return !stopped;
        },
        failure);
    if (!ok && !stopped) fail(failure.error, failure.failure);
    return ok;
}

std::shared_ptr<const LinkRow::Header> LinkFile::header(const QStringList& columns)
{
    auto h = std::make_shared<LinkRow::Header>();
    h->columns = columns;
    for (qsizetype i = columns.size() - 1; i >= 0; --i) {  // the first of equal names wins
        h->byName.insert(columns[i], i);
        h->byName.insert(columns[i].toCaseFolded(), i);
    }
    return h;
}

bool LinkFile::forEachRow(const QString& table, const QStringList& orderBy, const std::function<bool(const LinkRow&)>& row)
{
    if (orderBy.isEmpty()) return forEachRow(table, row);
    const auto found = orderColumns(table, orderBy);
    if (!found) return false;
    if (auto* sqlite = dynamic_cast<SqliteLinkFile*>(backend_.get())) {
        QStringList columnNames;
        LinkFailure failure;
        LinkRow current;
        const auto handOver = [&](const StoredRow& stored) {
            if (!current.header_) current.header_ = header(columnNames);
            QVariantList values;
            values.reserve(stored.columns.size());
            for (int i = 0; i < int(stored.columns.size()); ++i) {
                // Text and whole numbers as their columns want them need no conversion.
                const int type = sqlite3_column_type(stored.statement, i);
                const Kind kind = stored.kinds[i];
                if ((type == SQLITE_TEXT && kind == Kind::Text) ||
                    (type == SQLITE_INTEGER && (kind == Kind::Integer || kind == Kind::Any))) {
                    values.append(SqliteLinkFile::storedValue(stored.statement, i));
                    continue;
                }
                auto v = linkValue(stored.statement, i, kind);
                if (!v) return i;
                values.append(std::move(*v));
            }
            current.values_ = std::move(values);
            return row(current) ? kNext : kStop;
        };
        switch (sqlite->readOrdered(found->first, found->second, columnNames, handOver, failure)) {
        case SqliteLinkFile::Ordered::Done:
            return true;
        case SqliteLinkFile::Ordered::Stopped:
            return false;
        case SqliteLinkFile::Ordered::Failed:
            return fail(failure.error, failure.failure);
        case SqliteLinkFile::Ordered::NotInSql:
            qCDebug(lcLinkFile).noquote() << path_ << ":" << table << "read whole to be ordered";
            break;
        }
    } else if (const auto onDisk = forEachOrderedOnDisk(found->first, found->second, row)) {
        return *onDisk;
    }
    const auto all = rows(table, orderBy);
    if (!all) return false;
    for (const LinkRow& r : all->rows)
        if (!row(r)) return false;
    return true;
}

LinkFile::StoredRead LinkFile::forEachStoredRow(const QString& table, const QStringList& orderBy,
                                                const std::function<int(const StoredRow&)>& row)
{
    auto* sqlite = dynamic_cast<SqliteLinkFile*>(backend_.get());
    if (!sqlite || orderBy.isEmpty()) return StoredRead::Unavailable;
    const auto found = orderColumns(table, orderBy);
    if (!found) return StoredRead::Failed;
    QStringList columnNames;
    LinkFailure failure;
    switch (sqlite->readOrdered(found->first, found->second, columnNames, row, failure)) {
    case SqliteLinkFile::Ordered::Done:
        return StoredRead::Done;
    case SqliteLinkFile::Ordered::Stopped:
        return StoredRead::Failed;
    case SqliteLinkFile::Ordered::Failed:
        fail(failure.error, failure.failure);
        return StoredRead::Failed;
    case SqliteLinkFile::Ordered::NotInSql:
        break;
    }
    return StoredRead::Unavailable;
}

QString LinkFile::storedText(sqlite3_stmt* statement, int i)
{
    // As Qt's driver reads it: SQLite's own UTF-16, so that a text that is
    // not valid UTF-8 comes back the same both ways.
    const auto* text = static_cast<const QChar*>(sqlite3_column_text16(statement, i));
    return QString(text, sqlite3_column_bytes16(statement, i) / qsizetype(sizeof(QChar)));
}

bool LinkFile::readsAsStored(QByteArrayView utf8)
{
    if (!utf8.isValidUtf8()) return false;
    // U+FFFE and U+FFFF are EF BF BE and EF BF BF.
    for (qsizetype at = utf8.indexOf("\xEF\xBF"); at >= 0 && at + 2 < utf8.size(); at = utf8.indexOf("\xEF\xBF", at + 1))
        if ((uchar(utf8[at + 2]) & 0xFE) == 0xBE) return false;
    return true;
}

std::optional<QVariant> LinkFile::linkValue(sqlite3_stmt* statement, int i, StoredKind kind)
{
    return convert(SqliteLinkFile::storedValue(statement, i), kind);
}

std::optional<Currency> LinkFile::toCurrency(const QVariant& value)
{
    return JetValue::currency(value);
}
