#include "workspace/DetailLines.h"

#include "platform/Database.h"
#include "app/Rounding.h"

#include <QLoggingCategory>
#include <QSqlRecord>
#include <algorithm>

Q_LOGGING_CATEGORY(lcDetail, "velt.detail")

namespace DetailLine {

namespace {

// Bounds of typed numbers, as exact decimals.
struct Bounds {
    Decimal low;
    Decimal high;
};

std::optional<Bounds> boundsOf(int col)
{
    switch (col) {
    case 数量: return Bounds{{-99999999, 2}, {99999999, 2}};          // ±999999.99
    case 単価: return Bounds{{-9999999999, 2}, {9999999999, 2}};      // ±99999999.99
    case 金額: return Bounds{{-9999999999, 0}, {9999999999, 0}};      // ±9999999999
    default: return std::nullopt;
    }
}

QString joined(const QStringList& fields)
{
    QStringList quoted;
    for (const QString& f : fields) quoted << Database::quoteIdent(f);
    return quoted.join(QStringLiteral(", "));
}

// A value of at most four places, within Currency's range, as a Currency:
// exactly.
Currency exactCurrency(const Decimal& d)
{
    return Currency::fromRaw(static_cast<int64_t>(d.rescaled(Currency::kDecimals).units));
}

}  // namespace

bool IsNumberColumn(int col)
{
    return boundsOf(col).has_value();
}

bool WithinLimit(int col, const Decimal& value)
{
    const auto b = boundsOf(col);
    return b && value.compare(b->low) >= 0 && value.compare(b->high) <= 0;
}

NumberLimits LimitsOf(int col)
{
    const auto b = boundsOf(col);
    if (!b) return {};
    // The bounds have at most two places: they fit a Currency exactly.
    return {exactCurrency(b->low), exactCurrency(b->high)};
}

TypedNumber ReadTypedNumber(int col, const QString& text, int decimals)
{
    if (text.trimmed().isEmpty()) return {NumberInput::Empty, std::nullopt};
    const auto d = Decimal::parse(text);
    if (!d) return {NumberInput::NotANumber, std::nullopt};
    const Decimal shown = d->rounded(std::clamp(decimals, 0, Currency::kDecimals));
    if (!WithinLimit(col, shown)) return {NumberInput::BeyondLimit, std::nullopt};
    // Within the limits, at most four places: it fits a Currency exactly.
    return {NumberInput::Number, exactCurrency(shown)};
}

Currency ShownValue(Currency value, int decimals)
{
    return exactCurrency(Decimal::of(value).rounded(std::clamp(decimals, 0, Currency::kDecimals)));
}

NumberInput ClassifyNumber(int col, const QString& text)
{
    return ReadTypedNumber(col, text, Currency::kDecimals).input;
}

std::optional<Currency> LineAmount(std::optional<Currency> quantity, std::optional<Currency> price,
                                   const QString& mode)
{
    if (!quantity || !price) return std::nullopt;
    const Decimal product = Decimal::product(*quantity, *price);
    // Far beyond the limits: not rounded at all (the rounding works on amounts a Currency holds).
    const Decimal far{10000000000, 0};
    if (product.compare(far) > 0 || product.compare(Decimal{-far.units, 0}) < 0) return std::nullopt;
    const Currency amount = RoundWhole(product, mode);
    if (!WithinLimit(金額, Decimal::of(amount))) return std::nullopt;
    return amount;
}

bool LineAmountFits(std::optional<Currency> quantity, std::optional<Currency> price, const QString& mode)
{
    return !quantity || !price || LineAmount(quantity, price, mode).has_value();
}

QString LineAmountBeyondLimit()
{
    return QStringLiteral("数量 × 単価 の金額が -9,999,999,999 から 9,999,999,999 までに収まりません。"
                          "数量と単価を確認してください");
}

void LookupProduct(Database& data, ProductLookup& record)
{
    record.単位.clear();
    record.単価 = Currency();
    record.非課税 = false;
    record.ふりがな = QVariant();
    bool ok = false;
    const auto row = data.firstRow(
        QStringLiteral("select 単位, 単価, 非課税, ふりがな from 商品マスタ where 品名 = ? order by rowid"),
        {dbv::text(record.品名)}, &ok);
    if (!ok) qCWarning(lcDetail) << "product look-up failed:" << data.lastError();
    if (!row) return;
    record.単位 = dbv::text(row->value(0));
    record.単価 = Currency::fromDb(row->value(1)).value_or(Currency());
    record.非課税 = dbv::toBool(row->value(2));
    record.ふりがな = dbv::isNull(row->value(3)) ? QVariant() : row->value(3);
}

std::optional<QString> SubtotalRefusal(int n, const LineCells& current, const std::optional<LineCells>& prev,
                                       const std::optional<LineCells>& next, const LineCells& last)
{
    if (n == 1) return QStringLiteral("1行目には小計は作成できません。");
    if (current.subtotal) return QStringLiteral("小計行を重ねて計を作成することはできません。");
    if (prev && prev->subtotal) return QStringLiteral("小計の次行には小計は作成できません。");
    if (!prev || prev->nameEmpty) return QStringLiteral("直前行が空白行のとき小計は作成できません。");
    if (next && next->subtotal) return QStringLiteral("小計の前行には小計は作成できません。");
    // The insertion pushes line 100 out of the table.
    if (last.holdsAnything) return QStringLiteral("100行目に入力があるため小計は作成できません。");
    return std::nullopt;
}

namespace {

// The shared start of both moves: w明細 copied into w明細ソート, then w明細
// keeps only the lines above n. Returns the column names of w明細.
bool copyAndKeepAbove(Database& work, int n, const QStringList& fields)
{
    const QString all = joined(fields);
    return work.exec(QStringLiteral("delete from w明細ソート")) &&
           work.exec(QStringLiteral("insert into w明細ソート (%1) select %1 from w明細 order by 行番号").arg(all)) &&
           work.exec(QStringLiteral("delete from w明細")) &&
           work.exec(QStringLiteral("insert into w明細 (%1) select %1 from w明細ソート where 行番号 < ? order by 行番号")
                         .arg(all),
                     {n});
}

// Appends the lines of w明細ソート from `where` on, numbered first, first+1, ...
// up to line 100.
bool appendRenumbered(Database& work, const QStringList& fields, const QString& where, int from, int first)
{
    const QStringList rest = fields.mid(1);
    return work.exec(QStringLiteral("insert into w明細 (行番号, %1) "
                                    "select * from (select ? + row_number() over (order by 行番号) - 1 as n, %1 "
                                    "from w明細ソート where 行番号 %2 ?) where n <= ? order by n")
                         .arg(joined(rest), where),
                     {first, from, kLines});
}

// Fills w明細 up with blank lines to line 100.
bool appendBlankLines(Database& work)
{
    return work.exec(QStringLiteral("insert into w明細 (行番号, 品名, 単価, 単位, 数量, 金額, 非課税, 小計) "
                                    "with recursive k(i) as (select coalesce(max(行番号), 0) + 1 from w明細 "
                                    "union all select i + 1 from k where i < ?) "
                                    "select i, null, null, null, null, null, 0, 0 from k where i <= ?"),
                     {kLines, kLines});
}

bool finish(Database& work, Transaction& tx, Failure* error)
{
    if (work.exec(QStringLiteral("delete from w明細ソート")) && tx.commit()) return true;
    if (error) *error = work.lastError();
    return false;
}

// The lines can be moved around line n: w明細 has all its columns and n is a line.
bool movable(const QStringList& fields, int n, Failure* error)
{
    if (fields.size() > 小計 && n >= 1 && n <= kLines) return true;
    if (error) *error = Failure(QStringLiteral("w明細 の %1 行目を動かせません。").arg(n));
    return false;
}

bool fail(Database& work, Failure* error)
{
    if (error) *error = work.lastError();
    return false;
}

}  // namespace

bool InsertSubtotalLine(Database& work, int n, Failure* error)
{
    const QStringList fields = work.columns(QStringLiteral("w明細"));
    if (!movable(fields, n, error)) return false;
    Transaction tx(work);
    if (!tx.started()) return fail(work, error);

    // The previous subtotal line, and the sum of the amounts since it.
    bool ok = false;
    const QVariant p = work.scalar(
        QStringLiteral("select coalesce(max(行番号), 0) from w明細 where 行番号 <= ? and 小計 <> 0"), {n}, &ok);
    if (!ok) return fail(work, error);
    const QVariant s = work.scalar(
        QStringLiteral("select coalesce(sum(金額), 0) from w明細 where 行番号 > ? and 行番号 < ?"),
        {p.toLongLong(), n}, &ok);
    if (!ok) return fail(work, error);

    if (!copyAndKeepAbove(work, n, fields)) return fail(work, error);
    if (!work.exec(QStringLiteral("insert into w明細 (行番号, 品名, 入数, 単価, 単位, 数量, 小計, 金額) "
                                  "values (?, ?, null, null, null, null, 1, ?)"),
                   {n, kSubtotalName, s.toLongLong()}))
        return fail(work, error);
    if (!appendRenumbered(work, fields, QStringLiteral(">="), n, n + 1)) return fail(work, error);
    return finish(work, tx, error);
}

bool DeleteLine(Database& work, int n, Failure* error)
{
    const QStringList fields = work.columns(QStringLiteral("w明細"));
    if (!movable(fields, n, error)) return false;
    Transaction tx(work);
    if (!tx.started()) return fail(work, error);
    if (!copyAndKeepAbove(work, n, fields)) return fail(work, error);
    if (!appendRenumbered(work, fields, QStringLiteral(">"), n, n)) return fail(work, error);
    if (!appendBlankLines(work)) return fail(work, error);
    return finish(work, tx, error);
}

}  // namespace DetailLine
