// The product window: the list and its formats, the code lists behind its
// drop-downs, the detail panel, 登録 and 削除 of the list, the link import
// behind 参照 (on a session of its own), and the pick into the quotation's
// current line (from the main window).

#include "app/MessageCatalog.h"
#include "ProductSamples.h"
#include "WindowTexts.h"
#include "masters/FrmProduct.h"
#include "masters/ProductList.h"
#include "platform/Controls.h"
#include "platform/GridView.h"
#include "platform/WorkTableModel.h"
#include "support/FindControl.h"
#include "support/MainWindowFixture.h"
#include "support/QuotationLines.h"
#include "support/RecordingQuotationPort.h"
#include "support/SessionFixture.h"
#include "support/WidgetText.h"
#include "workspace/DetailLines.h"
#include "workspace/QuotationStore.h"
#include "workspace/quotation_tab/QuotationTab.h"

#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlRecord>
#include <QtTest>
#include <type_traits>

namespace P = ProductColumn;

namespace {

// Opens the product window as the main window's button does, on the session
// alone (its picks go to a recording quotation).
FrmProduct* openProductWindow(SessionFixture& f, RecordingQuotationPort& quotation)
{
    return f.openWindow<FrmProduct>(QStringLiteral("Frm商品情報"), quotation);
}

// The sample products with the product window open: on a session of its own
// (Base = SessionFixture), or from the main window's button (Base =
// MainWindowFixture) where a pick reaches the quotation itself.
template <class Base = SessionFixture>
struct Fixture {
    // settings: changes to the settings record before the window opens.
    explicit Fixture(const std::function<void(SettingsRecord&)>& settings = {})
    {
        f.folder.prepare(samples::kProducts);
        if (!f.open()) return;
        f.session.設定情報.商品表示順 = QStringLiteral("品名順");
        if (settings) settings(f.session.設定情報);
        if constexpr (std::is_same_v<Base, MainWindowFixture>) {
            control<QPushButton>(f.quotation(), "cmd商品")->click();
            w = qobject_cast<FrmProduct*>(f.session.windows().find(QStringLiteral("Frm商品情報")));
        } else {
            w = openProductWindow(f, quotation);
        }
    }
    int rowOf(const QString& name) const
    {
        for (int r = 0; r < w->dat商品->rowCount(); ++r)
            if (w->dat商品->text(r, P::品名) == name) return r;
        return -1;
    }
    QStringList names() const
    {
        QStringList out;
        for (int r = 0; r < w->dat商品->rowCount(); ++r) out << w->dat商品->text(r, P::品名);
        return out;
    }
    QStringList master() { return TableSnapshot(f.data(), {QStringLiteral("商品マスタ")}); }
    QStringList list() { return TableSnapshot(f.work(), {QStringLiteral("w商品マスタ")}); }

    RecordingQuotationPort quotation;  // before f: the window goes first
    Base f;
    FrmProduct* w = nullptr;
};

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

class TestProductWindow : public QObject {
    Q_OBJECT
private slots:
    void loadShowsTheList_data();
    void loadShowsTheList();
    void codeListsFollowThePackTitle();
    void panelStoresOneProduct_data();
    void panelStoresOneProduct();
    void panelRefusesAnEmptyName();
    void panelRefusesATypedPrice_data();
    void panelRefusesATypedPrice();
    void listSaveAndDelete();
    void failedSaveSaysSo();
    void pickIntoTheQuotation_data();
    void pickIntoTheQuotation();
    void pickRecalculatesTheLine_data();
    void pickRecalculatesTheLine();
    void panelEditsALongNamedProduct();
    void enterOnTheLastRow();
    void importChecks_data();
    void importChecks();
    void importThenSave();
    void pickFromTheMainWindow();
    void secondOperationRefused();
    void captionsAndToolTips();
    void picture();
};

void TestProductWindow::loadShowsTheList_data()
{
    QTest::addColumn<QString>("decimals");
    QTest::addColumn<QString>("shown");  // 単価 of コピー用紙, stored 1234.5
    QTest::addColumn<QString>("zero");   // 単価 of 100%ジュース, stored 0
    QTest::addColumn<QString>("small");  // a stored 0.4
    QTest::newRow("しない: whole yen, nothing for 0") << "しない" << "1,235" << "" << "";
    QTest::newRow("数量+単価: two decimals") << "数量+単価" << "1,234.50" << "0.00" << "0.40";
    QTest::newRow("数量: two decimals too") << "数量" << "1,234.50" << "0.00" << "0.40";
    QTest::newRow("単価: two decimals") << "単価" << "1,234.50" << "0.00" << "0.40";
}

void TestProductWindow::loadShowsTheList()
{
    QFETCH(QString, decimals);
    QFETCH(QString, shown);
    QFETCH(QString, zero);
    QFETCH(QString, small);
    Fixture<> x([&](SettingsRecord& s) { s.小数 = decimals; });
    QVERIFY(x.w);
    QVERIFY(x.w->isVisible());
    QCOMPARE(x.w->objectName(), QStringLiteral("Frm商品情報"));
    QCOMPARE(x.w->windowTitle(), QStringLiteral("商品情報"));
    QCOMPARE(x.names(), (QStringList{"100%ジュース", "O'Neil ペン", "コピー用紙", "鉛筆", "消しゴム", "赤鉛筆"}));
    // The first row is current, so 詳細 and 選択 have a row to work on.
    QCOMPARE(x.w->Grid商品マスタ->currentRow(), 0);
    const int row = x.rowOf(QStringLiteral("コピー用紙"));
    QCOMPARE(x.w->dat商品->text(row, P::単価), shown);
    QCOMPARE(x.w->dat商品->money(row, P::単価), Currency::parse(QStringLiteral("1234.5")));
    // A price of 0 is still 0 (the pick and the panel take the value).
    const int free = x.rowOf(QStringLiteral("100%ジュース"));
    QCOMPARE(x.w->dat商品->text(free, P::単価), zero);
    QCOMPARE(x.w->dat商品->money(free, P::単価), std::optional<Currency>(Currency()));
    QCOMPARE(x.w->dat商品->editText(free, P::単価), QStringLiteral("0"));
    QVERIFY(x.w->dat商品->setMoney(free, P::単価, Currency::parse(QStringLiteral("0.4"))));
    QCOMPARE(x.w->dat商品->text(free, P::単価), small);
    // Tick and 品名 stay in view on the left; the rest scrolls.
    QCOMPARE(x.w->Grid商品マスタ->frozenColumns(), 2);
    QStringList captions;
    for (int c = 0; c < x.w->dat商品->columnCount(); ++c)
        captions << x.w->dat商品->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(captions, (QStringList{"", "品名", "商品区分", "入数", "単位", "単価", "非課税", "ふりがな"}));
    QVERIFY(x.w->Cn商品詳細->isHidden());
    QVERIFY(x.w->CnSyohinMsg->isHidden());
    QVERIFY(x.f.messages.shown().isEmpty());
}

void TestProductWindow::codeListsFollowThePackTitle()
{
    RecordingQuotationPort quotation;
    SessionFixture f;
    f.folder.prepare({
        QStringLiteral("update コードマスタ set sname = '本' where kcode = '単位' and code = '01'"),
        QStringLiteral("update コードマスタ set sname = '個' where kcode = '単位' and code = '03'"),
        QStringLiteral("update コードマスタ set sname = '文具' where kcode = '商品区分' and code = '01'"),
        QStringLiteral("update コードマスタ set sname = '6本入' where kcode = '入数' and code = '01'"),
        QStringLiteral("insert into コードマスタ values ('ケース', '01', '12入'), ('ケース', '02', NULL)"),
    });
    QVERIFY(f.open());
    f.session.設定情報.入数列タイトル = QStringLiteral("ケース");
    auto* w = openProductWindow(f, quotation);
    QVERIFY(w);
    // The pack quantities are the kind the title names; free slots are skipped.
    QCOMPARE(items(w->cmb入数), QStringList{"12入"});
    QCOMPARE(items(w->cmb単位詳細), (QStringList{"本", "個"}));
    QCOMPARE(items(w->cmb商品区分詳細), QStringList{"文具"});
    QCOMPARE(items(w->cmb商品区分), QStringList{"文具"});
    QCOMPARE(TableSnapshot(f.work(), {QStringLiteral("w入数参照"), QStringLiteral("w単位参照")}),
             (QStringList{"w入数参照|'12入'", "w単位参照|'本'", "w単位参照|'個'"}));

    // The panel registers a new pack quantity under the same kind; the lists
    // offer it after their next rebuild (the panel's クリア).
    w->cmd新規->click();
    w->txt品名詳細->setText(QStringLiteral("ボールペン"));
    w->cmb入数->setText(QStringLiteral("24入"));
    w->cmd顧客詳細登録->click();
    QCOMPARE(f.data().scalar(QStringLiteral("select sname from コードマスタ where kcode = 'ケース' and code = '02'")).toString(),
             QStringLiteral("24入"));
    QCOMPARE(items(w->cmb入数), QStringList{"12入"});
    w->cmd顧客詳細クリア->click();
    QCOMPARE(items(w->cmb入数), (QStringList{"12入", "24入"}));
    QCOMPARE(w->cmb入数->text(), QString());
    QCOMPARE(w->txt品名詳細->text(), QString());

    // The window's クリア empties the search bar and the list, and reloads
    // the code lists; the products stay stored.
    w->txt品名->setText(QStringLiteral("鉛筆"));
    w->cmb商品区分->setText(QStringLiteral("文具"));
    QVERIFY(f.data().exec(QStringLiteral("update コードマスタ set sname = '箱' where kcode = '単位' and code = '02'")));
    w->cmdクリア->click();
    QCOMPARE(w->dat商品->rowCount(), 0);
    QCOMPARE(w->txt品名->text(), QString());
    QCOMPARE(w->cmb商品区分->text(), QString());
    QCOMPARE(items(w->cmb単位詳細), (QStringList{"本", "箱", "個"}));
    QCOMPARE(f.data().scalar(QStringLiteral("select count(*) from 商品マスタ")).toInt(), 1);
}

void TestProductWindow::panelStoresOneProduct_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("stored");  // the product afterwards
    QTest::newRow("an existing product keeps 非課税")
        << "コピー用紙" << "商品マスタ|'コピー用紙'|'事務用品'|'2000'|'箱'|45000000|1|'こぴーし'";
    QTest::newRow("a new product takes the default")
        << "コピー紙" << "商品マスタ|'コピー紙'|'事務用品'|'2000'|'箱'|45000000|0|'こぴーし'";
}

void TestProductWindow::panelStoresOneProduct()
{
    QFETCH(QString, name);
    QFETCH(QString, stored);
    Fixture<> x;
    QVERIFY(x.w);
    // 詳細 fills the panel from the current row.
    x.w->Grid商品マスタ->setCurrentCell(x.rowOf(QStringLiteral("コピー用紙")), P::単位);
    x.w->cmd詳細->click();
    QVERIFY(x.w->Cn商品詳細->isVisible());
    QCOMPARE(x.w->txt品名詳細->text(), QStringLiteral("コピー用紙"));
    QCOMPARE(x.w->cmb入数->text(), QStringLiteral("500"));
    QCOMPARE(x.w->num単価詳細->value(), Currency::parse(QStringLiteral("1234.5")));
    QCOMPARE(x.w->cmb単位詳細->text(), QStringLiteral("冊"));
    QCOMPARE(x.w->cmb商品区分詳細->text(), QStringLiteral("紙"));
    QCOMPARE(x.w->txtふりがな->text(), QStringLiteral("こぴーようし"));

    x.w->txt品名詳細->setText(name);
    x.w->cmb入数->setText(QStringLiteral("2000"));
    x.w->num単価詳細->setValue(Currency::fromWhole(4500));
    x.w->cmb単位詳細->setText(QStringLiteral("箱"));
    x.w->cmb商品区分詳細->setText(QStringLiteral("事務用品"));
    x.w->txtふりがな->setText(QStringLiteral("こぴーし"));
    x.w->cmd顧客詳細登録->click();

    QCOMPARE(x.f.messages.texts(), QStringList{name + QStringLiteral(" を登録します。よろしいですか")});
    QVERIFY(x.master().contains(stored));
    QCOMPARE(x.master().size(), name == QStringLiteral("コピー用紙") ? 6 : 7);
    // The new code values; the panel stays open with its values, the list shows the product.
    QCOMPARE(x.f.data().scalar(QStringLiteral("select count(*) from コードマスタ where sname in ('2000', '箱', '事務用品')")).toInt(), 3);
    QVERIFY(x.w->Cn商品詳細->isVisible());
    QCOMPARE(x.w->txtふりがな->text(), QStringLiteral("こぴーし"));
    QCOMPARE(x.w->dat商品->text(x.rowOf(name), P::単位), QStringLiteral("箱"));

    // Closing the panel saves nothing and gives the grid the focus.
    x.w->cmd顧客詳細閉じる->click();
    QVERIFY(x.w->Cn商品詳細->isHidden());
}

void TestProductWindow::panelRefusesAnEmptyName()
{
    Fixture<> x;
    QVERIFY(x.w);
    x.w->show();
    QVERIFY(QTest::qWaitForWindowActive(x.w));
    x.w->cmd新規->click();
    QVERIFY(x.w->txt品名詳細->hasFocus());
    x.w->txt品名詳細->setText(QStringLiteral("　 "));
    x.w->cmb単位詳細->setText(QStringLiteral("箱"));
    const QStringList before = x.master();
    x.w->cmd顧客詳細登録->click();
    QCOMPARE(x.f.messages.texts(), QStringList{"品名を記入してください"});
    QVERIFY(x.w->txt品名詳細->hasFocus());
    QCOMPARE(x.master(), before);
    QCOMPARE(x.f.data().scalar(QStringLiteral("select count(*) from コードマスタ where sname is not null")).toInt(), 0);

    // Enter walks the panel: 品名 → 入数 → 単価 → 単位 → 商品区分 → ふりがな → 登録.
    QWidget* chain[] = {x.w->txt品名詳細, x.w->cmb入数, x.w->num単価詳細, x.w->cmb単位詳細,
                        x.w->cmb商品区分詳細, x.w->txtふりがな, x.w->cmd顧客詳細登録};
    x.w->txt品名詳細->setFocus();
    for (size_t i = 1; i < std::size(chain); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY2(chain[i]->hasFocus() || chain[i]->isAncestorOf(QApplication::focusWidget()), qPrintable(chain[i]->objectName()));
    }
}

// A price the box cannot hold is refused where it is typed, with a word, and
// the 登録 pressed over it stores nothing (no product without its price).
void TestProductWindow::panelRefusesATypedPrice_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    const QString digitsOnly = QStringLiteral("単価には数字以外使用できません");
    QTest::newRow("letters") << "abc" << digitsOnly;
    QTest::newRow("an exponent") << "1e400" << digitsOnly;
    QTest::newRow("twenty digits") << "12345678901234567890"
                                   << "単価には -922,337,203,685,477 から 922,337,203,685,477 までの数を入力してください";
}

void TestProductWindow::panelRefusesATypedPrice()
{
    QFETCH(QString, typed);
    QFETCH(QString, message);
    Fixture<> x;
    QVERIFY(x.w);
    x.w->cmd新規_Click();
    x.w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(x.w));
    const QStringList master = x.master();
    x.w->txt品名詳細->setText(QStringLiteral("新しい商品"));
    x.w->num単価詳細->setFocus();
    QTest::keyClicks(x.w->num単価詳細, typed);
    x.f.messages.clear();
    QTest::mouseClick(x.w->cmd顧客詳細登録, Qt::LeftButton);

    QTRY_COMPARE(x.f.messages.texts(), QStringList{message});
    QCOMPARE(x.f.messages.shown().first().title, QStringLiteral("入力注意"));
    QCOMPARE(x.master(), master);
    QVERIFY(x.w->num単価詳細->isNull());
    // Pressed again, the panel stores what it shows.
    x.f.messages.clear();
    QTest::mouseClick(x.w->cmd顧客詳細登録, Qt::LeftButton);
    QCOMPARE(x.f.messages.texts().value(0), QStringLiteral("新しい商品 を登録します。よろしいですか"));
}

void TestProductWindow::listSaveAndDelete()
{
    Fixture<> x;
    QVERIFY(x.w);
    WorkTableModel& m = *x.w->dat商品;
    // Edits in the grid, one new row of the list, then 登録.
    QVERIFY(m.editCell(x.rowOf(QStringLiteral("鉛筆")), P::単価, QStringLiteral("110.5")));
    QVERIFY(m.editCell(x.rowOf(QStringLiteral("鉛筆")), P::非課税, QStringLiteral("1")));
    QVERIFY(x.f.work().exec(QStringLiteral("insert into w商品マスタ (品名, 単位) values ('定規', '本')")));
    QVERIFY(x.f.work().exec(QStringLiteral("insert into w商品マスタ (品名, 単位) values (NULL, '本')")));
    x.w->cmd登録->click();
    QCOMPARE(x.f.messages.texts(), QStringList{"商品情報 を登録します。よろしいですか"});
    QVERIFY(x.master().contains("商品マスタ|'鉛筆'|'文具'|'12'|'本'|1105000|1|'えんぴつ'"));
    QVERIFY(x.master().contains("商品マスタ|'定規'|<null>|<null>|'本'|<null>|<null>|<null>"));
    QCOMPARE(x.master().size(), 7);
    QVERIFY(x.w->CnSyohinMsg->isHidden());

    // 削除 takes the ticked rows, after its question (No keeps them).
    x.w->cmd読込->click();
    QVERIFY(m.editCell(x.rowOf(QStringLiteral("定規")), P::チェック, QStringLiteral("1")));
    QVERIFY(m.editCell(x.rowOf(QStringLiteral("赤鉛筆")), P::チェック, QStringLiteral("1")));
    x.f.messages.clear();
    x.f.messages.answerNext(MessageAnswer::No);
    x.w->cmd削除->click();
    QCOMPARE(x.master().size(), 7);
    x.w->cmd削除->click();
    QCOMPARE(x.f.messages.texts(), (QStringList{"指定された 商品情報 を削除します。よろしいですか",
                                                "指定された 商品情報 を削除します。よろしいですか"}));
    QCOMPARE(x.names(), (QStringList{"100%ジュース", "O'Neil ペン", "コピー用紙", "鉛筆", "消しゴム"}));
    QCOMPARE(x.master().size(), 5);
    QVERIFY(!x.master().join('\n').contains(QStringLiteral("赤鉛筆")));
}

void TestProductWindow::failedSaveSaysSo()
{
    Fixture<> x;
    QVERIFY(x.w);
    QVERIFY(x.f.data().exec(QStringLiteral("create trigger refuse before update on 商品マスタ when new.品名 = '鉛筆' "
                                           "begin select raise(abort, 'refused by the test'); end")));
    QVERIFY(x.w->dat商品->editCell(x.rowOf(QStringLiteral("消しゴム")), P::単位, QStringLiteral("本")));
    const QStringList before = x.master();
    x.w->cmd登録->click();
    QCOMPARE(x.master(), before);
    QCOMPARE(x.f.messages.shown().size(), 2);
    QVERIFY(x.f.messages.texts()[1].startsWith(QStringLiteral("商品情報を登録できませんでした。商品マスタは変更していません。")));
    QVERIFY(x.f.messages.shown()[1].detail.contains(QStringLiteral("refused by the test")));
    QVERIFY(x.w->CnSyohinMsg->isHidden());
}

void TestProductWindow::pickIntoTheQuotation_data()
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

void TestProductWindow::pickIntoTheQuotation()
{
    QFETCH(QString, product);
    QFETCH(bool, subtotal);
    QFETCH(QString, after);
    Fixture<MainWindowFixture> x([](SettingsRecord& s) { s.小数 = QStringLiteral("しない"); });
    QVERIFY(x.w);
    prepareLine3(x.f, subtotal);
    x.w->Grid商品マスタ->setCurrentCell(x.rowOf(product), P::ふりがな);
    x.w->cmd選択->click();

    QCOMPARE(line(x.f, 2), after);
    QCOMPARE(x.f.messages.texts(), subtotal ? QStringList{DetailLine::kSubtotalLineRefusal} : QStringList{});
    QVERIFY(x.w->isVisible());  // the window stays open
    if (subtotal) return;
    QCOMPARE(control<GridView>(x.f.quotation(), "Grid明細")->currentRow(), 2);
    QCOMPARE(control<GridView>(x.f.quotation(), "Grid明細")->currentColumn(), int(DetailLine::品名));
}

void TestProductWindow::pickRecalculatesTheLine_data()
{
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<QString>("quantity");  // typed into line 1, with 単価 10
    QTest::addColumn<QString>("amount");    // line 1's 金額 after 消しゴム (50) is picked
    QTest::addColumn<QString>("totals");    // 税抜計|消費税|合計|見積金額 (外税 5 %, 四捨五入)
    QTest::newRow("選択: 3 × 50") << false << "3" << "150" << "150|8|158|158";
    QTest::newRow("double click: 2.25 × 50 rounds as a typed price") << true << "2.25" << "113" << "113|6|119|119";
}

void TestProductWindow::pickRecalculatesTheLine()
{
    QFETCH(bool, doubleClick);
    QFETCH(QString, quantity);
    QFETCH(QString, amount);
    QFETCH(QString, totals);
    Fixture<MainWindowFixture> x;
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
    GridView* grid = x.w->Grid商品マスタ;
    grid->setCurrentCell(row, P::単位);
    if (doubleClick) {
        QVERIFY(QTest::qWaitForWindowExposed(x.w));
        const QModelIndex cell = x.w->dat商品->index(row, P::単位);
        static_cast<QTableView*>(grid)->scrollTo(cell);
        const QPoint at = grid->visualRect(cell).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    } else {
        x.w->cmd選択->click();
    }

    // As if 50 had been typed: the line, its subtotal, the totals, and what 登録 stores.
    QCOMPARE(lines::cells(x.f.work(), 0).mid(3, 4), (QStringList{quantity, "個", "50", amount}));
    QCOMPARE(lines::cells(x.f.work(), 1)[6], amount);
    QCOMPARE(lines::shownTotals(q), totals);
    QVERIFY(x.f.messages.shown().isEmpty());
    QCOMPARE(lines::storedAmounts(x.f, 0), amount + QLatin1Char('|') + totals);
}

void TestProductWindow::panelEditsALongNamedProduct()
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
    QCOMPARE(w->dat商品->text(0, P::品名), name);
    w->Grid商品マスタ->setCurrentCell(0, P::単価);
    w->cmd詳細->click();
    QCOMPARE(w->txt品名詳細->text(), name);
    w->num単価詳細->setValue(Currency::fromWhole(120));
    w->cmd顧客詳細登録->click();

    // The product itself is edited: one row, the new price, its 非課税 kept.
    QCOMPARE(f.messages.texts(), QStringList{MessageCatalog::ShortValue(name) + QStringLiteral(" を登録します。よろしいですか")});
    QCOMPARE(TableSnapshot(f.data(), {QStringLiteral("商品マスタ")}),
             QStringList{QStringLiteral("商品マスタ|'%1'|'文具'|<null>|'個'|1200000|1|'とくちゅう'").arg(name)});
    QCOMPARE(w->dat商品->rowCount(), 1);
}

void TestProductWindow::enterOnTheLastRow()
{
    Fixture<> x;
    QVERIFY(x.w);
    QVERIFY(QTest::qWaitForWindowActive(x.w));
    const int last = x.w->dat商品->rowCount() - 1;
    x.w->Grid商品マスタ->setFocus();
    for (int row : {last - 1, last}) {
        x.w->Grid商品マスタ->setCurrentCell(row, P::ふりがな);
        QTest::keyClick(x.w->Grid商品マスタ, Qt::Key_Return);
        QCOMPARE(x.w->Grid商品マスタ->currentRow(), last);
        QCOMPARE(x.w->Grid商品マスタ->currentColumn(), int(P::品名));
        QVERIFY(x.w->Grid商品マスタ->hasFocus());
    }
}

void TestProductWindow::importChecks_data()
{
    QTest::addColumn<QString>("application");
    QTest::addColumn<QString>("path");     // "link": an SQLite link file, "text": a text file, "folder", "missing"
    QTest::addColumn<QString>("message");  // the one message, or its beginning; "" for none
    QTest::newRow("no application, no path") << "" << "" << "リンクアプリが指定されてません";
    QTest::newRow("no path") << "Dovan請求書" << "" << "リンクパスが指定されてません";
    QTest::newRow("a folder") << "Dovan請求書" << "folder" << "商品リンク参照がありません。確認してください。";
    QTest::newRow("a missing file") << "Dovan請求書" << "missing" << "商品リンク参照がありません。確認してください。";
    QTest::newRow("an application without product data")
        << "Sulka" << "link" << "「Sulka」には読み込める商品データがありません";
    QTest::newRow("not a database") << "Dovan請求書" << "text" << "商品リンク参照を読み込めませんでした。一覧は変更していません。";
    QTest::newRow("Tesra納品書 reads as Tesra") << "Tesra納品書" << "link" << "";
}

void TestProductWindow::importChecks()
{
    QFETCH(QString, application);
    QFETCH(QString, path);
    QFETCH(QString, message);
    Fixture<> x;
    QVERIFY(x.w);
    const QString root = x.f.folder.root();
    QString file;
    if (path == QLatin1String("link")) {
        file = root + QStringLiteral("/tesra.mdb");
        samples::writeLinkFile(x.f.folder, file, samples::linkProducts());
    } else if (path == QLatin1String("text")) {
        file = root + QStringLiteral("/notes.mdb");
        QFile text(file);
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("品名,単価\n");
    } else if (path == QLatin1String("folder")) {
        file = root;
    } else if (path == QLatin1String("missing")) {
        file = root + QStringLiteral("/none.mdb");
    }
    x.f.session.設定情報.商品リンクアプリ = application;
    x.f.session.設定情報.商品リンクパス = file;
    const QStringList before = x.list();

    x.w->cmd商品参照->click();

    QVERIFY(x.w->CnSyohinMsg->isHidden());
    if (message.isEmpty()) {
        QVERIFY(x.f.messages.shown().isEmpty());
        QCOMPARE(x.list(), samples::importedRows(true));
        QCOMPARE(x.w->dat商品->rowCount(), 4);
        return;
    }
    QCOMPARE(x.f.messages.shown().size(), 1);
    QVERIFY2(x.f.messages.texts()[0].startsWith(message), qPrintable(x.f.messages.texts()[0]));
    QCOMPARE(x.list(), before);
}

void TestProductWindow::importThenSave()
{
    Fixture<> x;
    QVERIFY(x.w);
    const QString file = x.f.folder.root() + QStringLiteral("/grevo.mdb");
    samples::writeLinkFile(x.f.folder, file,
                           samples::linkProducts({QStringLiteral("単位"), QStringLiteral("単価"), QStringLiteral("非課税")}) +
                               QStringList{QStringLiteral("insert into 商品マスタ (品名, 単位, 単価, 非課税, ふりがな) "
                                                          "values ('鉛筆', 'ダース', 1000, -1, 'えんぴつ')")});
    x.f.session.設定情報.商品リンクアプリ = QStringLiteral("Grevo請求書");
    x.f.session.設定情報.商品リンクパス = file;
    x.w->cmd商品参照->click();
    QVERIFY(x.f.messages.shown().isEmpty());
    x.w->cmd登録->click();
    // The imported products are added, an existing one takes the linked
    // values (商品区分 and 入数 empty); the others stay.
    const QStringList master = x.master();
    QCOMPARE(master.size(), 10);
    for (const char* row : {"商品マスタ|'鉛筆'|<null>|<null>|'ダース'|10000000|1|'えんぴつ'",
                            "商品マスタ|'切手'|<null>|<null>|'枚'|840000|1|'きって'",
                            "商品マスタ|'封筒'|<null>|<null>|'束'|12345678|1|<null>",
                            "商品マスタ|'赤鉛筆'|'文具'|'12'|'本'|1200000|0|'あかえんぴつ'"})
        QVERIFY2(master.contains(QString::fromUtf8(row)), qPrintable(master.join('\n')));
}

void TestProductWindow::pickFromTheMainWindow()
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
    GridView* grid = w->Grid商品マスタ;
    const QModelIndex cell = w->dat商品->index(4, P::単位);
    QCOMPARE(w->dat商品->text(cell.row(), P::品名), QStringLiteral("消しゴム"));
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

void TestProductWindow::secondOperationRefused()
{
    Fixture<> x;
    QVERIFY(x.w);
    // Each button would change something or ask: a ticked row, a link file, a panel filled.
    QVERIFY(x.w->dat商品->setValue(0, P::チェック, true));
    const QString file = x.f.folder.root() + QStringLiteral("/link.mdb");
    samples::writeLinkFile(x.f.folder, file, samples::linkProducts());
    x.f.session.設定情報.商品リンクアプリ = QStringLiteral("Dovan請求書");
    x.f.session.設定情報.商品リンクパス = file;
    x.w->cmd新規->click();
    x.w->txt品名詳細->setText(QStringLiteral("定規"));
    x.w->txt品名->setText(QStringLiteral("鉛筆"));
    QVERIFY(x.f.data().exec(QStringLiteral("delete from 商品マスタ where 品名 = 'コピー用紙'")));
    const QStringList list = x.list();
    const QStringList master = x.master();

    // Another storing, loading or listing runs: none of the window's operations starts.
    x.f.session.setOperationRunning(true);
    for (QPushButton* b : {x.w->cmd読込, x.w->cmd登録, x.w->cmd削除, x.w->cmdクリア, x.w->cmd商品参照, x.w->cmd顧客詳細登録})
        b->click();
    x.f.session.setOperationRunning(false);

    QCOMPARE(x.list(), list);
    QCOMPARE(x.master(), master);
    QVERIFY(x.f.messages.shown().isEmpty());
    QCOMPARE(x.w->txt品名->text(), QStringLiteral("鉛筆"));
    QVERIFY(x.w->CnSyohinMsg->isHidden());
}

void TestProductWindow::captionsAndToolTips()
{
    Fixture<> x;
    QVERIFY(x.w);
    // Button: caption and tool-tip, as the user reads them.
    const QList<QStringList> buttons{
        {"cmd閉じる", "閉じる", "商品情報画面を閉じます。"},
        {"cmd読込", "読込", "商品情報を読込みます。品名や「かな」の一部を指定して絞り込むこともできます。"},
        {"cmd登録", "登録", "商品情報を登録します。"},
        {"cmd削除", "削除", "チェックマークを付けた商品情報を削除します。複数削除もできます。"},
        {"cmd新規", "追加", "新規商品を登録します"},
        {"cmd詳細", "詳細", "商品情報を編集します"},
        {"cmdクリア", "クリア", "商品情報画面を消去します。登録済みデータは削除されません。"},
        {"cmd商品参照", "参照", "リンク参照　指定された他のアプリの商品のデータを参照する"},
        {"cmd選択", "選択", "指定された行の商品情報を見積書に記入する。"},
        {"cmd顧客詳細閉じる", "閉じる", "商品詳細画面を閉じます。"},
        {"cmd顧客詳細登録", "登録", "商品詳細を登録します"},
        {"cmd顧客詳細クリア", "クリア", "商品情報画面を消去します。登録済みデータは削除されません。"},
    };
    compareButtonTexts(x.w, buttons);
    // The labels of the search bar and of the panel, in the panel's order.
    const QStringList bar = labelTexts(x.w, Qt::FindDirectChildrenOnly);
    for (const char* text : {"品　名", "かな", "商品区分"}) QVERIFY2(bar.contains(QString::fromUtf8(text)), text);
    QCOMPARE(labelTexts(x.w->Cn商品詳細), (QStringList{"商品詳細", "品　名", "入　数", "単　価", "単　位", "商品区分", "ふりがな"}));
}

void TestProductWindow::picture()
{
    Fixture<> x;
    QVERIFY(x.w);
    QVERIFY(QTest::qWaitForWindowActive(x.w));
    QVERIFY(x.w->dat商品->editCell(1, P::チェック, QStringLiteral("1")));
    x.w->Grid商品マスタ->setCurrentCell(2, P::単価);
    const QString dir = qEnvironmentVariable("VELT_SCREENSHOT_DIR");
    if (!dir.isEmpty()) QVERIFY(x.w->grab().save(QDir(dir).filePath(QStringLiteral("product_window.png"))));
    x.w->cmd詳細->click();
    if (!dir.isEmpty()) QVERIFY(x.w->grab().save(QDir(dir).filePath(QStringLiteral("product_window_panel.png"))));
    // The panel floats over the list, inside the window.
    QVERIFY(x.w->rect().contains(x.w->Cn商品詳細->geometry()));
    QVERIFY(x.w->Grid商品マスタ->geometry().intersects(x.w->Cn商品詳細->geometry()));
}

QTEST_MAIN(TestProductWindow)
#include "tst_product_window.moc"
