// Line and total calculation: the totals, the consumption tax and the
// subtotal lines, from the committed lines of w明細.

#include "workspace/Calculation.h"

#include "app/Rounding.h"
#include "workspace/QuotationTab.h"

#include "app/Session.h"
#include "app/ShownSettings.h"
#include "platform/WorkTableModel.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcCalc, "velt.calc")

namespace {

// a / b rounded to a whole number, halves to even (b > 0).
__int128 divideHalfEven(__int128 a, __int128 b)
{
    __int128 q = a / b;
    __int128 r = a % b;
    const __int128 twice = (r < 0 ? -r : r) * 2;
    if (twice > b || (twice == b && (q % 2 != 0))) q += (a < 0) ? -1 : 1;
    return q;
}

}  // namespace

CalcResult CalculateQuotation(const std::vector<CalcLine>& lines, const CalcSettings& settings,
                              bool detailsChanged)
{
    CalcResult r;
    r.subtotals.resize(lines.size());
    Currency running;
    for (size_t i = 0; i < lines.size(); ++i) {
        const CalcLine& line = lines[i];
        if (line.小計) {
            // The lines since the previous subtotal line (or the top).
            r.subtotals[i] = running;
            running = Currency();
            continue;
        }
        if (!line.金額) continue;
        running += *line.金額;
        r.total += *line.金額;
        if (!line.非課税) r.htotal += *line.金額;
    }

    r.税抜計 = r.total;
    if (r.total == Currency()) {
        r.見積金額 = CalcResult::Amount::Empty;
        return r;
    }

    if (settings.税計算) {
        if (settings.税区分 == QStringLiteral("外税")) {
            // Tax on top of the taxable lines.
            const Decimal product{static_cast<__int128>(r.htotal.raw()) * kConsumptionTaxPercent,
                                  Currency::kDecimals + 2};
            const Currency tax = RoundAmount(product, settings.税端数);
            r.消費税 = tax;
            r.合計 = r.total + tax;
        } else if (settings.税区分 == QStringLiteral("内税")) {
            // The taxable lines contain the tax: the net part is htotal / 1.05,
            // kept to four decimals (halves to even).
            const Currency net = Currency::fromRaw(static_cast<int64_t>(
                divideHalfEven(static_cast<__int128>(r.htotal.raw()) * 100, 100 + kConsumptionTaxPercent)));
            const Currency tax = RoundAmount(r.htotal - net, settings.税端数);
            r.消費税 = tax;
            // Tax-exempt lines belong to the net total too, so that
            // net total + tax = total.
            r.税抜計 = r.total - tax;
            r.合計 = r.total;
        } else {
            r.合計 = r.total;
        }
    } else {
        r.合計 = r.total;
        r.税抜計.reset();
    }
    if (detailsChanged) r.見積金額 = CalcResult::Amount::FollowTotal;
    return r;
}

void QuotationTab::Calc明細()
{
    num合計->setNull();
    num税抜計->setNull();
    num消費税->setNull();

    Database& db = session_.WorkDb;
    std::vector<CalcLine> lines;
    std::vector<qint64> rowids;
    std::vector<std::optional<Currency>> stored;
    lines.reserve(DetailLine::kLines);
    rowids.reserve(DetailLine::kLines);
    stored.reserve(DetailLine::kLines);
    if (auto q = db.query(QStringLiteral("select rowid, 金額, 非課税, 小計 from w明細 order by 行番号"))) {
        while (q->next()) {
            CalcLine line;
            line.金額 = Currency::fromDb(q->value(1));
            line.非課税 = dbv::toBool(q->value(2));
            line.小計 = dbv::toBool(q->value(3));
            rowids.push_back(q->value(0).toLongLong());
            stored.push_back(line.金額);
            lines.push_back(line);
        }
    } else {
        // A sum that cannot be read counts as 0.
        qCWarning(lcCalc) << "detail lines could not be read:" << db.lastError();
    }

    CalcSettings settings;
    settings.税計算 = session_.設定情報.税計算;
    settings.税区分 = session_.設定情報.税区分;
    // The rounding mode as shown on the settings tab, stored or not.
    settings.税端数 = shownSettings_.shownTaxRounding();
    const CalcResult r = CalculateQuotation(lines, settings, DetailsChanged.value_or(false));

    num税抜計->setValue(r.税抜計);
    num消費税->setValue(r.消費税);
    num合計->setValue(r.合計);
    if (r.見積金額 == CalcResult::Amount::Empty)
        num見積金額->setNull();
    else if (r.見積金額 == CalcResult::Amount::FollowTotal)
        num見積金額->setValue(r.合計);

    // The subtotal lines, all in one transaction; only those whose amount changed are written.
    QList<std::pair<qint64, Currency>> writes;
    for (size_t i = 0; i < lines.size(); ++i)
        if (r.subtotals[i] && stored[i] != r.subtotals[i]) writes.append({rowids[i], *r.subtotals[i]});
    if (!writes.isEmpty()) {
        Transaction tx(db);
        bool ok = tx.started();
        for (const auto& [rowid, amount] : writes) {
            if (!ok) break;
            ok = db.exec(QStringLiteral("update w明細 set 金額 = ? where rowid = ?"),
                         {Currency::toDb(amount), rowid});
        }
        if (!ok || !tx.commit()) qCWarning(lcCalc) << "subtotal lines could not be written:" << db.lastError();
    }
    if (wkDat) wkDat->refresh();
}
