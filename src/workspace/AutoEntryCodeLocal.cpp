// Stand-in until the shared routine lands; removed then.
#include "Database.h"
#include "ModVelt.h"

bool AutoEntryCode(const QString& kcode, const QString& value)
{
    Database& db = ModVelt::DataDb;
    QVariant freeSlot;
    for (const QSqlRecord& r : db.rows(QStringLiteral("select rowid, sname from コードマスタ where kcode = ? order by code"), {kcode})) {
        if (!dbv::isNull(r.value(1)) && r.value(1).toString() == value) return false;
        if (!freeSlot.isValid() && dbv::isNull(r.value(1))) freeSlot = r.value(0);
    }
    if (!freeSlot.isValid()) return false;
    return db.exec(QStringLiteral("update コードマスタ set sname = ? where rowid = ?"), {value, freeSlot});
}
