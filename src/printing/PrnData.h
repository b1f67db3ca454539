#pragma once
// What a quotation report prints: the header and totals of one quotation
// (PrnData見積書, filled by the print hand-over just before a run and handed to
// the report as a copy) and the detail lines of the work table w明細.

#include "platform/Currency.h"
#include "platform/Database.h"
#include "printing/ReportLayout.h"

#include <QList>
#include <QString>
#include <optional>

struct PrnData見積書 {
    QString 伝票番号;
    QString 日付;      // as the quotation tab shows it; "" when it is not printed
    QString 顧客名;
    QString 顧客情報;  // several lines joined by CR LF
    std::optional<Currency> 税抜計;    // nothing when the tab shows none
    std::optional<Currency> 消費税;
    std::optional<Currency> 見積金額;  // printed as the total
    QString 件名;
    QString 有効期限;
    QString 支払条件;
    QString 受渡場所;
    QString 納期;
    QString メモ;
    QString 敬称;      // printed after the customer's name
    QString 印鑑1;     // titles of the four seal boxes
    QString 印鑑2;
    QString 印鑑3;
    QString 印鑑4;
    qint16 明細行数 = 0;  // used lines of w明細, 0 to 100: the reports' page count follows it
};

// One row of w明細 as the reports read it. Null texts read as "".
struct PrintDetailLine {
    int 行番号 = 0;
    QString 品名;
    QString 商品区分;
    QString 入数;
    std::optional<Currency> 数量;
    QString 単位;
    std::optional<Currency> 単価;
    std::optional<Currency> 金額;
    bool 非課税 = false;
    QString ふりがな;
    bool 小計 = false;  // a subtotal line
};

// The rows of w明細 in 行番号 order (whatever order the table holds them in; a
// row without 行番号 last).
// Empty, with ok false, when the table cannot be read.
QList<PrintDetailLine> ReadPrintDetailLines(Database& workDb, bool* ok = nullptr);

// The lines as data rows of a report, by column name (品名, 商品区分, 入数, 数量,
// 単位, 単価, 金額, 非課税, ふりがな, 小計); a missing number is Null.
QList<ReportRecord> DetailRecords(const QList<PrintDetailLine>& lines);
