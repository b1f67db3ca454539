#pragma once
// Reading a work table's cells the way the grid tests compare them: straight
// from the database, by rowid, as text ("NULL" for a Null).

#include "platform/Database.h"

#include <QString>
#include <QVariant>

inline QString raw(const QVariant& v)
{
    return dbv::isNull(v) ? QStringLiteral("NULL") : v.toString();
}

inline QString rawCell(Database& db, const QString& table, const QString& field, qint64 rowid)
{
    return raw(db.scalar(QStringLiteral("select %1 from %2 where rowid = ?")
                             .arg(Database::quoteIdent(field), Database::quoteIdent(table)),
                         {rowid}));
}
