#pragma once
// The customers of a linked application's database, as the customer window's
// 参照 takes them into its list. The application's name (the settings'
// 顧客リンクアプリ) chooses the format of its customer table:
//
//   "Dovan請求書", "Tesra納品書"  顧客マスタ with 顧客名, 顧客情報, ふりがな, 敬称
//   "Moxel顧客管理"               顧客マスタ with 名称, 郵便番号, 住所1, 住所2, tel, fax, ふりがな, 敬称
//   "MoxelⅡ顧客管理"             the same with tel1 in place of tel
//   "Halvo顧客管理"               顧客マスタ without telephone and fax, and the
//                                 telephone numbers in 電話番号 (名称, code, no, 電話番号)
//
// In the last three the customer block is built from the parts that are not
// empty: "〒" + postal code (nnn-nnnn) + CR LF, 住所1 + CR LF, 住所2 + CR LF,
// "TEL " + telephone, " FAX " + fax; Halvo's block gets "TEL " + the first
// telephone number by code and no, + CR LF. A column the file lacks leaves its
// part empty; Halvo's telephone numbers that cannot be read (no 電話番号
// table, or one without 名称 or 電話番号) leave the blocks without them.

#include "masters/CustomerMaster.h"

#include <QList>
#include <QString>
#include <optional>

class LinkFile;

enum class CustomerLinkFormat { None, Plain, Moxel, Moxel2, Halvo };

// The format of an application name (exact text); None for any other name
// ("Sulka" among them: no customer format is known for it).
CustomerLinkFormat CustomerLinkFormatOf(const QString& application);

// The customers of an open link file, ordered by ふりがな in Japanese order
// (Null first).
// Nothing, with a message for the user in error, when the file cannot be
// read: no 顧客マスタ table, no ふりがな column, a value that cannot be read,
// a damaged file.
std::optional<QList<CustomerRow>> ReadLinkedCustomers(LinkFile& link, CustomerLinkFormat format, Failure* error);
