#include "conversion/QuotationCopy.h"

#include "app/CodeLists.h"
#include "conversion/QuotationConflicts.h"
#include "platform/JetValue.h"
#include "platform/SqliteStatement.h"

#include <QHash>
#include <QSet>
#include <algorithm>

namespace tablecopy {

namespace {

// The quotation numbers of an older quotation table (rows without one take
// no part); nothing when it cannot be read. `read` counts its rows.
std::optional<QSet<qint64>> oldNumbers(LinkFile& Dbs, const QStringList& columns, const CopyRule& rule, int& read)
{
    const Prepared p = prepare(rule, columns);
    const qsizetype number = QuotationFields(rule).number;
    QSet<qint64> numbers;
    const bool ok = forEachOldRow(Dbs, columns, rule, p, {number}, read, LinkFile::Order::Preferred,
                                  [&](const RowValues& rv, LinkCursor&) {
        if (!rv.values[size_t(number)].isNull()) numbers.insert(rv.values[size_t(number)].toLongLong());
        return true;
    });
    if (!ok) return std::nullopt;
    return numbers;
}

// The quotation lines, too many to hold their keys: a line is looked up by
// its number, kind and line number (indexed, Null matching Null), and its
// customer (without regard to case) and the day of its date are compared
// here. A line of a number the current file did not hold can only meet a
// line this copy added; such a line is looked up only when one with the
// same key may have been added.
class LineKeys final : public KeyIndex {
public:
    // held: the numbers the current file holds lines of.
    LineKeys(Database& data, const CopyRule& lineRule, const QSet<qint64>& held)
        : f_(lineRule),
          find_(data, QStringLiteral("select rowid, 顧客名, 日付 from 見積書 where 伝票番号 = ? and "
                                     "伝票区分 is ? and 行番号 is ? order by rowid")),
          held_(held)
    {
    }

    bool find(const Slots& values, PendingRows& pending, std::optional<qint64>& rowid, Failure& error) override
    {
        rowid.reset();
        if (!held_.contains(values[size_t(f_.number)].toLongLong()) && !added_.contains(place(values))) return true;
        if (!pending.flush(error)) return false;
        int at = 0;
        bool ok = find_.reset();
        for (qsizetype i : {f_.number, f_.kind, f_.row}) ok = ok && find_.bind(++at, values[size_t(i)]);
        if (!ok || !find_.run()) {
            error = find_.error();
            return false;
        }
        const Identity wanted = identity(values[size_t(f_.customer)], values[size_t(f_.date)]);
        while (find_.next()) {
            if (identity(find_.value(1), find_.value(2)) == wanted) {
                rowid = find_.value(0).toLongLong();
                break;
            }
        }
        return true;
    }
    void added(const Slots& values, std::optional<qint64>) override { added_.insert(place(values)); }
    bool needsRowids() const override { return false; }

private:
    // A line's number, kind and line number, hashed: the look-up above
    // compares customer and date, so a line of another customer or date in
    // the same place costs only a look-up, and no text is folded per line.
    size_t place(const Slots& values) const
    {
        return qHashMulti(0, values[size_t(f_.number)].toLongLong(), values[size_t(f_.kind)].toLongLong(),
                          values[size_t(f_.row)].toLongLong());
    }

    const QuotationFields f_;
    SqliteStatement find_;
    const QSet<qint64>& held_;
    QSet<size_t> added_;  // places of the lines added, hashed
};

// Raises the quotation counter 最大見積書番号 to the highest quotation number
// stored (headers and lines), so that a new quotation is never proposed a
// number already stored, which storing would replace. It is never lowered.
// False (error set) when it cannot be read or written.
bool RaiseCounterToStoredNumbers(Database& data, Failure& error)
{
    Statement highest(data, QStringLiteral("select max(n) from (select max(伝票番号) as n from 見積書ヘッダ "
                                           "union all select max(伝票番号) from 見積書)"));
    if (!highest.run({})) {
        error = highest.error();
        return false;
    }
    const QVariant highestStored = highest.first();
    const std::optional<qint64> top = dbv::isNull(highestStored) ? std::nullopt : JetValue::wholeNumber(highestStored);
    if (!top) return true;  // no quotation stored
    return RaiseQuotationCounter(data, *top, error);
}

// The quotations left out, as the outcomes name them.
QMap<LeftOut, QList<qint64>> byReason(const QHash<qint64, LeftOut>& left)
{
    QMap<LeftOut, QList<qint64>> named;
    for (auto it = left.cbegin(); it != left.cend(); ++it) named[it.value()] << it.key();
    for (QList<qint64>& numbers : named) std::sort(numbers.begin(), numbers.end());
    return named;
}

// Both tables into `headers` and `lines`, outcomes made for them.
void copyBoth(LinkFile& Dbs, Database& data, const CopyRule& headerRule, const CopyRule& lineRule, TableOutcome& headers,
              TableOutcome& lines)
{
    const QString linesHeldBack = QStringLiteral("見積書ヘッダを変換できないため、明細も書き込んでいません");
    const QString headersHeldBack = QStringLiteral("見積書（明細）を変換できないため、ヘッダも書き込んでいません");
    QHash<qint64, LeftOut> left;  // the quotations left out whole, by number
    const auto name = [&] { headers.quotationsLeftOut = lines.quotationsLeftOut = byReason(left); };
    // A table whose quotations cannot arrive whole, as the other table cannot
    // be read: nothing of it is written, and its quotations are named.
    const auto holdBack = [&](const CopyRule& rule, const QStringList& columns, TableOutcome& out, LeftOut why,
                              const QString& reason) {
        out = TableOutcome(rule.table);
        const auto numbers = oldNumbers(Dbs, columns, rule, out.read);
        if (!numbers) return fail(out, Dbs.failure());
        if (out.read == 0) return;
        fail(out, reason);
        for (qint64 n : *numbers) left.insert(n, why);
    };

    const auto headerColumns = oldColumns(Dbs, headerRule, headers);
    const auto lineColumns = oldColumns(Dbs, lineRule, lines);
    if (!headerColumns || !lineColumns) {
        if (headerColumns) holdBack(headerRule, *headerColumns, headers, LeftOut::NoLines, headersHeldBack);
        if (lineColumns) holdBack(lineRule, *lineColumns, lines, LeftOut::NoHeader, linesHeldBack);
        return name();
    }

    const auto failBoth = [&](const Failure& error) {
        fail(headers, error);
        fail(lines, error);
    };
    // Headers, lines and the counter in one transaction.
    Transaction tx(data);
    if (!tx.started()) return failBoth(data.lastError());
    Failure error;
    HeldNumbers held;
    const auto decided = QuotationsHeldBack(Dbs, data, headerRule, *headerColumns, lineRule, *lineColumns, held, error);
    if (!decided) return failBoth(error);
    left = *decided;
    const QuotationFields headerFields(headerRule), lineFields(lineRule);
    const auto numberOf = [](const RowValues& rv, const QuotationFields& f) {
        return rv.values[size_t(f.number)].toLongLong();
    };
    // Rows written per number, taken back when a line found later leaves
    // its quotation out; only a number the current file did not hold can
    // be found so (its rows were all added by this copy).
    struct Written {
        int rows = 0;
        int refused = 0;
    };
    QHash<qint64, Written> headersWritten, linesWritten;
    QSet<qint64> found;
    const auto leave = [&](qint64 n, LeftOut why) {
        if (left.contains(n)) return;
        left.insert(n, why);
        if (!held.all.contains(n)) found.insert(n);
    };

    QSet<qint64> withHeader;  // numbers of the older headers
    const RowCheck headerCheck = [&](const RowValues& rv, KeyIndex&, Failure&) {
        const qint64 n = numberOf(rv, headerFields);
        withHeader.insert(n);
        if (left.contains(n)) return Verdict::LeftOut;
        Written& w = headersWritten[n];
        ++w.rows, w.refused += int(rv.refused.size());
        return Verdict::Copy;
    };
    const RowCheck lineCheck = [&](const RowValues& rv, KeyIndex&, Failure&) {
        const qint64 n = numberOf(rv, lineFields);
        if (!withHeader.contains(n)) leave(n, LeftOut::NoHeader);
        if (left.contains(n)) return Verdict::LeftOut;
        Written& w = linesWritten[n];
        ++w.rows, w.refused += int(rv.refused.size());
        return Verdict::Copy;
    };
    const KeySkip lineKeySkip = [&](const RowValues& rv, Verdict why) {
        if (rv.values[size_t(lineFields.number)].isNull()) return false;  // a line of no quotation
        const qint64 n = numberOf(rv, lineFields);
        // A number the current file holds was decided before: it has none.
        if (!held.all.contains(n)) leave(n, why == Verdict::BadKey ? LeftOut::BadKey : LeftOut::EmptyKey);
        return left.contains(n);
    };

    HeldKeys headerKeys(prepare(headerRule, {}).keys);
    LineKeys lineKeys(data, lineRule, held.withLines);
    if (!headerKeys.load(data, headerRule, error)) return failBoth(error);
    const RowsCopied headersCopied = copyRows(data, Dbs, *headerColumns, headerRule, headerKeys, headers, headerCheck);
    if (headersCopied != RowsCopied::All) {
        left.clear();
        if (headersCopied == RowsCopied::ReadFailed) holdBack(lineRule, *lineColumns, lines, LeftOut::NoHeader, linesHeldBack);
        else fail(lines, linesHeldBack);
        return name();
    }
    const RowsCopied linesCopied = copyRows(data, Dbs, *lineColumns, lineRule, lineKeys, lines, lineCheck, lineKeySkip);
    if (linesCopied != RowsCopied::All) {
        left.clear();
        fail(headers, headersHeldBack);
        if (linesCopied == RowsCopied::ReadFailed)
            for (qint64 n : std::as_const(withHeader)) left.insert(n, LeftOut::NoLines);
        return name();
    }

    // The quotations found incomplete on the way: what was written of them
    // goes again.
    Statement dropHeader(data, QStringLiteral("delete from 見積書ヘッダ where 伝票番号 = ?"));
    Statement dropLines(data, QStringLiteral("delete from 見積書 where 伝票番号 = ?"));
    for (qint64 n : std::as_const(found)) {
        if (!dropHeader.run({n}) || !dropLines.run({n})) {
            left.clear();
            return failBoth(dropHeader.error().isEmpty() ? dropLines.error() : dropHeader.error());
        }
        for (auto [out, written] : {std::pair{&headers, headersWritten.value(n)}, std::pair{&lines, linesWritten.value(n)}}) {
            out->copied -= written.rows;
            out->refused -= written.refused;
            out->leftOut += written.rows;
        }
    }
    // The counter ends above every number stored.
    if (!RaiseCounterToStoredNumbers(data, error) || !tx.commit()) {
        left.clear();
        return failBoth(error.isEmpty() ? data.lastError() : error);
    }
    name();
}

}  // namespace

QuotationOutcomes CopyQuotations(LinkFile& Dbs, Database& data, const CopyRule& headerRule, const CopyRule& lineRule)
{
    QuotationOutcomes outcomes{TableOutcome(headerRule.table), TableOutcome(lineRule.table)};
    copyBoth(Dbs, data, headerRule, lineRule, outcomes.headers, outcomes.lines);
    return outcomes;
}

}  // namespace tablecopy
