// Storing, reopening, browsing and deleting quotations through the quotation
// tab's buttons, end to end (the store itself: tst_quotation_store).

#include "StoreSamples.h"
#include "platform/GridView.h"
#include "workspace/QuotationStore.h"
#include "support/FindControl.h"
#include "support/TabFixtures.h"
#include "workspace/quotation_tab/HeaderPanel.h"
#include "workspace/quotation_tab/DetailGrid.h"
#include "workspace/quotation_tab/QuotationKeeper.h"
#include "workspace/quotation_tab/QuotationTab.h"
#include "platform/WorkTableModel.h"

#include <QLabel>
#include <QPushButton>
#include <QSqlRecord>
#include <QtTest>

using namespace samples;

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
    void previousNextAcrossGapsAndDelete();
    void notNumericNumberLoadsNothing();
    void deleteTakesTheNumberTheLoadTook_data();
    void deleteTakesTheNumberTheLoadTook();
    void loadIsAllOrNothing_data();
    void loadIsAllOrNothing();
    void typedNumberIsLoadedOnEnterOnly();
    void typedNumberThenStoreStoresTheScreen();
    void failedStoreSaysWhy_data();
    void failedStoreSaysWhy();
    void storingOverAnotherQuotationAsksFirst_data();
    void storingOverAnotherQuotationAsksFirst();
};

namespace {

void fillScreen(QuotationTabFixture& f, const QString& number)
{
    control<QLineEdit>(f.quotation(), "txtNo")->setText(number);
    control<DateBox>(f.quotation(), "dt日付")->setDate(QDate(2024, 6, 3));
    control<TextComboBox>(f.quotation(), "cmb顧客名")->setText(QStringLiteral("O'Hara 株式会社"));
    control<TextComboBox>(f.quotation(), "cmb敬称")->setText(QStringLiteral("御中"));
    control<MultiLineEdit>(f.quotation(), "txt顧客情報")->setText(QStringLiteral("〒530-0001\r\n大阪市北区"));
    control<QLineEdit>(f.quotation(), "txt件名")->setText(QStringLiteral("机 'L' 型"));
    control<MultiLineEdit>(f.quotation(), "txtメモ")->setText(QStringLiteral("一行目\r\n二行目"));
    control<TextComboBox>(f.quotation(), "cmb有効期限")->setText(QStringLiteral("1か月"));
    control<TextComboBox>(f.quotation(), "cmb支払条件")->setText(QString());
    control<TextComboBox>(f.quotation(), "cmb受渡場所")->setText(QStringLiteral("現地"));
    control<TextComboBox>(f.quotation(), "cmb納期")->setText(QString());
    control<NumberBox>(f.quotation(), "num税抜計")->setValue(yen(3000));
    control<NumberBox>(f.quotation(), "num消費税")->setValue(yen(150));
    control<NumberBox>(f.quotation(), "num合計")->setValue(yen(3150));
    control<NumberBox>(f.quotation(), "num見積金額")->setValue(yen(3150));
    for (int i = 0; i < 4; ++i) control<QLineEdit>(f.quotation(), QStringLiteral("txt印鑑(%1)").arg(i))->setText(i == 1 ? QString() : QStringLiteral("印%1").arg(i));
    QList<QuotationLine> lines{product(QStringLiteral("机"), 1, 2000), QuotationLine{}, product(QStringLiteral("椅子"), 2, 500),
                               subtotal(3000)};
    lines[2].非課税 = true;
    QVERIFY(WriteWorkLines(f.work(), lines));
    control<WorkTableModel>(f.quotation(), "wkDat")->refresh();
}

QStringList titles(RecordingPresenter& p)
{
    QStringList out;
    for (const auto& s : p.shown()) out << s.title;
    return out;
}

}  // namespace

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

void TestStoreLoad::previousNextAcrossGapsAndDelete()
{
    QuotationTabFixture f;
    QVERIFY(f.open());
    for (int n : {1, 2, 5}) {
        QuotationRecord q{header(n, QStringLiteral("顧客%1").arg(n)), {product(QStringLiteral("品%1").arg(n), n, 100)}};
        QVERIFY(StoreQuotation(f.data(), q, codesOf(f.data())).ok);
    }
    auto shown = [&] { return control<TextComboBox>(f.quotation(), "cmb顧客名")->text(); };
    auto firstLine = [&] { return dbv::text(ReadWorkLines(f.work())[0].品名); };

    control<QLineEdit>(f.quotation(), "txtNo")->setText(QStringLiteral("2"));
    control<HeaderPanel>(f.quotation(), "Header")->txtNo_Commit();
    QCOMPARE(shown(), QStringLiteral("顧客2"));
    control<QPushButton>(f.quotation(), "cmd次伝票")->click();
    QCOMPARE(control<QLineEdit>(f.quotation(), "txtNo")->text(), QStringLiteral("3"));
    QCOMPARE(shown(), QString());  // a gap: the screen is reset, the number stays
    QCOMPARE(firstLine(), QString());
    control<HeaderPanel>(f.quotation(), "Header")->cmd次伝票_Click();
    control<HeaderPanel>(f.quotation(), "Header")->cmd次伝票_Click();
    QCOMPARE(control<QLineEdit>(f.quotation(), "txtNo")->text(), QStringLiteral("5"));
    QCOMPARE(shown(), QStringLiteral("顧客5"));
    QCOMPARE(firstLine(), QStringLiteral("品5"));
    control<HeaderPanel>(f.quotation(), "Header")->cmd前伝票_Click();
    control<HeaderPanel>(f.quotation(), "Header")->cmd前伝票_Click();
    control<HeaderPanel>(f.quotation(), "Header")->cmd前伝票_Click();
    QCOMPARE(control<QLineEdit>(f.quotation(), "txtNo")->text(), QStringLiteral("2"));
    QCOMPARE(shown(), QStringLiteral("顧客2"));
    control<HeaderPanel>(f.quotation(), "Header")->cmd前伝票_Click();
    control<HeaderPanel>(f.quotation(), "Header")->cmd前伝票_Click();
    QCOMPARE(control<QLineEdit>(f.quotation(), "txtNo")->text(), QStringLiteral("1"));
    QCOMPARE(shown(), QStringLiteral("顧客1"));
    // Half numbers: 12.5 steps to 13.5, which opens 14.
    control<QLineEdit>(f.quotation(), "txtNo")->setText(QStringLiteral("0.5"));
    control<HeaderPanel>(f.quotation(), "Header")->cmd次伝票_Click();
    QCOMPARE(control<QLineEdit>(f.quotation(), "txtNo")->text(), QStringLiteral("1.5"));
    QCOMPARE(shown(), QStringLiteral("顧客2"));

    // Delete 2 (answered No, then Yes), then step back onto it from 3.
    control<QLineEdit>(f.quotation(), "txtNo")->setText(QStringLiteral("2"));
    control<HeaderPanel>(f.quotation(), "Header")->txtNo_Commit();
    f.messages.clear();
    f.messages.answerNext(MessageAnswer::No);
    control<QuotationKeeper>(f.quotation(), "QuotationKeeper")->cmd削除_Click();
    QCOMPARE(f.data().scalar(QStringLiteral("select count(*) from 見積書ヘッダ where 伝票番号 = 2")).toInt(), 1);
    f.messages.answerNext(MessageAnswer::Yes);
    control<QPushButton>(f.quotation(), "cmd削除")->click();
    QCOMPARE(titles(f.messages), (QStringList{QStringLiteral("削除の確認"), QStringLiteral("削除の確認")}));
    QVERIFY(f.messages.shown()[1].text.contains(QStringLiteral("伝票 2 ")));
    QCOMPARE(f.data().scalar(QStringLiteral("select count(*) from 見積書ヘッダ where 伝票番号 = 2")).toInt(), 0);
    QCOMPARE(f.data().scalar(QStringLiteral("select count(*) from 見積書 where 伝票番号 = 2")).toInt(), 0);
    control<QLineEdit>(f.quotation(), "txtNo")->setText(QStringLiteral("3"));
    control<HeaderPanel>(f.quotation(), "Header")->cmd前伝票_Click();
    QCOMPARE(control<QLineEdit>(f.quotation(), "txtNo")->text(), QStringLiteral("2"));
    QCOMPARE(shown(), QString());
    control<HeaderPanel>(f.quotation(), "Header")->cmd前伝票_Click();
    QCOMPARE(shown(), QStringLiteral("顧客1"));
    QCOMPARE(f.data().scalar(QStringLiteral("select count(*) from 見積書ヘッダ")).toInt(), 2);
}

void TestStoreLoad::notNumericNumberLoadsNothing()
{
    QuotationTabFixture f;
    QVERIFY(f.open());
    QuotationRecord q{header(1, QStringLiteral("顧客1")), {product(QStringLiteral("品1"), 1, 100)}};
    QVERIFY(StoreQuotation(f.data(), q, codesOf(f.data())).ok);
    fillScreen(f, QStringLiteral("abc"));
    f.messages.clear();
    control<HeaderPanel>(f.quotation(), "Header")->txtNo_Commit();
    QCOMPARE(titles(f.messages), QStringList{QStringLiteral("入力注意")});
    QCOMPARE(control<QLineEdit>(f.quotation(), "txtNo")->text(), QString());
    // The lines and the header on screen stay.
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb顧客名")->text(), QStringLiteral("O'Hara 株式会社"));
    QCOMPARE(ReadWorkLines(f.work())[0].品名, QVariant(QStringLiteral("机")));
    // Setting the number from code and leaving the box loads nothing; an
    // empty commit does nothing.
    control<QLineEdit>(f.quotation(), "txtNo")->setText(QStringLiteral("1"));
    emit control<QLineEdit>(f.quotation(), "txtNo")->editingFinished();
    QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(control<QLineEdit>(f.quotation(), "txtNo"), &focusOut);
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb顧客名")->text(), QStringLiteral("O'Hara 株式会社"));
    control<QLineEdit>(f.quotation(), "txtNo")->setText(QString());
    control<HeaderPanel>(f.quotation(), "Header")->txtNo_Commit();
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb顧客名")->text(), QStringLiteral("O'Hara 株式会社"));
    QCOMPARE(f.messages.shown().size(), 1);
    // Typed and committed with Enter, the number loads.
    QTest::keyClicks(control<QLineEdit>(f.quotation(), "txtNo"), QStringLiteral("1"));
    QTest::keyClick(control<QLineEdit>(f.quotation(), "txtNo"), Qt::Key_Return);
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb顧客名")->text(), QStringLiteral("顧客1"));
    QCOMPARE(ReadWorkLines(f.work())[0].品名, QVariant(QStringLiteral("品1")));
    QCOMPARE(f.messages.shown().size(), 1);
}

void TestStoreLoad::deleteTakesTheNumberTheLoadTook_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("deleted");  // 0: nothing can be deleted, a warning instead
    QTest::newRow("plain") << "2" << 2;
    QTest::newRow("with a decimal point") << "2.0" << 2;
    QTest::newRow("a half deletes nothing") << "2.5" << 0;
    QTest::newRow("12.5 deletes nothing") << "12.5" << 0;
    QTest::newRow("not a number") << "2a" << 0;
}

void TestStoreLoad::deleteTakesTheNumberTheLoadTook()
{
    QFETCH(QString, typed);
    QFETCH(int, deleted);
    QuotationTabFixture f;
    QVERIFY(f.open());
    for (int n : {2, 3}) {
        QuotationRecord q{header(n, QStringLiteral("顧客%1").arg(n)), {product(QStringLiteral("品%1").arg(n), n, 100)}};
        QVERIFY(StoreQuotation(f.data(), q, codesOf(f.data())).ok);
    }
    control<QLineEdit>(f.quotation(), "txtNo")->setText(QStringLiteral("2"));
    control<HeaderPanel>(f.quotation(), "Header")->txtNo_Commit();
    control<QLineEdit>(f.quotation(), "txtNo")->setText(typed);
    f.messages.clear();
    f.messages.setDefaultAnswer(MessageAnswer::Yes);
    control<QuotationKeeper>(f.quotation(), "QuotationKeeper")->cmd削除_Click();
    auto count = [&f](int n) {
        return f.data().scalar(QStringLiteral("select count(*) from 見積書ヘッダ where 伝票番号 = ?"), {n}).toInt();
    };
    QCOMPARE(count(3), 1);
    if (deleted) {
        QCOMPARE(count(deleted), 0);
        QCOMPARE(titles(f.messages), QStringList{QStringLiteral("削除の確認")});
    } else {
        QCOMPARE(count(2), 1);
        QCOMPARE(titles(f.messages), QStringList{QStringLiteral("入力注意")});
        // The screen was not cleared, the number stays as typed.
        QCOMPARE(control<TextComboBox>(f.quotation(), "cmb顧客名")->text(), QStringLiteral("顧客2"));
        QCOMPARE(control<QLineEdit>(f.quotation(), "txtNo")->text(), typed);
        QCOMPARE(dbv::text(ReadWorkLines(f.work())[0].品名), QStringLiteral("品2"));
    }
}

// A quotation whose lines cannot be read, or cannot be written into w明細, is
// not half shown: the failure is said and the screen stays as the reset left
// it, so storing cannot replace the stored lines with nothing.
void TestStoreLoad::loadIsAllOrNothing_data()
{
    QTest::addColumn<QString>("dataDamage");
    QTest::addColumn<QString>("workDamage");
    QTest::newRow("lines cannot be read") << "alter table 見積書 drop column ふりがな" << "";
    QTest::newRow("lines cannot be written into w明細")
        << "" << "create trigger refuse before update on w明細 when new.品名 = '品2' begin select raise(abort, 'refused'); end";
}

void TestStoreLoad::loadIsAllOrNothing()
{
    QFETCH(QString, dataDamage);
    QFETCH(QString, workDamage);
    QuotationTabFixture f;
    QVERIFY(f.open());
    QuotationTab& q = f.quotation();
    QuotationRecord stored{header(7, QStringLiteral("甲社")),
                           {product(QStringLiteral("品1"), 1, 100), product(QStringLiteral("品2"), 2, 200)}};
    QVERIFY(StoreQuotation(f.data(), stored, codesOf(f.data())).ok);
    if (!dataDamage.isEmpty()) QVERIFY(f.data().exec(dataDamage));
    if (!workDamage.isEmpty()) QVERIFY(f.work().exec(workDamage));
    fillScreen(f, QString());
    const QStringList before = snapshot(f.data());
    f.messages.clear();

    QTest::keyClicks(control<QLineEdit>(q, "txtNo"), QStringLiteral("7"));
    QTest::keyClick(control<QLineEdit>(q, "txtNo"), Qt::Key_Return);

    QCOMPARE(titles(f.messages), QStringList{QStringLiteral("エラー")});
    QVERIFY(f.messages.texts().first().contains(QStringLiteral("7")));
    QVERIFY(!control<QFrame>(q, "CnEntryMsg")->isVisible());
    // The reset screen: the number kept, no header, no lines, no totals.
    QCOMPARE(control<QLineEdit>(q, "txtNo")->text(), QStringLiteral("7"));
    QCOMPARE(control<TextComboBox>(q, "cmb顧客名")->text(), QString());
    QCOMPARE(control<QLineEdit>(q, "txt件名")->text(), QString());
    QVERIFY(control<NumberBox>(q, "num合計")->isNull());
    const QList<QuotationLine> lines = ReadWorkLines(f.work());
    QCOMPARE(lines.size(), 100);
    for (const QuotationLine& l : lines) QVERIFY(l.isBlank());
    QCOMPARE(control<WorkTableModel>(q, "wkDat")->text(0, DetailLine::品名), QString());

    // 登録 now asks for the customer and writes nothing.
    f.messages.clear();
    control<QuotationKeeper>(q, "QuotationKeeper")->cmd登録_Click();
    QCOMPARE(titles(f.messages), QStringList{QStringLiteral("入力項目のチェック")});
    QCOMPARE(snapshot(f.data()), before);
}

// A typed number loads on Enter alone: leaving the box by Tab or a click
// keeps what is on screen.
void TestStoreLoad::typedNumberIsLoadedOnEnterOnly()
{
    QuotationTabFixture f;
    QVERIFY(f.open());
    QuotationTab& q = f.quotation();
    QVERIFY(f.activate());
    QuotationRecord five{header(5, QStringLiteral("顧客5")), {product(QStringLiteral("品5"), 5, 100)}};
    QVERIFY(StoreQuotation(f.data(), five, codesOf(f.data())).ok);
    fillScreen(f, QString());
    auto screenKept = [&] {
        return control<TextComboBox>(q, "cmb顧客名")->text() == QStringLiteral("O'Hara 株式会社") &&
               dbv::text(ReadWorkLines(f.work())[0].品名) == QStringLiteral("机");
    };

    control<QLineEdit>(q, "txtNo")->setFocus();
    QTest::keyClicks(control<QLineEdit>(q, "txtNo"), QStringLiteral("5"));
    QTest::keyClick(control<QLineEdit>(q, "txtNo"), Qt::Key_Tab);
    QVERIFY(!control<QLineEdit>(q, "txtNo")->hasFocus());
    QVERIFY(screenKept());
    control<QLineEdit>(q, "txtNo")->setFocus();
    QTest::mouseClick(control<QLineEdit>(q, "txt件名"), Qt::LeftButton);
    QTRY_VERIFY(control<QLineEdit>(q, "txt件名")->hasFocus());
    QVERIFY(screenKept());
    QVERIFY(f.messages.shown().isEmpty());

    control<QLineEdit>(q, "txtNo")->setFocus();
    QTest::keyClick(control<QLineEdit>(q, "txtNo"), Qt::Key_Return);
    QCOMPARE(control<TextComboBox>(q, "cmb顧客名")->text(), QStringLiteral("顧客5"));
    QCOMPARE(dbv::text(ReadWorkLines(f.work())[0].品名), QStringLiteral("品5"));
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
