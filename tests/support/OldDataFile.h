#pragma once
// An older data file ("VeltData.mdb" of the previous generation) made as an
// SQLite file of the same six tables, for the conversion's tests and its
// benchmark. Columns are declared in Jet's kinds (TEXT, MEMO, LONG, DOUBLE,
// CURRENCY, YESNO, DATETIME) and hold what a Jet file holds: money as yen
// (REAL or text), yes/no as -1/0, dates as text 'yyyy-MM-dd[ HH:mm:ss[.zzz]]'.

#include "support/JetWriter.h"

#include <QString>
#include <QStringList>
#include <QVariantHash>

namespace OldDataFile {

// CREATE TABLE statements of the six tables, each also holding a column the
// conversion does not read (商品区分 of products and lines, 備考 of lines).
QStringList schema();
// Creates the file at path (replacing any), with the schema when withSchema
// is true, then runs the statements. False (each failure logged) when a
// statement failed.
bool create(const QString& path, const QStringList& statements, bool withSchema = true);

// The same six tables as a Jet 3 (Access 97) file, the older file's real
// form: jetTables() gives them with the columns of schema() and no rows;
// jetRow() makes a row of one of them from values by column name (a column
// not named is Null); createJet3() writes the file (text in code page 932).
QList<jet::Table> jetTables();
QVariantList jetRow(const jet::Table& table, const QVariantHash& values);
bool createJet3(const QString& path, const QList<jet::Table>& tables, jet::Layout* layout = nullptr);

// A large Jet 3 older file, written quickly and in little memory: the
// quotations (numbers 1..quotations, each with linesPerQuotation lines),
// 2,000 customers, 3,000 products and full code lists (20 of 99 slots used
// per kind), the settings row with the counter at the last number. The same
// rows as the conversion benchmark's SQLite older file. False (logged) on
// failure.
bool createLargeJet3(const QString& path, int quotations, int linesPerQuotation = 20);

}  // namespace OldDataFile
