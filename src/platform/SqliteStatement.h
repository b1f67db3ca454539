#pragma once
// A statement run through SQLite directly, on a Database's own connection
// and inside its transaction when one runs: for statements run once or twice
// per row of a long copy (the data conversion), where Qt's binding would
// cost more than SQLite's writing. Values are bound as Qt's driver binds
// them ('?' placeholders, by place from 1). A failed prepare or run is
// logged under velt.db and kept in error(); a statement that failed to
// prepare never runs.

#include "platform/Failure.h"
#include "platform/StoredValue.h"

#include <QString>
#include <QVariant>

class Database;
struct sqlite3;
struct sqlite3_stmt;

class SqliteStatement {
public:
    SqliteStatement(Database& db, const QString& sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // Starts a run: the last one's row and values are let go.
    bool reset();
    // Binds a value at a place. A text is bound where it is, not copied: it
    // must stay as it is until run() returns.
    bool bind(int place, const StoredValue& value);
    bool bind(int place, qint64 n);
    // Runs the statement to its first row (next() then tells whether there
    // is one). False (error set) on failure.
    bool run();
    // True while the statement stands on a row; moves to the next one after.
    bool next();
    // A column of the current row: Null, a whole number or a text (what
    // look-ups read).
    QVariant value(int i) const;
    qint64 lastInsertRowid() const;
    // Why the statement failed; empty while it has not failed.
    Failure error() const { return error_; }

private:
    bool failed();

    QString sql_;
    QString path_;
    sqlite3* db_ = nullptr;
    sqlite3_stmt* statement_ = nullptr;
    int step_ = 0;
    bool first_ = true;
    Failure error_;
};
