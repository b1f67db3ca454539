#pragma once
// The figures of a quotation from its detail lines: the totals, the
// consumption tax by the tax mode, and the amount of every subtotal line.
// A plain function, so the rules can be checked without the window;
// QuotationTab::Calc明細 reads the lines from w明細 and shows the result.

#include "platform/Currency.h"

#include <QString>
#include <optional>
#include <vector>

// Consumption tax, in percent.
inline constexpr int kConsumptionTaxPercent = 5;

struct CalcLine {
    std::optional<Currency> 金額;  // nothing on a blank line
    bool 非課税 = false;
    bool 小計 = false;  // a subtotal line: its own 金額 is an output, never an input
};

struct CalcSettings {
    bool 税計算 = false;   // tax is computed at all
    QString 税区分;        // "外税", "内税", any other text: no tax
    QString 税端数;        // rounding mode of the tax, handed to RoundWhole
};

struct CalcResult {
    Currency total;   // sum of the lines that are not subtotal lines
    Currency htotal;  // the same without the tax-exempt lines
    // The total boxes; nothing = the box is empty.
    std::optional<Currency> 税抜計;
    std::optional<Currency> 消費税;
    std::optional<Currency> 合計;
    // What happens to the quotation amount.
    enum class Amount { Keep, Empty, FollowTotal } 見積金額 = Amount::Keep;
    // Per line: the amount a subtotal line must hold (nothing on other lines).
    std::vector<std::optional<Currency>> subtotals;
};

// detailsChanged: quantities or unit prices were typed since the last load,
// so the quotation amount follows the total.
CalcResult CalculateQuotation(const std::vector<CalcLine>& lines, const CalcSettings& settings,
                              bool detailsChanged);
