#pragma once
// A stored quotation's parts for the store tests and the tab's store tests:
// products and subtotal lines, a full header, the tables a store touches as a
// snapshot, and the code lists and counter it updates.

#include "app/CodeLists.h"
#include "support/TestFolder.h"
#include "workspace/QuotationStore.h"

#include <QSqlRecord>
#include <QStringList>

namespace samples {

inline Currency yen(qint64 v)
{
    return Currency::fromWhole(v);
}

inline QuotationLine product(const QString& name, qint64 qty, qint64 price, bool exempt = false)
{
    QuotationLine l;
    l.品名 = name;
    l.商品区分 = QStringLiteral("文具");
    l.入数 = QStringLiteral("12");
    l.数量 = yen(qty);
    l.単位 = QStringLiteral("本");
    l.単価 = yen(price);
    l.金額 = yen(qty * price);
    l.非課税 = exempt;
    l.ふりがな = QStringLiteral("えんぴつ");
    return l;
}

inline QuotationLine subtotal(qint64 amount)
{
    QuotationLine l;
    l.品名 = QStringLiteral("小 計");
    l.金額 = yen(amount);
    l.小計 = true;
    return l;
}

inline QuotationHeader header(int number, const QString& customer)
{
    QuotationHeader h;
    h.伝票番号 = number;
    h.日付 = QDate(2024, 5, 31);
    h.顧客名 = customer;
    h.顧客情報 = QStringLiteral("〒100-0001\r\n東京都千代田区1-1\r\nTEL 03-0000-0000");
    h.敬称 = QStringLiteral("御中");
    h.メモ = QStringLiteral("搬入は\r\n午前中");
    h.件名 = QStringLiteral("事務用品 'A' 一式");
    h.有効期限 = QStringLiteral("発行後30日");
    h.支払条件 = QStringLiteral("月末締め翌月末払い");
    h.受渡場所 = QStringLiteral("貴社指定場所");
    h.納期 = QStringLiteral("受注後1週間");
    h.消費税 = yen(500);
    h.税抜計 = yen(10000);
    h.合計 = yen(10500);
    h.見積金額 = yen(10500);
    h.印鑑 = {QStringLiteral("承認"), QString(), QStringLiteral("担当"), QString()};
    return h;
}

// Every row of the tables a store touches: equal snapshots mean nothing changed.
inline QStringList snapshot(Database& db)
{
    return TableSnapshot(db, {QStringLiteral("見積書ヘッダ"), QStringLiteral("見積書"), QStringLiteral("顧客マスタ"),
                              QStringLiteral("商品マスタ"), QStringLiteral("コードマスタ"), QStringLiteral("自社情報")});
}

// The registrar a store is given: code values into the data database's lists.
inline CodeRegistrar codesOf(Database& db)
{
    return [&db](const QString& kcode, const QString& value) { return AutoEntryCode(db, kcode, value); };
}

inline QStringList codeValues(Database& db, const QString& kcode)
{
    QStringList out;
    for (const QSqlRecord& r : db.rows(
             QStringLiteral("select sname from コードマスタ where kcode = ? and sname is not null order by code"), {kcode}))
        out << r.value(0).toString();
    return out;
}

inline QVariant counter(Database& db)
{
    return db.scalar(QStringLiteral("select 最大見積書番号 from 自社情報"));
}

// Stored quotations for the history list. Dates in May cover both bounds, a
// tie (3 and 4 on the 15th), a stored time of day (5) and a quotation
// without a customer name (7).
struct Listed {
    int number;
    QString date;      // stored as this day; 5 also with a time of day
    QString customer;  // "" = stored without a customer name
};
inline const QList<Listed> kListed{
    {1, "2024-04-30", "甲商事"}, {2, "2024-05-01", "乙's 工業"}, {3, "2024-05-15", "甲商事"},
    {4, "2024-05-15", "乙's 工業"}, {5, "2024-05-31", "甲商事"},   {6, "2024-06-01", "甲商事"},
    {7, "2024-05-20", ""},
};

// Stores kListed (subject 件名<n>, one line 品<n>); false when a store failed.
inline bool storeListed(Database& data)
{
    for (const Listed& s : kListed) {
        QuotationRecord q;
        q.header.伝票番号 = s.number;
        q.header.日付 = QDate::fromString(s.date, Qt::ISODate);
        q.header.顧客名 = s.customer.isEmpty() ? QVariant() : QVariant(s.customer);
        q.header.件名 = QStringLiteral("件名%1").arg(s.number);
        QuotationLine l;
        l.品名 = QStringLiteral("品%1").arg(s.number);
        q.lines << l;
        if (!StoreQuotation(data, q, {}).ok) return false;
    }
    return data.exec(QStringLiteral("update 見積書ヘッダ set 日付 = '2024-05-31 15:30:00' where 伝票番号 = 5"));
}

}  // namespace samples
