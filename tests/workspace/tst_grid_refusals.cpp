// What the detail grid refuses or cannot write: refused numbers, amounts and
// dates said, kept on screen and never stored; a cell w明細 does not take,
// and one the disk has no room for.

#include "GridEditingSupport.h"

class TestGridRefusals : public QObject {
    Q_OBJECT
private slots:
    void cellThatCannotBeWrittenIsShown_data();
    void cellThatCannotBeWrittenIsShown();
    void cellOnAFullDiskSaysSo();
    void refusedInputIsSaidKeptAndNotStored_data();
    void refusedInputIsSaidKeptAndNotStored();
};

// A typed cell that w明細 does not take (here a trigger stands in for a full
// disk or a file made read-only) keeps its old value and says so in the
// failure box; nothing follows from the edit.
void TestGridRefusals::cellThatCannotBeWrittenIsShown_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("typed");
    QTest::newRow("数量") << int(数量) << "3";
    QTest::newRow("単価") << int(単価) << "120";
    QTest::newRow("品名") << int(品名) << "机";
}

void TestGridRefusals::cellThatCannotBeWrittenIsShown()
{
    QFETCH(int, col);
    QFETCH(QString, typed);
    QuotationTabFixture f;
    QVERIFY(load(f));
    QVERIFY(f.work().exec(QStringLiteral(
        "create temp trigger refuse before update on w明細 begin select raise(abort, 'the disk is full'); end")));
    const QStringList before = table(f);
    GridView* grid = control<GridView>(f.quotation(), "Grid明細");
    QVERIFY(QTest::qWaitForWindowExposed(&f.tab));
    grid->setFocus();

    grid->setCurrentCell(0, col);
    QTest::sendKeyEvent(QTest::Click, grid, Qt::Key_unknown, typed, Qt::NoModifier);
    QVERIFY(grid->isEditing());
    QTest::keyClick(grid->editorWidget(), Qt::Key_Return);

    QTRY_COMPARE(f.messages.shown().size(), 1);
    const MessageBoxSpec& box = f.messages.shown().first();
    QCOMPARE(box.title, QStringLiteral("エラー"));
    QVERIFY2(box.text.contains(QStringLiteral("書き込めませんでした")), qPrintable(box.text));
    QVERIFY2(box.detail.contains(QStringLiteral("the disk is full")), qPrintable(box.text));
    QVERIFY(!grid->isEditing());
    QVERIFY(control<WorkTableModel>(f.quotation(), "wkDat")->isNull(0, col));
    QCOMPARE(table(f), before);
    QCoreApplication::processEvents();
    QCOMPARE(f.messages.shown().size(), 1);
}

// A cell whose write needs room the work file cannot get (SQLite's
// max_page_count holds it at its size; the write adds a large row beside
// it): the box says the disk is full, SQLite's words in its details.
void TestGridRefusals::cellOnAFullDiskSaysSo()
{
    QuotationTabFixture f;
    QVERIFY(load(f));
    QVERIFY(f.work().exec(QStringLiteral("PRAGMA max_page_count = %1")
                              .arg(f.work().scalar(QStringLiteral("PRAGMA page_count")).toLongLong())));
    QVERIFY(f.work().exec(QStringLiteral("create temp trigger grow after update on w明細 "
                                         "begin insert into w明細ソート (品名) values (zeroblob(200000)); end")));
    const QStringList before = table(f);
    GridView* grid = control<GridView>(f.quotation(), "Grid明細");
    QVERIFY(QTest::qWaitForWindowExposed(&f.tab));
    grid->setFocus();

    grid->setCurrentCell(0, 品名);
    QTest::sendKeyEvent(QTest::Click, grid, Qt::Key_unknown, QStringLiteral("机"), Qt::NoModifier);
    QTest::keyClick(grid->editorWidget(), Qt::Key_Return);

    QTRY_COMPARE(f.messages.shown().size(), 1);
    const MessageBoxSpec& box = f.messages.shown().first();
    QCOMPARE(box.text, QStringLiteral("入力した値を書き込めませんでした。セルは元の値のままです。\n\n"
                                      "ディスクの空き容量が足りません。空き容量を増やしてから、もう一度やり直してください。"));
    QVERIFY2(box.detail.contains(QStringLiteral("database or disk is full")), qPrintable(box.detail));
    QCOMPARE(table(f), before);
    QCoreApplication::processEvents();
}

// What the grid's number cells, the quotation amount and the date refuse is
// said with the field's warning, stays on screen to be corrected, and is never
// stored: 登録 stops over it (and says it again). Corrected, it is taken,
// stored and reloaded.
void TestGridRefusals::refusedInputIsSaidKeptAndNotStored_data()
{
    QTest::addColumn<QString>("field");      // a grid column, "見積金額" or "日付"
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<QString>("corrected");  // typed then
    QTest::addColumn<QString>("kept");       // what is stored and reloaded from it

    const QString qtyDigits = QStringLiteral("数量には数字以外使用できません");
    const QString date = QStringLiteral("正しい日付が指定されていません。確認してください");
    QTest::newRow("数量 12a") << "数量" << "12a" << qtyDigits << "3" << "3";
    QTest::newRow("数量 --5") << "数量" << "--5" << qtyDigits << "3" << "3";
    QTest::newRow("単価 --5") << "単価" << "--5" << "単価には数字以外使用できません" << "600" << "600";
    QTest::newRow("金額 12a") << "金額" << "12a" << "金額には数字以外使用できません" << "900" << "900";
    QTest::newRow("数量 over its limit")
        << "数量" << "1000000" << "数量には -999,999 から 999,999 までの数を入力してください" << "4" << "4";
    QTest::newRow("単価 over its limit")
        << "単価" << "100000000" << "単価には -99,999,999 から 99,999,999 までの数を入力してください" << "700" << "700";
    QTest::newRow("見積金額 12a") << "見積金額" << "12a" << "見積金額には数字以外使用できません" << "5000" << "5000";
    QTest::newRow("見積金額 --5") << "見積金額" << "--5" << "見積金額には数字以外使用できません" << "5000" << "5000";
    QTest::newRow("日付 2026/2/30") << "日付" << "2026/2/30" << date << "2026/2/28" << "2026-02-28";
    QTest::newRow("日付 2026/13/01") << "日付" << "2026/13/01" << date << "2026/12/01" << "2026-12-01";
    QTest::newRow("日付 0000/01/01") << "日付" << "0000/01/01" << date << "2001/01/01" << "2001-01-01";
}

void TestGridRefusals::refusedInputIsSaidKeptAndNotStored()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, warning);
    QFETCH(QString, corrected);
    QFETCH(QString, kept);
    QuotationTabFixture f;
    QVERIFY(load(f));
    QVERIFY(f.activate());
    QuotationTab& q = f.quotation();
    f.session.設定情報.年号 = QStringLiteral("西暦");
    q.applyLayout(f.session.設定情報, nullptr);
    setLine(f, 1, QStringLiteral("品名=鉛筆;数量=2;単価=500;金額=1000"));
    control<TextComboBox>(q, "cmb顧客名")->setText(QStringLiteral("甲商店"));
    control<DateBox>(q, "dt日付")->setDate(QDate(2024, 6, 3));
    control<NumberBox>(q, "num見積金額")->setValue(Currency::fromWhole(1050));
    const QString number = control<QLineEdit>(q, "txtNo")->text();
    GridView* grid = control<GridView>(q, "Grid明細");
    auto* amount = control<NumberBox>(q, "num見積金額");
    QLineEdit* dateEdit = control<DateBox>(q, "dt日付")->lineEdit();
    const int col = control<WorkTableModel>(q, "wkDat")->columnOf(field);
    const QStringList lines = table(f);

    // Typed, then Enter.
    QLineEdit* box = field == u"見積金額" ? amount : field == u"日付" ? dateEdit : nullptr;
    if (box) {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, typed);
        QTest::keyClick(box, Qt::Key_Return);
    } else {
        grid->setFocus();
        grid->setCurrentCell(0, col);
        QTest::sendKeyEvent(QTest::Click, grid, Qt::Key_unknown, typed, Qt::NoModifier);
        QTest::keyClick(grid->editorWidget(), Qt::Key_Return);
    }
    QCoreApplication::processEvents();
    QCOMPARE(f.messages.texts(), QStringList{warning});
    // The typed text stays on screen; nothing of it was taken.
    const auto shownText = [&] {
        return box ? box->text() : grid->isEditing() ? qobject_cast<QLineEdit*>(grid->editorWidget())->text() : QString();
    };
    QCOMPARE(shownText(), typed);
    QCOMPARE(table(f), lines);
    QCOMPARE(amount->value(), std::optional<Currency>(Currency::fromWhole(1050)));
    QCOMPARE(control<DateBox>(q, "dt日付")->date(), std::optional<QDate>(QDate(2024, 6, 3)));

    // 登録 stores nothing and says why again; the text stays.
    QTest::mouseClick(control<QPushButton>(q, "cmd登録"), Qt::LeftButton);
    QCoreApplication::processEvents();
    QCOMPARE(f.messages.texts(), (QStringList{warning, warning}));
    QCOMPARE(f.data().scalar(QStringLiteral("select count(*) from 見積書ヘッダ")).toInt(), 0);
    QCOMPARE(shownText(), typed);

    // Corrected, it is taken, stored and reloaded.
    QLineEdit* editor = box ? box : qobject_cast<QLineEdit*>(grid->editorWidget());
    QVERIFY(editor);
    editor->setFocus();
    editor->selectAll();
    QTest::keyClicks(editor, corrected);
    QTest::keyClick(editor, Qt::Key_Return);
    f.messages.clear();
    QTest::mouseClick(control<QPushButton>(q, "cmd登録"), Qt::LeftButton);
    QCOMPARE(f.messages.texts().size(), 2);  // the question and 登録完了
    const auto saved = LoadQuotation(f.data(), number.toInt());
    QVERIFY(saved);
    const QuotationLine line = saved->lines.value(0);
    const QString storedValue = field == u"見積金額" ? saved->header.見積金額->toPlainString()
                                : field == u"日付"   ? saved->header.日付->toString(Qt::ISODate)
                                : field == u"数量"   ? line.数量->toPlainString()
                                : field == u"単価"   ? line.単価->toPlainString()
                                                     : line.金額->toPlainString();
    QCOMPARE(storedValue, kept);
    lines::reopen(f.quotation(), number);
    if (field == u"見積金額")
        QCOMPARE(amount->value()->toPlainString(), kept);
    else if (field == u"日付")
        QCOMPARE(control<DateBox>(q, "dt日付")->date()->toString(Qt::ISODate), kept);
    else
        QCOMPARE(stored(f, 1, col), kept);
}

QTEST_MAIN(TestGridRefusals)
#include "tst_grid_refusals.moc"
