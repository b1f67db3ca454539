// Storing quotations through the quotation tab's buttons, end to end: stored
// and reopened, a failed store that keeps the screen (a moved data file, lines
// not written or not read, required fields, the engine's reasons), a typed
// number then 登録, and storing over another quotation. Opening, stepping and
// deleting are tst_load_browse; the store itself is tst_quotation_store.

#include "StoreLoadSupport.h"

class TestStoreLoad : public QObject {
    Q_OBJECT
private slots:
    void tabStoresAndReopens();
    void tabShowsFailedStoreAndKeepsScreen();
    void storeIntoAMovedDataFileFails_data();
    void storeIntoAMovedDataFileFails();
    void linesNotWrittenOrNotReadStopTheStore_data();
    void linesNotWrittenOrNotReadStopTheStore();
    void requiredFieldsStopTheStore_data();
    void requiredFieldsStopTheStore();
    void typedNumberThenStoreStoresTheScreen();
    void failedStoreSaysWhy_data();
    void failedStoreSaysWhy();
    void storingOverAnotherQuotationAsksFirst_data();
    void storingOverAnotherQuotationAsksFirst();
};

void TestStoreLoad::tabStoresAndReopens()
{
    QuotationTabFixture f;
    QVERIFY(f.open());
    fillScreen(f, QStringLiteral("21"));
    f.messages.clear();
    control<QPushButton>(f.quotation(), "cmd登録")->click();
    QCOMPARE(titles(f.messages), (QStringList{QStringLiteral("登録の確認"), QStringLiteral("登録完了")}));
    QVERIFY(f.messages.shown()[0].text.contains(QStringLiteral("O'Hara 株式会社")));
    QVERIFY(!control<QFrame>(f.quotation(), "CnEntryMsg")->isVisible());
    QCOMPARE(control<QLabel>(f.quotation(), "EntryMsg")->text(), QStringLiteral("登録中です････"));
    // A fresh quotation with the next number follows.
    QCOMPARE(control<QLineEdit>(f.quotation(), "txtNo")->text(), QStringLiteral("22"));
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb顧客名")->text(), QString());
    QVERIFY(ReadWorkLines(f.work())[0].isBlank());

    // Scramble the screen, then open 21 by typing its number.
    fillScreen(f, QStringLiteral("99"));
    QVERIFY(WriteWorkLines(f.work(), QList<QuotationLine>(100, product(QStringLiteral("別物"), 1, 1))));
    control<QLineEdit>(f.quotation(), "txt件名")->setText(QStringLiteral("別"));
    control<QLineEdit>(f.quotation(), "txtNo")->clear();
    QTest::keyClicks(control<QLineEdit>(f.quotation(), "txtNo"), QStringLiteral("21"));
    QTest::keyClick(control<QLineEdit>(f.quotation(), "txtNo"), Qt::Key_Return);
    QCOMPARE(control<QLabel>(f.quotation(), "EntryMsg")->text(), QStringLiteral("読込中です･･･"));
    QVERIFY(!control<QFrame>(f.quotation(), "CnEntryMsg")->isVisible());
    QCOMPARE(control<QLineEdit>(f.quotation(), "txtNo")->text(), QStringLiteral("21"));
    QCOMPARE(control<DateBox>(f.quotation(), "dt日付")->date(), std::optional<QDate>(QDate(2024, 6, 3)));
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb顧客名")->text(), QStringLiteral("O'Hara 株式会社"));
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb敬称")->text(), QStringLiteral("御中"));
    QCOMPARE(control<MultiLineEdit>(f.quotation(), "txt顧客情報")->text(), QStringLiteral("〒530-0001\r\n大阪市北区"));
    QCOMPARE(control<QLineEdit>(f.quotation(), "txt件名")->text(), QStringLiteral("机 'L' 型"));
    QCOMPARE(control<MultiLineEdit>(f.quotation(), "txtメモ")->text(), QStringLiteral("一行目\r\n二行目"));
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb有効期限")->text(), QStringLiteral("1か月"));
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb支払条件")->text(), QString());
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb受渡場所")->text(), QStringLiteral("現地"));
    // The totals are recomputed from the loaded lines; the quotation amount stays as stored.
    QCOMPARE(control<NumberBox>(f.quotation(), "num見積金額")->value(), std::optional<Currency>(yen(3150)));
    const auto stored = LoadQuotationHeader(f.data(), 21);
    QVERIFY(stored);
    QCOMPARE(stored->税抜計, std::optional<Currency>(yen(3000)));
    QCOMPARE(stored->消費税, std::optional<Currency>(yen(150)));
    QCOMPARE(stored->合計, std::optional<Currency>(yen(3150)));
    QCOMPARE(stored->見積金額, std::optional<Currency>(yen(3150)));
    QVERIFY(dbv::isNull(stored->支払条件));
    QCOMPARE(stored->印鑑[1], QVariant(QString()));
    QCOMPARE(control<QLineEdit>(f.quotation(), QStringLiteral("txt印鑑(%1)").arg(0))->text(), QStringLiteral("印0"));
    QCOMPARE(control<QLineEdit>(f.quotation(), QStringLiteral("txt印鑑(%1)").arg(1))->text(), QString());
    QCOMPARE(control<DetailGrid>(f.quotation(), "DetailGrid")->detailsChanged(), std::optional<bool>(false));
    // Lines: the blank line in between is still there; rows after the stored ones are blank.
    const QList<QuotationLine> lines = ReadWorkLines(f.work());
    QCOMPARE(lines.size(), 100);
    QCOMPARE(lines[0].品名, QVariant(QStringLiteral("机")));
    QVERIFY(lines[1].isBlank());
    QCOMPARE(lines[2].品名, QVariant(QStringLiteral("椅子")));
    QVERIFY(lines[2].非課税);
    QVERIFY(lines[3].小計);
    QCOMPARE(lines[3].金額, std::optional<Currency>(yen(3000)));
    for (int i = 4; i < 100; ++i) QVERIFY(lines[i].isBlank());
    QCOMPARE(control<WorkTableModel>(f.quotation(), "wkDat")->text(2, 1), QStringLiteral("椅子"));
    // Customer, product and code values were registered.
    QCOMPARE(f.data().scalar(QStringLiteral("select count(*) from 顧客マスタ where 顧客名 = ?"),
                                    {QStringLiteral("O'Hara 株式会社")}).toInt(), 1);
    QCOMPARE(f.data().scalar(QStringLiteral("select count(*) from 商品マスタ where 品名 in ('机', '椅子')")).toInt(), 2);
    QCOMPARE(codeValues(f.data(), QStringLiteral("有効期限")), QStringList{QStringLiteral("1か月")});
    QCOMPARE(counter(f.data()).toInt(), 21);
}

void TestStoreLoad::tabShowsFailedStoreAndKeepsScreen()
{
    QuotationTabFixture f;
    QVERIFY(f.open());
    QVERIFY(f.data().exec(QStringLiteral(
        "create trigger refuse before insert on 見積書ヘッダ begin select raise(abort, 'disk says no'); end")));
    fillScreen(f, QStringLiteral("30"));
    const QStringList before = snapshot(f.data());
    f.messages.clear();
    control<QuotationKeeper>(f.quotation(), "QuotationKeeper")->cmd登録_Click();
    QCOMPARE(titles(f.messages), (QStringList{QStringLiteral("登録の確認"), QStringLiteral("エラー")}));
    QVERIFY(f.messages.shown()[1].detail.contains(QStringLiteral("disk says no")));
    QCOMPARE(snapshot(f.data()), before);
    QVERIFY(!control<QFrame>(f.quotation(), "CnEntryMsg")->isVisible());
    // The screen is as it was, ready to be stored again.
    QCOMPARE(control<QLineEdit>(f.quotation(), "txtNo")->text(), QStringLiteral("30"));
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb顧客名")->text(), QStringLiteral("O'Hara 株式会社"));
    QCOMPARE(control<QLineEdit>(f.quotation(), "txt件名")->text(), QStringLiteral("机 'L' 型"));
    QCOMPARE(ReadWorkLines(f.work())[2].品名, QVariant(QStringLiteral("椅子")));
}

// A data file deleted or moved away under the running program still takes
// SQLite's writes, which are lost at exit: 登録 says it failed and names the
// file, never 登録完了, and the screen stays to be stored again.
void TestStoreLoad::storeIntoAMovedDataFileFails_data()
{
    QTest::addColumn<bool>("moved");  // moved away rather than deleted
    QTest::newRow("deleted") << false;
    QTest::newRow("moved away") << true;
}

void TestStoreLoad::storeIntoAMovedDataFileFails()
{
    QFETCH(bool, moved);
    QuotationTabFixture f;
    QVERIFY(f.open());
    fillScreen(f, QStringLiteral("31"));
    const QString path = f.folder.dataDbPath();
    const QString away = f.folder.dataFolder() + QStringLiteral("elsewhere.mdb");
    QVERIFY(moved ? QFile::rename(path, away) : QFile::remove(path));
    f.messages.clear();
    QTest::mouseClick(control<QPushButton>(f.quotation(), "cmd登録"), Qt::LeftButton);
    QCOMPARE(titles(f.messages), (QStringList{QStringLiteral("登録の確認"), QStringLiteral("エラー")}));
    const QString failure = f.messages.shown()[1].text;
    QVERIFY2(failure.contains(QStringLiteral("見積書を登録できませんでした。")), qPrintable(failure));
    QVERIFY2(failure.contains(QDir::toNativeSeparators(path)), qPrintable(failure));
    QCOMPARE(control<QLineEdit>(f.quotation(), "txtNo")->text(), QStringLiteral("31"));
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb顧客名")->text(), QStringLiteral("O'Hara 株式会社"));
    if (moved) {
        // Nothing of it reached the file either.
        Database file;
        QVERIFY(file.open(away));
        QVERIFY(!LoadQuotationHeader(file, 31));
    }
}

// 登録 never stores a quotation whose lines it could not take from w明細: a
// cell still being edited that w明細 refuses, or lines that cannot be read.
// The failure box alone shows, no question and no 登録完了; nothing is stored
// and the screen stays.
void TestStoreLoad::linesNotWrittenOrNotReadStopTheStore_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<bool>("editing");
    QTest::addColumn<QString>("says");
    QTest::newRow("pending cell not written")
        << "create temp trigger refuse before update on w明細 begin select raise(abort, 'read-only file'); end" << true
        << "書き込めませんでした";
    QTest::newRow("lines not readable") << "alter table w明細 rename to w明細の控え" << false << "登録できませんでした";
}

void TestStoreLoad::linesNotWrittenOrNotReadStopTheStore()
{
    QFETCH(QString, damage);
    QFETCH(bool, editing);
    QFETCH(QString, says);
    QuotationTabFixture f;
    QVERIFY(f.open());
    fillScreen(f, QStringLiteral("31"));
    QVERIFY(f.work().exec(damage));
    if (editing) {
        GridView* grid = control<GridView>(f.quotation(), "Grid明細");
        QVERIFY(QTest::qWaitForWindowExposed(&f.tab));
        grid->setFocus();
        grid->setCurrentCell(0, 1);
        QTest::keyClick(grid, Qt::Key_5);
        QVERIFY(grid->isEditing());
    }
    const QStringList before = snapshot(f.data());
    f.messages.clear();

    control<QuotationKeeper>(f.quotation(), "QuotationKeeper")->cmd登録_Click();

    QTRY_COMPARE(titles(f.messages), QStringList{QStringLiteral("エラー")});
    QVERIFY2(f.messages.shown()[0].text.contains(says), qPrintable(f.messages.shown()[0].text));
    QCoreApplication::processEvents();
    QCOMPARE(f.messages.shown().size(), 1);
    QCOMPARE(snapshot(f.data()), before);
    QCOMPARE(control<QLineEdit>(f.quotation(), "txtNo")->text(), QStringLiteral("31"));
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb顧客名")->text(), QStringLiteral("O'Hara 株式会社"));
}

void TestStoreLoad::requiredFieldsStopTheStore_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("dated");
    QTest::addColumn<QString>("customer");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("focus");
    QTest::newRow("no number") << "" << true << "甲" << "入力項目のチェック" << "txtNo";
    QTest::newRow("no date") << "3" << false << "甲" << "入力項目のチェック" << "dt日付";
    QTest::newRow("no customer") << "3" << true << "" << "入力項目のチェック" << "cmb顧客名";
    QTest::newRow("number with letters") << "3a" << true << "甲" << "入力注意" << "txtNo";
    QTest::newRow("number zero") << "0" << true << "甲" << "入力注意" << "txtNo";
    QTest::newRow("decimal number") << "3.5" << true << "甲" << "入力注意" << "txtNo";
    QTest::newRow("number out of range") << "99999999999" << true << "甲" << "入力注意" << "txtNo";
}

void TestStoreLoad::requiredFieldsStopTheStore()
{
    QFETCH(QString, number);
    QFETCH(bool, dated);
    QFETCH(QString, customer);
    QFETCH(QString, title);
    QFETCH(QString, focus);
    QuotationTabFixture f;
    QVERIFY(f.open());
    QApplication::setActiveWindow(&f.tab);
    fillScreen(f, number);
    if (!dated) control<DateBox>(f.quotation(), "dt日付")->setNull();
    control<TextComboBox>(f.quotation(), "cmb顧客名")->setText(customer);
    const QStringList before = snapshot(f.data());
    f.messages.clear();
    control<QuotationKeeper>(f.quotation(), "QuotationKeeper")->cmd登録_Click();
    QCOMPARE(titles(f.messages), QStringList{title});
    if (title == u"入力注意") QVERIFY(f.messages.shown()[0].text.startsWith(QStringLiteral("伝票番号")));
    QCOMPARE(snapshot(f.data()), before);
    QWidget* focused = QApplication::focusWidget();
    QVERIFY(focused);
    QWidget* target = f.tab.findChild<QWidget*>(focus);
    QVERIFY(focused == target || target->isAncestorOf(focused));
}

// As a new user stores: customer 丁社, one line, "30" typed into txtNo, 登録,
// Yes. The confirmation names 丁社 and takes the focus from the number box;
// quotation 30 is stored as the screen showed it.
void TestStoreLoad::typedNumberThenStoreStoresTheScreen()
{
    QuotationTabFixture f;
    QVERIFY(f.open());
    QuotationTab& q = f.quotation();
    QVERIFY(f.activate());
    control<TextComboBox>(q, "cmb顧客名")->setText(QStringLiteral("丁社"));
    QVERIFY(WriteWorkLines(f.work(), {product(QStringLiteral("机"), 1, 2000)}));
    control<WorkTableModel>(q, "wkDat")->refresh();

    control<QLineEdit>(q, "txtNo")->setFocus();
    control<QLineEdit>(q, "txtNo")->selectAll();
    QTest::keyClicks(control<QLineEdit>(q, "txtNo"), QStringLiteral("30"));
    f.messages.clear();
    // A message box takes the focus while it is open; whatever happens on
    // screen behind the confirmation, the store writes what its checks saw.
    f.messages.setOnShow([&](const MessageBoxSpec& box) {
        control<QPushButton>(q, "cmd削除")->setFocus();
        if (box.title != QStringLiteral("登録の確認")) return;
        control<TextComboBox>(q, "cmb顧客名")->setText(QStringLiteral("乙社"));
        QVERIFY(WriteWorkLines(f.work(), {product(QStringLiteral("椅子"), 2, 500)}));
        control<WorkTableModel>(q, "wkDat")->refresh();
    });
    QTest::mouseClick(control<QPushButton>(q, "cmd登録"), Qt::LeftButton);

    QCOMPARE(titles(f.messages), (QStringList{QStringLiteral("登録の確認"), QStringLiteral("登録完了")}));
    QVERIFY(f.messages.shown()[0].text.contains(QStringLiteral("丁社")));
    const auto stored = LoadQuotation(f.data(), 30);
    QVERIFY(stored);
    QCOMPARE(stored->header.顧客名, QVariant(QStringLiteral("丁社")));
    QCOMPARE(stored->lines.size(), 1);
    QCOMPARE(stored->lines[0].品名, QVariant(QStringLiteral("机")));
    // A fresh quotation with the next number follows.
    QCOMPARE(control<QLineEdit>(q, "txtNo")->text(), QStringLiteral("31"));
}

// A store that fails says why in Japanese, by SQLite's result code: the disk
// is full (the file may not grow: SQLite's max_page_count), another program
// holds the file (a second connection in an exclusive transaction), or the
// pages the store meets are damaged (those of 見積書, which the tab's opening
// does not read). SQLite's words are in the details only; nothing is stored
// and the screen stays.
void TestStoreLoad::failedStoreSaysWhy_data()
{
    QTest::addColumn<QString>("cause");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("engine");
    QTest::newRow("disk full") << "full" << "ディスクの空き容量が足りません" << "database or disk is full";
    QTest::newRow("in use by another program") << "locked" << "ファイルがほかのプログラムで使用中です" << "database is locked";
    QTest::newRow("damaged pages") << "damaged" << "ファイルが壊れている可能性があります" << "malformed";
}

void TestStoreLoad::failedStoreSaysWhy()
{
    QFETCH(QString, cause);
    QFETCH(QString, reason);
    QFETCH(QString, engine);
    QuotationTabFixture f;
    if (cause == u"damaged") {
        Database file;
        QVERIFY(file.open(f.folder.dataDbPath(), Database::Role::Data, false));
        const QList<QSqlRecord> pages = file.rows(QStringLiteral("select rootpage from sqlite_master where tbl_name = '見積書'"));
        file.close();
        QCOMPARE(pages.size(), 2);  // the table and its index
        QFile damaged(f.folder.dataDbPath());
        QVERIFY(damaged.open(QIODevice::ReadWrite));
        for (const QSqlRecord& page : pages)
            QVERIFY(damaged.seek((page.value(0).toLongLong() - 1) * 4096) && damaged.write(QByteArray(4096, '\x5a')) == 4096);
    }
    QVERIFY(f.open());
    fillScreen(f, QStringLiteral("32"));
    // A hundred lines of long names: the lines need pages the file does not have yet.
    QList<QuotationLine> lines;
    for (int i = 0; i < 100; ++i) lines << product(QStringLiteral("品%1 ").arg(i) + QStringLiteral("あ").repeated(60), 1, 100);
    QVERIFY(WriteWorkLines(f.work(), lines));
    control<WorkTableModel>(f.quotation(), "wkDat")->refresh();
    Database other;
    if (cause == u"full")
        QVERIFY(f.data().exec(QStringLiteral("PRAGMA max_page_count = %1")
                                  .arg(f.data().scalar(QStringLiteral("PRAGMA page_count")).toLongLong())));
    if (cause == u"locked") {
        QVERIFY(f.data().exec(QStringLiteral("PRAGMA busy_timeout = 100")));
        QVERIFY(other.open(f.folder.dataDbPath()));
        QVERIFY(other.exec(QStringLiteral("BEGIN EXCLUSIVE")));
    }
    f.messages.clear();

    QTest::mouseClick(control<QPushButton>(f.quotation(), "cmd登録"), Qt::LeftButton);

    QCOMPARE(titles(f.messages), (QStringList{QStringLiteral("登録の確認"), QStringLiteral("エラー")}));
    const MessageBoxSpec& box = f.messages.shown()[1];
    QVERIFY2(box.text.startsWith(QStringLiteral("見積書を登録できませんでした。\n\n")), qPrintable(box.text));
    QVERIFY2(box.text.contains(reason), qPrintable(box.text));
    QVERIFY2(!box.text.contains(engine), qPrintable(box.text));
    QVERIFY2(box.detail.contains(engine), qPrintable(box.detail));
    if (cause == u"locked") QVERIFY(other.exec(QStringLiteral("ROLLBACK")));
    QVERIFY(!LoadQuotationHeader(f.data(), 32));
    QCOMPARE(control<QLineEdit>(f.quotation(), "txtNo")->text(), QStringLiteral("32"));
}

// 登録 under a number that holds a stored quotation other than the one on
// screen asks first, naming that quotation (No by default): No keeps it and
// the screen, Yes replaces it. The quotation loaded and stored again, or a new
// one under a free number, gets the usual question.
void TestStoreLoad::storingOverAnotherQuotationAsksFirst_data()
{
    QTest::addColumn<QString>("loaded");    // the number loaded first; "" a new quotation
    QTest::addColumn<QString>("number");    // the number 登録 stores under
    QTest::addColumn<bool>("yes");          // the answer
    QTest::addColumn<QString>("question");  // the one question asked
    QTest::addColumn<bool>("noDefault");    // いいえ is its default
    QTest::addColumn<bool>("stored");       // the screen's quotation is stored under the number

    const QString replace = QStringLiteral("伝票 2（乙商店） は登録済みです。画面の見積書で置き換えます。よろしいですか");
    const QString usual = QStringLiteral(" 丙工業 を登録します。よろしいですか");
    QTest::newRow("new quotation over 2, No") << "" << "2" << false << replace << true << false;
    QTest::newRow("new quotation over 2, Yes") << "" << "2" << true << replace << true << true;
    QTest::newRow("3 loaded, stored under 2, No") << "3" << "2" << false << replace << true << false;
    QTest::newRow("3 loaded, stored under 2, Yes") << "3" << "2" << true << replace << true << true;
    QTest::newRow("2 loaded and stored again") << "2" << "2" << true << usual << false << true;
    QTest::newRow("new quotation under the free 4") << "" << "4" << true << usual << false << true;
}

void TestStoreLoad::storingOverAnotherQuotationAsksFirst()
{
    QFETCH(QString, loaded);
    QFETCH(QString, number);
    QFETCH(bool, yes);
    QFETCH(QString, question);
    QFETCH(bool, noDefault);
    QFETCH(bool, stored);
    QuotationTabFixture f;
    QVERIFY(f.open());
    QuotationTab& q = f.quotation();
    QVERIFY(StoreQuotation(f.data(), {header(2, QStringLiteral("乙商店")), {product(QStringLiteral("品2"), 3, 100)}},
                           codesOf(f.data())).ok);
    QVERIFY(StoreQuotation(f.data(), {header(3, QStringLiteral("甲商店")), {product(QStringLiteral("品3"), 1, 100)}},
                           codesOf(f.data())).ok);
    auto open = [&](const QString& n) {
        control<QLineEdit>(q, "txtNo")->setText(n);
        control<HeaderPanel>(q, "Header")->txtNo_Commit();
    };
    if (!loaded.isEmpty()) open(loaded);
    // The screen: 丙工業 with one line, under the number.
    control<TextComboBox>(q, "cmb顧客名")->setText(QStringLiteral("丙工業"));
    QVERIFY(WriteWorkLines(f.work(), {product(QStringLiteral("机"), 1, 2000)}));
    control<WorkTableModel>(q, "wkDat")->refresh();
    control<QLineEdit>(q, "txtNo")->setText(number);
    const QStringList before = snapshot(f.data());
    f.messages.clear();
    f.messages.answerNext(yes ? MessageAnswer::Yes : MessageAnswer::No);

    control<QPushButton>(q, "cmd登録")->click();

    QVERIFY(!f.messages.shown().isEmpty());
    const MessageBoxSpec& asked = f.messages.shown().first();
    QCOMPARE(asked.title, QStringLiteral("登録の確認"));
    QCOMPARE(asked.text, question);
    QCOMPARE(asked.defaultButton, noDefault ? MessageBoxSpec::Default::No : MessageBoxSpec::Default::Yes);
    if (!stored) {
        // Nothing replaced; the screen stays to be stored under another number.
        QCOMPARE(f.messages.shown().size(), 1);
        QCOMPARE(snapshot(f.data()), before);
        QCOMPARE(control<QLineEdit>(q, "txtNo")->text(), number);
        QCOMPARE(control<TextComboBox>(q, "cmb顧客名")->text(), QStringLiteral("丙工業"));
        QCOMPARE(ReadWorkLines(f.work())[0].品名, QVariant(QStringLiteral("机")));
        open(number);
        QCOMPARE(control<TextComboBox>(q, "cmb顧客名")->text(), QStringLiteral("乙商店"));
        QCOMPARE(ReadWorkLines(f.work())[0].品名, QVariant(QStringLiteral("品2")));
        return;
    }
    QCOMPARE(titles(f.messages), (QStringList{QStringLiteral("登録の確認"), QStringLiteral("登録完了")}));
    const auto kept = LoadQuotation(f.data(), number.toInt());
    QVERIFY(kept);
    QCOMPARE(kept->header.顧客名, QVariant(QStringLiteral("丙工業")));
    QCOMPARE(kept->lines.size(), 1);
    // Reopened, it is the screen that was stored; the other quotation stays.
    open(number);
    QCOMPARE(control<TextComboBox>(q, "cmb顧客名")->text(), QStringLiteral("丙工業"));
    QCOMPARE(ReadWorkLines(f.work())[0].品名, QVariant(QStringLiteral("机")));
    QCOMPARE(dbv::text(LoadQuotation(f.data(), 3)->header.顧客名), number == u"3" ? QStringLiteral("丙工業") : QStringLiteral("甲商店"));
}

QTEST_MAIN(TestStoreLoad)
#include "tst_store_load.moc"
