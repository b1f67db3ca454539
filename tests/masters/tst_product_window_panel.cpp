// The product window's detail panel (storing one product, its refusals, its
// Enter chain) and the pick into the quotation's current line (from the main
// window).

#include "ProductWindowSupport.h"

#include "app/MessageCatalog.h"
#include "platform/Controls.h"
#include "platform/GridView.h"
#include "support/MainWindowFixture.h"
#include "support/QuotationLines.h"
#include "workspace/DetailLines.h"
#include "workspace/QuotationStore.h"
#include "workspace/quotation_tab/QuotationTab.h"

#include <QFrame>
#include <QLineEdit>

namespace P = ProductColumn;

namespace {

// Line 3 of the quotation holds an older product (or a subtotal), current in the grid.
void prepareLine3(MainWindowFixture& f, bool subtotal)
{
    QVERIFY(WriteWorkLines(f.work(), {QuotationLine{}, QuotationLine{}, lines::occupied(subtotal)}));
    control<WorkTableModel>(f.quotation(), "wkDat")->refresh();
    control<GridView>(f.quotation(), "Grid明細")->setCurrentCell(2, DetailLine::数量);
}

QString line(MainWindowFixture& f, int row)
{
    return lines::cells(f.work(), row).join(QLatin1Char('|'));
}

}  // namespace

class TestProductWindowPanel : public QObject {
    Q_OBJECT
private slots:
    void panelStoresOneProduct_data();
    void panelStoresOneProduct();
    void panelRefusesAnEmptyName();
    void panelRefusesATypedPrice_data();
    void panelRefusesATypedPrice();
    void pickIntoTheQuotation_data();
    void pickIntoTheQuotation();
    void pickRecalculatesTheLine_data();
    void pickRecalculatesTheLine();
    void panelEditsALongNamedProduct();
    void pickFromTheMainWindow();
};

void TestProductWindowPanel::panelStoresOneProduct_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("stored");  // the product afterwards
    QTest::newRow("an existing product keeps 非課税")
        << "コピー用紙" << "商品マスタ|'コピー用紙'|'事務用品'|'2000'|'箱'|45000000|1|'こぴーし'";
    QTest::newRow("a new product takes the default")
        << "コピー紙" << "商品マスタ|'コピー紙'|'事務用品'|'2000'|'箱'|45000000|0|'こぴーし'";
}

void TestProductWindowPanel::panelStoresOneProduct()
{
    QFETCH(QString, name);
    QFETCH(QString, stored);
    ProductWindowFixture<> x;
    QVERIFY(x.w);
    auto* Cn商品詳細 = control<QFrame>(*x.w, "Cn商品詳細");
    auto* txtふりがな = control<QLineEdit>(*x.w, "txtふりがな");
    // 詳細 fills the panel from the current row.
    control<GridView>(*x.w, "Grid商品マスタ")->setCurrentCell(x.rowOf(QStringLiteral("コピー用紙")), P::単位);
    control<QPushButton>(*x.w, "cmd詳細")->click();
    QVERIFY(Cn商品詳細->isVisible());
    QCOMPARE(control<QLineEdit>(*x.w, "txt品名詳細")->text(), QStringLiteral("コピー用紙"));
    QCOMPARE(control<TextComboBox>(*x.w, "cmb入数")->text(), QStringLiteral("500"));
    QCOMPARE(control<NumberBox>(*x.w, "num単価詳細")->value(), Currency::parse(QStringLiteral("1234.5")));
    QCOMPARE(control<TextComboBox>(*x.w, "cmb単位詳細")->text(), QStringLiteral("冊"));
    QCOMPARE(control<TextComboBox>(*x.w, "cmb商品区分詳細")->text(), QStringLiteral("紙"));
    QCOMPARE(txtふりがな->text(), QStringLiteral("こぴーようし"));

    control<QLineEdit>(*x.w, "txt品名詳細")->setText(name);
    control<TextComboBox>(*x.w, "cmb入数")->setText(QStringLiteral("2000"));
    control<NumberBox>(*x.w, "num単価詳細")->setValue(Currency::fromWhole(4500));
    control<TextComboBox>(*x.w, "cmb単位詳細")->setText(QStringLiteral("箱"));
    control<TextComboBox>(*x.w, "cmb商品区分詳細")->setText(QStringLiteral("事務用品"));
    txtふりがな->setText(QStringLiteral("こぴーし"));
    control<QPushButton>(*x.w, "cmd顧客詳細登録")->click();

    QCOMPARE(x.f.messages.texts(), QStringList{name + QStringLiteral(" を登録します。よろしいですか")});
    QVERIFY(x.master().contains(stored));
    QCOMPARE(x.master().size(), name == QStringLiteral("コピー用紙") ? 6 : 7);
    // The new code values; the panel stays open with its values, the list shows the product.
    QCOMPARE(x.f.data().scalar(QStringLiteral("select count(*) from コードマスタ where sname in ('2000', '箱', '事務用品')")).toInt(), 3);
    QVERIFY(Cn商品詳細->isVisible());
    QCOMPARE(txtふりがな->text(), QStringLiteral("こぴーし"));
    QCOMPARE(x.model()->text(x.rowOf(name), P::単位), QStringLiteral("箱"));

    // Closing the panel saves nothing and gives the grid the focus.
    control<QPushButton>(*x.w, "cmd顧客詳細閉じる")->click();
    QVERIFY(Cn商品詳細->isHidden());
}

void TestProductWindowPanel::panelRefusesAnEmptyName()
{
    ProductWindowFixture<> x;
    QVERIFY(x.w);
    auto* txt品名詳細 = control<QLineEdit>(*x.w, "txt品名詳細");
    x.w->show();
    QVERIFY(QTest::qWaitForWindowActive(x.w));
    control<QPushButton>(*x.w, "cmd新規")->click();
    QVERIFY(txt品名詳細->hasFocus());
    txt品名詳細->setText(QStringLiteral("　 "));
    control<TextComboBox>(*x.w, "cmb単位詳細")->setText(QStringLiteral("箱"));
    const QStringList before = x.master();
    control<QPushButton>(*x.w, "cmd顧客詳細登録")->click();
    QCOMPARE(x.f.messages.texts(), QStringList{"品名を記入してください"});
    QVERIFY(txt品名詳細->hasFocus());
    QCOMPARE(x.master(), before);
    QCOMPARE(x.f.data().scalar(QStringLiteral("select count(*) from コードマスタ where sname is not null")).toInt(), 0);

    // Enter walks the panel: 品名 → 入数 → 単価 → 単位 → 商品区分 → ふりがな → 登録.
    QWidget* chain[] = {txt品名詳細, control<QWidget>(*x.w, "cmb入数"), control<QWidget>(*x.w, "num単価詳細"),
                        control<QWidget>(*x.w, "cmb単位詳細"), control<QWidget>(*x.w, "cmb商品区分詳細"),
                        control<QWidget>(*x.w, "txtふりがな"), control<QWidget>(*x.w, "cmd顧客詳細登録")};
    txt品名詳細->setFocus();
    for (size_t i = 1; i < std::size(chain); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY2(chain[i]->hasFocus() || chain[i]->isAncestorOf(QApplication::focusWidget()), qPrintable(chain[i]->objectName()));
    }
}

// A price the box cannot hold is refused where it is typed, with a word, and
// the 登録 pressed over it stores nothing (no product without its price).
void TestProductWindowPanel::panelRefusesATypedPrice_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    const QString digitsOnly = QStringLiteral("単価には数字以外使用できません");
    QTest::newRow("letters") << "abc" << digitsOnly;
    QTest::newRow("an exponent") << "1e400" << digitsOnly;
    QTest::newRow("twenty digits") << "12345678901234567890"
                                   << "単価には -922,337,203,685,477 から 922,337,203,685,477 までの数を入力してください";
}

void TestProductWindowPanel::panelRefusesATypedPrice()
{
    QFETCH(QString, typed);
    QFETCH(QString, message);
    ProductWindowFixture<> x;
    QVERIFY(x.w);
    auto* num単価詳細 = control<NumberBox>(*x.w, "num単価詳細");
    x.w->cmd新規_Click();
    x.w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(x.w));
    const QStringList master = x.master();
    control<QLineEdit>(*x.w, "txt品名詳細")->setText(QStringLiteral("新しい商品"));
    num単価詳細->setFocus();
    QTest::keyClicks(num単価詳細, typed);
    x.f.messages.clear();
    QTest::mouseClick(control<QPushButton>(*x.w, "cmd顧客詳細登録"), Qt::LeftButton);

    QTRY_COMPARE(x.f.messages.texts(), QStringList{message});
    QCOMPARE(x.f.messages.shown().first().title, QStringLiteral("入力注意"));
    QCOMPARE(x.master(), master);
    QVERIFY(num単価詳細->isNull());
    // Pressed again, the panel stores what it shows.
    x.f.messages.clear();
    QTest::mouseClick(control<QPushButton>(*x.w, "cmd顧客詳細登録"), Qt::LeftButton);
    QCOMPARE(x.f.messages.texts().value(0), QStringLiteral("新しい商品 を登録します。よろしいですか"));
}

void TestProductWindowPanel::pickIntoTheQuotation_data()
{
    QTest::addColumn<QString>("product");
    QTest::addColumn<bool>("subtotal");
    QTest::addColumn<QString>("after");  // line 3 afterwards
    // 数量, 商品区分 and 入数 of the line are never touched; 金額 follows the picked price.
    // The line keeps the price as its column shows it, so that 数量 × 単価 on paper gives 金額.
    QTest::newRow("a price with hidden decimals is kept as shown")
        << "コピー用紙" << false << "コピー用紙|文具|12|4|冊|1235|4940|1|こぴーようし";
    QTest::newRow("a price of 0 is written; no reading keeps the line's")
        << "100%ジュース" << false << "100%ジュース|文具|12|4|本|0|0|0|じょうぎ";
    QTest::newRow("no unit keeps the line's") << "O'Neil ペン" << false << "O'Neil ペン|文具|12|4|箱|250|1000|0|おにーるぺん";
    QTest::newRow("a subtotal line refuses") << "コピー用紙" << true << " 小 計|<null>|<null>|<null>|<null>|<null>|40|0|<null>";
}

void TestProductWindowPanel::pickIntoTheQuotation()
{
    QFETCH(QString, product);
    QFETCH(bool, subtotal);
    QFETCH(QString, after);
    ProductWindowFixture<MainWindowFixture> x([](SettingsRecord& s) { s.小数 = QStringLiteral("しない"); });
    QVERIFY(x.w);
    prepareLine3(x.f, subtotal);
    control<GridView>(*x.w, "Grid商品マスタ")->setCurrentCell(x.rowOf(product), P::ふりがな);
    control<QPushButton>(*x.w, "cmd選択")->click();

    QCOMPARE(line(x.f, 2), after);
    QCOMPARE(x.f.messages.texts(), subtotal ? QStringList{DetailLine::kSubtotalLineRefusal} : QStringList{});
    QVERIFY(x.w->isVisible());  // the window stays open
    if (subtotal) return;
    QCOMPARE(control<GridView>(x.f.quotation(), "Grid明細")->currentRow(), 2);
    QCOMPARE(control<GridView>(x.f.quotation(), "Grid明細")->currentColumn(), int(DetailLine::品名));
}

void TestProductWindowPanel::pickRecalculatesTheLine_data()
{
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<QString>("quantity");  // typed into line 1, with 単価 10
    QTest::addColumn<QString>("amount");    // line 1's 金額 after 消しゴム (50) is picked
    QTest::addColumn<QString>("totals");    // 税抜計|消費税|合計|見積金額 (外税 5 %, 四捨五入)
    QTest::newRow("選択: 3 × 50") << false << "3" << "150" << "150|8|158|158";
    QTest::newRow("double click: 2.25 × 50 rounds as a typed price") << true << "2.25" << "113" << "113|6|119|119";
}

void TestProductWindowPanel::pickRecalculatesTheLine()
{
    QFETCH(bool, doubleClick);
    QFETCH(QString, quantity);
    QFETCH(QString, amount);
    QFETCH(QString, totals);
    ProductWindowFixture<MainWindowFixture> x;
    QVERIFY(x.w);
    QuotationTab& q = x.f.quotation();
    // Quantities are shown with their decimals, so a typed 2.25 is kept as typed.
    x.f.session.設定情報.小数 = QStringLiteral("数量+単価");
    q.applyLayout(x.f.session.設定情報, nullptr);
    // Line 2 is a subtotal line; line 1 as typed: 数量, then 単価 10.
    QVERIFY(WriteWorkLines(x.f.work(), {QuotationLine{}, lines::occupied(true)}));
    control<WorkTableModel>(q, "wkDat")->refresh();
    QVERIFY(control<WorkTableModel>(q, "wkDat")->editCell(0, DetailLine::数量, quantity));
    QVERIFY(control<WorkTableModel>(q, "wkDat")->editCell(0, DetailLine::単価, QStringLiteral("10")));
    control<GridView>(q, "Grid明細")->setCurrentCell(0, DetailLine::数量);
    QVERIFY(lines::shownTotals(q) != totals);

    const int row = x.rowOf(QStringLiteral("消しゴム"));
    GridView* grid = control<GridView>(*x.w, "Grid商品マスタ");
    grid->setCurrentCell(row, P::単位);
    if (doubleClick) {
        QVERIFY(QTest::qWaitForWindowExposed(x.w));
        const QModelIndex cell = x.model()->index(row, P::単位);
        static_cast<QTableView*>(grid)->scrollTo(cell);
        const QPoint at = grid->visualRect(cell).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    } else {
        control<QPushButton>(*x.w, "cmd選択")->click();
    }

    // As if 50 had been typed: the line, its subtotal, the totals, and what 登録 stores.
    QCOMPARE(lines::cells(x.f.work(), 0).mid(3, 4), (QStringList{quantity, "個", "50", amount}));
    QCOMPARE(lines::cells(x.f.work(), 1)[6], amount);
    QCOMPARE(lines::shownTotals(q), totals);
    QVERIFY(x.f.messages.shown().isEmpty());
    QCOMPARE(lines::storedAmounts(x.f, 0), amount + QLatin1Char('|') + totals);
}

void TestProductWindowPanel::panelEditsALongNamedProduct()
{
    // A name longer than a quotation line keeps (60 characters, 120 bytes),
    // as the list's 登録 and the import store it.
    const QString name = QStringLiteral("特注").repeated(30);
    RecordingQuotationPort quotation;
    SessionFixture f;
    f.folder.prepare({QStringLiteral("insert into 商品マスタ values ('%1', '文具', NULL, '個', 1000000, 1, 'とくちゅう')").arg(name)});
    QVERIFY(f.open());
    auto* w = openProductWindow(f, quotation);
    QVERIFY(w);
    QCOMPARE(control<WorkTableModel>(*w, "dat商品")->text(0, P::品名), name);
    control<GridView>(*w, "Grid商品マスタ")->setCurrentCell(0, P::単価);
    control<QPushButton>(*w, "cmd詳細")->click();
    QCOMPARE(control<QLineEdit>(*w, "txt品名詳細")->text(), name);
    control<NumberBox>(*w, "num単価詳細")->setValue(Currency::fromWhole(120));
    control<QPushButton>(*w, "cmd顧客詳細登録")->click();

    // The product itself is edited: one row, the new price, its 非課税 kept.
    QCOMPARE(f.messages.texts(), QStringList{MessageCatalog::ShortValue(name) + QStringLiteral(" を登録します。よろしいですか")});
    QCOMPARE(TableSnapshot(f.data(), {QStringLiteral("商品マスタ")}),
             QStringList{QStringLiteral("商品マスタ|'%1'|'文具'|<null>|'個'|1200000|1|'とくちゅう'").arg(name)});
    QCOMPARE(control<WorkTableModel>(*w, "dat商品")->rowCount(), 1);
}

void TestProductWindowPanel::pickFromTheMainWindow()
{
    MainWindowFixture f;
    f.folder.prepare(samples::kProducts);
    QVERIFY(f.open());
    QVERIFY(f.activate());
    QuotationTab& q = f.quotation();
    control<GridView>(q, "Grid明細")->setCurrentCell(2, DetailLine::数量);

    QTest::mouseClick(control<QPushButton>(q, "cmd商品"), Qt::LeftButton);
    auto* w = qobject_cast<FrmProduct*>(f.session.windows().find(QStringLiteral("Frm商品情報")));
    QVERIFY(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
    // A double click on the product's row picks it into line 3.
    GridView* grid = control<GridView>(*w, "Grid商品マスタ");
    const WorkTableModel* list = control<WorkTableModel>(*w, "dat商品");
    const QModelIndex cell = list->index(4, P::単位);
    QCOMPARE(list->text(cell.row(), P::品名), QStringLiteral("消しゴム"));
    static_cast<QTableView*>(grid)->scrollTo(cell);
    const QPoint at = grid->visualRect(cell).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);

    QCOMPARE(line(f, 2), QStringLiteral("消しゴム|<null>|<null>|<null>|個|50|<null>|0|けしごむ"));
    QVERIFY(!grid->isEditing());
    QVERIFY(w->isVisible());
    QTRY_VERIFY(control<GridView>(q, "Grid明細")->hasFocus() || control<GridView>(q, "Grid明細")->isAncestorOf(QApplication::focusWidget()));
    QCOMPARE(control<GridView>(q, "Grid明細")->currentRow(), 2);
    QCOMPARE(control<GridView>(q, "Grid明細")->currentColumn(), int(DetailLine::品名));
    QVERIFY(f.messages.shown().isEmpty());
}

QTEST_MAIN(TestProductWindowPanel)
#include "tst_product_window_panel.moc"
