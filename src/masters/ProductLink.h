#pragma once
// The product link import: the products of a linked application's database
// (its table 商品マスタ, ordered by ふりがな in Japanese order) into the product list
// w商品マスタ. The file is read whole first; the list is replaced only when
// every row was read, and the file itself is never changed.

#include "platform/Failure.h"

#include <QString>
#include <QStringList>

class Database;

// The columns read for a link application, by its name as the settings hold
// it: 品名, 入数, 単位, 単価, 非課税, ふりがな for "Dovan請求書", "Tesra請求書"
// and "Tesra納品書"; the same without 入数 for "Grevo請求書"; nothing for any
// other application (it keeps no product data this program can read).
QStringList ProductLinkColumns(const QString& application);

// What an import did.
struct ProductLinkResult {
    bool ok = false;
    int rows = 0;   // rows imported
    Failure error;  // why nothing was imported
};

// Reads the link file at path with the given columns (ProductLinkColumns)
// and replaces the list by its rows: 品名 as the master keeps it
// (ProductMasterName: without blanks at either end, never cut), 商品区分
// empty, 入数 empty when it is not read, no row ticked, a yes stored as -1
// written as 1. A file that is no database, cannot be read, or lacks the
// table or one of the columns leaves the list as it was.
ProductLinkResult ImportProductLink(const QString& path, const QStringList& columns, Database& work);
