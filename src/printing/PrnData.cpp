#include "printing/PrnData.h"

#include "printing/Report.h"

#include <QSqlRecord>

QList<PrintDetailLine> ReadPrintDetailLines(Database& workDb, bool* ok)
{
    QList<PrintDetailLine> out;
    const auto rows = workDb.rows(QStringLiteral("SELECT 行番号, 品名, 商品区分, 入数, 数量, 単位, 単価, 金額, 非課税, "
                                                 "ふりがな, 小計 FROM w明細 ORDER BY 行番号 IS NULL, 行番号, rowid"),
                                  {}, ok);
    out.reserve(rows.size());
    for (const QSqlRecord& r : rows) {
        PrintDetailLine l;
        l.行番号 = r.value(0).toInt();
        l.品名 = dbv::text(r.value(1));
        l.商品区分 = dbv::text(r.value(2));
        l.入数 = dbv::text(r.value(3));
        l.数量 = Currency::fromDb(r.value(4));
        l.単位 = dbv::text(r.value(5));
        l.単価 = Currency::fromDb(r.value(6));
        l.金額 = Currency::fromDb(r.value(7));
        l.非課税 = dbv::toBool(r.value(8));
        l.ふりがな = dbv::text(r.value(9));
        l.小計 = dbv::toBool(r.value(10));
        out.append(l);
    }
    return out;
}

namespace {
QVariant numberOrNull(const std::optional<Currency>& c)
{
    return c ? QVariant::fromValue(*c) : QVariant();
}
}  // namespace

QList<ReportRecord> DetailRecords(const QList<PrintDetailLine>& lines)
{
    QList<ReportRecord> out;
    out.reserve(lines.size());
    for (const PrintDetailLine& l : lines) {
        out.append(ReportRecord{
            {QStringLiteral("品名"), l.品名},
            {QStringLiteral("商品区分"), l.商品区分},
            {QStringLiteral("入数"), l.入数},
            {QStringLiteral("数量"), numberOrNull(l.数量)},
            {QStringLiteral("単位"), l.単位},
            {QStringLiteral("単価"), numberOrNull(l.単価)},
            {QStringLiteral("金額"), numberOrNull(l.金額)},
            {QStringLiteral("非課税"), l.非課税},
            {QStringLiteral("ふりがな"), l.ふりがな},
            {QStringLiteral("小計"), l.小計},
        });
    }
    return out;
}
