#pragma once
// The quotation on the main window's quotation tab, as the other windows see
// it. The customer and product windows write their picks through it, the
// customer search hands back its name, and the print hand-over reads the
// quotation as it is shown. The quotation tab implements it; nothing outside
// the tab reaches its controls.

#include "platform/Currency.h"

#include <QDate>
#include <QString>
#include <array>
#include <functional>
#include <optional>

// A product picked in the product window. Each field is written into the
// current detail line only when it is given (a text not empty, a value not
// Null). 単価 is the stored price, not its display: "1,235" on a list without
// decimals may stand for 1234.5, and a price of 0 is written too.
struct ProductPick {
    QString 品名;
    QString 単位;
    std::optional<Currency> 単価;
    QString ふりがな;
    std::optional<bool> 非課税;
};

// The quotation header as the quotation tab shows it at this moment.
struct ShownQuotation {
    QString txtNo;                 // the number box's text
    std::optional<QDate> 日付;     // dt日付's value (nothing when empty)
    QString 日付表示;              // dt日付's display text, in the format the layout set
    QString 顧客名;                // cmb顧客名
    QString 顧客情報;              // txt顧客情報 (CR LF between lines)
    QString 件名;                  // txt件名
    QString メモ;                  // txtメモ (CR LF between lines)
    std::array<QString, 4> 印鑑;   // txt印鑑(0) .. (3)
    QString 有効期限;              // cmb有効期限
    QString 支払条件;              // cmb支払条件
    QString 受渡場所;              // cmb受渡場所
    QString 納期;                  // cmb納期
    QString 敬称;                  // cmb敬称

    // A total box: its display text ("" when empty) and its value.
    struct Amount {
        QString text;
        std::optional<Currency> value;
    };
    Amount 税抜計;    // num税抜計
    Amount 消費税;    // num消費税
    Amount 見積金額;  // num見積金額
};

// A print request from the print panel: the paper chosen, preview or print,
// and whether the date is printed.
struct PrintRequest {
    QString paper;  // the text of cmb用紙選択 ("A4白紙", "B5白紙", "Q-310", ...)
    bool print = false;  // false: preview
    bool withDate = true;  // chk日付印刷
};
using PrintHandler = std::function<void(const PrintRequest&)>;

class QuotationPort {
public:
    virtual ~QuotationPort() = default;

    // The customer window's pick: a non-empty name replaces cmb顧客名, a
    // non-empty block replaces txt顧客情報; then cmb顧客名 takes the focus.
    virtual void pickCustomer(const QString& name, const QString& block) = 0;

    // The product window's pick into the grid's current line, in one write;
    // a picked price counts as a typed one (the line's 金額 and the totals
    // are recomputed); then the main window is activated and the grid
    // takes the focus with 品名 current. A subtotal line refuses it with the
    // grid's own refusal message, and a failed write says so: false, and the
    // line is as it was.
    virtual bool pickProduct(const ProductPick& pick) = 0;

    // The customer search's result into cmb顧客名.
    virtual void setCustomerName(const QString& name) = 0;

    // The header and totals as shown, for the print hand-over; the detail
    // lines are in w明細 of the work database.
    virtual ShownQuotation shownQuotation() const = 0;

    // Gives the detail grid the focus.
    virtual void focusDetailGrid() = 0;
};
