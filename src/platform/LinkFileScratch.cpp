// Ordered reads of a Jet file without holding its table: the rows the reader
// process hands over go into a scratch SQLite database on disk (a private
// temporary file that SQLite unlinks as soon as it makes it, so nothing is
// left behind even by a program that is killed), and come back out of it in
// the order rows() gives, one at a time.
// Memory stays at SQLite's page cache and sorter, whatever the table's size.
//
// The order is rows()'s (CompareLinkValues in LinkFile.cpp), kept exactly: each
// order column becomes two keys, its rank (Null, numbers, dates, texts,
// bytes) and its value in a form whose SQL order within the rank is that of
// CompareLinkValues, then the row's place in the file breaks ties. A value with
// no such form (a number that is not a number, text that is not valid
// UTF-16, money beside other numbers in one column, a kind a Jet file does
// not give) ends the read before any row is handed over: rows() then orders
// the table in memory, as it does when the temporary file cannot be made or
// written (no room).

#include "platform/JapaneseOrder.h"
#include "platform/JetReaderProtocol.h"
#include "platform/LinkFileBackend.h"

#include <QDataStream>
#include <QDateTime>
#include <QLoggingCategory>
#include <cmath>
#include <sqlite3.h>

Q_DECLARE_LOGGING_CATEGORY(lcLinkFile)

namespace {

// How much of the scratch SQLite keeps in memory (page cache, and the
// sorter's runs before they go to disk).
constexpr int kCacheKilobytes = 8 * 1024;

class OrderedScratch {
public:
    enum class Outcome { Done, Stopped, Failed };

    explicit OrderedScratch(const QList<qsizetype>& order) : order_(order), money_(order.size()), otherNumbers_(order.size()) {}
    ~OrderedScratch()
    {
        sqlite3_finalize(insert_);
        sqlite3_close_v2(db_);
    }
    OrderedScratch(const OrderedScratch&) = delete;
    OrderedScratch& operator=(const OrderedScratch&) = delete;

    bool open()
    {
        // An empty name: a temporary database of this connection alone, its
        // file deleted as soon as SQLite creates it.
        if (sqlite3_open_v2("", &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
            return failed();
        QString columns, orderBy;
        for (qsizetype i = 0; i < order_.size(); ++i) {
            columns += QStringLiteral("r%1 integer, k%1, ").arg(i);
            orderBy += QStringLiteral("r%1, k%1 collate %2, ").arg(i).arg(QLatin1String(kJapaneseCollation));
        }
        select_ = QStringLiteral("select v from t order by %1rowid").arg(orderBy).toUtf8();
        QString marks;
        for (qsizetype i = 0; i <= 2 * order_.size(); ++i) marks += i == 0 ? QStringLiteral("?") : QStringLiteral(", ?");
        const QByteArray setup = QStringLiteral("pragma journal_mode = off; pragma synchronous = off; "
                                                "pragma temp_store = file; pragma cache_size = -%1; "
                                                "create table t (%2v blob); begin;")
                                     .arg(kCacheKilobytes)
                                     .arg(columns)
                                     .toUtf8();
        const QByteArray insert = QStringLiteral("insert into t values (%1)").arg(marks).toUtf8();
        return (sqlite3_create_collation_v2(db_, kJapaneseCollation, SQLITE_UTF8, nullptr,
                                            &japanese_order_detail::sqliteCompare, nullptr) == SQLITE_OK &&
                sqlite3_exec(db_, setup.constData(), nullptr, nullptr, nullptr) == SQLITE_OK &&
                sqlite3_prepare_v2(db_, insert.constData(), int(insert.size()), &insert_, nullptr) == SQLITE_OK) ||
               failed();
    }

    // Keeps a row after those kept before. False when it cannot be kept:
    // a value that cannot be ordered or kept exactly (outOfOrder()), or the
    // scratch failed (error()).
    bool add(const QVariantList& values)
    {
        sqlite3_reset(insert_);
        sqlite3_clear_bindings(insert_);
        for (qsizetype i = 0; i < order_.size(); ++i)
            if (!bindKey(2 * int(i) + 1, i, values.value(order_[i]))) return false;
        row_.clear();
        QDataStream out(&row_, QIODevice::WriteOnly);
        out.setVersion(jetproto::kStreamVersion);
        for (const QVariant& v : values)
            if (!writeLinkValue(out, v)) return outOfOrder_ = true, false;
        sqlite3_bind_blob(insert_, 2 * int(order_.size()) + 1, row_.constData(), int(row_.size()), SQLITE_STATIC);
        return sqlite3_step(insert_) == SQLITE_DONE || failed();
    }

    // Every row kept, in order, to `row` (false stops).
    Outcome forEach(const std::function<bool(QVariantList&&)>& row)
    {
        sqlite3_stmt* prepared = nullptr;
        if (sqlite3_exec(db_, "commit", nullptr, nullptr, nullptr) != SQLITE_OK ||
            sqlite3_prepare_v2(db_, select_.constData(), int(select_.size()), &prepared, nullptr) != SQLITE_OK) {
            sqlite3_finalize(prepared);
            failed();
            return Outcome::Failed;
        }
        const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(prepared, &sqlite3_finalize);
        int step = SQLITE_ROW;
        while ((step = sqlite3_step(prepared)) == SQLITE_ROW) {
            const QByteArray stored = QByteArray::fromRawData(static_cast<const char*>(sqlite3_column_blob(prepared, 0)),
                                                              sqlite3_column_bytes(prepared, 0));
            QDataStream in(stored);
            in.setVersion(jetproto::kStreamVersion);
            QVariantList values;
            while (!in.atEnd()) {
                auto v = readLinkValue(in);
                if (!v || in.status() != QDataStream::Ok) {
                    error_ = QStringLiteral("書いた行を読み戻せません");
                    return Outcome::Failed;
                }
                values.append(std::move(*v));
            }
            if (!row(std::move(values))) return Outcome::Stopped;
        }
        if (step != SQLITE_DONE) {
            failed();
            return Outcome::Failed;
        }
        return Outcome::Done;
    }

    bool outOfOrder() const { return outOfOrder_; }
    QString error() const { return error_; }

private:
    // The rank and key of order column i, as CompareLinkValues orders them.
    bool bindKey(int at, qsizetype i, const QVariant& v)
    {
        int rank = 0;
        int bound = SQLITE_OK;
        const int type = v.metaType().id();
        if (!v.isValid()) {
            rank = 0;  // Null: no key
        } else if (type == QMetaType::Bool || type == QMetaType::LongLong) {
            rank = 1, otherNumbers_[i] = true;
            bound = sqlite3_bind_int64(insert_, at + 1, type == QMetaType::Bool ? qint64(v.toBool()) : v.toLongLong());
        } else if (type == QMetaType::Double) {
            // SQLite compares whole numbers and reals exactly, as CompareLinkValues does.
            const double d = v.toDouble();
            if (std::isnan(d)) return outOfOrder_ = true, false;
            rank = 1, otherNumbers_[i] = true;
            bound = sqlite3_bind_double(insert_, at + 1, d);
        } else if (v.metaType() == QMetaType::fromType<Currency>()) {
            // In ten-thousandths: exact among money, not beside other numbers.
            rank = 1, money_[i] = true;
            bound = sqlite3_bind_int64(insert_, at + 1, v.value<Currency>().raw());
        } else if (type == QMetaType::QDateTime) {
            // QDateTime orders by its instant (the last one found is kept:
            // finding it costs a time-zone look-up, and rows repeat dates).
            const QDateTime dt = v.toDateTime();
            if (!dt.isValid()) return outOfOrder_ = true, false;
            if (dt != lastDate_) lastDate_ = dt, lastInstant_ = dt.toMSecsSinceEpoch();
            rank = 2;
            bound = sqlite3_bind_int64(insert_, at + 1, lastInstant_);
        } else if (type == QMetaType::QString) {
            // Japanese order through the same collation; UTF-8 keeps valid text as it is.
            const QString s = v.toString();
            if (!s.isValidUtf16()) return outOfOrder_ = true, false;
            rank = 3;
            const QByteArray utf8 = s.toUtf8();
            bound = sqlite3_bind_text(insert_, at + 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        } else if (type == QMetaType::QByteArray) {
            // Byte by byte, then the shorter first: as QByteArray orders.
            static const char none = 0;
            const QByteArray b = v.toByteArray();
            rank = 4;
            bound = sqlite3_bind_blob(insert_, at + 1, b.isEmpty() ? &none : b.constData(), int(b.size()), SQLITE_TRANSIENT);
        } else {
            return outOfOrder_ = true, false;
        }
        if (money_[i] && otherNumbers_[i]) return outOfOrder_ = true, false;
        return (bound == SQLITE_OK && sqlite3_bind_int(insert_, at, rank) == SQLITE_OK) || failed();
    }

    bool failed()
    {
        error_ = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QStringLiteral("out of memory");
        return false;
    }

    QList<qsizetype> order_;
    QList<bool> money_, otherNumbers_;  // by order column: the kinds of numbers seen
    sqlite3* db_ = nullptr;
    sqlite3_stmt* insert_ = nullptr;
    QByteArray select_;
    QByteArray row_;
    QDateTime lastDate_;
    qint64 lastInstant_ = 0;
    bool outOfOrder_ = false;
    QString error_;
};

}  // namespace

LinkFileBackend::Read readOrderedOnDisk(LinkFileBackend& file, const QString& path, const QString& table,
                                        const QList<qsizetype>& order, const LinkFileBackend::RowHandler& row,
                                        LinkFailure& failure)
{
    using Read = LinkFileBackend::Read;
    // Until a row is handed over, a scratch that cannot be used (no room
    // for the temporary file) leaves the table to be ordered in memory.
    const auto inMemory = [&](const OrderedScratch& scratch) {
        if (scratch.outOfOrder())
            qCDebug(lcLinkFile).noquote() << path << ":" << table << "has values ordered in memory only";
        else
            qCWarning(lcLinkFile).noquote() << path << ":" << table << "ordered in memory, no temporary file:"
                                            << scratch.error();
        return Read::Unavailable;
    };
    OrderedScratch scratch(order);
    if (!scratch.open()) return inMemory(scratch);
    // The whole table first: a read that fails on the way hands nothing over.
    std::optional<QStringList> columns;
    bool kept = true;
    const Read read = file.readEach(
        table,
        [&](LinkCursor& cursor) {
            if (!columns) columns = cursor.columns();
            const auto values = cursor.row();
            return values && (kept = scratch.add(values->values()));
        },
        failure);
    if (read != Read::Done) return kept ? Read::Failed : inMemory(scratch);
    if (!columns) return Read::Done;  // no rows
    HeldCursor current(*columns);
    switch (scratch.forEach([&](QVariantList&& values) {
        current.standOn(std::move(values));
        return row(current);
    })) {
    case OrderedScratch::Outcome::Done:
        return Read::Done;
    case OrderedScratch::Outcome::Stopped:
        return Read::Stopped;
    case OrderedScratch::Outcome::Failed:
        break;
    }
    failure = {LinkFile::Error::Unreadable,
               linkmsg::unreadable(path, Failure(QStringLiteral("作業用の一時ファイルを読めません。"), scratch.error()))};
    return Read::Failed;
}
