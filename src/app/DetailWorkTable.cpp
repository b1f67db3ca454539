#include "app/DetailWorkTable.h"

#include "platform/Database.h"

QList<QSqlRecord> ReadDetailWorkRows(Database& work, bool* ok)
{
    return work.rows(QStringLiteral("select 行番号, 品名, 商品区分, 入数, 数量, 単位, 単価, 金額, 非課税, ふりがな, 小計 "
                                    "from w明細 order by 行番号 is null, 行番号, rowid"),
                     {}, ok);
}
