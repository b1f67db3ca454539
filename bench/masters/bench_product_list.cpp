// Run by hand: ./bench_product_list [products]
// Fills 商品マスタ of a fresh data file with products (default 10,000) and a
// link file (SQLite, in a linked application's column types) with as many,
// then prints medians for the product window's list (read into w商品マスタ
// and shown in its grid) and for the link import (read, converted, written
// into w商品マスタ and shown). Beside each: the time SQLite alone takes to
// read the same rows (a prepared statement, no layers), the floor.
// Targets: list <= 200 ms, import <= 1 s.

#include "masters/ProductLink.h"
#include "masters/ProductList.h"
#include "platform/Database.h"
#include "platform/GridView.h"
#include "platform/WorkTableModel.h"
#include "support/MedianTime.h"
#include "support/TestFolder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

void report(const char* what, double ms, double floorMs, double targetMs)
{
    std::printf("%-34s median %8.2f ms   SQLite alone %8.2f ms   target <= %5.0f ms  %s\n", what, ms, floorMs,
                targetMs, ms <= targetMs ? "ok" : "OVER");
}

// Reads every row of a statement with SQLite alone, as the floor.
double readFloorMs(const QString& path, const QString& sql, int runs)
{
    const QString name = QStringLiteral("bench-floor");
    double ms = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        db.open();
        ms = MedianMs(runs, [&] {
            QSqlQuery q(db);
            q.setForwardOnly(true);
            q.exec(sql);
            int n = 0;
            while (q.next())
                for (int c = 0; c < 6; ++c) n += q.value(c).isNull() ? 0 : 1;
        });
    }
    QSqlDatabase::removeDatabase(name);
    return ms;
}

bool fill(Database& db, const QString& createTable, const QString& insert, int count)
{
    if (!createTable.isEmpty() && !db.exec(createTable)) return false;
    Transaction tx(db);
    for (int i = 0; i < count; ++i) {
        const QString n = QStringLiteral("%1").arg(i, 5, 10, QLatin1Char('0'));
        if (!db.exec(insert, {QStringLiteral("商品") + n, QStringLiteral("文具"), QStringLiteral("12"), QStringLiteral("本"),
                              qlonglong(i) * 10000 + 5000, i % 7 == 0 ? -1 : 0, QStringLiteral("しょうひん") + n}))
            return false;
    }
    return tx.commit();
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10000;

    TestFolder folder;
    Database data;
    Database work;
    Database link;
    const QString linkPath = folder.root() + QStringLiteral("/link.mdb");
    QFile(linkPath).open(QIODevice::WriteOnly);
    if (!data.open(folder.dataDbPath(), Database::Role::Data) || !work.open(folder.workDbPath(), Database::Role::Work)
        || !link.open(linkPath, Database::Role::Data, false)) {
        std::fprintf(stderr, "cannot open the files\n");
        return 1;
    }
    // 単価 of the master in ten-thousandths; of the link file in yen, as Jet's currency reads.
    if (!fill(data, {}, QStringLiteral("insert into 商品マスタ values (?, ?, ?, ?, ? * 1, abs(?), ?)"), count)
        || !fill(link,
                 QStringLiteral("create table 商品マスタ (品名 TEXT, 商品区分 TEXT, 入数 TEXT, 単位 TEXT, 単価 CURRENCY, "
                                "非課税 YESNO, ふりがな TEXT)"),
                 QStringLiteral("insert into 商品マスタ values (?, ?, ?, ?, ? / 10000.0, ?, ?)"), count)) {
        std::fprintf(stderr, "cannot fill the files: %s %s\n", qPrintable(data.lastError().logText()), qPrintable(link.lastError().logText()));
        return 1;
    }
    link.close();
    std::printf("%d products in 商品マスタ and in the link file\n", count);

    // The window's list: its model over w商品マスタ in a grid on screen.
    WorkTableModel model(work, QStringLiteral("w商品マスタ"));
    GridView grid;
    grid.setModel(&model);
    grid.setFrozenColumns(2);
    grid.resize(760, 560);
    grid.show();
    QCoreApplication::processEvents();

    const double list = MedianMs(21, [&] {
        if (!FillProductList(data, work, {}, QStringLiteral("品名順"))) std::fprintf(stderr, "list failed\n");
        model.refresh();
        QCoreApplication::processEvents();
    });
    const double listFloor = readFloorMs(folder.dataDbPath(),
                                         QStringLiteral("select 品名, 商品区分, 入数, 単位, 単価, 非課税, ふりがな from 商品マスタ "
                                                        "order by 品名, ふりがな"),
                                         21);
    report("list of all products", list, listFloor, 200);

    const QStringList columns = ProductLinkColumns(QStringLiteral("Dovan請求書"));
    const double import = MedianMs(11, [&] {
        if (!ImportProductLink(linkPath, columns, work).ok) std::fprintf(stderr, "import failed\n");
        model.refresh();
        QCoreApplication::processEvents();
    });
    const double importFloor = readFloorMs(
        linkPath, QStringLiteral("select 品名, 入数, 単位, 単価, 非課税, ふりがな from 商品マスタ order by ふりがな"), 11);
    report("import from an SQLite link file", import, importFloor, 1000);
    return 0;
}
