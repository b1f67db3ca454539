// Run by hand: ./bench_store [quotations]
// Builds a data database of stored quotations (default 100,000 with 20 lines
// each, 2,000 customers) in a temporary folder and prints medians for storing
// a 100-line quotation, opening one by number, and the history list for one
// customer and for one month. Beside each: the same rows through SQLite alone
// (prepared statements, no layers), the floor.
// Targets: store <= 20 ms, open <= 10 ms, each history list <= 100 ms.

#include "platform/Database.h"
#include "workspace/QuotationStore.h"
#include "app/CodeLists.h"
#include "support/LargeDataFile.h"
#include "support/TestFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int kRuns = 41;

double medianMs(const std::function<void(int)>& run)
{
    QList<double> ms;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer t;
        t.start();
        run(i);
        ms << t.nsecsElapsed() / 1e6;
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

void report(const char* what, double ms, double floorMs, double targetMs)
{
    std::printf("%-36s median %8.2f ms   SQLite alone %8.2f ms   target <= %5.0f ms  %s\n", what, ms, floorMs, targetMs,
                ms <= targetMs ? "ok" : "OVER");
}

QuotationRecord hundredLines(int number)
{
    QuotationRecord q;
    q.header.伝票番号 = number;
    q.header.日付 = QDate(2024, 3, 15);
    q.header.顧客名 = QStringLiteral("顧客0042");
    q.header.顧客情報 = QStringLiteral("東京都\r\n千代田区");
    q.header.敬称 = QStringLiteral("御中");
    q.header.件名 = QStringLiteral("ベンチマーク");
    q.header.有効期限 = QStringLiteral("発行後30日");
    q.header.合計 = Currency::fromWhole(123456);
    for (int k = 0; k < 100; ++k) {
        QuotationLine l;
        if (k % 10 == 9) {
            l.品名 = QStringLiteral("小 計");
            l.小計 = true;
            l.金額 = Currency::fromWhole(1000);
        } else {
            l.品名 = QStringLiteral("商品%1").arg(k * 37 % 6000);  // some known, some new products
            l.数量 = Currency::fromWhole(2);
            l.単位 = QStringLiteral("本");
            l.単価 = Currency::fromWhole(100);
            l.金額 = Currency::fromWhole(200);
        }
        q.lines << l;
    }
    return q;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;
    TestFolder data;
    Database db;
    Database work;
    if (!db.open(data.dataDbPath(), Database::Role::Data)) return 1;
    if (!work.open(data.workDbPath(), Database::Role::Work)) return 1;
    if (!BuildLargeDataFile(db, count)) return 1;

    auto registrar = [&db](const QString& kcode, const QString& value) { return AutoEntryCode(db, kcode, value); };

    // Storing a 100-line quotation under a new number.
    int failures = 0;
    const double store = medianMs([&](int i) {
        if (!StoreQuotation(db, hundredLines(count + 1 + i), registrar).ok) ++failures;
    });
    const double storeFloor = medianMs([&](int i) {
        const QuotationRecord q = hundredLines(count + 1000 + i);
        QSqlDatabase c = db.connection();
        c.transaction();
        QSqlQuery del(c);
        del.prepare(QStringLiteral("delete from 見積書 where 伝票番号 = ?"));
        del.addBindValue(q.header.伝票番号);
        del.exec();
        QSqlQuery ins(c);
        ins.prepare(QStringLiteral("insert into 見積書 (伝票番号, 顧客名, 日付, 行番号, 伝票区分, 品名, 数量, 単位, 単価, 金額, 非課税, 小計) "
                                   "values (?, ?, ?, ?, 1, ?, ?, ?, ?, ?, 0, ?)"));
        for (int k = 0; k < q.lines.size(); ++k) {
            const QuotationLine& l = q.lines[k];
            for (const QVariant& v : QVariantList{q.header.伝票番号, q.header.顧客名, QStringLiteral("2024-03-15"), k, l.品名,
                                                  Currency::toDb(l.数量), l.単位, Currency::toDb(l.単価), Currency::toDb(l.金額),
                                                  int(l.小計)})
                ins.addBindValue(v);
            ins.exec();
        }
        QSqlQuery head(c);
        head.prepare(QStringLiteral("insert into 見積書ヘッダ (伝票番号, 日付, 顧客名) values (?, '2024-03-15', ?)"));
        head.addBindValue(q.header.伝票番号);
        head.addBindValue(q.header.顧客名);
        head.exec();
        c.commit();
    });
    // Replacing a stored quotation (the same number stored again).
    const double replace = medianMs([&](int) {
        if (!StoreQuotation(db, hundredLines(count / 2), registrar).ok) ++failures;
    });

    // Opening one by number: header and lines read, written into the 100 rows of w明細.
    const double open = medianMs([&](int i) {
        const int n = 1 + (i * 2477) % count;
        const auto q = LoadQuotation(db, n);
        if (!q || q->lines.size() != 20 || !WriteWorkLines(work, q->lines)) ++failures;
    });
    const double openFloor = medianMs([&](int i) {
        const int n = 1 + (i * 2477) % count;
        QSqlQuery h(db.connection());
        h.setForwardOnly(true);
        h.prepare(QStringLiteral("select * from 見積書ヘッダ where 伝票番号 = ?"));
        h.addBindValue(n);
        h.exec();
        while (h.next()) {}
        QSqlQuery l(db.connection());
        l.setForwardOnly(true);
        l.prepare(QStringLiteral("select * from 見積書 where 伝票番号 = ? order by 伝票区分, 行番号"));
        l.addBindValue(n);
        l.exec();
        while (l.next()) {}
    });

    // The history list for one customer, and for one month.
    auto history = [&](const HistoryFilter& f, int expectAtLeast) {
        const auto n = FillHistoryList(work, db, f);
        if (!n || *n < expectAtLeast) ++failures;
    };
    auto historyFloor = [&](const QString& sql, const QVariantList& binds) {
        QSqlQuery q(db.connection());
        q.setForwardOnly(true);
        q.prepare(sql);
        for (const QVariant& b : binds) q.addBindValue(b);
        q.exec();
        while (q.next()) {}
    };
    HistoryFilter byCustomer;
    const double customer = medianMs([&](int i) {
        byCustomer.顧客名 = QStringLiteral("顧客%1").arg((i * 37) % 2000, 4, 10, QChar('0'));
        history(byCustomer, 1);
    });
    const double customerFloor = medianMs([&](int i) {
        historyFloor(QStringLiteral("select 伝票番号, 日付, 顧客名, 件名 from 見積書ヘッダ where 顧客名 = ? "
                                    "order by 日付 desc, 伝票番号 desc"),
                     {QStringLiteral("顧客%1").arg((i * 37) % 2000, 4, 10, QChar('0'))});
    });
    HistoryFilter byMonth;
    const double month = medianMs([&](int i) {
        const QDate first(2021 + i % 3, 1 + i % 12, 1);
        byMonth.開始 = first;
        byMonth.終了 = first.addMonths(1).addDays(-1);
        history(byMonth, 1);
    });
    const double monthFloor = medianMs([&](int i) {
        const QDate first(2021 + i % 3, 1 + i % 12, 1);
        historyFloor(QStringLiteral("select 伝票番号, 日付, 顧客名, 件名 from 見積書ヘッダ where 日付 >= ? and 日付 < ? "
                                    "order by 日付 desc, 伝票番号 desc"),
                     {first.toString(Qt::ISODate), first.addMonths(1).toString(Qt::ISODate)});
    });
    const int monthRows = work.scalar(QStringLiteral("select count(*) from w履歴リスト")).toInt();

    report("store a 100-line quotation (new)", store, storeFloor, 20);
    report("store a 100-line quotation (replace)", replace, storeFloor, 20);
    report("open one by number", open, openFloor, 10);
    report("history list, one customer", customer, customerFloor, 100);
    report(qPrintable(QStringLiteral("history list, one month (%1 rows)").arg(monthRows)), month, monthFloor, 100);
    if (failures) std::printf("%d runs failed\n", failures);
    return failures ? 1 : 0;
}
