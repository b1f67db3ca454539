#pragma once
// Detail lines for tests that write into the quotation's current line: a
// line that already holds a product (or a subtotal), and a line of w明細 as
// text. For tests linking velt_frame (or velt_workspace).

#include "platform/Database.h"
#include "workspace/QuotationStore.h"

#include <QStringList>

namespace lines {

// A line holding an older product (quantity 4, price 10, amount 40), or a
// subtotal line of amount 40.
inline QuotationLine occupied(bool subtotal)
{
    QuotationLine l;
    if (subtotal) {
        l.品名 = QStringLiteral(" 小 計");
        l.小計 = true;
    } else {
        l.品名 = QStringLiteral("旧品");
        l.商品区分 = QStringLiteral("文具");
        l.入数 = QStringLiteral("12");
        l.数量 = Currency::fromWhole(4);
        l.単位 = QStringLiteral("箱");
        l.単価 = Currency::fromWhole(10);
        l.ふりがな = QStringLiteral("じょうぎ");
    }
    l.金額 = Currency::fromWhole(40);
    return l;
}

// Line row + 1 of w明細: 品名, 商品区分, 入数, 数量, 単位, 単価, 金額, 非課税,
// ふりがな; Null reads <null>.
inline QStringList cells(Database& work, int row)
{
    const QuotationLine l = ReadWorkLines(work)[row];
    auto money = [](const std::optional<Currency>& c) { return c ? c->toPlainString() : QStringLiteral("<null>"); };
    auto text = [](const QVariant& v) { return dbv::isNull(v) ? QStringLiteral("<null>") : v.toString(); };
    return {text(l.品名), text(l.商品区分), text(l.入数), money(l.数量), text(l.単位), money(l.単価), money(l.金額),
            l.非課税 ? QStringLiteral("1") : QStringLiteral("0"), text(l.ふりがな)};
}

}  // namespace lines
