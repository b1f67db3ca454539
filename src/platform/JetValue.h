#pragma once
// The values of Jet's kinds (whole number, yes/no, currency, date and time)
// read as this program's types, one way for every reader of an older or a
// linked file: the SQLite link file reader and the data conversion. Each
// takes whatever type a reader holds; a value that does not fit gives
// nothing, never a guess.

#include "platform/Currency.h"

#include <QString>
#include <QVariant>
#include <optional>

namespace JetValue {

// A double that holds a whole number qint64 can hold: from -2^63 up to,
// not including, 2^63 (the first double past qint64's largest).
std::optional<qint64> wholeNumber(double d);
// A whole number from a whole-number type, yes/no (1 or 0), Currency that
// is whole, a double as above, or a text of one (blanks around allowed).
std::optional<qint64> wholeNumber(const QVariant& v);

// Yes/no: "true" or "false" in any case (blanks around allowed), or a
// number, yes when it is not 0: a whole-number type, a double, Currency or
// a text of a whole number.
std::optional<bool> yesNo(const QVariant& v);

// Currency: Currency itself, a whole number within Currency's range, a
// double (rounded to four decimals once, halves to even) or a decimal text.
std::optional<Currency> currency(const QVariant& v);

// A date, or a date and time, from text: "yyyy-MM-dd", then " HH:mm",
// ":ss" and ".zzz" (digits past the milliseconds are cut); "/" for "-",
// "T" for the blank, a month, day or hour of one digit and blanks around
// allowed. A QDate for a date alone, else a QDateTime. Nothing for any
// other text and for a date or time that does not exist.
std::optional<QVariant> dateTime(const QString& text);

}  // namespace JetValue
