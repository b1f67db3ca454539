#include "app/DetailWorkTable.h"

#include "app/ProductMaster.h"
#include "platform/Database.h"

namespace {

bool hasText(const QVariant& v)
{
    return !dbv::text(v).isEmpty();
}

QVariant textValue(const QVariant& v)
{
    return dbv::isNull(v) ? QVariant() : QVariant(v.toString());
}

}  // namespace

bool QuotationLine::hasEmptyName() const
{
    return !dbv::isNull(品名) && dbv::text(品名).isEmpty();
}

bool QuotationLine::isBlank() const
{
    if (hasEmptyName()) return false;
    return TrimBlanks(dbv::text(品名)).isEmpty() && !hasText(商品区分) && !hasText(入数) && !数量 && !hasText(単位) &&
           !単価 && !金額 && !非課税 && !hasText(ふりがな) && !小計;
}

QuotationLine QuotationLineFromRecord(const QSqlRecord& r)
{
    QuotationLine l;
    l.品名 = textValue(r.value(QStringLiteral("品名")));
    l.商品区分 = textValue(r.value(QStringLiteral("商品区分")));
    l.入数 = textValue(r.value(QStringLiteral("入数")));
    l.数量 = Currency::fromDb(r.value(QStringLiteral("数量")));
    l.単位 = textValue(r.value(QStringLiteral("単位")));
    l.単価 = Currency::fromDb(r.value(QStringLiteral("単価")));
    l.金額 = Currency::fromDb(r.value(QStringLiteral("金額")));
    l.非課税 = dbv::toBool(r.value(QStringLiteral("非課税")));
    l.ふりがな = textValue(r.value(QStringLiteral("ふりがな")));
    l.小計 = dbv::toBool(r.value(QStringLiteral("小計")));
    return l;
}

int UsedLineCount(const QList<QuotationLine>& lines)
{
    for (int i = int(lines.size()) - 1; i >= 0; --i)
        if (!lines[i].isBlank()) return i + 1;
    return 0;
}

QList<QuotationLine> ReadDetailWorkRows(Database& work, bool* ok)
{
    const QList<QSqlRecord> rows =
        work.rows(QStringLiteral("select 品名, 商品区分, 入数, 数量, 単位, 単価, 金額, 非課税, ふりがな, 小計 "
                                 "from w明細 order by 行番号 is null, 行番号, rowid"),
                  {}, ok);
    QList<QuotationLine> out;
    out.reserve(rows.size());
    for (const QSqlRecord& r : rows) out.append(QuotationLineFromRecord(r));
    return out;
}
