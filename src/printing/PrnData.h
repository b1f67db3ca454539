#pragma once
// What a quotation report prints: the header and totals of one quotation
// (PrnData見積書, filled by the print hand-over just before a run and handed to
// the report as a copy) and the detail lines (QuotationLine) it is given.

#include "app/DetailWorkTable.h"
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

// The lines as data rows of a report, by column name (品名, 商品区分, 入数, 数量,
// 単位, 単価, 金額, 非課税, ふりがな, 小計); a Null text reads as "", a missing
// number is Null.
QList<ReportRecord> DetailRecords(const QList<QuotationLine>& lines);
