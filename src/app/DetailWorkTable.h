#pragma once
// The detail lines of the quotation on screen, the work table w明細, read in
// line order: one reader for the quotation tab (storing, the totals) and the
// print road, so that what is stored and what is printed follow the same
// order.

#include <QList>
#include <QSqlRecord>

class Database;

// The rows of w明細 by 行番号 (a row without one last; rows of one number in
// the order they were written), each a record of 行番号 and the line's fields
// by name: 品名, 商品区分, 入数, 数量, 単位, 単価, 金額, 非課税, ふりがな, 小計.
// Empty, with ok false, when the table cannot be read.
QList<QSqlRecord> ReadDetailWorkRows(Database& work, bool* ok = nullptr);
