#pragma once
// Detail lines for tests that write into the quotation's current line: a
// line that already holds a product (or a subtotal), a line of w明細 as
// text, and the totals as shown and as stored. For tests of the quotation
// tab alone (TabFixtures.h) or on the main window (MainWindowFixture.h).

#include "platform/Controls.h"
#include "platform/Database.h"
#include "support/FindControl.h"
#include "workspace/QuotationStore.h"
#include "workspace/quotation_tab/QuotationTab.h"

#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTest>

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

// The totals the quotation tab shows: 税抜計|消費税|合計|見積金額 (empty for none).
inline QString shownTotals(const QuotationTab& q)
{
    QStringList out;
    for (const NumberBox* box : {control<NumberBox>(q, "num税抜計"), control<NumberBox>(q, "num消費税"), control<NumberBox>(q, "num合計"), control<NumberBox>(q, "num見積金額")})
        out << (box->value() ? box->value()->toPlainString() : QString());
    return out.join(QLatin1Char('|'));
}

// Stores the quotation on screen with 登録 (under a customer's name, the
// question answered Yes) and reads back the stored 金額 of line row (0-based)
// and the stored 税抜計|消費税|合計|見積金額: "150|150|8|158|158". Fixture:
// a SessionFixture with quotation(), the tab's or the main window's.
template <class Fixture>
QString storedAmounts(Fixture& f, int row)
{
    QuotationTab& q = f.quotation();
    if (control<TextComboBox>(q, "cmb顧客名")->text().isEmpty()) control<TextComboBox>(q, "cmb顧客名")->setText(QStringLiteral("見本商店"));
    const QVariant number = control<QLineEdit>(q, "txtNo")->text().toInt();
    control<QPushButton>(q, "cmd登録")->click();
    const QVariant amount = f.data().scalar(QStringLiteral("select 金額 from 見積書 where 伝票番号 = ? and 行番号 = ?"), {number, row});
    const auto header = f.data().firstRow(
        QStringLiteral("select 税抜計, 消費税, 合計, 見積金額 from 見積書ヘッダ where 伝票番号 = ?"), {number});
    QStringList out{Currency::fromDb(amount) ? Currency::fromDb(amount)->toPlainString() : QString()};
    for (int c = 0; c < 4; ++c) {
        const auto v = header ? Currency::fromDb(header->value(c)) : std::nullopt;
        out << (v ? v->toPlainString() : QString());
    }
    return out.join(QLatin1Char('|'));
}

// Opens the stored quotation `number` as a user does: typed into txtNo, Enter.
inline void reopen(QuotationTab& q, const QString& number)
{
    auto* box = control<QLineEdit>(q, "txtNo");
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, number);
    QTest::keyClick(box, Qt::Key_Return);
}

}  // namespace lines
