#pragma once
// The program's database layer: SQLite files through Qt SQL.
//
// - open() opens an *existing* file read-write; a missing file or a file that is
//   not a database fails (nothing is created).
// - Every statement takes bound values ('?' placeholders); user text never
//   becomes part of SQL.
// - Transactions through the Transaction guard: rolled back unless committed.
//   A commit into a file that was deleted, moved or replaced since it was
//   opened fails (SQLite would write into the unlinked file, lost at exit).
// - Every connection knows the collation "japanese" (platform/JapaneseOrder.h):
//   "order by ふりがな collate japanese" lists readings in Japanese order.
// - A failed statement is logged under the category velt.db and remembered in
//   lastError(), so callers can show it: SQLite's result code and words apart
//   from the program's own sentence (platform/Failure.h). The first failure
//   that says the file is damaged stays in damageMet(), for whoever asks
//   after a run of reads that skip their failures (the start-up's load).

#include "platform/Failure.h"

#include <QLoggingCategory>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <optional>
#include <utility>

Q_DECLARE_LOGGING_CATEGORY(lcDb)

// What Qt's SQLite driver reported, as a failure: SQLite's result code and
// words, the reason they name.
Failure SqlFailure(const QSqlError& error);

// Column name / value pairs in the order they are written.
using Fields = QList<std::pair<QString, QVariant>>;

class Database {
public:
    enum class Role {
        Data,  // business data: WAL journal, normal sync
        Work,  // scratch tables for the windows: no fsync
    };

    Database();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens the file at path read-write and reads its schema once. False (with
    // lastError()) when the file is missing, cannot be opened, or is not an
    // SQLite database. Opening writes nothing; configure() then sets the
    // journal of the role (a write), so a caller that opens several files can
    // check them all before it touches any.
    bool open(const QString& path, Role role = Role::Data, bool configureNow = true);
    void configure();
    void close();
    bool isOpen() const { return db_.isOpen(); }
    QString path() const { return path_; }
    QSqlDatabase connection() const { return db_; }
    const Failure& lastError() const { return lastError_; }
    // The first failure since open() whose reason is a damaged file; nothing
    // while no statement met damage.
    const std::optional<Failure>& damageMet() const { return damageMet_; }

    // Runs a statement. False on failure (logged, lastError() set).
    bool exec(const QString& sql, const QVariantList& binds = {});
    // Number of rows the last successful exec() changed.
    int changes() const { return changes_; }

    // Prepares and runs a query; nothing on failure. The query is forward-only.
    std::optional<QSqlQuery> query(const QString& sql, const QVariantList& binds = {});
    // First row of a query; nothing when the query fails or returns no row.
    // ok (when given) tells a failure apart from an empty result.
    std::optional<QSqlRecord> firstRow(const QString& sql, const QVariantList& binds = {}, bool* ok = nullptr);
    // All rows of a query (ok as above).
    QList<QSqlRecord> rows(const QString& sql, const QVariantList& binds = {}, bool* ok = nullptr);
    // First column of the first row; an invalid QVariant when there is none.
    QVariant scalar(const QString& sql, const QVariantList& binds = {}, bool* ok = nullptr);

    // Edit the first row (lowest rowid) whose key columns equal the key values,
    // writing `values`; when there is none, add a row with keys and values.
    // `newRowValues` (when given) replaces `values` for a new row, so a caller
    // can write some fields on update only and others on insert.
    bool upsert(const QString& table, const Fields& keys, const Fields& values,
                const std::optional<Fields>& newRowValues = std::nullopt);
    bool insert(const QString& table, const Fields& values);

    bool beginTransaction();
    // Commits only while the file is in place (see fileInPlace()); otherwise
    // rolls back and fails with a lastError() that names the file.
    bool commit();
    bool rollback();
    bool inTransaction() const { return inTransaction_; }

    // True while the file opened is still at path(): false, with a lastError()
    // that names the file, when it was deleted, moved or replaced since.
    bool fileInPlace();

    // Column names of a table in their order; empty when the table is missing.
    QStringList columns(const QString& table);
    bool hasTable(const QString& table);

    static QString quoteIdent(const QString& name);

private:
    bool fail(const QString& what, const QSqlError& error, const QString& sql);
    bool fail(const QString& what, Failure failure, const QString& sql);
    // What fileInPlace() tells when the file is no longer in place.
    std::optional<QString> movedAway() const;

    QSqlDatabase db_;
    QString connectionName_;
    int opens_ = 0;
    QString path_;
    Failure lastError_;
    std::optional<Failure> damageMet_;
    Role role_ = Role::Data;
    int changes_ = 0;
    bool inTransaction_ = false;
};

// Rolls back on destruction unless commit() succeeded.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    bool started() const { return started_; }
    bool commit();
    void rollback();

private:
    Database& db_;
    bool started_ = false;
    bool done_ = false;
};

// One statement prepared once and run many times with bound values ('?'
// placeholders, bound by position), forward-only. A failed prepare or run is
// logged under velt.db and kept in error(); a statement that failed to
// prepare never runs.
class Statement {
public:
    Statement(Database& db, const QString& sql);
    bool run(const QVariantList& binds);
    QSqlQuery& query() { return q_; }
    // The first column of the first row of the last run (an invalid QVariant
    // when there is none); the query is finished.
    QVariant first();
    // Why the statement failed; empty while it has not failed.
    Failure error() const;

private:
    void failed(const char* what);

    QSqlQuery q_;
    QString sql_;
    QString path_;
    Failure error_;
    bool prepared_ = false;
    bool failed_ = false;
};

// Value helpers for the stored conventions.
namespace dbv {
inline bool isNull(const QVariant& v) { return !v.isValid() || v.isNull(); }
// A value of a whole-number type (not a text or a double that holds one).
inline bool isIntegral(const QVariant& v)
{
    const int t = v.metaType().id();
    return t == QMetaType::LongLong || t == QMetaType::Int || t == QMetaType::ULongLong || t == QMetaType::UInt;
}
// yes/no columns: any non-zero value is true; NULL is false.
bool toBool(const QVariant& v);
inline QVariant fromBool(bool b) { return QVariant::fromValue<int>(b ? 1 : 0); }
// Text or NULL.
inline QVariant textOrNull(const QString& s) { return s.isEmpty() ? QVariant() : QVariant(s); }
inline QVariant null() { return QVariant(); }
// NULL and empty both give "".
inline QString text(const QVariant& v) { return isNull(v) ? QString() : v.toString(); }
// A value as text, NULL for NULL and for "".
inline QVariant textOrNull(const QVariant& v) { return textOrNull(text(v)); }
}  // namespace dbv
