#pragma once
// The kind of a column's values, one for every table the program reads or
// writes: the work tables under the grids, the current data file's tables,
// and the tables of a link file or an older data file. And the one way a
// value becomes the form the program's own files store.
//
// The kinds and their values in the program:
//   Any      whatever a file holds (a link file's column without a declared type)
//   Text     QString
//   Integer  qint64
//   Real     double
//   Money    Currency (exact)
//   Bool     bool (Jet's yes/no)
//   Date     QDate, or QDateTime when it carries a time of day
//   Binary   QByteArray
//   Null     a null QVariant

#include "platform/Currency.h"

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <optional>

enum class ColumnKind { Any, Text, Integer, Real, Money, Bool, Date, Binary };

// The kind a declared SQL type names, in Jet's words or SQLite's:
// TEXT/MEMO/CHAR, INTEGER/LONG/BYTE, DOUBLE/SINGLE/REAL, CURRENCY/MONEY,
// YESNO/BOOLEAN/BIT, DATETIME/DATE, BLOB/BINARY; Any for none.
ColumnKind ColumnKindOf(const QString& declaredType);

namespace ColumnValue {

// A value as a file holds it (a link file's text, whole number, real or
// bytes; a date already read) taken as the kind's own type, as Jet's values
// are read (platform/JetValue.h): a whole number, yes/no, money or date also
// from text, yes/no as any number, money from a real rounded to four
// decimals once. Any keeps the value (a whole number as qint64); Text takes
// anything's text. Null stays Null; nothing when the value does not fit.
std::optional<QVariant> read(const QVariant& held, ColumnKind kind);

// A value in the form the program's files store a column of the kind:
//   Text     the text; a date in the form of Date below, money as its plain
//            decimal text ("1234.5"); bytes do not fit
//   Integer  qint64
//   Money    INTEGER ten-thousandths
//   Bool     INTEGER 0/1
//   Date     'YYYY-MM-DD', with ' HH:MM:SS' and '.zzz' when it carries a
//            time of day or milliseconds
//   Real, Binary, Any  as read() gives them
// Every other value is taken as read() takes it. Null stays Null; nothing
// when the value does not fit.
std::optional<QVariant> stored(const QVariant& value, ColumnKind kind);

// A date and time in the stored form of Date.
QString dateText(const QDateTime& dateTime);

}  // namespace ColumnValue
