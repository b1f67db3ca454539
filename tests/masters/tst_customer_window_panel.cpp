// The customer window's detail panel (refusals, storing, its buttons and
// keys, the postal fill), the pick into the quotation, and the window's
// picture.

#include "CustomerWindowSupport.h"

#include "app/PostalLookup.h"
#include "platform/Controls.h"
#include "platform/GridView.h"
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

class TestCustomerWindowPanel : public QObject {
    Q_OBJECT
private slots:
    void panelRefusals_data();
    void panelRefusals();
    void panelStores_data();
    void panelStores();
    void panelButtons();
    void pick_data();
    void pick();
    void postalFill_data();
    void postalFill();
    void panelKeys_data();
    void panelKeys();
    void picture();
};

void TestCustomerWindowPanel::panelRefusals_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("no name") << "" << QStringList{QStringLiteral("顧客名を記入してください")};
    QTest::newRow("answered No") << "新規商店" << QStringList{QStringLiteral("新規商店 を登録します。よろしいですか")};
}

void TestCustomerWindowPanel::panelRefusals()
{
    QFETCH(QString, name);
    QFETCH(QStringList, messages);
    CustomerWindowFixture f;
    QVERIFY(f.open());
    FrmCustomer* w = openCustomerWindow(f);
    QVERIFY(w);
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w));
    control<QPushButton>(*w, "cmd新規")->click();
    control<QLineEdit>(*w, "txt顧客名詳細")->setText(name);
    control<QLineEdit>(*w, "txtふりがな")->setText(QStringLiteral("しんき"));
    control<QLineEdit>(*w, "txtかな")->setFocus();
    f.messages.setDefaultAnswer(MessageAnswer::No);

    control<QPushButton>(*w, "cmd顧客詳細登録")->click();

    QCOMPARE(f.messages.texts(), messages);
    if (name.isEmpty()) {
        QCOMPARE(f.messages.shown().first().title, QStringLiteral("情報"));
        QCOMPARE(QApplication::focusWidget(), control<QLineEdit>(*w, "txt顧客名詳細"));
    }
    QVERIFY(customerMaster(f).isEmpty());
    QVERIFY(control<QFrame>(*w, "Cn顧客詳細")->isVisible());
    QCOMPARE(control<QLineEdit>(*w, "txtふりがな")->text(), QStringLiteral("しんき"));
}

void TestCustomerWindowPanel::panelStores_data()
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

void TestCustomerWindowPanel::panelStores()
{
    QFETCH(QString, search);
    QFETCH(QStringList, master);
    QFETCH(int, currentRow);
    CustomerWindowFixture f;
    QVERIFY(f.open());
    QVERIFY(addCustomers(f.data(), {{"青木商店", "住所", "あおき", "様"}}));
    FrmCustomer* w = openCustomerWindow(f);
    QVERIFY(w);
    auto* txt顧客名 = control<QLineEdit>(*w, "txt顧客名");
    auto* txt顧客名詳細 = control<QLineEdit>(*w, "txt顧客名詳細");
    auto* Grid顧客マスタ = control<GridView>(*w, "Grid顧客マスタ");
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w));
    txt顧客名->setText(search);
    control<QPushButton>(*w, "cmd新規")->click();
    QVERIFY(control<QFrame>(*w, "Cn顧客詳細")->isVisible());
    QCOMPARE(QApplication::focusWidget(), txt顧客名詳細);
    txt顧客名詳細->setText(QStringLiteral("O'Hara商会"));

    control<QPushButton>(*w, "cmd顧客詳細登録")->click();

    QCOMPARE(f.messages.texts(), QStringList{QStringLiteral("O'Hara商会 を登録します。よろしいですか")});
    QCOMPARE(customerMaster(f), master);
    QVERIFY(control<QFrame>(*w, "Cn顧客詳細")->isHidden());
    QVERIFY(control<QFrame>(*w, "CnKokyakuMsg")->isHidden());
    QCOMPARE(Grid顧客マスタ->currentRow(), currentRow);
    if (currentRow >= 0) {
        QCOMPARE(listModel(w)->text(currentRow, 顧客名), QStringLiteral("O'Hara商会"));
        QCOMPARE(Grid顧客マスタ->currentColumn(), int(顧客名));
    }
    QCOMPARE(QApplication::focusWidget(), Grid顧客マスタ);

    // 詳細 on the stored customer, a change, and a second save edits the same row.
    txt顧客名->clear();
    control<QPushButton>(*w, "cmd読込")->click();
    Grid顧客マスタ->setCurrentCell(0, 顧客名);
    control<QPushButton>(*w, "cmd詳細")->click();
    QCOMPARE(txt顧客名詳細->text(), QStringLiteral("O'Hara商会"));
    QCOMPARE(QApplication::focusWidget(), txt顧客名);
    control<MultiLineEdit>(*w, "txt顧客情報")->setText(QStringLiteral("大阪市北区"));
    control<TextComboBox>(*w, "cmb敬称")->setText(QStringLiteral("御中"));
    control<QPushButton>(*w, "cmd顧客詳細登録")->click();
    QCOMPARE(customerMaster(f).last(), QStringLiteral("顧客マスタ|'O'Hara商会'|'大阪市北区'|<null>|'御中'"));
    QCOMPARE(customerMaster(f).size(), 2);
}

void TestCustomerWindowPanel::panelButtons()
{
    CustomerWindowFixture f;
    QVERIFY(f.open());
    QVERIFY(addCustomers(f.data(), {{"青木商店", "東京都\r\n港区", "あおき", "御中"}}));
    FrmCustomer* w = openCustomerWindow(f);
    QVERIFY(w);
    auto* txt顧客名詳細 = control<QLineEdit>(*w, "txt顧客名詳細");
    auto* cmb敬称 = control<TextComboBox>(*w, "cmb敬称");
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QVERIFY(control<QFrame>(*w, "Cn顧客詳細")->isHidden());

    control<GridView>(*w, "Grid顧客マスタ")->setCurrentCell(0, 敬称);
    control<QPushButton>(*w, "cmd詳細")->click();
    QCOMPARE(txt顧客名詳細->text(), QStringLiteral("青木商店"));
    QCOMPARE(control<MultiLineEdit>(*w, "txt顧客情報")->text(), QStringLiteral("東京都\r\n港区"));
    QCOMPARE(control<QLineEdit>(*w, "txtふりがな")->text(), QStringLiteral("あおき"));
    QCOMPARE(cmb敬称->text(), QStringLiteral("御中"));

    control<QPushButton>(*w, "cmd顧客詳細クリア")->click();
    QVERIFY(txt顧客名詳細->text().isEmpty());
    QVERIFY(control<MultiLineEdit>(*w, "txt顧客情報")->text().isEmpty());
    QVERIFY(control<QLineEdit>(*w, "txtふりがな")->text().isEmpty());
    QCOMPARE(cmb敬称->text(), QStringLiteral("様"));
    QCOMPARE(cmb敬称->count(), 3);
    QCOMPARE(QApplication::focusWidget(), txt顧客名詳細);

    control<QPushButton>(*w, "cmd新規")->click();
    QVERIFY(cmb敬称->text().isEmpty());

    control<QPushButton>(*w, "cmd顧客詳細閉じる")->click();
    QVERIFY(control<QFrame>(*w, "Cn顧客詳細")->isHidden());
    QCOMPARE(QApplication::focusWidget(), control<GridView>(*w, "Grid顧客マスタ"));
    QVERIFY(f.messages.shown().isEmpty());
    QCOMPARE(customerMaster(f).size(), 1);
}

void TestCustomerWindowPanel::pick_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("block");

    QTest::newRow("name and block") << 0 << false << "青木商店" << "〒100-0001\r\n東京都千代田区";
    QTest::newRow("no block: only the name") << 1 << false << "石田工務店" << "前の住所";
    QTest::newRow("double click") << 0 << true << "青木商店" << "〒100-0001\r\n東京都千代田区";
}

void TestCustomerWindowPanel::pick()
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
        GridView* grid = control<GridView>(*w, "Grid顧客マスタ");
        const QPoint at = grid->visualRect(listModel(w)->index(row, ふりがな)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    } else {
        control<GridView>(*w, "Grid顧客マスタ")->setCurrentCell(row, 敬称);
        control<QPushButton>(*w, "cmd選択")->click();
    }

    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb顧客名")->text(), name);
    QCOMPARE(control<MultiLineEdit>(f.quotation(), "txt顧客情報")->text(), block);
    QTRY_VERIFY(w.isNull());
    QVERIFY(f.session.windows().find(QStringLiteral("Frm顧客情報")) == nullptr);
    QVERIFY(f.messages.shown().isEmpty());
}

void TestCustomerWindowPanel::postalFill_data()
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

void TestCustomerWindowPanel::postalFill()
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
    auto* cmd郵便 = control<QPushButton>(*w, "cmd郵便");
    control<QPushButton>(*w, "cmd新規")->click();
    control<MultiLineEdit>(*w, "txt顧客情報")->setText(before);
    QVERIFY(cmd郵便->text().isEmpty());
    QCOMPARE(cmd郵便->toolTip(), QStringLiteral("郵便番号検索フォームを開きます"));

    cmd郵便->click();

    QCOMPARE(control<MultiLineEdit>(*w, "txt顧客情報")->text(), after);
    QCOMPARE(f.messages.texts(), messages);
    QVERIFY(f.quotation.customerPicks.isEmpty());  // the quotation is not touched
}

void TestCustomerWindowPanel::panelKeys_data()
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

void TestCustomerWindowPanel::panelKeys()
{
    QFETCH(QString, from);
    QFETCH(int, key);
    QFETCH(QString, to);
    CustomerWindowFixture f;
    QVERIFY(f.open());
    FrmCustomer* w = openCustomerWindow(f);
    QVERIFY(w);
    auto* txt顧客情報 = control<MultiLineEdit>(*w, "txt顧客情報");
    QVERIFY(QTest::qWaitForWindowActive(w));
    control<QPushButton>(*w, "cmd新規")->click();
    txt顧客情報->setText(QStringLiteral("〒100-0001\r\n東京都"));
    const bool atStart = from.endsWith(QStringLiteral("@start"));
    auto* start = w->findChild<QWidget*>(from.section(QLatin1Char('@'), 0, 0));
    QVERIFY(start);
    start->setFocus();
    QTextCursor c = txt顧客情報->textCursor();
    c.movePosition(atStart ? QTextCursor::Start : QTextCursor::End);
    txt顧客情報->setTextCursor(c);

    QTest::keyClick(start, Qt::Key(key));

    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus);
    QWidget* expected = w->findChild<QWidget*>(to);
    QVERIFY(focus == expected || expected->isAncestorOf(focus));
    if (from == u"txt顧客情報" && key == Qt::Key_Return)
        QCOMPARE(txt顧客情報->text(), QStringLiteral("〒100-0001\r\n東京都\r\n"));
}

void TestCustomerWindowPanel::picture()
{
    CustomerWindowFixture f;
    QVERIFY(f.open());
    QVERIFY(addCustomers(f.data(), {{"青木商店", "〒100-0001\r\n東京都千代田区千代田1-1\r\nTEL 03-1234-5678 FAX 03-1234-5679", "あおきしょうてん", "様"},
                                    {"石田工務店", "〒530-0001\r\n大阪府大阪市北区梅田", "いしだこうむてん", "御中"},
                                    {"上野商事", "<null>", "うえのしょうじ", "殿"}}));
    FrmCustomer* w = openCustomerWindow(f);
    QVERIFY(w);
    auto* Cn顧客詳細 = control<QFrame>(*w, "Cn顧客詳細");
    auto* CnKokyakuMsg = control<QFrame>(*w, "CnKokyakuMsg");
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QVERIFY(listModel(w)->setValue(2, チェック, true));
    const QString dir = qEnvironmentVariable("VELT_SCREENSHOT_DIR");
    if (!dir.isEmpty()) QVERIFY(w->grab().save(QDir(dir).filePath(QStringLiteral("customers.png"))));
    control<GridView>(*w, "Grid顧客マスタ")->setCurrentCell(0, 顧客名);
    control<QPushButton>(*w, "cmd詳細")->click();
    QVERIFY(Cn顧客詳細->isVisible());
    if (!dir.isEmpty()) QVERIFY(w->grab().save(QDir(dir).filePath(QStringLiteral("customers_detail.png"))));
    // The panel lies inside the window, over the list, and holds its controls whole.
    QVERIFY(w->rect().contains(placeIn(*w, Cn顧客詳細)));
    for (QWidget* c : Cn顧客詳細->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        QVERIFY2(Cn顧客詳細->rect().contains(c->geometry()), qPrintable(c->objectName()));
    // The busy label as it shows while a list is read.
    control<QLabel>(*w, "LblKokyakuMsg")->setText(QStringLiteral("読込中です････"));
    CnKokyakuMsg->show();
    CnKokyakuMsg->raise();
    if (!dir.isEmpty()) QVERIFY(w->grab().save(QDir(dir).filePath(QStringLiteral("customers_busy.png"))));
    QVERIFY(w->rect().contains(placeIn(*w, CnKokyakuMsg)));
}

QTEST_MAIN(TestCustomerWindowPanel)
#include "tst_customer_window_panel.moc"
