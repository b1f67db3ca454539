#pragma once
// The pick lists of the windows, copied from the masters: the entries of a
// code kind and the work tables (w単位参照, w商品区分参照, w入数参照, w商品参照)
// that the grids' drop-downs list. The quotation tab and the product window
// rebuild the same tables.

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

class Database;

// The entries of one code kind: the filled slots in code order (free slots
// skipped). A list that cannot be read is logged and gives no entries.
QStringList ReadCodeEntries(Database& data, const QString& kcode);

// Replaces every row of a work table by rows (values of columns, in order;
// other columns take their defaults), in one transaction. False, logged and
// with the database's words in error, when it failed: the table keeps its rows.
bool ReplaceWorkRows(Database& work, const QString& table, const QStringList& columns,
                     const QList<QVariantList>& rows, QString* error = nullptr);

// Rebuilds a reference table (its one column sname) from the entries of the
// code kind kcode, and returns the entries.
QStringList RebuildReferenceTable(Database& data, Database& work, const QString& kcode, const QString& table);
