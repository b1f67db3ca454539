// Run by hand: QT_QPA_PLATFORM=offscreen ./bench_grid
// A refresh of the 100 detail lines should stay well under a millisecond or two.
#include "platform/Database.h"
#include "platform/GridView.h"
#include "support/TestFolder.h"
#include "platform/WorkTableModel.h"

#include <QtTest>

class BenchGrid : public QObject {
    Q_OBJECT
private slots:
    void refreshDetailLines();
    void refreshDetailLinesWithView();
};

void BenchGrid::refreshDetailLines()
{
    TestFolder data;
    Database db;
    QVERIFY(db.open(data.workDbPath(), Database::Role::Work));
    WorkTableModel model(db, QStringLiteral("w明細"));
    QCOMPARE(model.rowCount(), 100);
    QBENCHMARK {
        model.refresh();
    }
}

void BenchGrid::refreshDetailLinesWithView()
{
    TestFolder data;
    Database db;
    QVERIFY(db.open(data.workDbPath(), Database::Role::Work));
    WorkTableModel model(db, QStringLiteral("w明細"));
    GridView view;
    view.setModel(&model);
    view.resize(900, 400);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    int n = 0;
    QBENCHMARK {
        // Alternate the row count so every other refresh resets the model.
        QVERIFY(db.exec(n++ % 2 ? QStringLiteral("insert into w明細 (行番号) values (101)")
                                : QStringLiteral("delete from w明細 where 行番号 = 101")));
        model.refresh();
        view.viewport()->repaint();
    }
}

QTEST_MAIN(BenchGrid)
#include "bench_grid.moc"
