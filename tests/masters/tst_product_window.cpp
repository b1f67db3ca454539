// The product window's list: its formats, the code lists behind its
// drop-downs, 登録 and 削除 of the list, Enter on its last row, the link
// import behind 参照, the refusal while another operation runs, and what the
// user reads and sees.

#include "ProductWindowSupport.h"
#include "WindowTexts.h"

#include "platform/Controls.h"
#include "platform/GridView.h"
#include "support/WidgetText.h"

#include <QDir>
#include <QFrame>
#include <QLineEdit>

namespace P = ProductColumn;

class TestProductWindow : public QObject {
    Q_OBJECT
private slots:
    void loadShowsTheList_data();
    void loadShowsTheList();
    void codeListsFollowThePackTitle();
    void listSaveAndDelete();
    void failedSaveSaysSo();
    void enterOnTheLastRow();
    void importChecks_data();
    void importChecks();
    void importThenSave();
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
    ProductWindowFixture<> x([&](SettingsRecord& s) { s.小数 = decimals; });
    QVERIFY(x.w);
    QVERIFY(x.w->isVisible());
    QCOMPARE(x.w->objectName(), QStringLiteral("Frm商品情報"));
    QCOMPARE(x.w->windowTitle(), QStringLiteral("商品情報"));
    QCOMPARE(x.names(), (QStringList{"100%ジュース", "O'Neil ペン", "コピー用紙", "鉛筆", "消しゴム", "赤鉛筆"}));
    // The first row is current, so 詳細 and 選択 have a row to work on.
    QCOMPARE(control<GridView>(*x.w, "Grid商品マスタ")->currentRow(), 0);
    const int row = x.rowOf(QStringLiteral("コピー用紙"));
    QCOMPARE(x.model()->text(row, P::単価), shown);
    QCOMPARE(x.model()->money(row, P::単価), Currency::parse(QStringLiteral("1234.5")));
    // A price of 0 is still 0 (the pick and the panel take the value).
    const int free = x.rowOf(QStringLiteral("100%ジュース"));
    QCOMPARE(x.model()->text(free, P::単価), zero);
    QCOMPARE(x.model()->money(free, P::単価), std::optional<Currency>(Currency()));
    QCOMPARE(x.model()->editText(free, P::単価), QStringLiteral("0"));
    QVERIFY(x.model()->setMoney(free, P::単価, Currency::parse(QStringLiteral("0.4"))));
    QCOMPARE(x.model()->text(free, P::単価), small);
    // Tick and 品名 stay in view on the left; the rest scrolls.
    QCOMPARE(control<GridView>(*x.w, "Grid商品マスタ")->frozenColumns(), 2);
    QStringList captions;
    for (int c = 0; c < x.model()->columnCount(); ++c)
        captions << x.model()->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(captions, (QStringList{"", "品名", "商品区分", "入数", "単位", "単価", "非課税", "ふりがな"}));
    QVERIFY(control<QFrame>(*x.w, "Cn商品詳細")->isHidden());
    QVERIFY(control<QFrame>(*x.w, "CnSyohinMsg")->isHidden());
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
    auto* cmb入数 = control<TextComboBox>(*w, "cmb入数");
    auto* cmb商品区分 = control<TextComboBox>(*w, "cmb商品区分");
    // The pack quantities are the kind the title names; free slots are skipped.
    QCOMPARE(items(cmb入数), QStringList{"12入"});
    QCOMPARE(items(control<TextComboBox>(*w, "cmb単位詳細")), (QStringList{"本", "個"}));
    QCOMPARE(items(control<TextComboBox>(*w, "cmb商品区分詳細")), QStringList{"文具"});
    QCOMPARE(items(cmb商品区分), QStringList{"文具"});
    QCOMPARE(TableSnapshot(f.work(), {QStringLiteral("w入数参照"), QStringLiteral("w単位参照")}),
             (QStringList{"w入数参照|'12入'", "w単位参照|'本'", "w単位参照|'個'"}));

    // The panel registers a new pack quantity under the same kind; the lists
    // offer it after their next rebuild (the panel's クリア).
    control<QPushButton>(*w, "cmd新規")->click();
    control<QLineEdit>(*w, "txt品名詳細")->setText(QStringLiteral("ボールペン"));
    cmb入数->setText(QStringLiteral("24入"));
    control<QPushButton>(*w, "cmd顧客詳細登録")->click();
    QCOMPARE(f.data().scalar(QStringLiteral("select sname from コードマスタ where kcode = 'ケース' and code = '02'")).toString(),
             QStringLiteral("24入"));
    QCOMPARE(items(cmb入数), QStringList{"12入"});
    control<QPushButton>(*w, "cmd顧客詳細クリア")->click();
    QCOMPARE(items(cmb入数), (QStringList{"12入", "24入"}));
    QCOMPARE(cmb入数->text(), QString());
    QCOMPARE(control<QLineEdit>(*w, "txt品名詳細")->text(), QString());

    // The window's クリア empties the search bar and the list, and reloads
    // the code lists; the products stay stored.
    control<QLineEdit>(*w, "txt品名")->setText(QStringLiteral("鉛筆"));
    cmb商品区分->setText(QStringLiteral("文具"));
    QVERIFY(f.data().exec(QStringLiteral("update コードマスタ set sname = '箱' where kcode = '単位' and code = '02'")));
    control<QPushButton>(*w, "cmdクリア")->click();
    QCOMPARE(control<WorkTableModel>(*w, "dat商品")->rowCount(), 0);
    QCOMPARE(control<QLineEdit>(*w, "txt品名")->text(), QString());
    QCOMPARE(cmb商品区分->text(), QString());
    QCOMPARE(items(control<TextComboBox>(*w, "cmb単位詳細")), (QStringList{"本", "箱", "個"}));
    QCOMPARE(f.data().scalar(QStringLiteral("select count(*) from 商品マスタ")).toInt(), 1);
}

void TestProductWindow::listSaveAndDelete()
{
    ProductWindowFixture<> x;
    QVERIFY(x.w);
    WorkTableModel& m = *x.model();
    // Edits in the grid, one new row of the list, then 登録.
    QVERIFY(m.editCell(x.rowOf(QStringLiteral("鉛筆")), P::単価, QStringLiteral("110.5")));
    QVERIFY(m.editCell(x.rowOf(QStringLiteral("鉛筆")), P::非課税, QStringLiteral("1")));
    QVERIFY(x.f.work().exec(QStringLiteral("insert into w商品マスタ (品名, 単位) values ('定規', '本')")));
    QVERIFY(x.f.work().exec(QStringLiteral("insert into w商品マスタ (品名, 単位) values (NULL, '本')")));
    control<QPushButton>(*x.w, "cmd登録")->click();
    QCOMPARE(x.f.messages.texts(), QStringList{"商品情報 を登録します。よろしいですか"});
    QVERIFY(x.master().contains("商品マスタ|'鉛筆'|'文具'|'12'|'本'|1105000|1|'えんぴつ'"));
    QVERIFY(x.master().contains("商品マスタ|'定規'|<null>|<null>|'本'|<null>|<null>|<null>"));
    QCOMPARE(x.master().size(), 7);
    QVERIFY(control<QFrame>(*x.w, "CnSyohinMsg")->isHidden());

    // 削除 takes the ticked rows, after its question (No keeps them).
    control<QPushButton>(*x.w, "cmd読込")->click();
    QVERIFY(m.editCell(x.rowOf(QStringLiteral("定規")), P::チェック, QStringLiteral("1")));
    QVERIFY(m.editCell(x.rowOf(QStringLiteral("赤鉛筆")), P::チェック, QStringLiteral("1")));
    x.f.messages.clear();
    x.f.messages.answerNext(MessageAnswer::No);
    control<QPushButton>(*x.w, "cmd削除")->click();
    QCOMPARE(x.master().size(), 7);
    control<QPushButton>(*x.w, "cmd削除")->click();
    QCOMPARE(x.f.messages.texts(), (QStringList{"指定された 商品情報 を削除します。よろしいですか",
                                                "指定された 商品情報 を削除します。よろしいですか"}));
    QCOMPARE(x.names(), (QStringList{"100%ジュース", "O'Neil ペン", "コピー用紙", "鉛筆", "消しゴム"}));
    QCOMPARE(x.master().size(), 5);
    QVERIFY(!x.master().join('\n').contains(QStringLiteral("赤鉛筆")));
}

void TestProductWindow::failedSaveSaysSo()
{
    ProductWindowFixture<> x;
    QVERIFY(x.w);
    QVERIFY(x.f.data().exec(QStringLiteral("create trigger refuse before update on 商品マスタ when new.品名 = '鉛筆' "
                                           "begin select raise(abort, 'refused by the test'); end")));
    QVERIFY(x.model()->editCell(x.rowOf(QStringLiteral("消しゴム")), P::単位, QStringLiteral("本")));
    const QStringList before = x.master();
    control<QPushButton>(*x.w, "cmd登録")->click();
    QCOMPARE(x.master(), before);
    QCOMPARE(x.f.messages.shown().size(), 2);
    QVERIFY(x.f.messages.texts()[1].startsWith(QStringLiteral("商品情報を登録できませんでした。商品マスタは変更していません。")));
    QVERIFY(x.f.messages.shown()[1].detail.contains(QStringLiteral("refused by the test")));
    QVERIFY(control<QFrame>(*x.w, "CnSyohinMsg")->isHidden());
}

void TestProductWindow::enterOnTheLastRow()
{
    ProductWindowFixture<> x;
    QVERIFY(x.w);
    auto* Grid商品マスタ = control<GridView>(*x.w, "Grid商品マスタ");
    QVERIFY(QTest::qWaitForWindowActive(x.w));
    const int last = x.model()->rowCount() - 1;
    Grid商品マスタ->setFocus();
    for (int row : {last - 1, last}) {
        Grid商品マスタ->setCurrentCell(row, P::ふりがな);
        QTest::keyClick(Grid商品マスタ, Qt::Key_Return);
        QCOMPARE(Grid商品マスタ->currentRow(), last);
        QCOMPARE(Grid商品マスタ->currentColumn(), int(P::品名));
        QVERIFY(Grid商品マスタ->hasFocus());
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
    ProductWindowFixture<> x;
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

    control<QPushButton>(*x.w, "cmd商品参照")->click();

    QVERIFY(control<QFrame>(*x.w, "CnSyohinMsg")->isHidden());
    if (message.isEmpty()) {
        QVERIFY(x.f.messages.shown().isEmpty());
        QCOMPARE(x.list(), samples::importedRows(true));
        QCOMPARE(x.model()->rowCount(), 4);
        return;
    }
    QCOMPARE(x.f.messages.shown().size(), 1);
    QVERIFY2(x.f.messages.texts()[0].startsWith(message), qPrintable(x.f.messages.texts()[0]));
    QCOMPARE(x.list(), before);
}

void TestProductWindow::importThenSave()
{
    ProductWindowFixture<> x;
    QVERIFY(x.w);
    const QString file = x.f.folder.root() + QStringLiteral("/grevo.mdb");
    samples::writeLinkFile(x.f.folder, file,
                           samples::linkProducts({QStringLiteral("単位"), QStringLiteral("単価"), QStringLiteral("非課税")}) +
                               QStringList{QStringLiteral("insert into 商品マスタ (品名, 単位, 単価, 非課税, ふりがな) "
                                                          "values ('鉛筆', 'ダース', 1000, -1, 'えんぴつ')")});
    x.f.session.設定情報.商品リンクアプリ = QStringLiteral("Grevo請求書");
    x.f.session.設定情報.商品リンクパス = file;
    control<QPushButton>(*x.w, "cmd商品参照")->click();
    QVERIFY(x.f.messages.shown().isEmpty());
    control<QPushButton>(*x.w, "cmd登録")->click();
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

void TestProductWindow::secondOperationRefused()
{
    ProductWindowFixture<> x;
    QVERIFY(x.w);
    // Each button would change something or ask: a ticked row, a link file, a panel filled.
    QVERIFY(x.model()->setValue(0, P::チェック, true));
    const QString file = x.f.folder.root() + QStringLiteral("/link.mdb");
    samples::writeLinkFile(x.f.folder, file, samples::linkProducts());
    x.f.session.設定情報.商品リンクアプリ = QStringLiteral("Dovan請求書");
    x.f.session.設定情報.商品リンクパス = file;
    control<QPushButton>(*x.w, "cmd新規")->click();
    control<QLineEdit>(*x.w, "txt品名詳細")->setText(QStringLiteral("定規"));
    control<QLineEdit>(*x.w, "txt品名")->setText(QStringLiteral("鉛筆"));
    QVERIFY(x.f.data().exec(QStringLiteral("delete from 商品マスタ where 品名 = 'コピー用紙'")));
    const QStringList list = x.list();
    const QStringList master = x.master();

    // Another storing, loading or listing runs: none of the window's operations starts.
    x.f.session.setOperationRunning(true);
    for (const char* button : {"cmd読込", "cmd登録", "cmd削除", "cmdクリア", "cmd商品参照", "cmd顧客詳細登録"})
        control<QPushButton>(*x.w, button)->click();
    x.f.session.setOperationRunning(false);

    QCOMPARE(x.list(), list);
    QCOMPARE(x.master(), master);
    QVERIFY(x.f.messages.shown().isEmpty());
    QCOMPARE(control<QLineEdit>(*x.w, "txt品名")->text(), QStringLiteral("鉛筆"));
    QVERIFY(control<QFrame>(*x.w, "CnSyohinMsg")->isHidden());
}

void TestProductWindow::captionsAndToolTips()
{
    ProductWindowFixture<> x;
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
    QCOMPARE(labelTexts(control<QFrame>(*x.w, "Cn商品詳細")), (QStringList{"商品詳細", "品　名", "入　数", "単　価", "単　位", "商品区分", "ふりがな"}));
}

void TestProductWindow::picture()
{
    ProductWindowFixture<> x;
    QVERIFY(x.w);
    QVERIFY(QTest::qWaitForWindowActive(x.w));
    QVERIFY(x.model()->editCell(1, P::チェック, QStringLiteral("1")));
    control<GridView>(*x.w, "Grid商品マスタ")->setCurrentCell(2, P::単価);
    const QString dir = qEnvironmentVariable("VELT_SCREENSHOT_DIR");
    if (!dir.isEmpty()) QVERIFY(x.w->grab().save(QDir(dir).filePath(QStringLiteral("product_window.png"))));
    control<QPushButton>(*x.w, "cmd詳細")->click();
    if (!dir.isEmpty()) QVERIFY(x.w->grab().save(QDir(dir).filePath(QStringLiteral("product_window_panel.png"))));
    // The panel floats over the list, inside the window.
    const QRect panel = placeIn(*x.w, control<QFrame>(*x.w, "Cn商品詳細"));
    QVERIFY(x.w->rect().contains(panel));
    QVERIFY(placeIn(*x.w, control<GridView>(*x.w, "Grid商品マスタ")).intersects(panel));
}

QTEST_MAIN(TestProductWindow)
#include "tst_product_window.moc"
