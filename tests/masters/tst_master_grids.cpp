// The list grids of the master windows (code lists, customers, products): a
// cell the user typed that the work table does not take is reported with the
// failure box, and the cell keeps what it held.

#include "platform/GridView.h"
#include "platform/WorkTableModel.h"
#include "support/MainWindowFixture.h"

#include <QPushButton>
#include <QtTest>

class TestMasterGrids : public QObject {
    Q_OBJECT
private slots:
    void cellThatCannotBeWrittenIsShown_data();
    void cellThatCannotBeWrittenIsShown();
};

void TestMasterGrids::cellThatCannotBeWrittenIsShown_data()
{
    QTest::addColumn<QString>("opener");  // the main window's button
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("field");
    QTest::newRow("code lists") << "cmdコード" << "Frmコード" << "Gridコードマスタ" << "wコードマスタ" << "sname";
    QTest::newRow("customers") << "cmd顧客マスタ" << "Frm顧客情報" << "Grid顧客マスタ" << "w顧客マスタ" << "顧客名";
    QTest::newRow("products") << "cmd商品" << "Frm商品情報" << "Grid商品マスタ" << "w商品マスタ" << "ふりがな";
}

void TestMasterGrids::cellThatCannotBeWrittenIsShown()
{
    QFETCH(QString, opener);
    QFETCH(QString, window);
    QFETCH(QString, grid);
    QFETCH(QString, table);
    QFETCH(QString, field);
    MainWindowFixture f;
    f.folder.prepare({QStringLiteral("insert into 顧客マスタ values ('A社', '東京都', 'えーしゃ', '様')"),
                      QStringLiteral("insert into 商品マスタ values ('ペン', NULL, NULL, '本', 1000000, 0, 'ぺん')")});
    QVERIFY(f.open());
    auto* button = f.window.findChild<QPushButton*>(opener);
    QVERIFY(button);
    button->click();
    QWidget* w = f.session.windows().find(window);
    QVERIFY(w);
    QVERIFY(QTest::qWaitForWindowExposed(w));
    auto* view = w->findChild<GridView*>(grid);
    QVERIFY(view);
    auto* model = qobject_cast<WorkTableModel*>(view->model());
    QVERIFY(model);
    QVERIFY(model->rowCount() > 0);
    const int col = model->columnOf(field);
    QVERIFY(col >= 0);
    const QVariant before = model->value(0, col);

    QVERIFY(f.work().exec(QStringLiteral("create temp trigger refuse before update on %1 "
                                         "begin select raise(abort, 'the disk is full'); end")
                              .arg(table)));
    const QStringList rows = TableSnapshot(f.work(), {table});
    view->setFocus();
    view->setCurrentCell(0, col);
    QTest::sendKeyEvent(QTest::Click, view, Qt::Key_unknown, QStringLiteral("x"), Qt::NoModifier);
    QVERIFY(view->isEditing());
    QTest::keyClick(view->editorWidget(), Qt::Key_Return);

    QTRY_COMPARE(f.messages.shown().size(), 1);
    const MessageBoxSpec& box = f.messages.shown().first();
    QCOMPARE(box.title, QStringLiteral("エラー"));
    QVERIFY2(box.text.contains(QStringLiteral("書き込めませんでした")), qPrintable(box.text));
    QVERIFY2(box.text.contains(QStringLiteral("the disk is full")), qPrintable(box.text));
    QVERIFY(!view->isEditing());
    QCOMPARE(model->value(0, col), before);
    QCOMPARE(TableSnapshot(f.work(), {table}), rows);
    QCoreApplication::processEvents();
    QCOMPARE(f.messages.shown().size(), 1);
}

QTEST_MAIN(TestMasterGrids)
#include "tst_master_grids.moc"
