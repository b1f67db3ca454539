#pragma once
// Stored quotations without the window: one quotation as a record (header and
// lines), storing it in one transaction together with its customer, products,
// code values and the number counter, reading it back, deleting, and the
// history list of stored quotations.
//
// Stored form (data database): 見積書ヘッダ one row per 伝票番号; 見積書 its lines
// with 伝票区分 1 and 行番号 0, 1, 2, ...; money and 数量 INTEGER ten-thousandths,
// dates 'YYYY-MM-DD', yes/no 0/1.

#include "app/DetailWorkTable.h"
#include "app/CodeLists.h"
#include "platform/Currency.h"
#include "platform/Database.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>
#include <array>
#include <functional>
#include <optional>

struct QuotationHeader {
    int 伝票番号 = 0;
    std::optional<QDate> 日付;
    QVariant 顧客名;    // kept as typed
    QVariant 顧客情報;  // kept as typed (CR LF between lines), "" included
    QVariant 敬称;      // kept as typed
    QVariant メモ;      // null when empty
    QVariant 件名;
    QVariant 有効期限;
    QVariant 支払条件;
    QVariant 受渡場所;
    QVariant 納期;
    std::optional<Currency> 消費税;
    std::optional<Currency> 税抜計;
    std::optional<Currency> 合計;
    std::optional<Currency> 見積金額;
    std::array<QVariant, 4> 印鑑;  // "" when empty, not null

    bool operator==(const QuotationHeader&) const = default;
};

struct QuotationRecord {
    QuotationHeader header;
    QList<QuotationLine> lines;  // in line order
};

// A quotation number as stored: a whole number 1..2147483647 (blanks around it
// allowed). Nothing for any other text.
std::optional<int> ParseQuotationNumber(const QString& text);

// A number box text as a number: blanks around it, a sign, a decimal point and
// digit grouping are accepted.
std::optional<double> ParseNumericText(const QString& text);

// The number a load looks for: the numeric text rounded to a whole number,
// halves to the even neighbour (12.5 -> 12, 13.5 -> 14); nothing when the text
// is not numeric or the number is outside the 32-bit range.
std::optional<int> LookupQuotationNumber(const QString& text);

// The number a deletion takes: a numeric text whose value is a whole number
// within the 32-bit range ("12", "12.0"); nothing for any other text ("12.5",
// "abc"), which deletes nothing.
std::optional<int> WholeQuotationNumber(const QString& text);

// Registers a value in a code list (kcode, value) and says what it did; runs
// on the data database inside the store's transaction.
using CodeRegistrar = std::function<CodeEntry(const QString& kcode, const QString& value)>;

struct StoreOutcome {
    bool ok = false;
    Failure error;  // why, when ok is false
};

// Stores the quotation in one transaction on `data`: the customer, every named
// product of the lines, the old version of the number removed, the lines up to
// the last one that holds anything (blank lines in between kept), the header,
// the code values (単位 of each line; 有効期限, 支払条件, 受渡場所, 納期) and the
// counter 最大見積書番号 raised. All or nothing: a code value whose list could
// not be written fails the store.
StoreOutcome StoreQuotation(Database& data, const QuotationRecord& q, const CodeRegistrar& registerCode);

// The header of a stored quotation; nothing when there is none (ok false when
// the statement failed).
std::optional<QuotationHeader> LoadQuotationHeader(Database& data, int number, bool* ok = nullptr,
                                                   Failure* error = nullptr);
// Its lines in line order, at most DetailLine::kLines.
QList<QuotationLine> LoadQuotationLines(Database& data, int number, bool* ok = nullptr, Failure* error = nullptr);
// Reads one stored quotation; nothing when the number has no header.
// ok (when given) is false when a statement failed, error then holds the
// database's words.
std::optional<QuotationRecord> LoadQuotation(Database& data, int number, bool* ok = nullptr, Failure* error = nullptr);

// Writes lines into the rows of w明細 (row k gets the k-th line, rows
// without a line become blank), in one transaction on the work database:
// false (error set) when it failed, and then w明細 is as it was.
bool WriteWorkLines(Database& work, const QList<QuotationLine>& lines, Failure* error = nullptr);
// The rows of w明細 in line order (ReadDetailWorkRows).
QList<QuotationLine> ReadWorkLines(Database& work, bool* ok = nullptr);

// Deletes the quotations (lines and header) in one transaction.
StoreOutcome DeleteQuotations(Database& data, const QList<int>& numbers);

struct HistoryFilter {
    QString 顧客名;                // "" = every customer (exact match otherwise)
    std::optional<QDate> 開始;     // first day, included
    std::optional<QDate> 終了;     // last day, included
};

struct HistoryRow {
    int 伝票番号 = 0;
    QVariant 日付;
    QVariant 顧客名;
    QVariant 件名;
};

// The stored headers matching the filter, newest date first, ties by number
// highest first. Dates compare on their date part.
QList<HistoryRow> QueryHistory(Database& data, const HistoryFilter& filter, bool* ok = nullptr);

// Replaces the rows of w履歴リスト by the listed quotations (unticked). Returns
// the count of listed rows with a customer name, nothing on failure.
std::optional<int> FillHistoryList(Database& work, Database& data, const HistoryFilter& filter);
