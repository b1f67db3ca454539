#pragma once
// Rules of 商品マスタ that the quotation tab and the product window share:
// the product name as a quotation line keeps it (trimmed, at most 50 bytes of
// Shift-JIS) and as the master keeps it (trimmed, any length), and the
// product-detail panel's store (one product and its new code values).

#include "platform/Currency.h"
#include "platform/Failure.h"
#include "platform/JapaneseText.h"

#include <QHash>
#include <QString>
#include <optional>

class Database;
struct SettingsRecord;

// 品名, in Shift-JIS bytes.
constexpr int kProductNameBytes = 50;
// A text cut to what a quotation line's 品名 holds (platform/JapaneseText.h).
inline QString CutToShiftJis(const QString& text)
{
    return CutToShiftJis(text, kProductNameBytes);
}


// The product name as a quotation line keeps it: leading and trailing blanks
// (half- and full-width) removed, then cut to its longest beginning of whole
// characters that fits in 50 bytes of Shift-JIS.
QString NormalizeProductName(const QString& name);

// The product name as 商品マスタ keeps it, whoever writes it (the product
// window's list and panel, the link import): leading and trailing blanks
// (half- and full-width) removed, never cut, so that a product listed under
// a long name is edited under that name. Only a quotation line is limited
// to 50 bytes.
QString ProductMasterName(const QString& name);

// Products stored under names with blanks at either end (older data, from
// before names were kept without them), each under the name the master keeps
// for it (ProductMasterName), its first row by rowid. Nothing when the
// master cannot be read.
std::optional<QHash<QString, qint64>> ProductsUnderUntrimmedNames(Database& data);

// Before a product is written under its master name: a product stored under
// that name with blanks at its ends (taken from untrimmed) takes the name,
// so that the write edits it rather than adding a second product; nothing
// changes when a product has the name already. False when the statement
// failed.
bool AdoptUntrimmedName(Database& data, QHash<QString, qint64>& untrimmed, const QString& name);

// The " order by ..." clause of a product list by the 商品表示順 setting:
// 品名 then ふりがな for "品名順", otherwise ふりがな then 品名, both in
// Japanese order (platform/JapaneseOrder.h).
QString ProductListOrderBy(const QString& setting);

// The fields of the product-detail panel. There is no 非課税: an existing
// product keeps its flag, a new one takes the table's default.
struct ProductDetail {
    QString 品名;  // as the master keeps it (ProductMasterName), not empty
    QString 入数;
    std::optional<Currency> 単価;
    QString 単位;
    QString 商品区分;
    QString ふりがな;
};

// Stores the product by 品名 (edits the first row of that name, or a product
// stored under it with blanks at its ends, which takes the name, or adds one;
// empty texts as Null) and offers its non-empty 入数, 単位 and 商品区分 to
// their code lists (入数 under the kind the 入数列タイトル setting names),
// all in one transaction on the data database. False, with the database's
// words in error and nothing written, when any of it failed.
bool StoreProductDetail(Database& data, const SettingsRecord& settings, const ProductDetail& product,
                        Failure* error = nullptr);
