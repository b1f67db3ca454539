#pragma once
// Rules both quotation layouts (A4 and B5) print by.

#include "platform/Currency.h"

#include <QString>
#include <optional>

namespace QuotationPrint {

// The pages of a quotation with `usedLines` lines: ⌈usedLines / linesPerPage⌉,
// and one page when there is no line (never 0, so the footer never reads "/ 0").
int PageCount(int usedLines, int linesPerPage);

// Number formats of the quantity and the unit price by the 小数 setting
// ("数量+単価", "数量", "単価", "しない"; any other text keeps the designed two
// decimals). "#,###" prints nothing for 0.
struct DetailFormats {
    QString 数量;
    QString 単価;
};
DetailFormats FormatsFor(const QString& 小数);

// The total of the header: "¥" and the amount ("#,###") on the first page,
// eleven asterisks on the later pages, so the total prints once; nothing when
// the quotation has no amount.
std::optional<QString> TotalText(const std::optional<Currency>& amount, bool firstPage);

}  // namespace QuotationPrint
