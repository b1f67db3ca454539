#pragma once
// The six table copies of the data conversion: the older data file
// ("VeltData.mdb", read-only through LinkFile) into the current data
// database, one table at a time, each in one transaction.
//
// Each copy reads the older table in its order, a row at a time, and for
// every row finds the current row by the table's key and updates it, or adds
// a new row. Keys are compared as Jet compared them: texts without regard to
// case, so an older 'abc商事' updates the current 'ABC商事'. Only the columns the older table has are
// written (a column it lacks keeps its value, or its default in a new row),
// plus a few fixed values. Values take the current file's forms: money and
// 数量 INTEGER ten-thousandths, dates 'YYYY-MM-DD' (with ' HH:MM:SS[.zzz]' when
// they carry a time of day), yes/no 0/1. Nothing is ever deleted.
//
// Rules beyond a plain copy, so that a conversion never damages what the
// current file holds:
// - A row whose key is Null or empty, or does not fit its column, is skipped
//   and counted. A quotation line's 日付, 伝票区分 and 行番号 are matched
//   as they are, Null to Null: only its 顧客名 and 伝票番号 can be empty.
// - An older table without columns, or without a key field (the header's
//   顧客名 and 日付 too), is not copied: it fails with the reason.
// - 最大見積書番号 ends as the largest of the current counter, the older
//   counter and the highest quotation number stored after the quotation
//   copies (raised in the same transaction as their rows), so no number
//   already stored is handed out again.
// - Code-list rows keep to the numbered slots "01".."99": a row with another
//   code is skipped; a kind the current file lacks gets its 99 free slots
//   first; an empty sname is stored as Null (a free slot).
// - A quotation arrives with its header and all its lines, or not at all:
//   its lines are those of its number. One is left out whole, and named by
//   number in the outcome, when a line of it has an empty key or a key that
//   does not fit, when the older file has lines of it but no header, or when
//   the current file holds another quotation under its number (another
//   customer, or another day). The same customer on the same day is the
//   same quotation, updated.
// - Quotation lines are matched on the day of their date; the older value
//   is stored as it is.
// - Any other value that does not fit its current column is left unwritten:
//   the row keeps that field's value (a new row its column's default), the
//   other fields are written, and the value is counted.
// - A failed write leaves the whole table as it was (rolled back) and is
//   reported.
// - The quotation headers and lines are copied together, in one
//   transaction, by whichever of their two steps runs first: a failure of
//   either table leaves both as they were, and one that cannot be read
//   holds back every quotation of the other, named.

#include "conversion/TableOutcome.h"
#include "platform/Database.h"
#include "platform/LinkFile.h"

#include <QStringList>
#include <optional>
#include <utility>

class DataConversion {
public:
    // The six tables in the order of a run.
    static const QStringList Tables;

    DataConversion(LinkFile& Dbs, Database& data);

    TableOutcome CnvJisyaInfo();       // 自社情報 (the settings row)
    TableOutcome CnvKokyaku();         // 顧客マスタ
    TableOutcome CnvSyohin();          // 商品マスタ
    TableOutcome CnvCode();            // コードマスタ
    TableOutcome CnvMitumoriHeader();  // 見積書ヘッダ
    TableOutcome CnvMitumori();        // 見積書

private:
    // Both quotation tables in one transaction, once: their outcomes.
    void copyQuotations();

    LinkFile& Dbs_;
    Database& data_;
    std::optional<std::pair<TableOutcome, TableOutcome>> quotations_;  // 見積書ヘッダ, 見積書
};
