// The customer window: the search, the delete, the list save, the detail
// panel, the pick into the quotation, the postal fill, and the keys.

#include "CustomerWindowSupport.h"
#include "WindowTexts.h"

#include "app/PostalLookup.h"
#include "platform/Controls.h"
#include "platform/GridView.h"
#include "support/FindControl.h"
#include "support/MainWindowFixture.h"
#include "workspace/quotation_tab/QuotationTab.h"

#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

using namespace CustomerListColumn;

namespace {

// A postal look-up that hands back what it is told.
struct FakePostal final : PostalLookup {
    QString code;
    explicit FakePostal(QString c) : code(std::move(c)) {}
    void setDataFile(const QVariant&) override {}
    void setDictionaryFile(const QVariant&) override {}
    void show() override {}
    QVariant takeResult() override { return {}; }
    QString postalCode() const override { return code; }
    QString address() const override { return QStringLiteral("東京都千代田区千代田"); }
};

// Opens the customer window with the main window's button.
FrmCustomer* openCustomerWindow(MainWindowFixture& f)
{
    control<QPushButton>(f.quotation(), "cmd顧客マスタ")->click();
    return qobject_cast<FrmCustomer*>(f.session.windows().find(QStringLiteral("Frm顧客情報")));
}

}  // namespace

class TestCustomers : public QObject {
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
    void panelRefusals_data();
    void panelRefusals();
    void panelStores_data();
    void panelStores();
    void panelButtons();
    void pick_data();
    void pick();
    void postalFill_data();
    void postalFill();
    void gridEnter_data();
    void gridEnter();
    void panelKeys_data();
    void panelKeys();
    void secondOperationRefused();
    void captionsAndToolTips();
    void picture();
};

// What finds what, and in which order, is the customer list's rules'; here
// the boxes reach it and the list shows the result numbered and unticked.
void TestCustomers::search_data()
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

void TestCustomers::search()
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

    w->txt顧客名->setText(name);
    w->txtかな->setText(kana);
    w->cmd読込->click();

    QCOMPARE(listColumn(w, 顧客名), found);
    QStringList numbers;
    for (int i = 1; i <= found.size(); ++i) numbers << QString::number(i);
    QCOMPARE(listColumn(w, 行), numbers);
    QCOMPARE(listColumn(w, チェック), QStringList(found.size(), QStringLiteral("false")));
    QVERIFY(w->CnKokyakuMsg->isHidden());
    QVERIFY(f.messages.shown().isEmpty());
}

void TestCustomers::readFailureKeepsTheList()
{
    CustomerWindowFixture f;
    QVERIFY(f.open());
    QVERIFY(addCustomers(f.data(), {{"田中商店", "<null>", "たなか", "様"}}));
    FrmCustomer* w = openCustomerWindow(f);
    QVERIFY(w);
    // The customer table cannot be read any more: the list shown stays, and says so.
    QVERIFY(f.data().exec(QStringLiteral("alter table 顧客マスタ rename to 顧客マスタ旧")));
    w->cmd読込->click();
    QCOMPARE(listColumn(w, 顧客名), QStringList{"田中商店"});
    QCOMPARE(f.messages.shown().size(), 1);
    QVERIFY(f.messages.texts().first().startsWith(QStringLiteral("顧客情報を読み込めませんでした。一覧は変更していません。")));
    QVERIFY(w->CnKokyakuMsg->isHidden());
}

void TestCustomers::reopeningReadsTheListAgain()
{
    CustomerWindowFixture f;
    QVERIFY(f.open());
    QVERIFY(addCustomers(f.data(), {{"青木商店", "<null>", "あおき", "様"}}));
    QPointer<FrmCustomer> w = openCustomerWindow(f);
    QVERIFY(w);
    QVERIFY(w->dat顧客->editCell(0, 顧客名, QStringLiteral("保存しない名前")));
    w->cmd閉じる->click();
    QTRY_VERIFY(w.isNull());

    w = openCustomerWindow(f);
    QVERIFY(w);
    QCOMPARE(listColumn(w, 顧客名), QStringList{"青木商店"});
    QCOMPARE(customerMaster(f), QStringList{"顧客マスタ|'青木商店'|<null>|'あおき'|'様'"});
    QVERIFY(f.messages.shown().isEmpty());
}

void TestCustomers::clearEmptiesListAndBoxes()
{
    CustomerWindowFixture f;
    QVERIFY(f.open());
    QVERIFY(addCustomers(f.data(), kSearchCustomers));
    FrmCustomer* w = openCustomerWindow(f);
    QVERIFY(w);
    w->txt顧客名->setText(QStringLiteral("商"));
    w->txtかな->setText(QStringLiteral("た"));
    w->cmb敬称->setText(QStringLiteral("殿"));
    const QStringList stored = customerMaster(f);

    w->cmdクリア->click();
    QCOMPARE(w->dat顧客->rowCount(), 0);
    QVERIFY(customerList(f).isEmpty());
    QVERIFY(w->txt顧客名->text().isEmpty());
    QVERIFY(w->txtかな->text().isEmpty());
    QStringList honorifics;
    for (int i = 0; i < w->cmb敬称->count(); ++i) honorifics << w->cmb敬称->itemText(i);
    QCOMPARE(honorifics, (QStringList{"様", "御中", "殿"}));
    QCOMPARE(w->cmb敬称->text(), QStringLiteral("殿"));  // the text is not changed
    QCOMPARE(customerMaster(f), stored);
}

void TestCustomers::deleteTicked_data()
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

void TestCustomers::deleteTicked()
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
    for (int row : ticked) QVERIFY(w->dat顧客->setValue(row, チェック, true));
    f.messages.answerNext(yes ? MessageAnswer::Yes : MessageAnswer::No);

    w->cmd削除->click();

    QCOMPARE(f.messages.texts(), QStringList{QStringLiteral("指定された 顧客情報 を削除します。よろしいですか")});
    QCOMPARE(f.messages.shown().first().defaultButton, MessageBoxSpec::Default::No);
    QStringList list;
    for (int r = 0; r < w->dat顧客->rowCount(); ++r)
        list << w->dat顧客->text(r, 行) + QLatin1Char(':') + w->dat顧客->text(r, 顧客名);
    QCOMPARE(list, listAfter);
    QStringList master;
    for (const QSqlRecord& r : f.data().rows(QStringLiteral("select 顧客名 from 顧客マスタ order by rowid")))
        master << r.value(0).toString();
    QCOMPARE(master, masterAfter);
}

void TestCustomers::deleteIsOneTransaction()
{
    CustomerWindowFixture f;
    QVERIFY(f.open());
    QVERIFY(addCustomers(f.data(), {{"甲商店", "<null>", "あ"}, {"乙商店", "<null>", "い"}, {"丙商店", "<null>", "う"}}));
    FrmCustomer* w = openCustomerWindow(f);
    QVERIFY(w);
    // The database refuses the second deletion; the first must not stay done.
    QVERIFY(f.data().exec(QStringLiteral("create trigger refuse before delete on 顧客マスタ when old.顧客名 = '丙商店' "
                                         "begin select raise(abort, 'refused'); end")));
    for (int row : {0, 2}) QVERIFY(w->dat顧客->setValue(row, チェック, true));
    const QStringList master = customerMaster(f);
    const QStringList list = customerList(f);

    w->cmd削除->click();

    QCOMPARE(customerMaster(f), master);
    QCOMPARE(customerList(f), list);
    QCOMPARE(w->dat顧客->rowCount(), 3);
    QCOMPARE(f.messages.shown().size(), 2);  // the question, then the failure
    QCOMPARE(f.messages.shown().last().title, QStringLiteral("エラー"));
    QVERIFY(f.messages.texts().last().startsWith(QStringLiteral("顧客情報を削除できませんでした。顧客マスタは変更していません。")));
    QVERIFY(!f.data().inTransaction());
}

void TestCustomers::listSave()
{
    CustomerWindowFixture f;
    QVERIFY(f.open());
    QVERIFY(addCustomers(f.data(), {{"青木商店", "旧住所", "あおき", "様"},
                                    {"石田工務店", "<null>", "いしだ", "御中"},
                                    {"未表示商会", "<null>", "みひょうじ", "様"}}));
    FrmCustomer* w = openCustomerWindow(f);
    QVERIFY(w);
    w->txt顧客名->setText(QStringLiteral("店"));
    w->cmd読込->click();
    QCOMPARE(listColumn(w, 顧客名), (QStringList{"青木商店", "石田工務店"}));

    // An edit in the grid, a block emptied, a new row, a row without a name,
    // and a name twice (the later row wins).
    QVERIFY(w->dat顧客->editCell(0, 顧客情報, QStringLiteral("〒100-0001\r\n東京都千代田区")));
    QVERIFY(w->dat顧客->editCell(1, 敬称, QString()));
    QVERIFY(f.work().exec(QStringLiteral("insert into w顧客マスタ (顧客名, 顧客情報, ふりがな, 敬称) values "
                                         "('上野商事', '', 'うえの', '様'), (NULL, '名無し', 'ななし', '様'), "
                                         "('', '空の名前', 'から', '様'), ('上野商事', '後の住所', 'うえの', '殿')")));
    QVERIFY(w->dat顧客->refresh());
    f.messages.answerNext(MessageAnswer::Yes);

    w->cmd登録->click();

    QCOMPARE(f.messages.texts(), QStringList{QStringLiteral("顧客情報 を登録します。よろしいですか")});
    QCOMPARE(customerMaster(f), (QStringList{
                                    "顧客マスタ|'青木商店'|'〒100-0001\r\n東京都千代田区'|'あおき'|'様'",
                                    "顧客マスタ|'石田工務店'|<null>|'いしだ'|<null>",
                                    "顧客マスタ|'未表示商会'|<null>|'みひょうじ'|'様'",
                                    "顧客マスタ|'上野商事'|'後の住所'|'うえの'|'殿'",
                                }));
    QVERIFY(w->CnKokyakuMsg->isHidden());

    // Answered No: nothing is written.
    const QStringList stored = customerMaster(f);
    QVERIFY(w->dat顧客->editCell(0, ふりがな, QStringLiteral("あおきしょうてん")));
    f.messages.answerNext(MessageAnswer::No);
    w->cmd登録->click();
    QCOMPARE(customerMaster(f), stored);
}

void TestCustomers::listSaveRefusedPartWay()
{
    CustomerWindowFixture f;
    QVERIFY(f.open());
    QVERIFY(addCustomers(f.data(), {{"青木商店", "<null>", "あおき", "様"}, {"石田工務店", "<null>", "いしだ", "様"}}));
    FrmCustomer* w = openCustomerWindow(f);
    QVERIFY(w);
    QVERIFY(f.data().exec(QStringLiteral("create trigger refuse before insert on 顧客マスタ when new.顧客名 = '拒否商店' "
                                         "begin select raise(abort, 'refused'); end")));
    QVERIFY(w->dat顧客->editCell(0, 敬称, QStringLiteral("御中")));
    QVERIFY(f.work().exec(QStringLiteral("insert into w顧客マスタ (顧客名) values ('新規商店'), ('拒否商店')")));
    QVERIFY(w->dat顧客->refresh());
    const QStringList master = customerMaster(f);

    w->cmd登録->click();

    QCOMPARE(customerMaster(f), master);
    QCOMPARE(f.messages.shown().size(), 2);
    QVERIFY(f.messages.texts().last().startsWith(QStringLiteral("顧客情報を登録できませんでした。顧客マスタは変更していません。")));
    QVERIFY(w->CnKokyakuMsg->isHidden());
    QCOMPARE(w->dat顧客->rowCount(), 4);  // the list keeps what the user made
}

void TestCustomers::panelRefusals_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("no name") << "" << QStringList{QStringLiteral("顧客名を記入してください")};
    QTest::newRow("answered No") << "新規商店" << QStringList{QStringLiteral("新規商店 を登録します。よろしいですか")};
}

void TestCustomers::panelRefusals()
{
    QFETCH(QString, name);
    QFETCH(QStringList, messages);
    CustomerWindowFixture f;
    QVERIFY(f.open());
    FrmCustomer* w = openCustomerWindow(f);
    QVERIFY(w);
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->cmd新規->click();
    w->txt顧客名詳細->setText(name);
    w->txtふりがな->setText(QStringLiteral("しんき"));
    w->txtかな->setFocus();
    f.messages.setDefaultAnswer(MessageAnswer::No);

    w->cmd顧客詳細登録->click();

    QCOMPARE(f.messages.texts(), messages);
    if (name.isEmpty()) {
        QCOMPARE(f.messages.shown().first().title, QStringLiteral("情報"));
        QCOMPARE(QApplication::focusWidget(), w->txt顧客名詳細);
    }
    QVERIFY(customerMaster(f).isEmpty());
    QVERIFY(w->Cn顧客詳細->isVisible());
    QCOMPARE(w->txtふりがな->text(), QStringLiteral("しんき"));
}

void TestCustomers::panelStores_data()
{
    QTest::addColumn<QString>("search");  // in the name search box
    QTest::addColumn<QStringList>("master");
    QTest::addColumn<int>("currentRow");

    QTest::newRow("a new customer, empty fields Null, listed and current")
        << "" << QStringList{"顧客マスタ|'青木商店'|'住所'|'あおき'|'様'", "顧客マスタ|'O'Hara商会'|<null>|<null>|<null>"} << 0;
    QTest::newRow("excluded by the search: stored, no current row")
        << "青木" << QStringList{"顧客マスタ|'青木商店'|'住所'|'あおき'|'様'", "顧客マスタ|'O'Hara商会'|<null>|<null>|<null>"}
        << -1;
}

void TestCustomers::panelStores()
{
    QFETCH(QString, search);
    QFETCH(QStringList, master);
    QFETCH(int, currentRow);
    CustomerWindowFixture f;
    QVERIFY(f.open());
    QVERIFY(addCustomers(f.data(), {{"青木商店", "住所", "あおき", "様"}}));
    FrmCustomer* w = openCustomerWindow(f);
    QVERIFY(w);
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->txt顧客名->setText(search);
    w->cmd新規->click();
    QVERIFY(w->Cn顧客詳細->isVisible());
    QCOMPARE(QApplication::focusWidget(), w->txt顧客名詳細);
    w->txt顧客名詳細->setText(QStringLiteral("O'Hara商会"));

    w->cmd顧客詳細登録->click();

    QCOMPARE(f.messages.texts(), QStringList{QStringLiteral("O'Hara商会 を登録します。よろしいですか")});
    QCOMPARE(customerMaster(f), master);
    QVERIFY(w->Cn顧客詳細->isHidden());
    QVERIFY(w->CnKokyakuMsg->isHidden());
    QCOMPARE(w->Grid顧客マスタ->currentRow(), currentRow);
    if (currentRow >= 0) {
        QCOMPARE(w->dat顧客->text(currentRow, 顧客名), QStringLiteral("O'Hara商会"));
        QCOMPARE(w->Grid顧客マスタ->currentColumn(), int(顧客名));
    }
    QCOMPARE(QApplication::focusWidget(), w->Grid顧客マスタ);

    // 詳細 on the stored customer, a change, and a second save edits the same row.
    w->txt顧客名->clear();
    w->cmd読込->click();
    w->Grid顧客マスタ->setCurrentCell(0, 顧客名);
    w->cmd詳細->click();
    QCOMPARE(w->txt顧客名詳細->text(), QStringLiteral("O'Hara商会"));
    QCOMPARE(QApplication::focusWidget(), w->txt顧客名);
    w->txt顧客情報->setText(QStringLiteral("大阪市北区"));
    w->cmb敬称->setText(QStringLiteral("御中"));
    w->cmd顧客詳細登録->click();
    QCOMPARE(customerMaster(f).last(), QStringLiteral("顧客マスタ|'O'Hara商会'|'大阪市北区'|<null>|'御中'"));
    QCOMPARE(customerMaster(f).size(), 2);
}

void TestCustomers::panelButtons()
{
    CustomerWindowFixture f;
    QVERIFY(f.open());
    QVERIFY(addCustomers(f.data(), {{"青木商店", "東京都\r\n港区", "あおき", "御中"}}));
    FrmCustomer* w = openCustomerWindow(f);
    QVERIFY(w);
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QVERIFY(w->Cn顧客詳細->isHidden());

    w->Grid顧客マスタ->setCurrentCell(0, 敬称);
    w->cmd詳細->click();
    QCOMPARE(w->txt顧客名詳細->text(), QStringLiteral("青木商店"));
    QCOMPARE(w->txt顧客情報->text(), QStringLiteral("東京都\r\n港区"));
    QCOMPARE(w->txtふりがな->text(), QStringLiteral("あおき"));
    QCOMPARE(w->cmb敬称->text(), QStringLiteral("御中"));

    w->cmd顧客詳細クリア->click();
    QVERIFY(w->txt顧客名詳細->text().isEmpty());
    QVERIFY(w->txt顧客情報->text().isEmpty());
    QVERIFY(w->txtふりがな->text().isEmpty());
    QCOMPARE(w->cmb敬称->text(), QStringLiteral("様"));
    QCOMPARE(w->cmb敬称->count(), 3);
    QCOMPARE(QApplication::focusWidget(), w->txt顧客名詳細);

    w->cmd新規->click();
    QVERIFY(w->cmb敬称->text().isEmpty());

    w->cmd顧客詳細閉じる->click();
    QVERIFY(w->Cn顧客詳細->isHidden());
    QCOMPARE(QApplication::focusWidget(), w->Grid顧客マスタ);
    QVERIFY(f.messages.shown().isEmpty());
    QCOMPARE(customerMaster(f).size(), 1);
}

void TestCustomers::pick_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("block");

    QTest::newRow("name and block") << 0 << false << "青木商店" << "〒100-0001\r\n東京都千代田区";
    QTest::newRow("no block: only the name") << 1 << false << "石田工務店" << "前の住所";
    QTest::newRow("double click") << 0 << true << "青木商店" << "〒100-0001\r\n東京都千代田区";
}

void TestCustomers::pick()
{
    QFETCH(int, row);
    QFETCH(bool, doubleClick);
    QFETCH(QString, name);
    QFETCH(QString, block);
    MainWindowFixture f;
    QVERIFY(f.open());
    QVERIFY(f.activate());
    QVERIFY(addCustomers(f.data(), {{"青木商店", "〒100-0001\r\n東京都千代田区", "あおき", "様"},
                                    {"石田工務店", "<null>", "いしだ", "殿"}}));
    control<TextComboBox>(f.quotation(), "cmb顧客名")->setText(QStringLiteral("前の顧客"));
    control<MultiLineEdit>(f.quotation(), "txt顧客情報")->setText(QStringLiteral("前の住所"));
    QPointer<FrmCustomer> w = openCustomerWindow(f);
    QVERIFY(w);
    QVERIFY(QTest::qWaitForWindowExposed(w));

    if (doubleClick) {
        GridView* grid = w->Grid顧客マスタ;
        const QPoint at = grid->visualRect(w->dat顧客->index(row, ふりがな)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    } else {
        w->Grid顧客マスタ->setCurrentCell(row, 敬称);
        w->cmd選択->click();
    }

    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb顧客名")->text(), name);
    QCOMPARE(control<MultiLineEdit>(f.quotation(), "txt顧客情報")->text(), block);
    QTRY_VERIFY(w.isNull());
    QVERIFY(f.session.windows().find(QStringLiteral("Frm顧客情報")) == nullptr);
    QVERIFY(f.messages.shown().isEmpty());
}

void TestCustomers::postalFill_data()
{
    QTest::addColumn<bool>("dictionary");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QStringList>("messages");

    const QString filled = QStringLiteral("〒100-0001\r\n東京都千代田区千代田");
    QTest::newRow("seven digits into an empty block") << true << "" << "1000001" << filled << QStringList{};
    QTest::newRow("a block is never replaced") << true << "大阪市" << "1000001" << "大阪市" << QStringList{};
    QTest::newRow("nothing chosen") << true << "" << "" << "" << QStringList{};
    QTest::newRow("no dictionary") << false << "" << "1000001" << ""
                                   << QStringList{QStringLiteral("郵便番号辞書がありません。確認してください。")};
}

void TestCustomers::postalFill()
{
    QFETCH(bool, dictionary);
    QFETCH(QString, before);
    QFETCH(QString, code);
    QFETCH(QString, after);
    QFETCH(QStringList, messages);
    CustomerWindowFixture f(dictionary ? TestFolder::allFiles()
                                   : QStringList{QStringLiteral("VeltData2K.mdb"), QStringLiteral("VeltWork2K.mdb")});
    QVERIFY(f.open());
    f.session.setPostalLookupFactory([&] { return std::make_unique<FakePostal>(code); });
    FrmCustomer* w = openCustomerWindow(f);
    QVERIFY(w);
    w->cmd新規->click();
    w->txt顧客情報->setText(before);
    QVERIFY(w->cmd郵便->text().isEmpty());
    QCOMPARE(w->cmd郵便->toolTip(), QStringLiteral("郵便番号検索フォームを開きます"));

    w->cmd郵便->click();

    QCOMPARE(w->txt顧客情報->text(), after);
    QCOMPARE(f.messages.texts(), messages);
    QVERIFY(f.quotation.customerPicks.isEmpty());  // the quotation is not touched
}

void TestCustomers::gridEnter_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("toRow");
    QTest::addColumn<int>("toCol");
    QTest::newRow("敬称 to the next row's name") << 0 << int(敬称) << 1 << int(顧客名);
    QTest::newRow("last row stays, on the name") << 2 << int(敬称) << 2 << int(顧客名);
    QTest::newRow("other columns to the right") << 1 << int(顧客名) << 1 << int(顧客情報);
}

void TestCustomers::gridEnter()
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
    w->Grid顧客マスタ->setFocus();
    w->Grid顧客マスタ->setCurrentCell(row, col);
    QTest::keyClick(w->Grid顧客マスタ, Qt::Key_Return);
    QCOMPARE(w->Grid顧客マスタ->currentRow(), toRow);
    QCOMPARE(w->Grid顧客マスタ->currentColumn(), toCol);
    QVERIFY(w->Grid顧客マスタ->hasFocus());
    // Japanese input: off in the tick column only.
    w->Grid顧客マスタ->setCurrentCell(row, チェック);
    QVERIFY(!w->Grid顧客マスタ->inputMethodEnabled());
    w->Grid顧客マスタ->setCurrentCell(row, 行);
    QVERIFY(w->Grid顧客マスタ->inputMethodEnabled());
}

void TestCustomers::panelKeys_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("to");
    QTest::newRow("name, Enter") << "txt顧客名詳細" << int(Qt::Key_Return) << "txt顧客情報";
    QTest::newRow("name, Down") << "txt顧客名詳細" << int(Qt::Key_Down) << "txt顧客情報";
    QTest::newRow("reading, Up") << "txtふりがな" << int(Qt::Key_Up) << "txt顧客情報";
    QTest::newRow("reading, Enter") << "txtふりがな" << int(Qt::Key_Return) << "cmb敬称";
    // In the block, Enter starts a line and the arrows leave only from its ends.
    QTest::newRow("block, Enter stays") << "txt顧客情報" << int(Qt::Key_Return) << "txt顧客情報";
    QTest::newRow("block, Down from the last line") << "txt顧客情報" << int(Qt::Key_Down) << "txtふりがな";
    QTest::newRow("block, Up from the first line") << "txt顧客情報@start" << int(Qt::Key_Up) << "txt顧客名詳細";
    QTest::newRow("block, Up from the last line stays") << "txt顧客情報" << int(Qt::Key_Up) << "txt顧客情報";
}

void TestCustomers::panelKeys()
{
    QFETCH(QString, from);
    QFETCH(int, key);
    QFETCH(QString, to);
    CustomerWindowFixture f;
    QVERIFY(f.open());
    FrmCustomer* w = openCustomerWindow(f);
    QVERIFY(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->cmd新規->click();
    w->txt顧客情報->setText(QStringLiteral("〒100-0001\r\n東京都"));
    const bool atStart = from.endsWith(QStringLiteral("@start"));
    auto* start = w->findChild<QWidget*>(from.section(QLatin1Char('@'), 0, 0));
    QVERIFY(start);
    start->setFocus();
    QTextCursor c = w->txt顧客情報->textCursor();
    c.movePosition(atStart ? QTextCursor::Start : QTextCursor::End);
    w->txt顧客情報->setTextCursor(c);

    QTest::keyClick(start, Qt::Key(key));

    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus);
    QWidget* expected = w->findChild<QWidget*>(to);
    QVERIFY(focus == expected || expected->isAncestorOf(focus));
    if (from == u"txt顧客情報" && key == Qt::Key_Return)
        QCOMPARE(w->txt顧客情報->text(), QStringLiteral("〒100-0001\r\n東京都\r\n"));
}

void TestCustomers::secondOperationRefused()
{
    CustomerWindowFixture f;
    QVERIFY(f.open());
    QVERIFY(addCustomers(f.data(), {{"青木商店", "<null>", "あおき", "様"}}));
    FrmCustomer* w = openCustomerWindow(f);
    QVERIFY(w);
    QVERIFY(w->dat顧客->setValue(0, チェック, true));
    const QStringList list = customerList(f);
    // Another storing or listing runs: none of the list's operations starts.
    f.session.setOperationRunning(true);
    f.data().exec(QStringLiteral("delete from 顧客マスタ"));
    for (QPushButton* b : {w->cmd読込, w->cmdクリア, w->cmd削除, w->cmd登録, w->cmdリンク参照}) b->click();
    QCOMPARE(customerList(f), list);
    QVERIFY(customerMaster(f).isEmpty());
    QVERIFY(f.messages.shown().isEmpty());
    f.session.setOperationRunning(false);
}

void TestCustomers::captionsAndToolTips()
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
    QStringList captions;
    for (int c = 0; c < w->dat顧客->columnCount(); ++c)
        if (!w->Grid顧客マスタ->isColumnHidden(c)) captions << w->dat顧客->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(captions, (QStringList{"行", "", "顧客名", "顧客情報", "ふりがな", "敬称"}));
    QCOMPARE(w->cmb敬称->text(), QStringLiteral("様"));
}

void TestCustomers::picture()
{
    CustomerWindowFixture f;
    QVERIFY(f.open());
    QVERIFY(addCustomers(f.data(), {{"青木商店", "〒100-0001\r\n東京都千代田区千代田1-1\r\nTEL 03-1234-5678 FAX 03-1234-5679", "あおきしょうてん", "様"},
                                    {"石田工務店", "〒530-0001\r\n大阪府大阪市北区梅田", "いしだこうむてん", "御中"},
                                    {"上野商事", "<null>", "うえのしょうじ", "殿"}}));
    FrmCustomer* w = openCustomerWindow(f);
    QVERIFY(w);
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QVERIFY(w->dat顧客->setValue(2, チェック, true));
    const QString dir = qEnvironmentVariable("VELT_SCREENSHOT_DIR");
    if (!dir.isEmpty()) QVERIFY(w->grab().save(QDir(dir).filePath(QStringLiteral("customers.png"))));
    w->Grid顧客マスタ->setCurrentCell(0, 顧客名);
    w->cmd詳細->click();
    QVERIFY(w->Cn顧客詳細->isVisible());
    if (!dir.isEmpty()) QVERIFY(w->grab().save(QDir(dir).filePath(QStringLiteral("customers_detail.png"))));
    // The panel lies inside the window, over the list, and holds its controls whole.
    QVERIFY(w->rect().contains(w->Cn顧客詳細->geometry()));
    for (QWidget* c : w->Cn顧客詳細->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        QVERIFY2(w->Cn顧客詳細->rect().contains(c->geometry()), qPrintable(c->objectName()));
    // The busy label as it shows while a list is read.
    w->LblKokyakuMsg->setText(QStringLiteral("読込中です････"));
    w->CnKokyakuMsg->show();
    w->CnKokyakuMsg->raise();
    if (!dir.isEmpty()) QVERIFY(w->grab().save(QDir(dir).filePath(QStringLiteral("customers_busy.png"))));
    QVERIFY(w->rect().contains(w->CnKokyakuMsg->geometry()));
}

QTEST_MAIN(TestCustomers)
#include "tst_customers.moc"
