#pragma once
// Maintenance of the data database: wiping the business data, and adding the
// columns that the work database's upgrade list names (the schema upgrade).

#include "platform/Database.h"

#include <QString>
#include <QStringList>

// The schema stamp written into 自社情報 by the upgrade; the information
// window shows the same values.
namespace SchemaStamp {
inline const QString Version = QStringLiteral("2.00");
inline const QString LastUpdate = QStringLiteral("2005/01/06");
}  // namespace SchemaStamp

// Empties 顧客マスタ, 商品マスタ, 自社情報, 見積書 and 見積書ヘッダ and frees every
// code slot (コードマスタ.sname Null), all in one transaction. 印刷情報 and
// KivHint are not touched. False when anything failed: then nothing changed
// and error holds the database's words.
bool WipeBusinessData(Database& data, Failure* error = nullptr);

// True when 自社情報 has a column named exactly "Version" and its first row
// holds the current version there.
bool SchemaIsCurrent(Database& data);

// The SQLite column type for a field type code of the upgrade list
// (1 yes/no, 2-4 whole numbers, 5 currency, 6-7 floating point, 8 date,
// 10 text, 12 long text); empty for a code we do not know.
QString ColumnTypeFor(int typeCode);

struct SchemaUpgradeResult {
    bool wasCurrent = false;  // nothing to do
    bool stamped = false;     // every missing column was added and the stamp written
    QStringList added;        // "table.column"
    QStringList failed;       // "table.column: reason"
};

// Adds to each listed table of the data database that exists the listed
// columns it lacks. The stamp is written only when every one of them was
// added, so a column that could not be added is tried again next time.
SchemaUpgradeResult UpgradeSchema(Database& data, Database& work);
