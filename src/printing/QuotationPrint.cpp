#include "printing/QuotationPrint.h"

#include "printing/Report.h"

namespace QuotationPrint {

int PageCount(int usedLines, int linesPerPage)
{
    if (usedLines <= 0 || linesPerPage <= 0) return 1;
    return (usedLines + linesPerPage - 1) / linesPerPage;
}

DetailFormats FormatsFor(const QString& 小数)
{
    const QString two = QStringLiteral("#,##0.00");
    const QString none = QStringLiteral("#,###");
    if (小数 == QStringLiteral("数量+単価")) return {two, two};
    if (小数 == QStringLiteral("数量")) return {two, none};
    if (小数 == QStringLiteral("単価")) return {none, two};
    if (小数 == QStringLiteral("しない")) return {none, none};
    return {two, two};
}

std::optional<QString> TotalText(const std::optional<Currency>& amount, bool firstPage)
{
    if (!amount) return std::nullopt;
    // U+00A5: the yen sign itself; a backslash prints as a backslash here.
    if (firstPage) return QStringLiteral("\u00A5") + ReportFormat::number(*amount, QStringLiteral("#,###"));
    return QStringLiteral("***********");
}

}  // namespace QuotationPrint
