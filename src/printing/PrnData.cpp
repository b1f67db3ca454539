#include "printing/PrnData.h"

#include "app/DetailWorkTable.h"
#include "printing/Report.h"

#include <QSqlRecord>

QList<PrintDetailLine> ReadPrintDetailLines(Database& workDb, bool* ok)
{
    QList<PrintDetailLine> out;
    const QList<QSqlRecord> rows = ReadDetailWorkRows(workDb, ok);
    out.reserve(rows.size());
    for (const QSqlRecord& r : rows) {
        PrintDetailLine l;
        l.行番号 = r.value(QStringLiteral("行番号")).toInt();
        l.品名 = dbv::text(r.value(QStringLiteral("品名")));
        l.商品区分 = dbv::text(r.value(QStringLiteral("商品区分")));
        l.入数 = dbv::text(r.value(QStringLiteral("入数")));
        l.数量 = Currency::fromDb(r.value(QStringLiteral("数量")));
        l.単位 = dbv::text(r.value(QStringLiteral("単位")));
        l.単価 = Currency::fromDb(r.value(QStringLiteral("単価")));
        l.金額 = Currency::fromDb(r.value(QStringLiteral("金額")));
        l.非課税 = dbv::toBool(r.value(QStringLiteral("非課税")));
        l.ふりがな = dbv::text(r.value(QStringLiteral("ふりがな")));
        l.小計 = dbv::toBool(r.value(QStringLiteral("小計")));
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
