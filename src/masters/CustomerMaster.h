#pragma once
// The customer master 顧客マスタ (data database) and its edit copy
// w顧客マスタ (work database), as the customer window and the link import read
// and write them. Plain routines over the two databases; the window adds the
// questions, the busy label and the messages.
//
// Values are text or Null; an empty text is written as Null.

#include "platform/Failure.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

class Database;

// Columns of w顧客マスタ, in their order, as the customer window's grid shows them.
namespace CustomerListColumn {
enum { 行 = 0, チェック = 1, 顧客名 = 2, 顧客情報 = 3, ふりがな = 4, 敬称 = 5 };
}

struct CustomerRow {
    QVariant 顧客名;
    QVariant 顧客情報;
    QVariant ふりがな;
    QVariant 敬称;
};

// The customers whose 顧客名 contains nameText and whose ふりがな contains
// kanaText (an empty text leaves its field unfiltered), ordered by ふりがな
// in Japanese order (Null first), then as stored. The texts are matched as
// substrings, "*" standing for any text and "?" for any one character ("%",
// "_" and quotes are plain characters; Latin letters in either case). Nothing when the query fails (error set).
std::optional<QList<CustomerRow>> FindCustomers(Database& data, const QString& nameText, const QString& kanaText,
                                                Failure* error = nullptr);

// Replaces every row of w顧客マスタ by rows, in their order, in one
// transaction: 行 = 1, 2, ... when numbered, else Null; チェック unticked.
// False (error set, the table as it was) when a statement fails.
bool ReplaceCustomerWorkList(Database& work, const QList<CustomerRow>& rows, bool numbered, Failure* error = nullptr);

// The rows of w顧客マスタ in table order; with ticked, only the ticked ones.
std::optional<QList<CustomerRow>> ReadCustomerWorkList(Database& work, bool tickedOnly, Failure* error = nullptr);

// Writes each row into 顧客マスタ by its 顧客名: the first stored row of that
// name is edited, or a row is added. Rows without 顧客名 are skipped; of two
// rows with one name the later one's values remain. No transaction of its
// own: the caller runs it inside one. False (error set) when a statement fails.
bool WriteCustomers(Database& data, const QList<CustomerRow>& rows, Failure& error);

// Deletes every customer of these names from 顧客マスタ (an empty name deletes
// nothing); like WriteCustomers, inside the caller's transaction.
bool DeleteCustomers(Database& data, const QStringList& names, Failure& error);
