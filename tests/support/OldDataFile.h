#pragma once
// An older data file ("VeltData.mdb" of the previous generation) made as an
// SQLite file of the same six tables, for the conversion's tests and its
// benchmark. Columns are declared in Jet's kinds (TEXT, MEMO, LONG, DOUBLE,
// CURRENCY, YESNO, DATETIME) and hold what a Jet file holds: money as yen
// (REAL or text), yes/no as -1/0, dates as text 'yyyy-MM-dd[ HH:mm:ss[.zzz]]'.

#include <QString>
#include <QStringList>

namespace OldDataFile {

// CREATE TABLE statements of the six tables, each also holding a column the
// conversion does not read (商品区分 of products and lines, 備考 of lines).
QStringList schema();
// Creates the file at path (replacing any), with the schema when withSchema
// is true, then runs the statements. False (each failure logged) when a
// statement failed.
bool create(const QString& path, const QStringList& statements, bool withSchema = true);

}  // namespace OldDataFile
