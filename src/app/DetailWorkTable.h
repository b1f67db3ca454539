#pragma once
// The detail lines of the quotation on screen, the work table w明細, read in
// line order: one reader and one rule of "a line holds something" for the
// quotation tab (storing, the totals) and the print road, so that what is
// stored and what is printed follow the same order and end at the same line.

#include "platform/Currency.h"

#include <QList>
#include <QSqlRecord>
#include <QVariant>
#include <optional>

class Database;

// One detail line. Text fields are a QString or null (an invalid QVariant).
struct QuotationLine {
    QVariant 品名;
    QVariant 商品区分;
    QVariant 入数;
    std::optional<Currency> 数量;
    QVariant 単位;
    std::optional<Currency> 単価;
    std::optional<Currency> 金額;
    bool 非課税 = false;
    QVariant ふりがな;
    bool 小計 = false;

    // Nothing typed on the line at all: no 品名 but blanks, no text in
    // 商品区分, 入数, 単位 or ふりがな, no number in 数量, 単価 or 金額 (a 0 is
    // a number), neither 非課税 nor 小計 ticked. One exception: a 品名 that
    // is an empty text (not Null) holds something, as the print has always
    // counted it; a store keeps it as an empty text, so it reloads and prints
    // the same. A quotation is stored, and printed, up to the last line that
    // is not blank (UsedLineCount).
    bool isBlank() const;
    // The 品名 is an empty text, not Null: the exception above.
    bool hasEmptyName() const;
    bool operator==(const QuotationLine&) const = default;
};

// A line from a record holding its fields by name (a row of w明細 or of the
// stored lines); an empty text stays an empty text, apart from Null.
QuotationLine QuotationLineFromRecord(const QSqlRecord& r);

// The used lines: every line up to the last one that is not blank, blank
// lines before it included. What a store keeps and what a print prints.
int UsedLineCount(const QList<QuotationLine>& lines);

// The rows of w明細 as lines, by 行番号 (a row without one last; rows of one
// number in the order they were written). Empty, with ok false, when the
// table cannot be read.
QList<QuotationLine> ReadDetailWorkRows(Database& work, bool* ok = nullptr);
