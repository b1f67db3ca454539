#pragma once
// The table-copy tests' fixture: a fresh data folder with its data file
// open and an older file made as SQLite (OldDataFile) beside it, the copies
// run over them, and what the tests read back.

#include "conversion/DataConversion.h"
#include "platform/Database.h"
#include "platform/LinkFile.h"
#include "support/OldDataFile.h"
#include "support/TestFolder.h"

#include <QtTest>

using Copy = TableOutcome (DataConversion::*)();

inline const QStringList kAllTables{QStringLiteral("自社情報"),     QStringLiteral("顧客マスタ"), QStringLiteral("商品マスタ"),
                             QStringLiteral("コードマスタ"), QStringLiteral("見積書ヘッダ"), QStringLiteral("見積書")};

// A data folder with its data file open, and the older file beside it.
class Folder {
public:
    explicit Folder(const QStringList& current = {})
    {
        folder.prepare(current);
        opened = data.open(folder.dataDbPath());
    }
    QString oldPath() const { return folder.dataFolder() + QStringLiteral("VeltData.mdb"); }
    bool makeOld(const QStringList& statements, bool withSchema = true)
    {
        return OldDataFile::create(oldPath(), statements, withSchema);
    }
    QList<TableOutcome> run(const QList<Copy>& copies)
    {
        LinkFile link;
        if (!link.open(oldPath())) {
            qWarning().noquote() << link.errorText();
            return {};
        }
        DataConversion conversion(link, data);
        QList<TableOutcome> out;
        for (Copy c : copies) out << (conversion.*c)();
        return out;
    }
    TableOutcome run(Copy copy) { return run(QList<Copy>{copy}).value(0); }
    QList<TableOutcome> runAll()
    {
        return run({&DataConversion::CnvJisyaInfo, &DataConversion::CnvKokyaku, &DataConversion::CnvSyohin,
                    &DataConversion::CnvCode, &DataConversion::CnvMitumoriHeader, &DataConversion::CnvMitumori});
    }

    TestFolder folder;
    Database data;
    bool opened = false;
};

// The quotations of the current file, each with its lines: number,
// customer, how many lines, the first line's name.
inline const QString kQuotations = QStringLiteral(
    "select h.伝票番号, h.顧客名, count(l.rowid), min(l.品名) from 見積書ヘッダ h left join 見積書 l using (伝票番号) "
    "group by h.伝票番号 order by h.伝票番号");

// Numbers of lines without their header and of headers without lines.
inline QStringList brokenQuotations(Database& data)
{
    return QueryCells(data, QStringLiteral("select distinct 'line ' || 伝票番号 from 見積書 "
                                           "where 伝票番号 not in (select 伝票番号 from 見積書ヘッダ) "
                                           "union all select 'header ' || 伝票番号 from 見積書ヘッダ "
                                           "where 伝票番号 not in (select 伝票番号 from 見積書)"));
}

// The closing message's part that names the quotations left out.
inline QString namedPart(const QList<TableOutcome>& outcomes)
{
    const QString message = ConversionMessage(outcomes);
    const QString opening = QStringLiteral("\n\n次の見積書はヘッダも明細も変換していません。\n");
    const qsizetype at = message.indexOf(opening);
    return at < 0 ? QString() : message.mid(at + opening.size());
}

inline const QString kOldSettings = QStringLiteral(
    "insert into 自社情報 values ('旧商会', '東京都' || char(13, 10) || '千代田区', '西暦', '非課税', '切り捨て', "
    "'切り上げ', 120, 0, 'B5白紙', 'Sulka', '/旧/商品.mdb', 'Dovan請求書', '/旧/顧客.mdb', '/旧/yubin.mdb', "
    "'/旧/ydata', '東京都', 1, 'ふりがな順', 'ケース')");

