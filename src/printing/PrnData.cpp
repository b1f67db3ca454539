#include "printing/PrnData.h"

#include "printing/Report.h"


namespace {
QVariant numberOrNull(const std::optional<Currency>& c)
{
    return c ? QVariant::fromValue(*c) : QVariant();
}
}  // namespace

QList<ReportRecord> DetailRecords(const QList<QuotationLine>& lines)
{
    QList<ReportRecord> out;
    out.reserve(lines.size());
    for (const QuotationLine& l : lines) {
        out.append(ReportRecord{
            {QStringLiteral("品名"), dbv::text(l.品名)},
            {QStringLiteral("商品区分"), dbv::text(l.商品区分)},
            {QStringLiteral("入数"), dbv::text(l.入数)},
            {QStringLiteral("数量"), numberOrNull(l.数量)},
            {QStringLiteral("単位"), dbv::text(l.単位)},
            {QStringLiteral("単価"), numberOrNull(l.単価)},
            {QStringLiteral("金額"), numberOrNull(l.金額)},
            {QStringLiteral("非課税"), l.非課税},
            {QStringLiteral("ふりがな"), dbv::text(l.ふりがな)},
            {QStringLiteral("小計"), l.小計},
        });
    }
    return out;
}
