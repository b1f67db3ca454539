// Total calculation: the totals, the consumption tax and the amounts of the
// subtotal lines, from the lines as given.

#include "workspace/Calculation.h"

#include "app/Rounding.h"

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
            // Tax on top of the taxable lines. Rounded without the limit of a
            // line amount: the lines may add up to far more than one line holds.
            const Decimal product{static_cast<__int128>(r.htotal.raw()) * kConsumptionTaxPercent,
                                  Currency::kDecimals + 2};
            const Currency tax = RoundWhole(product, settings.税端数);
            r.消費税 = tax;
            r.合計 = r.total + tax;
        } else if (settings.税区分 == QStringLiteral("内税")) {
            // The taxable lines contain the tax: the net part is htotal / 1.05,
            // kept to four decimals (halves to even).
            const Currency net = Currency::fromRaw(static_cast<int64_t>(
                divideHalfEven(static_cast<__int128>(r.htotal.raw()) * 100, 100 + kConsumptionTaxPercent)));
            const Currency tax = RoundWhole(Decimal::of(r.htotal - net), settings.税端数);
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
