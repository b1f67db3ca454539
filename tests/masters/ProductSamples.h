#pragma once
// Products for the product-list tests, and link files of linked
// applications as SQLite files (the reader takes them like Jet files).

#include "support/TestFolder.h"

#include <QFile>
#include <QStringList>
#include <QtTest>

namespace samples {

// 商品マスタ rows: 品名, 商品区分, 入数, 単位, 単価 (ten-thousandths), 非課税, ふりがな.
inline const QStringList kProducts{
    QStringLiteral("insert into 商品マスタ values ('鉛筆', '文具', '12', '本', 1000000, 0, 'えんぴつ')"),
    QStringLiteral("insert into 商品マスタ values ('赤鉛筆', '文具', '12', '本', 1200000, 0, 'あかえんぴつ')"),
    QStringLiteral("insert into 商品マスタ values ('コピー用紙', '紙', '500', '冊', 12345000, 1, 'こぴーようし')"),
    QStringLiteral("insert into 商品マスタ values ('100%ジュース', '飲料', NULL, '本', 0, 0, NULL)"),
    QStringLiteral("insert into 商品マスタ values ('O''Neil ペン', '文具', NULL, NULL, 2500000, 0, 'おにーるぺん')"),
    QStringLiteral("insert into 商品マスタ values ('消しゴム', '文具用品', NULL, '個', 500000, 0, 'けしごむ')"),
};

// Writes an SQLite file made of the statements at path (an empty file is an
// empty database to begin with).
inline void writeLinkFile(const TestFolder& folder, const QString& path, const QStringList& statements)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.close();
    folder.prepare(statements, path);
}

// A linked application's 商品マスタ in Jet's column types, with a column of
// its own; columns names the columns besides 品名 and ふりがな.
inline QStringList linkProducts(const QStringList& columns = {QStringLiteral("入数"), QStringLiteral("単位"),
                                                               QStringLiteral("単価"), QStringLiteral("非課税")})
{
    auto has = [&](const char16_t* c) { return columns.contains(QString::fromUtf16(c)); };
    QStringList defs{QStringLiteral("品名 TEXT")};
    if (has(u"入数")) defs << QStringLiteral("入数 TEXT");
    if (has(u"単位")) defs << QStringLiteral("単位 TEXT");
    if (has(u"単価")) defs << QStringLiteral("単価 CURRENCY");
    if (has(u"非課税")) defs << QStringLiteral("非課税 YESNO");
    defs << QStringLiteral("ふりがな TEXT") << QStringLiteral("備考 TEXT");
    QStringList statements{QStringLiteral("create table 商品マスタ (%1)").arg(defs.join(QStringLiteral(", ")))};
    struct Row {
        const char16_t* name;
        const char16_t* pack;
        const char16_t* unit;
        const char16_t* price;
        const char16_t* taxFree;
        const char16_t* reading;
    };
    const Row rows[] = {
        {u"'ノート'", u"'10'", u"'冊'", u"150.5", u"0", u"'のーと'"},
        {u"'切手'", u"NULL", u"'枚'", u"84", u"-1", u"'きって'"},
        {u"'封筒'", u"'100'", u"'束'", u"'1234.5678'", u"1", u"NULL"},
        {u"'のり'", u"NULL", u"NULL", u"0", u"0", u"'のり'"},
    };
    for (const Row& r : rows) {
        QStringList names{QStringLiteral("品名")};
        QStringList values{QString::fromUtf16(r.name)};
        const std::pair<const char16_t*, const char16_t*> optional[] = {
            {u"入数", r.pack}, {u"単位", r.unit}, {u"単価", r.price}, {u"非課税", r.taxFree}};
        for (const auto& [column, value] : optional) {
            if (!has(column)) continue;
            names << QString::fromUtf16(column);
            values << QString::fromUtf16(value);
        }
        names << QStringLiteral("ふりがな") << QStringLiteral("備考");
        values << QString::fromUtf16(r.reading) << QStringLiteral("'x'");
        statements << QStringLiteral("insert into 商品マスタ (%1) values (%2)")
                          .arg(names.join(QStringLiteral(", ")), values.join(QStringLiteral(", ")));
    }
    return statements;
}

// The rows linkProducts() gives, as the list holds them after an import
// (ordered by ふりがな in Japanese order, Null first; のーと reads as のおと):
// 品名|商品区分|入数|単位|単価|非課税|ふりがな.
inline QStringList importedRows(bool withPack)
{
    const QString pack10 = withPack ? QStringLiteral("'10'") : QStringLiteral("<null>");
    const QString pack100 = withPack ? QStringLiteral("'100'") : QStringLiteral("<null>");
    return {QStringLiteral("w商品マスタ|0|'封筒'|<null>|%1|'束'|12345678|1|<null>").arg(pack100),
            QStringLiteral("w商品マスタ|0|'切手'|<null>|<null>|'枚'|840000|1|'きって'"),
            QStringLiteral("w商品マスタ|0|'ノート'|<null>|%1|'冊'|1505000|0|'のーと'").arg(pack10),
            QStringLiteral("w商品マスタ|0|'のり'|<null>|<null>|<null>|0|0|'のり'")};
}

}  // namespace samples
