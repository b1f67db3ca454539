#include "platform/Database.h"

#include "platform/JapaneseOrder.h"
#include "platform/SqliteHandle.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QUrl>

#include <sqlite3.h>

Q_LOGGING_CATEGORY(lcDb, "velt.db")

namespace {

// A statement asked of a connection that is not open: the program's own fault.
Failure notOpen()
{
    return Failure(QStringLiteral("データベースが開かれていません。"));
}

// The driver hands over the code sqlite3_step or sqlite3_prepare gave. The
// connection, when given, still holds the extended code of that failure,
// which tells more (a file moved away, a page read short).
Failure sqlFailure(const QSqlError& error, sqlite3* connection)
{
    bool ok = false;
    int code = error.nativeErrorCode().toInt(&ok);
    if (!ok) code = SQLITE_ERROR;
    if (ok && connection) {
        const int extended = sqlite3_extended_errcode(connection);
        if ((extended & 0xff) == code) code = extended;
    }
    return Failure::sqlite(code, error.text());
}

}  // namespace

Database::Database() = default;

Database::~Database()
{
    close();
}

Failure SqlFailure(const QSqlError& error)
{
    return sqlFailure(error, nullptr);
}

bool Database::fail(const QString& what, const QSqlError& error, const QString& sql)
{
    return fail(what, sqlFailure(error, SqliteHandle(db_)), sql);
}

bool Database::fail(const QString& what, Failure failure, const QString& sql)
{
    // SQLite refuses some writes into a file that was moved ("readonly
    // database"): the user learns which file went away.
    if (const std::optional<QString> moved = movedAway()) failure.prepend(*moved);
    if (failure.reason == FailureReason::Damaged && !damageMet_) damageMet_ = failure;
    lastError_ = std::move(failure);
    qCWarning(lcDb).noquote() << what << path_ << ":" << lastError_ << (sql.isEmpty() ? QString() : "[" + sql + "]");
    return false;
}

bool Database::open(const QString& path, Role role, bool configureNow)
{
    close();
    path_ = path;
    role_ = role;
    lastError_ = {};
    damageMet_.reset();
    const QFileInfo fi(path);
    if (!fi.exists() || !fi.isFile()) {
        return fail(QStringLiteral("open"),
                    Failure(QStringLiteral("ファイル %1 が見つかりません。").arg(QDir::toNativeSeparators(path)), {},
                            FailureReason::Missing),
                    {});
    }
    // Unique among the live connections: this object's address, and a count
    // of its own opens so that a reopen never meets a name still being removed.
    connectionName_ = QStringLiteral("velt-%1-%2").arg(quintptr(this), 0, 16).arg(++opens_);
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
    // mode=rw: open an existing file only; never create one.
    QUrl url = QUrl::fromLocalFile(fi.absoluteFilePath());
    url.setQuery(QStringLiteral("mode=rw"));
    db_.setDatabaseName(url.toString(QUrl::FullyEncoded));
    db_.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db_.open()) {
        const QSqlError err = db_.lastError();
        close();
        path_ = path;
        return fail(QStringLiteral("open"), err, {});
    }
    // SQLite opens lazily: a probe read tells a database from any other file.
    {
        QSqlQuery probe(db_);
        if (!probe.exec(QStringLiteral("select count(*) from sqlite_master"))) {
            const QSqlError err = probe.lastError();
            probe = QSqlQuery();
            close();
            path_ = path;
            return fail(QStringLiteral("open"), err, {});
        }
    }
    // Readings and names sort in Japanese order ("collate japanese").
    if (!RegisterJapaneseCollation(db_)) {
        close();
        path_ = path;
        return fail(QStringLiteral("open"), Failure(QStringLiteral("日本語の並び順を使えません。")), {});
    }
    if (configureNow) configure();
    return true;
}

void Database::configure()
{
    if (!db_.isOpen()) return;
    QSqlQuery pragma(db_);
    if (role_ == Role::Data) {
        pragma.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    } else {
        pragma.exec(QStringLiteral("PRAGMA synchronous=OFF"));
    }
    pragma.exec(QStringLiteral("PRAGMA case_sensitive_like=ON"));
}

void Database::close()
{
    if (connectionName_.isEmpty()) return;
    if (db_.isOpen()) {
        if (inTransaction_) db_.rollback();
        db_.close();
    }
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connectionName_);
    connectionName_.clear();
    inTransaction_ = false;
}

bool Database::exec(const QString& sql, const QVariantList& binds)
{
    changes_ = 0;
    if (!db_.isOpen()) return fail(QStringLiteral("exec"), notOpen(), sql);
    QSqlQuery q(db_);
    if (!q.prepare(sql)) return fail(QStringLiteral("prepare"), q.lastError(), sql);
    for (const QVariant& b : binds) q.addBindValue(b);
    if (!q.exec()) return fail(QStringLiteral("exec"), q.lastError(), sql);
    changes_ = q.numRowsAffected();
    return true;
}

std::optional<QSqlQuery> Database::query(const QString& sql, const QVariantList& binds)
{
    if (!db_.isOpen()) {
        fail(QStringLiteral("query"), notOpen(), sql);
        return std::nullopt;
    }
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    if (!q.prepare(sql)) {
        fail(QStringLiteral("prepare"), q.lastError(), sql);
        return std::nullopt;
    }
    for (const QVariant& b : binds) q.addBindValue(b);
    if (!q.exec()) {
        fail(QStringLiteral("query"), q.lastError(), sql);
        return std::nullopt;
    }
    return q;
}

std::optional<QSqlRecord> Database::firstRow(const QString& sql, const QVariantList& binds, bool* ok)
{
    auto q = query(sql, binds);
    if (ok) *ok = q.has_value();
    if (!q || !q->next()) return std::nullopt;
    return q->record();
}

QList<QSqlRecord> Database::rows(const QString& sql, const QVariantList& binds, bool* ok)
{
    QList<QSqlRecord> out;
    auto q = query(sql, binds);
    if (ok) *ok = q.has_value();
    if (!q) return out;
    while (q->next()) out.append(q->record());
    return out;
}

QVariant Database::scalar(const QString& sql, const QVariantList& binds, bool* ok)
{
    auto q = query(sql, binds);
    if (ok) *ok = q.has_value();
    if (!q || !q->next()) return {};
    return q->value(0);
}

QString Database::quoteIdent(const QString& name)
{
    QString n = name;
    n.replace('"', QStringLiteral("\"\""));
    return '"' + n + '"';
}

bool Database::insert(const QString& table, const Fields& values)
{
    QStringList cols;
    QStringList marks;
    QVariantList binds;
    for (const auto& [c, v] : values) {
        cols << quoteIdent(c);
        marks << QStringLiteral("?");
        binds << v;
    }
    const QString sql = QStringLiteral("insert into %1 (%2) values (%3)")
                            .arg(quoteIdent(table), cols.join(','), marks.join(','));
    return exec(sql, binds);
}

bool Database::upsert(const QString& table, const Fields& keys, const Fields& values,
                      const std::optional<Fields>& newRowValues)
{
    QStringList where;
    QVariantList keyBinds;
    for (const auto& [c, v] : keys) {
        where << quoteIdent(c) + QStringLiteral(" = ?");
        keyBinds << v;
    }
    bool ok = false;
    const QVariant rowid = scalar(QStringLiteral("select rowid from %1 where %2 order by rowid limit 1")
                                      .arg(quoteIdent(table), where.join(QStringLiteral(" and "))),
                                  keyBinds, &ok);
    if (!ok) return false;
    if (rowid.isValid() && !rowid.isNull()) {
        if (values.isEmpty()) return true;
        QStringList sets;
        QVariantList binds;
        for (const auto& [c, v] : values) {
            sets << quoteIdent(c) + QStringLiteral(" = ?");
            binds << v;
        }
        binds << rowid;
        return exec(QStringLiteral("update %1 set %2 where rowid = ?").arg(quoteIdent(table), sets.join(',')), binds);
    }
    Fields all = keys;
    const Fields& rest = newRowValues ? *newRowValues : values;
    for (const auto& f : rest) {
        bool isKey = false;
        for (const auto& k : keys) isKey = isKey || k.first == f.first;
        if (!isKey) all.append(f);
    }
    return insert(table, all);
}

bool Database::beginTransaction()
{
    if (!db_.isOpen()) return fail(QStringLiteral("begin"), notOpen(), {});
    if (inTransaction_) return fail(QStringLiteral("begin"), Failure({}, QStringLiteral("transaction already open")), {});
    // BEGIN IMMEDIATE: take the write lock now, so a transaction never fails half-way for a lock.
    if (!exec(QStringLiteral("BEGIN IMMEDIATE"))) return false;
    inTransaction_ = true;
    return true;
}

bool Database::commit()
{
    if (!inTransaction_) return fail(QStringLiteral("commit"), Failure({}, QStringLiteral("no transaction")), {});
    if (!fileInPlace()) {
        rollback();
        return false;
    }
    if (!exec(QStringLiteral("COMMIT"))) {
        rollback();
        return false;
    }
    inTransaction_ = false;
    // Moved between the check and the commit: what was written is lost as well.
    return fileInPlace();
}

bool Database::fileInPlace()
{
    const std::optional<QString> moved = movedAway();
    if (!moved) return true;
    lastError_ = Failure(*moved);
    qCWarning(lcDb).noquote() << *moved;
    return false;
}

std::optional<QString> Database::movedAway() const
{
    if (!db_.isOpen()) return std::nullopt;
    // SQLite compares the file it holds open with what is now at its path
    // (the same file, not only a file of that name).
    bool known = false;
    int moved = 0;
    if (sqlite3* connection = SqliteHandle(db_))
        known = sqlite3_file_control(connection, "main", SQLITE_FCNTL_HAS_MOVED, &moved) == SQLITE_OK;
    if (!known) moved = !QFileInfo::exists(path_);
    if (!moved) return std::nullopt;
    return QStringLiteral("ファイル %1 が開いたときの場所にありません（削除または移動されました）。")
        .arg(QDir::toNativeSeparators(QFileInfo(path_).absoluteFilePath()));
}

bool Database::rollback()
{
    if (!inTransaction_) return false;
    inTransaction_ = false;
    QSqlQuery q(db_);
    if (!q.exec(QStringLiteral("ROLLBACK"))) {
        qCWarning(lcDb).noquote() << "rollback" << path_ << ":" << q.lastError();
        return false;
    }
    return true;
}

QStringList Database::columns(const QString& table)
{
    QStringList out;
    auto q = query(QStringLiteral("select name from pragma_table_info(?) order by cid"), {table});
    if (!q) return out;
    while (q->next()) out << q->value(0).toString();
    return out;
}

bool Database::hasTable(const QString& table)
{
    return scalar(QStringLiteral("select count(*) from sqlite_master where type = 'table' and name = ?"), {table}).toInt() > 0;
}

Transaction::Transaction(Database& db) : db_(db)
{
    started_ = db_.beginTransaction();
}

Transaction::~Transaction()
{
    if (started_ && !done_) db_.rollback();
}

bool Transaction::commit()
{
    if (!started_ || done_) return false;
    done_ = true;
    return db_.commit();
}

void Transaction::rollback()
{
    if (started_ && !done_) {
        done_ = true;
        db_.rollback();
    }
}

Statement::Statement(Database& db, const QString& sql) : q_(db.connection()), sql_(sql), path_(db.path())
{
    q_.setForwardOnly(true);
    prepared_ = q_.prepare(sql);
    if (!prepared_) failed("prepare");
}

bool Statement::run(const QVariantList& binds)
{
    if (!prepared_) return false;
    for (qsizetype i = 0; i < binds.size(); ++i) q_.bindValue(int(i), binds[i]);
    if (!q_.exec()) {
        failed("exec");
        return false;
    }
    return true;
}

void Statement::failed(const char* what)
{
    failed_ = true;
    error_ = SqlFailure(q_.lastError());
    qCWarning(lcDb).noquote() << what << path_ << ":" << error_ << "[" + sql_ + "]";
}

QVariant Statement::first()
{
    const QVariant v = q_.next() ? q_.value(0) : QVariant();
    q_.finish();
    return v;
}

Failure Statement::error() const
{
    if (!failed_) return {};
    return error_.isEmpty() ? Failure({}, QStringLiteral("statement failed")) : error_;
}

namespace dbv {
bool toBool(const QVariant& v)
{
    if (isNull(v)) return false;
    if (v.typeId() == QMetaType::Bool) return v.toBool();
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (ok) return d != 0.0;
    const QString s = v.toString().trimmed().toLower();
    return s == QLatin1String("true") || s == QLatin1String("yes");
}
}  // namespace dbv
