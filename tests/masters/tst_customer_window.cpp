// The customer window's list: the search, the clearing, the deletion of
// ticked rows, the list save, Enter in the grid, the refusal while another
// operation runs, and the captions the user reads.

#include "CustomerWindowSupport.h"
#include "WindowTexts.h"

#include "platform/Controls.h"
#include "platform/GridView.h"

#include <QFrame>
#include <QLineEdit>
#include <QPointer>

using namespace CustomerListColumn;

class TestCustomerWindow : public QObject {
    Q_OBJECT
private slots:
    void search_data();
    void search();
    void readFailureKeepsTheList();
    void reopeningReadsTheListAgain();
    void clearEmptiesListAndBoxes();
    void deleteTicked_data();
    void deleteTicked();
    void deleteIsOneTransaction();
    void listSave();
    void listSaveRefusedPartWay();
    void gridEnter_data();
    void gridEnter();
    void secondOperationRefused();
    void captionsAndToolTips();
};

// What finds what, and in which order, is the customer list's rules'; here
// the boxes reach it and the list shows the result numbered and unticked.
void TestCustomerWindow::search_data()
{
    QTest::addColumn<QString>("name");  // typed into txt顧客名
    QTest::addColumn<QString>("kana");  // typed into txtかな
    QTest::addColumn<QStringList>("found");

    QTest::newRow("nothing typed: everyone") << "" << "" << kSearchCustomersInOrder;
    QTest::newRow("both boxes filter") << "商" << "た" << QStringList{"田中商店"};
    QTest::newRow("wildcards in the name") << "田*店" << "" << QStringList{"田中商店"};
    QTest::newRow("wildcards in the reading") << "" << "た*しょ?てん" << QStringList{"田中商店"};
    QTest::newRow("nothing found") << "該当なし" << "" << QStringList{};
}

void TestCustomerWindow::search()
{
    QFETCH(QString, name);
    QFETCH(QString, kana);
    QFETCH(QStringList, found);
    CustomerWindowFixture f;
    QVERIFY(f.open());
    QVERIFY(addCustomers(f.data(), kSearchCustomers));
    FrmCustomer* w = openCustomerWindow(f);
    QVERIFY(w);
    QCOMPARE(listColumn(w, 顧客名).size(), kSearchCustomers.size());  // the load lists everyone

    control<QLineEdit>(*w, "txt顧客名")->setText(name);
    control<QLineEdit>(*w, "txtかな")->setText(kana);
    control<QPushButton>(*w, "cmd読込")->click();

    QCOMPARE(listColumn(w, 顧客名), found);
    QStringList numbers;
    for (int i = 1; i <= found.size(); ++i) numbers << QString::number(i);
    QCOMPARE(listColumn(w, 行), numbers);
    QCOMPARE(listColumn(w, チェック), QStringList(found.size(), QStringLiteral("false")));
    QVERIFY(control<QFrame>(*w, "CnKokyakuMsg")->isHidden());
    QVERIFY(f.messages.shown().isEmpty());
}

void TestCustomerWindow::readFailureKeepsTheList()
{
    CustomerWindowFixture f;
    QVERIFY(f.open());
    QVERIFY(addCustomers(f.data(), {{"田中商店", "<null>", "たなか", "様"}}));
    FrmCustomer* w = openCustomerWindow(f);
    QVERIFY(w);
    // The customer table cannot be read any more: the list shown stays, and says so.
    QVERIFY(f.data().exec(QStringLiteral("alter table 顧客マスタ rename to 顧客マスタ旧")));
    control<QPushButton>(*w, "cmd読込")->click();
    QCOMPARE(listColumn(w, 顧客名), QStringList{"田中商店"});
    QCOMPARE(f.messages.shown().size(), 1);
    QVERIFY(f.messages.texts().first().startsWith(QStringLiteral("顧客情報を読み込めませんでした。一覧は変更していません。")));
    QVERIFY(control<QFrame>(*w, "CnKokyakuMsg")->isHidden());
}

void TestCustomerWindow::reopeningReadsTheListAgain()
{
    CustomerWindowFixture f;
    QVERIFY(f.open());
    QVERIFY(addCustomers(f.data(), {{"青木商店", "<null>", "あおき", "様"}}));
    QPointer<FrmCustomer> w = openCustomerWindow(f);
    QVERIFY(w);
    QVERIFY(listModel(w)->editCell(0, 顧客名, QStringLiteral("保存しない名前")));
    control<QPushButton>(*w, "cmd閉じる")->click();
    QTRY_VERIFY(w.isNull());

    w = openCustomerWindow(f);
    QVERIFY(w);
    QCOMPARE(listColumn(w, 顧客名), QStringList{"青木商店"});
    QCOMPARE(customerMaster(f), QStringList{"顧客マスタ|'青木商店'|<null>|'あおき'|'様'"});
    QVERIFY(f.messages.shown().isEmpty());
}

void TestCustomerWindow::clearEmptiesListAndBoxes()
{
    CustomerWindowFixture f;
    QVERIFY(f.open());
    QVERIFY(addCustomers(f.data(), kSearchCustomers));
    FrmCustomer* w = openCustomerWindow(f);
    QVERIFY(w);
    control<QLineEdit>(*w, "txt顧客名")->setText(QStringLiteral("商"));
    control<QLineEdit>(*w, "txtかな")->setText(QStringLiteral("た"));
    control<TextComboBox>(*w, "cmb敬称")->setText(QStringLiteral("殿"));
    const QStringList stored = customerMaster(f);

    control<QPushButton>(*w, "cmdクリア")->click();
    QCOMPARE(listModel(w)->rowCount(), 0);
    QVERIFY(customerList(f).isEmpty());
    QVERIFY(control<QLineEdit>(*w, "txt顧客名")->text().isEmpty());
    QVERIFY(control<QLineEdit>(*w, "txtかな")->text().isEmpty());
    const TextComboBox* honorific = control<TextComboBox>(*w, "cmb敬称");
    QStringList honorifics;
    for (int i = 0; i < honorific->count(); ++i) honorifics << honorific->itemText(i);
    QCOMPARE(honorifics, (QStringList{"様", "御中", "殿"}));
    QCOMPARE(honorific->text(), QStringLiteral("殿"));  // the text is not changed
    QCOMPARE(customerMaster(f), stored);
}

void TestCustomerWindow::deleteTicked_data()
{
    QTest::addColumn<QList<int>>("ticked");  // rows of the list
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QStringList>("listAfter");    // 行:顧客名
    QTest::addColumn<QStringList>("masterAfter");  // 顧客名 of 顧客マスタ

    const QStringList all{"1:阿部工務店", "2:O'Neil商会", "3:上田商店", "4:江藤電機"};
    const QStringList stored{"阿部工務店", "O'Neil商会", "上田商店", "江藤電機", "阿部工務店"};
    QTest::newRow("ticked rows go, gaps stay in 行")
        << QList<int>{1, 3} << true << QStringList{"1:阿部工務店", "3:上田商店"}
        << QStringList{"阿部工務店", "上田商店", "阿部工務店"};
    QTest::newRow("a name holding a quote") << QList<int>{1} << true
                                            << QStringList{"1:阿部工務店", "3:上田商店", "4:江藤電機"}
                                            << QStringList{"阿部工務店", "上田商店", "江藤電機", "阿部工務店"};
    QTest::newRow("every stored row of the name") << QList<int>{0} << true
                                                  << QStringList{"2:O'Neil商会", "3:上田商店", "4:江藤電機"}
                                                  << QStringList{"O'Neil商会", "上田商店", "江藤電機"};
    QTest::newRow("nothing ticked") << QList<int>{} << true << all << stored;
    QTest::newRow("answered No") << QList<int>{0, 2} << false << all << stored;
}

void TestCustomerWindow::deleteTicked()
{
    QFETCH(QList<int>, ticked);
    QFETCH(bool, yes);
    QFETCH(QStringList, listAfter);
    QFETCH(QStringList, masterAfter);
    CustomerWindowFixture f;
    QVERIFY(f.open());
    // A name stored twice (nothing enforces the key) lists twice, read in reading order.
    QVERIFY(addCustomers(f.data(), {{"阿部工務店", "<null>", "あべ"},
                                    {"O'Neil商会", "<null>", "いにーる"},
                                    {"上田商店", "<null>", "うえだ"},
                                    {"江藤電機", "<null>", "えとう"}}));
    FrmCustomer* w = openCustomerWindow(f);
    QVERIFY(w);
    QVERIFY(f.data().exec(QStringLiteral("insert into 顧客マスタ (顧客名) values ('阿部工務店')")));
    for (int row : ticked) QVERIFY(listModel(w)->setValue(row, チェック, true));
    f.messages.answerNext(yes ? MessageAnswer::Yes : MessageAnswer::No);

    control<QPushButton>(*w, "cmd削除")->click();

    QCOMPARE(f.messages.texts(), QStringList{QStringLiteral("指定された 顧客情報 を削除します。よろしいですか")});
    QCOMPARE(f.messages.shown().first().defaultButton, MessageBoxSpec::Default::No);
    const WorkTableModel* shown = listModel(w);
    QStringList list;
    for (int r = 0; r < shown->rowCount(); ++r) list << shown->text(r, 行) + QLatin1Char(':') + shown->text(r, 顧客名);
    QCOMPARE(list, listAfter);
    QStringList master;
    for (const QSqlRecord& r : f.data().rows(QStringLiteral("select 顧客名 from 顧客マスタ order by rowid")))
        master << r.value(0).toString();
    QCOMPARE(master, masterAfter);
}

void TestCustomerWindow::deleteIsOneTransaction()
{
    CustomerWindowFixture f;
    QVERIFY(f.open());
    QVERIFY(addCustomers(f.data(), {{"甲商店", "<null>", "あ"}, {"乙商店", "<null>", "い"}, {"丙商店", "<null>", "う"}}));
    FrmCustomer* w = openCustomerWindow(f);
    QVERIFY(w);
    // The database refuses the second deletion; the first must not stay done.
    QVERIFY(f.data().exec(QStringLiteral("create trigger refuse before delete on 顧客マスタ when old.顧客名 = '丙商店' "
                                         "begin select raise(abort, 'refused'); end")));
    for (int row : {0, 2}) QVERIFY(listModel(w)->setValue(row, チェック, true));
    const QStringList master = customerMaster(f);
    const QStringList list = customerList(f);

    control<QPushButton>(*w, "cmd削除")->click();

    QCOMPARE(customerMaster(f), master);
    QCOMPARE(customerList(f), list);
    QCOMPARE(listModel(w)->rowCount(), 3);
    QCOMPARE(f.messages.shown().size(), 2);  // the question, then the failure
    QCOMPARE(f.messages.shown().last().title, QStringLiteral("エラー"));
    QVERIFY(f.messages.texts().last().startsWith(QStringLiteral("顧客情報を削除できませんでした。顧客マスタは変更していません。")));
    QVERIFY(!f.data().inTransaction());
}

void TestCustomerWindow::listSave()
{
    CustomerWindowFixture f;
    QVERIFY(f.open());
    QVERIFY(addCustomers(f.data(), {{"青木商店", "旧住所", "あおき", "様"},
                                    {"石田工務店", "<null>", "いしだ", "御中"},
                                    {"未表示商会", "<null>", "みひょうじ", "様"}}));
    FrmCustomer* w = openCustomerWindow(f);
    QVERIFY(w);
    control<QLineEdit>(*w, "txt顧客名")->setText(QStringLiteral("店"));
    control<QPushButton>(*w, "cmd読込")->click();
    QCOMPARE(listColumn(w, 顧客名), (QStringList{"青木商店", "石田工務店"}));

    // An edit in the grid, a block emptied, a new row, a row without a name,
    // and a name twice (the later row wins).
    QVERIFY(listModel(w)->editCell(0, 顧客情報, QStringLiteral("〒100-0001\r\n東京都千代田区")));
    QVERIFY(listModel(w)->editCell(1, 敬称, QString()));
    QVERIFY(f.work().exec(QStringLiteral("insert into w顧客マスタ (顧客名, 顧客情報, ふりがな, 敬称) values "
                                         "('上野商事', '', 'うえの', '様'), (NULL, '名無し', 'ななし', '様'), "
                                         "('', '空の名前', 'から', '様'), ('上野商事', '後の住所', 'うえの', '殿')")));
    QVERIFY(listModel(w)->refresh());
    f.messages.answerNext(MessageAnswer::Yes);

    control<QPushButton>(*w, "cmd登録")->click();

    QCOMPARE(f.messages.texts(), QStringList{QStringLiteral("顧客情報 を登録します。よろしいですか")});
    QCOMPARE(customerMaster(f), (QStringList{
                                    "顧客マスタ|'青木商店'|'〒100-0001\r\n東京都千代田区'|'あおき'|'様'",
                                    "顧客マスタ|'石田工務店'|<null>|'いしだ'|<null>",
                                    "顧客マスタ|'未表示商会'|<null>|'みひょうじ'|'様'",
                                    "顧客マスタ|'上野商事'|'後の住所'|'うえの'|'殿'",
                                }));
    QVERIFY(control<QFrame>(*w, "CnKokyakuMsg")->isHidden());

    // Answered No: nothing is written.
    const QStringList stored = customerMaster(f);
    QVERIFY(listModel(w)->editCell(0, ふりがな, QStringLiteral("あおきしょうてん")));
    f.messages.answerNext(MessageAnswer::No);
    control<QPushButton>(*w, "cmd登録")->click();
    QCOMPARE(customerMaster(f), stored);
}

void TestCustomerWindow::listSaveRefusedPartWay()
{
    CustomerWindowFixture f;
    QVERIFY(f.open());
    QVERIFY(addCustomers(f.data(), {{"青木商店", "<null>", "あおき", "様"}, {"石田工務店", "<null>", "いしだ", "様"}}));
    FrmCustomer* w = openCustomerWindow(f);
    QVERIFY(w);
    QVERIFY(f.data().exec(QStringLiteral("create trigger refuse before insert on 顧客マスタ when new.顧客名 = '拒否商店' "
                                         "begin select raise(abort, 'refused'); end")));
    QVERIFY(listModel(w)->editCell(0, 敬称, QStringLiteral("御中")));
    QVERIFY(f.work().exec(QStringLiteral("insert into w顧客マスタ (顧客名) values ('新規商店'), ('拒否商店')")));
    QVERIFY(listModel(w)->refresh());
    const QStringList master = customerMaster(f);

    control<QPushButton>(*w, "cmd登録")->click();

    QCOMPARE(customerMaster(f), master);
    QCOMPARE(f.messages.shown().size(), 2);
    QVERIFY(f.messages.texts().last().startsWith(QStringLiteral("顧客情報を登録できませんでした。顧客マスタは変更していません。")));
    QVERIFY(control<QFrame>(*w, "CnKokyakuMsg")->isHidden());
    QCOMPARE(listModel(w)->rowCount(), 4);  // the list keeps what the user made
}

void TestCustomerWindow::gridEnter_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("toRow");
    QTest::addColumn<int>("toCol");
    QTest::newRow("敬称 to the next row's name") << 0 << int(敬称) << 1 << int(顧客名);
    QTest::newRow("last row stays, on the name") << 2 << int(敬称) << 2 << int(顧客名);
    QTest::newRow("other columns to the right") << 1 << int(顧客名) << 1 << int(顧客情報);
}

void TestCustomerWindow::gridEnter()
{
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(int, toRow);
    QFETCH(int, toCol);
    CustomerWindowFixture f;
    QVERIFY(f.open());
    QVERIFY(addCustomers(f.data(), {{"甲", "<null>", "あ"}, {"乙", "<null>", "い"}, {"丙", "<null>", "う"}}));
    FrmCustomer* w = openCustomerWindow(f);
    QVERIFY(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
    GridView* grid = control<GridView>(*w, "Grid顧客マスタ");
    grid->setFocus();
    grid->setCurrentCell(row, col);
    QTest::keyClick(grid, Qt::Key_Return);
    QCOMPARE(grid->currentRow(), toRow);
    QCOMPARE(grid->currentColumn(), toCol);
    QVERIFY(grid->hasFocus());
    // Japanese input: off in the tick column only.
    grid->setCurrentCell(row, チェック);
    QVERIFY(!grid->inputMethodEnabled());
    grid->setCurrentCell(row, 行);
    QVERIFY(grid->inputMethodEnabled());
}

void TestCustomerWindow::secondOperationRefused()
{
    CustomerWindowFixture f;
    QVERIFY(f.open());
    QVERIFY(addCustomers(f.data(), {{"青木商店", "<null>", "あおき", "様"}}));
    FrmCustomer* w = openCustomerWindow(f);
    QVERIFY(w);
    QVERIFY(listModel(w)->setValue(0, チェック, true));
    const QStringList list = customerList(f);
    // Another storing or listing runs: none of the list's operations starts.
    f.session.setOperationRunning(true);
    f.data().exec(QStringLiteral("delete from 顧客マスタ"));
    for (const char* button : {"cmd読込", "cmdクリア", "cmd削除", "cmd登録", "cmdリンク参照"})
        control<QPushButton>(*w, button)->click();
    QCOMPARE(customerList(f), list);
    QVERIFY(customerMaster(f).isEmpty());
    QVERIFY(f.messages.shown().isEmpty());
    f.session.setOperationRunning(false);
}

void TestCustomerWindow::captionsAndToolTips()
{
    CustomerWindowFixture f;
    QVERIFY(f.open());
    FrmCustomer* w = openCustomerWindow(f);
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("顧客情報"));
    // Button: caption and tool-tip, as the user reads them.
    const QList<QStringList> buttons{
        {"cmd読込", "読込", "顧客情報を明細に読込みます。顧客名や「かな」の一部でも絞り込めます。"},
        {"cmdクリア", "クリア", "顧客情報画面を消去します。登録済みデータは削除されません。"},
        {"cmdリンク参照", "参照", "リンク参照　指定された他のアプリの顧客データを参照する"},
        {"cmd選択", "選択", ""},
        {"cmd詳細", "詳細", ""},
        {"cmd新規", "追加", "新規顧客を登録します"},
        {"cmd削除", "削除", "チェックマークのある行の顧客データを削除します。"},
        {"cmd登録", "登録", "顧客一覧から顧客情報を登録します"},
        {"cmd閉じる", "閉じる", "顧客情報画面を閉じます。"},
        {"cmd郵便", "", "郵便番号検索フォームを開きます"},
        {"cmd顧客詳細登録", "登録", "顧客詳細を登録します"},
        {"cmd顧客詳細クリア", "クリア", "顧客情報画面を消去します。登録済みデータは削除されません。"},
        {"cmd顧客詳細閉じる", "閉じる", "顧客情報画面を閉じます"},
    };
    compareButtonTexts(w, buttons);
    // The labels of the search bar and of the panel, and the grid's captions.
    const QStringList labels = labelTexts(w);
    for (const char* text : {"顧客名", "かな", "顧客詳細", "　顧客　　　情報", "ふりがな", "敬称"})
        QVERIFY2(labels.contains(QString::fromUtf8(text)), text);
    const WorkTableModel* list = listModel(w);
    QStringList captions;
    for (int c = 0; c < list->columnCount(); ++c)
        if (!control<GridView>(*w, "Grid顧客マスタ")->isColumnHidden(c))
            captions << list->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(captions, (QStringList{"行", "", "顧客名", "顧客情報", "ふりがな", "敬称"}));
    QCOMPARE(control<TextComboBox>(*w, "cmb敬称")->text(), QStringLiteral("様"));
}

QTEST_MAIN(TestCustomerWindow)
#include "tst_customer_window.moc"
