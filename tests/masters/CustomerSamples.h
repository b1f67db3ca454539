#pragma once
// Customers for the customer-list and customer-window tests.

#include "platform/Database.h"

#include <QList>
#include <QStringList>

// Adds customers (name, block, reading, honorific; "<null>" for Null) to the data file.
inline bool addCustomers(Database& data, const QList<QStringList>& rows)
{
    for (const QStringList& r : rows) {
        Fields values;
        const QStringList columns{QStringLiteral("顧客名"), QStringLiteral("顧客情報"), QStringLiteral("ふりがな"), QStringLiteral("敬称")};
        for (int i = 0; i < columns.size(); ++i) {
            const QString v = r.value(i, QStringLiteral("<null>"));
            values.append({columns[i], v == u"<null>" ? QVariant() : QVariant(v)});
        }
        if (!data.insert(QStringLiteral("顧客マスタ"), values)) return false;
    }
    return true;
}

// The customers of the search cases: readings that sort, two without one,
// and names holding the characters a pattern would take for wildcards.
inline const QList<QStringList> kSearchCustomers{
    {"田中商店", "<null>", "たなかしょうてん", "様"},
    {"大和運輸", "<null>", "だいわうんゆ", "御中"},
    {"ABC物産", "<null>", "<null>", "御中"},
    {"100%商事", "<null>", "ひゃくぱーせんと", "御中"},
    {"A_B工業", "<null>", "えーびー", "御中"},
    {"星*印刷", "<null>", "ほしじるし", "様"},
    {"何?屋", "<null>", "なにや", "様"},
    {"O'Brien商会", "<null>", "おぶらいえん", "様"},
    {"無名", "<null>", "<null>", "<null>"},
};

// All of them as a search without a text lists them: in Japanese order of
// the readings, だいわ before たなか (the voicing counts after the letters),
// Null readings first.
inline const QStringList kSearchCustomersInOrder{"ABC物産", "無名", "A_B工業", "O'Brien商会", "大和運輸",
                                                 "田中商店", "何?屋", "100%商事", "星*印刷"};
