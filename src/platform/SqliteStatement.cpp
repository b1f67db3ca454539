#include "platform/SqliteStatement.h"

#include "platform/Database.h"
#include "platform/SqliteHandle.h"

#include <sqlite3.h>

SqliteStatement::SqliteStatement(Database& db, const QString& sql) : sql_(sql), path_(db.path()), step_(SQLITE_DONE)
{
    db_ = SqliteHandle(db.connection());
    const QByteArray text = sql.toUtf8();
    if (!db_ || sqlite3_prepare_v2(db_, text.constData(), int(text.size()), &statement_, nullptr) != SQLITE_OK)
        failed();
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(statement_);
}

bool SqliteStatement::reset()
{
    if (!statement_) return false;
    sqlite3_reset(statement_);
    step_ = SQLITE_DONE;
    return true;
}

bool SqliteStatement::bind(int place, const StoredValue& v)
{
    if (!statement_) return false;
    int bound = SQLITE_MISUSE;
    switch (v.type()) {
    case StoredValue::Type::Null:
        bound = sqlite3_bind_null(statement_, place);
        break;
    case StoredValue::Type::Integer:
        bound = sqlite3_bind_int64(statement_, place, v.integer());
        break;
    case StoredValue::Type::Text:
        bound = sqlite3_bind_text16(statement_, place, v.text().constData(), int(v.text().size() * sizeof(char16_t)),
                                    SQLITE_STATIC);
        break;
    case StoredValue::Type::Utf8: {
        const QByteArrayView utf8 = v.utf8();
        bound = sqlite3_bind_text(statement_, place, utf8.data(), int(utf8.size()), SQLITE_STATIC);
        break;
    }
    }
    return bound == SQLITE_OK || failed();
}

bool SqliteStatement::bind(int place, qint64 n)
{
    return (statement_ && sqlite3_bind_int64(statement_, place, n) == SQLITE_OK) || failed();
}

bool SqliteStatement::run()
{
    if (!statement_) return false;
    step_ = sqlite3_step(statement_);
    first_ = true;
    if (step_ != SQLITE_ROW && step_ != SQLITE_DONE) return failed();
    return true;
}

bool SqliteStatement::next()
{
    if (step_ != SQLITE_ROW) return false;
    if (!first_) step_ = sqlite3_step(statement_);
    first_ = false;
    if (step_ == SQLITE_ROW) return true;
    first_ = true;
    return false;
}

QVariant SqliteStatement::value(int i) const
{
    const int type = sqlite3_column_type(statement_, i);
    if (type == SQLITE_NULL) return QVariant();
    if (type == SQLITE_INTEGER) return QVariant(qlonglong(sqlite3_column_int64(statement_, i)));
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, i));
    return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(statement_, i)));
}

qint64 SqliteStatement::lastInsertRowid() const
{
    return db_ ? sqlite3_last_insert_rowid(db_) : 0;
}

bool SqliteStatement::failed()
{
    error_ = Failure::sqlite(db_);
    qCWarning(lcDb).noquote() << path_ << ":" << error_ << "[" + sql_ + "]";
    if (statement_) sqlite3_reset(statement_);
    step_ = SQLITE_DONE;
    return false;
}
