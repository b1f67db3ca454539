#pragma once
// The SQLite connection under an open connection of Qt's QSQLITE driver: the
// system's SQLite library, which the driver uses, for what Qt does not offer
// (collations, file controls, statements run directly). Header-only, so the
// customer-search component, which links nothing of the program, can use it.

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>

#include <sqlite3.h>

// Nothing when the connection is not open or not SQLite.
inline sqlite3* SqliteHandle(const QSqlDatabase& db)
{
    if (!db.isOpen() || !db.driver()) return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}
