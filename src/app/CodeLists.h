#pragma once
// The pick lists of the windows, copied from the masters: the entries of a
// code kind and the work tables (w単位参照, w商品区分参照, w入数参照, w商品参照)
// that the grids' drop-downs list. The quotation tab and the product window
// rebuild the same tables. Registering a typed value in a code list, and the
// quotation counter kept beside the lists.

#include "platform/Failure.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

class Database;

// What registering a code value did.
enum class CodeEntry {
    Added,           // the value took the first free slot
    AlreadyPresent,  // a slot of the kind holds it already
    ListFull,        // the kind has no free slot (or no slot rows at all)
    Failed,          // the list could not be read or written, or the value is empty
};

// Writes value into the first free slot (Null sname, lowest code) of the code
// kind kcode in コードマスタ of the data database, and says what happened.
// Only Added writes anything. Slot rows are never added here.
CodeEntry AutoEntryCode(Database& dataDb, const QString& kcode, const QString& value);

// Raises the quotation counter 最大見積書番号 of the settings row to number
// when it holds a lower number or none (a settings row is added when there is
// none); it is never lowered. Runs inside the caller's transaction. False
// (error set) when the counter cannot be read or written.
bool RaiseQuotationCounter(Database& dataDb, qint64 number, Failure& error);

// The entries of one code kind: the filled slots in code order (free slots
// skipped). A list that cannot be read is logged and gives no entries.
QStringList ReadCodeEntries(Database& data, const QString& kcode);

// Replaces every row of a work table by rows (values of columns, in order;
// other columns take their defaults), in one transaction. False, logged and
// with the database's words in error, when it failed: the table keeps its rows.
bool ReplaceWorkRows(Database& work, const QString& table, const QStringList& columns,
                     const QList<QVariantList>& rows, Failure* error = nullptr);

// Rebuilds a reference table (its one column sname) from the entries of the
// code kind kcode, and returns the entries.
QStringList RebuildReferenceTable(Database& data, Database& work, const QString& kcode, const QString& table);
