#pragma once
// The product list of the product window: w商品マスタ of the work database,
// filled from 商品マスタ by the search bar's filters and written back by its
// 登録 and 削除. Plain rules without the window.

#include "platform/Failure.h"

#include <QString>

class Database;

// Columns of w商品マスタ and of the product grid.
namespace ProductColumn {
constexpr int チェック = 0;
constexpr int 品名 = 1;
constexpr int 商品区分 = 2;
constexpr int 入数 = 3;
constexpr int 単位 = 4;
constexpr int 単価 = 5;
constexpr int 非課税 = 6;
constexpr int ふりがな = 7;
}  // namespace ProductColumn

// The search bar: each text as typed, empty for no filter. 品名 and かな
// match anywhere inside the name or the reading, "*" standing for any text
// and "?" for any one character, every other character literally, and Latin
// letters in either case; 商品区分 must match exactly. All given filters
// apply together.
struct ProductFilter {
    QString 品名;
    QString かな;
    QString 商品区分;
};

// Replaces the list by the products of 商品マスタ that pass the filter,
// unticked, ordered by 品名 then ふりがな when order (the 商品表示順 setting)
// is "品名順", otherwise by ふりがな then 品名 (Null first; Japanese order). False, with the
// database's words in error and the list as it was, when it failed.
bool FillProductList(Database& data, Database& work, const ProductFilter& filter, const QString& order,
                     Failure* error = nullptr);

// Writes every listed product into 商品マスタ by 品名 as the master keeps it
// (ProductMasterName: without blanks at either end, never cut): edits the
// first row of that name (or a product stored under it with blanks at its
// ends, which takes the name) or adds one; all seven fields; a name listed twice
// ends with the later row's values. Rows without a name (empty or only
// blanks) are passed over; products not in the list stay as they are. One transaction: false,
// with the database's words in error and 商品マスタ as it was, when any write
// failed.
bool SaveProductList(Database& data, Database& work, Failure* error = nullptr);

// Deletes the ticked products from 商品マスタ by 品名 and their rows from the
// list, each in one transaction; the list's is committed first. Nothing
// ticked: nothing happens. False, with the database's words in error, when
// either failed: then no product was deleted (and the list, unless only the
// products' commit failed, keeps its rows and ticks), so a list save can
// never write a deleted product back.
bool DeleteTickedProducts(Database& data, Database& work, Failure* error = nullptr);
