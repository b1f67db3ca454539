#pragma once
// The quotations a data conversion leaves out whole, found before either
// quotation table is written: a quotation arrives with its header and all
// its lines, or not at all, and never takes the number of another one.
//
// A quotation is its number, its customer and its day. The current file
// holds another quotation under an older quotation's number when it has
// anything under that number that the older quotation does not account
// for (another customer, or another day), or when the older lines would sit
// beside current lines of another customer or day: the older quotation is
// then left out (Conflict). Otherwise one whose lines have an empty key or
// a key that does not fit (EmptyKey, BadKey), or that has lines but no
// header (NoHeader), is left out too. The same customer on the same day is
// the same quotation, updated.

#include "conversion/TableCopy.h"

#include <QHash>
#include <QSet>
#include <optional>
#include <utility>

namespace tablecopy {

// The fields of a quotation rule (headers or lines) that the conflict
// check and the line look-ups read, found by their columns' names; -1 for
// one the rule lacks (a header has no kind or line number).
struct QuotationFields {
    explicit QuotationFields(const CopyRule& rule);
    qsizetype number, customer, date, kind, row;
};

// Who and when a stored quotation (header or line) belongs to: its customer
// (without regard to case, as Jet compared names) and the day of its date
// (the quotation tab stores a date without the time of day an older line
// may carry), Null told from an empty text.
using Identity = std::pair<QString, QString>;
Identity identity(const QVariant& customer, const QVariant& storedDate);
// The same of an older row's values.
Identity identity(const StoredValue& customer, const StoredValue& storedDate);

// The quotation numbers the current file holds: all, and those it holds
// lines of.
struct HeldNumbers {
    QSet<qint64> all;
    QSet<qint64> withLines;
};

// The quotation numbers the current file holds (held), and those of them
// whose older quotation is left out, with the reason. The older tables are
// read as the rules read them, over the columns the copy found in them (both
// can be read: the copy has checked). Nothing (error set) when the current
// file could not be read.
std::optional<QHash<qint64, LeftOut>> QuotationsHeldBack(LinkFile& Dbs, Database& data, const CopyRule& headerRule,
                                                         const QStringList& headerColumns, const CopyRule& lineRule,
                                                         const QStringList& lineColumns, HeldNumbers& held,
                                                         Failure& error);

}  // namespace tablecopy
