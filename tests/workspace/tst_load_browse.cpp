// Opening, stepping through and deleting stored quotations on the quotation
// tab, end to end: previous and next across gaps, a number that is not one, a
// deletion of the number the load took, a load that is all or nothing, and a
// typed number loaded on Enter only.

#include "StoreLoadSupport.h"

class TestLoadBrowse : public QObject {
    Q_OBJECT
private slots:
    void previousNextAcrossGapsAndDelete();
    void notNumericNumberLoadsNothing();
    void deleteTakesTheNumberTheLoadTook_data();
    void deleteTakesTheNumberTheLoadTook();
    void loadIsAllOrNothing_data();
    void loadIsAllOrNothing();
    void typedNumberIsLoadedOnEnterOnly();
};

void TestLoadBrowse::previousNextAcrossGapsAndDelete()
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

void TestLoadBrowse::notNumericNumberLoadsNothing()
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

void TestLoadBrowse::deleteTakesTheNumberTheLoadTook_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("deleted");  // 0: nothing can be deleted, a warning instead
    QTest::newRow("plain") << "2" << 2;
    QTest::newRow("with a decimal point") << "2.0" << 2;
    QTest::newRow("a half deletes nothing") << "2.5" << 0;
    QTest::newRow("12.5 deletes nothing") << "12.5" << 0;
    QTest::newRow("not a number") << "2a" << 0;
}

void TestLoadBrowse::deleteTakesTheNumberTheLoadTook()
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
void TestLoadBrowse::loadIsAllOrNothing_data()
{
    QTest::addColumn<QString>("dataDamage");
    QTest::addColumn<QString>("workDamage");
    QTest::newRow("lines cannot be read") << "alter table 見積書 drop column ふりがな" << "";
    QTest::newRow("lines cannot be written into w明細")
        << "" << "create trigger refuse before update on w明細 when new.品名 = '品2' begin select raise(abort, 'refused'); end";
}

void TestLoadBrowse::loadIsAllOrNothing()
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
void TestLoadBrowse::typedNumberIsLoadedOnEnterOnly()
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

QTEST_MAIN(TestLoadBrowse)
#include "tst_load_browse.moc"
