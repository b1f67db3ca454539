// The list grids of the master windows (code lists, customers, products): a
// cell the user typed that the work table does not take is reported with the
// failure box, a value the column refuses with the input warning; the cell
// keeps what it held, and a button pressed over such an edit stops.

#include "masters/FrmCode.h"
#include "masters/FrmCustomer.h"
#include "masters/FrmProduct.h"
#include "platform/Controls.h"
#include "platform/GridView.h"
#include "platform/WorkTableModel.h"
#include "support/RecordingQuotationPort.h"
#include "support/SessionFixture.h"

#include <QPointer>
#include <QPushButton>
#include <QtTest>

namespace {

// A session over a customer, a product and a unit, and one master window
// with its list grid; picks go to a recording quotation.
struct ListWindow {
    // Opens the window as the main window's button does; col becomes the grid's column of field.
    bool open(const QString& name, const QString& gridName, const QString& field)
    {
        f.folder.prepare({QStringLiteral("insert into 顧客マスタ values ('A社', '東京都', 'えーしゃ', '様')"),
                          QStringLiteral("insert into 商品マスタ values ('ペン', NULL, NULL, '本', 1000000, 0, 'ぺん')"),
                          QStringLiteral("update コードマスタ set sname = '個' where kcode = '単位' and code = '01'")});
        if (!f.open()) return false;
        if (name == u"Frmコード") window = f.openWindow<FrmCode>(name);
        else if (name == u"Frm顧客情報") window = f.openWindow<FrmCustomer>(name, quotation);
        else window = f.openWindow<FrmProduct>(name, quotation);
        if (!window) return false;
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window)) return false;
        grid = window->findChild<GridView*>(gridName);
        model = grid ? grid->workModel() : nullptr;
        col = model ? model->columnOf(field) : -1;
        return col >= 0 && model->rowCount() > 0;
    }
    // From now on the work table takes no write.
    bool refuseWrites(const QString& table)
    {
        return f.work().exec(QStringLiteral("create temp trigger refuse before update on %1 "
                                            "begin select raise(abort, 'the disk is full'); end")
                                 .arg(table));
    }
    // Types into the first row's cell of the column, which opens its editor.
    bool type(const QString& text)
    {
        grid->setFocus();
        grid->setCurrentCell(0, col);
        QTest::sendKeyEvent(QTest::Click, grid, Qt::Key_unknown, text, Qt::NoModifier);
        return grid->isEditing();
    }

    RecordingQuotationPort quotation;  // before f: the window goes first
    SessionFixture f;
    QPointer<QWidget> window;
    GridView* grid = nullptr;
    WorkTableModel* model = nullptr;
    int col = -1;
};

}  // namespace

class TestMasterGrids : public QObject {
    Q_OBJECT
private slots:
    void cellThatCannotBeWrittenIsShown_data();
    void cellThatCannotBeWrittenIsShown();
    void refusedEditStopsTheButton_data();
    void refusedEditStopsTheButton();
    void deletionTheListRefusesDeletesNothing_data();
    void deletionTheListRefusesDeletesNothing();
    void gridGrowsWithItsWindow_data();
    void gridGrowsWithItsWindow();
};

void TestMasterGrids::cellThatCannotBeWrittenIsShown_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("field");
    QTest::newRow("code lists") << "Frmコード" << "Gridコードマスタ" << "wコードマスタ" << "sname";
    QTest::newRow("customers") << "Frm顧客情報" << "Grid顧客マスタ" << "w顧客マスタ" << "顧客名";
    QTest::newRow("products") << "Frm商品情報" << "Grid商品マスタ" << "w商品マスタ" << "ふりがな";
}

void TestMasterGrids::cellThatCannotBeWrittenIsShown()
{
    QFETCH(QString, window);
    QFETCH(QString, grid);
    QFETCH(QString, table);
    QFETCH(QString, field);
    ListWindow x;
    QVERIFY(x.open(window, grid, field));
    const QVariant before = x.model->value(0, x.col);

    QVERIFY(x.refuseWrites(table));
    const QStringList rows = TableSnapshot(x.f.work(), {table});
    QVERIFY(x.type(QStringLiteral("x")));
    QTest::keyClick(x.grid->editorWidget(), Qt::Key_Return);

    QTRY_COMPARE(x.f.messages.shown().size(), 1);
    const MessageBoxSpec& box = x.f.messages.shown().first();
    QCOMPARE(box.title, QStringLiteral("エラー"));
    QVERIFY2(box.text.contains(QStringLiteral("書き込めませんでした")), qPrintable(box.text));
    // The engine's words are in the details, not in the text the user reads.
    QVERIFY2(!box.text.contains(QStringLiteral("the disk is full")), qPrintable(box.text));
    QVERIFY2(box.detail.contains(QStringLiteral("the disk is full")), qPrintable(box.detail));
    QVERIFY(!x.grid->isEditing());
    QCOMPARE(x.model->value(0, x.col), before);
    QCOMPARE(TableSnapshot(x.f.work(), {table}), rows);
    QCoreApplication::processEvents();
    QCOMPARE(x.f.messages.shown().size(), 1);
}

void TestMasterGrids::refusedEditStopsTheButton_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("table");   // a work table that refuses every write; "" for none
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("mouse");      // pressed with the mouse (the editor loses the focus first)
    QTest::addColumn<QString>("box");     // the beginning of the one box shown

    const QString notANumber = QStringLiteral("単価には数字以外使用できません");
    const QString notWritten = QStringLiteral("入力した値を書き込めませんでした。");
    QTest::newRow("code lists, 登録") << "Frmコード" << "Gridコードマスタ" << "sname" << "本"
                                      << "wコードマスタ" << "cmd登録" << true << notWritten;
    QTest::newRow("code lists, 行削除") << "Frmコード" << "Gridコードマスタ" << "sname" << "本"
                                        << "wコードマスタ" << "cmd行削除" << false << notWritten;
    QTest::newRow("products, 登録") << "Frm商品情報" << "Grid商品マスタ" << "単価" << "12O0" << ""
                                    << "cmd登録" << true << notANumber;
    QTest::newRow("products, 登録, too large") << "Frm商品情報" << "Grid商品マスタ" << "単価"
                                               << "999999999999999" << "" << "cmd登録" << true
                                               << QStringLiteral("単価には -922,337,203,685,477 から 922,337,203,685,477 までの数を入力してください");
    QTest::newRow("products, 削除") << "Frm商品情報" << "Grid商品マスタ" << "単価" << "12O0" << ""
                                    << "cmd削除" << false << notANumber;
    QTest::newRow("products, 選択") << "Frm商品情報" << "Grid商品マスタ" << "単価" << "12O0" << ""
                                    << "cmd選択" << true << notANumber;
    QTest::newRow("customers, 削除") << "Frm顧客情報" << "Grid顧客マスタ" << "顧客名" << "B社"
                                     << "w顧客マスタ" << "cmd削除" << true << notWritten;
    QTest::newRow("customers, 登録") << "Frm顧客情報" << "Grid顧客マスタ" << "顧客名" << "B社"
                                     << "w顧客マスタ" << "cmd登録" << false << notWritten;
    QTest::newRow("customers, 選択") << "Frm顧客情報" << "Grid顧客マスタ" << "顧客名" << "B社"
                                     << "w顧客マスタ" << "cmd選択" << true << notWritten;
}

void TestMasterGrids::refusedEditStopsTheButton()
{
    QFETCH(QString, window);
    QFETCH(QString, grid);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, table);
    QFETCH(QString, button);
    QFETCH(bool, mouse);
    QFETCH(QString, box);
    ListWindow x;
    QVERIFY(x.open(window, grid, field));
    SessionFixture& f = x.f;
    // A ticked row, so that a deletion that went on would ask its question.
    QVERIFY(x.model->setValue(0, x.model->columnOf(QStringLiteral("チェック")), true));
    if (!table.isEmpty()) QVERIFY(x.refuseWrites(table));
    const QStringList tables{QStringLiteral("顧客マスタ"), QStringLiteral("商品マスタ"), QStringLiteral("コードマスタ")};
    const QStringList stored = TableSnapshot(f.data(), tables);
    const QStringList lines = TableSnapshot(f.work(), {QStringLiteral("w明細")});

    QVERIFY(x.type(typed));
    auto* b = x.window->findChild<QPushButton*>(button);
    if (mouse)
        QTest::mouseClick(b, Qt::LeftButton);
    else
        b->click();

    // The one box tells what was refused; the button asked nothing and wrote nothing.
    QTRY_COMPARE(f.messages.shown().size(), 1);
    QVERIFY2(f.messages.texts().first().startsWith(box), qPrintable(f.messages.texts().first()));
    QCoreApplication::processEvents();
    QCOMPARE(f.messages.shown().size(), 1);
    QVERIFY(!x.grid->isEditing());
    QVERIFY(x.model->text(0, x.col) != typed);
    QCOMPARE(TableSnapshot(f.data(), tables), stored);
    QCOMPARE(TableSnapshot(f.work(), {QStringLiteral("w明細")}), lines);
    QVERIFY(x.quotation.customerPicks.isEmpty() && x.quotation.productPicks.isEmpty());
    QVERIFY(x.window && x.window->isVisible());
}

// 削除 takes the ticked rows out of the master table and out of the list
// together: when the work table refuses to lose them, nothing is deleted and
// the failure box says so; the next 登録 therefore cannot bring back anything
// deleted. Once the list takes the deletion, 登録 leaves the rows deleted.
void TestMasterGrids::deletionTheListRefusesDeletesNothing_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QString>("table");   // the list's work table
    QTest::addColumn<QString>("master");  // the master table
    QTest::addColumn<QString>("failure");
    QTest::newRow("customers") << "Frm顧客情報" << "Grid顧客マスタ" << "w顧客マスタ" << "顧客マスタ"
                               << "顧客情報を削除できませんでした。顧客マスタは変更していません。";
    QTest::newRow("products") << "Frm商品情報" << "Grid商品マスタ" << "w商品マスタ" << "商品マスタ"
                              << "商品情報を削除できませんでした。商品マスタは変更していません。";
}

void TestMasterGrids::deletionTheListRefusesDeletesNothing()
{
    QFETCH(QString, window);
    QFETCH(QString, grid);
    QFETCH(QString, table);
    QFETCH(QString, master);
    QFETCH(QString, failure);
    ListWindow x;
    QVERIFY(x.open(window, grid, QStringLiteral("チェック")));
    SessionFixture& f = x.f;
    QVERIFY(x.model->setValue(0, x.col, true));
    QVERIFY(f.work().exec(QStringLiteral("create temp trigger refuse before delete on %1 "
                                         "begin select raise(abort, 'the disk is full'); end").arg(table)));
    const QStringList stored = TableSnapshot(f.data(), {master});
    const QStringList list = TableSnapshot(f.work(), {table});
    QCOMPARE(stored.size(), 1);
    const auto press = [&](const char* button) {
        f.messages.clear();
        x.window->findChild<QPushButton*>(QString::fromUtf8(button))->click();
    };

    press("cmd削除");
    QCOMPARE(f.messages.shown().size(), 2);  // the question, then the failure
    QVERIFY2(f.messages.texts().last().startsWith(failure), qPrintable(f.messages.texts().last()));
    QVERIFY(f.messages.shown().last().detail.contains(QStringLiteral("the disk is full")));
    QCOMPARE(TableSnapshot(f.data(), {master}), stored);
    QCOMPARE(TableSnapshot(f.work(), {table}), list);
    QCOMPARE(x.model->rowCount(), 1);
    QVERIFY(!f.data().inTransaction() && !f.work().inTransaction());

    // The list takes it now: the row goes from both, and 登録 keeps it gone.
    QVERIFY(f.work().exec(QStringLiteral("drop trigger refuse")));
    press("cmd削除");
    QCOMPARE(f.messages.shown().size(), 1);
    QCOMPARE(x.model->rowCount(), 0);
    press("cmd登録");
    QCOMPARE(TableSnapshot(f.data(), {master}), QStringList{});
}

void TestMasterGrids::gridGrowsWithItsWindow_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("grid");
    QTest::newRow("code lists") << "Frmコード" << "Gridコードマスタ";
    QTest::newRow("customers") << "Frm顧客情報" << "Grid顧客マスタ";
    QTest::newRow("products") << "Frm商品情報" << "Grid商品マスタ";
}

void TestMasterGrids::gridGrowsWithItsWindow()
{
    QFETCH(QString, window);
    QFETCH(QString, grid);
    ListWindow x;
    QVERIFY(x.open(window, grid, QStringLiteral("チェック")));
    auto* close = x.window->findChild<QPushButton*>(QStringLiteral("cmd閉じる"));
    QVERIFY(close);
    const QSize size = x.window->size();
    const QRect gridBefore = x.grid->geometry();
    const QPoint fromCorner = QPoint(size.width(), size.height()) - close->geometry().bottomRight();

    x.window->resize(size + QSize(300, 200));
    QTRY_COMPARE(x.window->size(), size + QSize(300, 200));
    QCOMPARE(x.grid->geometry().size(), gridBefore.size() + QSize(300, 200));
    QCOMPARE(x.grid->geometry().topLeft(), gridBefore.topLeft());
    // The closing button keeps its place against the window's right or bottom edge.
    const QPoint now = QPoint(size.width() + 300, size.height() + 200) - close->geometry().bottomRight();
    QVERIFY2(now.x() == fromCorner.x() && (now.y() == fromCorner.y() || close->y() < gridBefore.bottom()),
             qPrintable(QStringLiteral("%1,%2 was %3,%4").arg(now.x()).arg(now.y()).arg(fromCorner.x()).arg(fromCorner.y())));

    // Never smaller than its first size: nothing is cut off.
    x.window->resize(size - QSize(100, 100));
    QTRY_COMPARE(x.window->size(), size);
    QCOMPARE(x.grid->geometry(), gridBefore);
}

QTEST_MAIN(TestMasterGrids)
#include "tst_master_grids.moc"
