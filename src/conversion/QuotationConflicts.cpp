#include "conversion/QuotationConflicts.h"

#include <algorithm>

namespace tablecopy {

namespace {

// The day of a stored date: 'YYYY-MM-DD', with or without a time of day.
QString dayOf(const QString& storedDate)
{
    return storedDate.left(10);
}

// Each quotation number has one identity or very few: short lists, kept
// small for the ten thousands of numbers a file may hold.
using Identities = QList<Identity>;

struct QuotationIds {
    Identities header;
    Identities lines;
    std::optional<LeftOut> problem;  // a line with an empty key or one that does not fit
    Identities all() const { return header + lines; }
};

void add(Identities& ids, Identity id)
{
    if (!ids.contains(id)) ids.append(std::move(id));
}

bool within(const Identities& part, const Identities& whole)
{
    return std::all_of(part.cbegin(), part.cend(), [&](const Identity& i) { return whole.contains(i); });
}

// Who and when each quotation is, by number, for the numbers `wanted`: from
// the older headers and lines, and whether a line of it has an empty key or
// one that does not fit (a row without a number takes no part). A customer
// or date the current column refuses counts as Null, as a new row would
// hold it. A table that cannot be read adds nothing: its copy fails on its
// own.
void collectOld(LinkFile& Dbs, const QStringList& columns, const CopyRule& rule, bool header,
                const QHash<qint64, QuotationIds>& wanted, QHash<qint64, QuotationIds>& old)
{
    const Prepared p = prepare(rule, columns);
    const QuotationFields f(rule);
    // The lines' keys hold the customer and the date already.
    QList<qsizetype> which = p.keys;
    for (const qsizetype field : {f.customer, f.date})
        if (!which.contains(field)) which << field;
    int read = 0;
    forEachOldRow(Dbs, columns, rule, p, which, read, LinkFile::Order::Preferred, [&](const RowValues& rv, LinkCursor&) {
        const StoredValue& number = rv.values[size_t(f.number)];
        if (number.isNull() || !wanted.contains(number.toLongLong())) return true;
        QuotationIds& ids = old[number.toLongLong()];
        if (hasRefusedKey(p, rv)) {
            if (!ids.problem) ids.problem = LeftOut::BadKey;
        } else if (hasEmptyKey(p, rv.values)) {
            if (!ids.problem) ids.problem = LeftOut::EmptyKey;
        } else {
            add(header ? ids.header : ids.lines, identity(rv.values[size_t(f.customer)], rv.values[size_t(f.date)]));
        }
        return true;
    });
}

}  // namespace

QuotationFields::QuotationFields(const CopyRule& rule)
    : number(rule.field(QStringLiteral("伝票番号"))), customer(rule.field(QStringLiteral("顧客名"))),
      date(rule.field(QStringLiteral("日付"))), kind(rule.field(QStringLiteral("伝票区分"))),
      row(rule.field(QStringLiteral("行番号")))
{
}

Identity identity(const QVariant& customer, const QVariant& storedDate)
{
    const auto part = [](const QVariant& v, bool date) {
        if (dbv::isNull(v)) return QStringLiteral("N");
        return QStringLiteral("T") + (date ? dayOf(v.toString()) : v.toString().toCaseFolded());
    };
    return {part(customer, false), part(storedDate, true)};
}

Identity identity(const StoredValue& customer, const StoredValue& storedDate)
{
    const auto variant = [](const StoredValue& v) { return v.isNull() ? QVariant() : QVariant(v.toString()); };
    return identity(variant(customer), variant(storedDate));
}

std::optional<QHash<qint64, LeftOut>> QuotationsHeldBack(LinkFile& Dbs, Database& data, const CopyRule& headerRule,
                                                         const QStringList& headerColumns, const CopyRule& lineRule,
                                                         const QStringList& lineColumns, HeldNumbers& held,
                                                         Failure& error)
{
    // Who and when each current quotation is, by number.
    QHash<qint64, QuotationIds> current;
    const auto scan = [&](const QString& sql, bool header) {
        auto q = data.query(sql);
        if (!q) return false;
        while (q->next()) {
            QuotationIds& ids = current[q->value(0).toLongLong()];
            add(header ? ids.header : ids.lines, identity(q->value(1), q->value(2)));
        }
        return true;
    };
    if (!scan(QStringLiteral("select 伝票番号, 顧客名, 日付 from 見積書ヘッダ"), true) ||
        !scan(QStringLiteral("select distinct 伝票番号, 顧客名, substr(日付, 1, 10) from 見積書"), false)) {
        error = data.lastError();
        return std::nullopt;
    }
    QHash<qint64, LeftOut> found;
    held = HeldNumbers();
    for (auto it = current.cbegin(); it != current.cend(); ++it) {
        held.all.insert(it.key());
        if (!it->lines.isEmpty()) held.withLines.insert(it.key());
    }
    if (current.isEmpty()) return found;

    // The same of the older quotations under those numbers.
    QHash<qint64, QuotationIds> old;
    collectOld(Dbs, headerColumns, headerRule, true, current, old);
    collectOld(Dbs, lineColumns, lineRule, false, current, old);

    // The older quotation is decided here, whole, as a copy that is under
    // way cannot take back what it changed in a current quotation.
    for (auto it = old.cbegin(); it != old.cend(); ++it) {
        const QuotationIds& now = current[it.key()];
        const QuotationIds& before = it.value();
        const bool other = !within(now.all(), before.all()) ||
                           (!before.lines.isEmpty() && !now.lines.isEmpty() && !within(now.lines, before.lines));
        if (other) found.insert(it.key(), LeftOut::Conflict);
        else if (before.problem) found.insert(it.key(), *before.problem);
        else if (before.header.isEmpty()) found.insert(it.key(), LeftOut::NoHeader);
    }
    return found;
}

}  // namespace tablecopy
