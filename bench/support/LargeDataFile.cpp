#include "support/LargeDataFile.h"

#include "platform/Database.h"

#include <QDate>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <cstdio>

namespace {

bool must(bool ok, Database& db, const char* what)
{
    if (!ok) std::fprintf(stderr, "%s failed: %s\n", what, qPrintable(db.lastError().logText()));
    return ok;
}

// The day of quotation n: the quotations spread evenly over three years.
QString dayOf(int n, int count)
{
    return QDate(2021, 1, 1).addDays(qint64(n) * 1096 / count).toString(Qt::ISODate);
}

}  // namespace

bool BuildLargeDataFile(Database& db, int count)
{
    QElapsedTimer t;
    t.start();
    Transaction tx(db);
    QSqlQuery head(db.connection());
    head.prepare(QStringLiteral("insert into 見積書ヘッダ (伝票番号, 日付, 顧客名, 顧客情報, 敬称, 件名, 消費税, 税抜計, 合計, 見積金額, "
                                "印鑑1, 印鑑2, 印鑑3, 印鑑4) values (?, ?, ?, '東京都', '様', ?, 500, 10000, 10500, 10500, '', '', '', '')"));
    QSqlQuery line(db.connection());
    line.prepare(QStringLiteral("insert into 見積書 (伝票番号, 顧客名, 日付, 行番号, 伝票区分, 品名, 商品区分, 数量, 入数, 単位, 単価, "
                                "金額, 非課税, ふりがな, 小計) values (?, ?, ?, ?, 1, ?, '文具', 10000, '12', '本', 1000000, 1000000, 0, "
                                "'しなめい', 0)"));
    for (int n = 1; n <= count; ++n) {
        const QString customer = QStringLiteral("顧客%1").arg(n % 2000, 4, 10, QChar('0'));
        const QString day = dayOf(n, count);
        head.addBindValue(n);
        head.addBindValue(day);
        head.addBindValue(customer);
        head.addBindValue(QStringLiteral("件名%1").arg(n));
        if (!head.exec()) return must(false, db, "header");
        for (int k = 0; k < 20; ++k) {
            line.addBindValue(n);
            line.addBindValue(customer);
            line.addBindValue(day);
            line.addBindValue(k);
            line.addBindValue(QStringLiteral("商品%1").arg((n * 7 + k) % 5000));
            if (!line.exec()) return must(false, db, "line");
        }
    }
    QSqlQuery customers(db.connection());
    if (!customers.exec(QStringLiteral("insert into 顧客マスタ (顧客名, 顧客情報, ふりがな, 敬称) "
                                       "select distinct 顧客名, '東京都', 'こきゃく', '様' from 見積書ヘッダ")))
        return false;
    if (!customers.exec(QStringLiteral("insert into 商品マスタ (品名, 商品区分, 入数, 単位, 単価, 非課税, ふりがな) "
                                       "select distinct 品名, '文具', '12', '本', 1000000, 0, 'しなめい' from 見積書")))
        return false;
    if (!customers.exec(QStringLiteral("update 自社情報 set 最大見積書番号 = %1").arg(count))) return false;
    if (!must(tx.commit(), db, "commit")) return false;
    db.exec(QStringLiteral("analyze"));
    db.exec(QStringLiteral("pragma wal_checkpoint(truncate)"));
    std::printf("fixture: %d quotations x 20 lines built in %.1f s\n", count, t.elapsed() / 1000.0);
    return true;
}
