// The product-detail panel: open on the current line, store into 商品マスタ
// with code values and back into the line, refusals, clear and close.

#include "workspace/DetailLines.h"
#include "platform/GridView.h"
#include "app/ProductMaster.h"
#include "support/FindControl.h"
#include "support/TabFixtures.h"
#include "support/QuotationLines.h"
#include "workspace/quotation_tab/QuotationTab.h"
#include "platform/WorkTableModel.h"

#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

constexpr int kRow = 3;

int col(QuotationTabFixture& f, const char16_t* field)
{
    return control<WorkTableModel>(f.quotation(), "wkDat")->columnOf(QString::fromUtf16(field));
}

// A priced line with an amount, current in the grid.
void prepareLine(QuotationTabFixture& f)
{
    QVERIFY(control<WorkTableModel>(f.quotation(), "wkDat")->setValues(kRow, {{col(f, u"品名"), QStringLiteral("旧品名")},
                                      {col(f, u"数量"), QVariant::fromValue(Currency::fromWhole(2))},
                                      {col(f, u"単価"), QVariant::fromValue(Currency::fromWhole(100))},
                                      {col(f, u"金額"), QVariant::fromValue(Currency::fromWhole(200))}}));
    control<GridView>(f.quotation(), "Grid明細")->setCurrentCell(kRow, 1);
}

void fillPanel(QuotationTabFixture& f, const QString& name)
{
    control<QLineEdit>(f.quotation(), "txt品名詳細")->setText(name);
    control<TextComboBox>(f.quotation(), "cmb入数")->setText(QStringLiteral("12本"));
    control<TextComboBox>(f.quotation(), "cmb単位詳細")->setText(QStringLiteral("箱"));
    control<TextComboBox>(f.quotation(), "cmb商品区分詳細")->setText(QStringLiteral("文具"));
    control<NumberBox>(f.quotation(), "num単価詳細")->setValue(Currency::fromWhole(1500));
    control<QLineEdit>(f.quotation(), "txtふりがな")->setText(QStringLiteral("えんぴつ"));
}

QString lineText(QuotationTabFixture& f)
{
    QStringList out;
    for (int c = 0; c < control<WorkTableModel>(f.quotation(), "wkDat")->columnCount(); ++c) out << control<WorkTableModel>(f.quotation(), "wkDat")->editText(kRow, c);
    return out.join('|');
}

QString tableText(Database& db, const QString& sql)
{
    QString out;
    for (const QSqlRecord& r : db.rows(sql)) {
        for (int i = 0; i < r.count(); ++i) out += r.value(i).toString() + '|';
        out += '\n';
    }
    return out;
}

}  // namespace

class TestProductPanel : public QObject {
    Q_OBJECT
private slots:
    void nameIsTrimmedAndCutLikeTheGrid_data();
    void nameIsTrimmedAndCutLikeTheGrid();
    void storeWritesProductCodesAndLine_data();
    void storeWritesProductCodesAndLine();
    void storeWithEmptyBoxesRegistersNoCode();
    void refusedStoreWritesNothing_data();
    void refusedStoreWritesNothing();
    void openClearAndClose();
};

void TestProductPanel::nameIsTrimmedAndCutLikeTheGrid_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("half- and full-width blanks") << QStringLiteral("　 鉛筆 HB　 ") << QStringLiteral("鉛筆 HB");
    QTest::newRow("26 double-byte cut to 25") << QString(26, QChar(0x3042)) << QString(25, QChar(0x3042));
    QTest::newRow("49 single + 1 double cut to 49") << QString(49, u'a') + QChar(0x3042) << QString(49, u'a');
    QTest::newRow("50 half-width kana kept") << QString(50, QChar(0xFF71)) << QString(50, QChar(0xFF71));
    QTest::newRow("only blanks") << QStringLiteral(" 　 ") << QString();
}

void TestProductPanel::nameIsTrimmedAndCutLikeTheGrid()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QCOMPARE(NormalizeProductName(typed), kept);
    QVERIFY(ShiftJisLength(NormalizeProductName(typed)) <= 50);
}

void TestProductPanel::storeWritesProductCodesAndLine_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("existing");  // a product of that name is stored (tax-exempt) beforehand
    QTest::newRow("new product") << QStringLiteral("鉛筆") << QStringLiteral("鉛筆") << false;
    QTest::newRow("existing product keeps 非課税") << QStringLiteral("鉛筆") << QStringLiteral("鉛筆") << true;
    QTest::newRow("apostrophe") << QStringLiteral("O'Neil ペン") << QStringLiteral("O'Neil ペン") << true;
    QTest::newRow("blanks trimmed") << QStringLiteral("　鉛筆 ") << QStringLiteral("鉛筆") << true;
    // The name is the line's: the product is stored under what the line keeps.
    QTest::newRow("a long name cut as the line keeps it") << QString(26, QChar(0x3042)) << QString(25, QChar(0x3042)) << false;
}

void TestProductPanel::storeWritesProductCodesAndLine()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(bool, existing);
    QuotationTabFixture f;
    QVERIFY(f.open());
    Database& db = f.data();
    // The pack-quantity kind is the one the column title names.
    f.session.設定情報.入数列タイトル = QStringLiteral("ケース");
    for (const char* code : {"01", "02"})
        QVERIFY(db.insert(QStringLiteral("コードマスタ"), {{QStringLiteral("kcode"), QStringLiteral("ケース")},
                                                         {QStringLiteral("code"), QString::fromLatin1(code)},
                                                         {QStringLiteral("sname"), QVariant()}}));
    if (existing)
        QVERIFY(db.insert(QStringLiteral("商品マスタ"), {{QStringLiteral("品名"), stored},
                                                       {QStringLiteral("単価"), Currency::toDb(Currency::fromWhole(9))},
                                                       {QStringLiteral("非課税"), 1}}));
    prepareLine(f);
    control<QPushButton>(f.quotation(), "cmd商品詳細")->click();
    fillPanel(f, typed);
    control<QPushButton>(f.quotation(), "cmd顧客詳細登録")->click();

    QCOMPARE(f.messages.shown().size(), 1);  // the confirmation only
    QCOMPARE(tableText(db, QStringLiteral("select 品名, 入数, 単価, 単位, 商品区分, ふりがな, 非課税 from 商品マスタ")),
             stored + QStringLiteral("|12本|15000000|箱|文具|えんぴつ|%1|\n").arg(existing ? 1 : 0));
    QCOMPARE(tableText(db, QStringLiteral("select kcode, sname from コードマスタ where sname is not null order by kcode")),
             QStringLiteral("ケース|12本|\n単位|箱|\n商品区分|文具|\n"));
    QCOMPARE(db.scalar(QStringLiteral("select count(*) from コードマスタ where kcode = '入数' and sname is not null")).toInt(), 0);
    // The line takes the fields; quantity and the flags stay as they were.
    QCOMPARE(control<WorkTableModel>(f.quotation(), "wkDat")->value(kRow, col(f, u"品名")).toString(), stored);
    QCOMPARE(control<WorkTableModel>(f.quotation(), "wkDat")->money(kRow, col(f, u"単価")), Currency::fromWhole(1500));
    QCOMPARE(control<WorkTableModel>(f.quotation(), "wkDat")->value(kRow, col(f, u"入数")).toString(), QStringLiteral("12本"));
    QCOMPARE(control<WorkTableModel>(f.quotation(), "wkDat")->value(kRow, col(f, u"単位")).toString(), QStringLiteral("箱"));
    QCOMPARE(control<WorkTableModel>(f.quotation(), "wkDat")->value(kRow, col(f, u"商品区分")).toString(), QStringLiteral("文具"));
    QCOMPARE(control<WorkTableModel>(f.quotation(), "wkDat")->value(kRow, col(f, u"ふりがな")).toString(), QStringLiteral("えんぴつ"));
    QCOMPARE(control<WorkTableModel>(f.quotation(), "wkDat")->money(kRow, col(f, u"数量")), Currency::fromWhole(2));
    QVERIFY(!control<QFrame>(f.quotation(), "Cn商品詳細")->isHidden());  // the panel stays open
    // The price counts as a typed one: 2 × 1500 on the line, the totals (外税
    // 5 %), and what 登録 stores.
    QCOMPARE(control<WorkTableModel>(f.quotation(), "wkDat")->money(kRow, col(f, u"金額")), Currency::fromWhole(3000));
    QCOMPARE(lines::shownTotals(f.quotation()), QStringLiteral("3000|150|3150|3150"));
    QCOMPARE(lines::storedAmounts(f, kRow), QStringLiteral("3000|3000|150|3150|3150"));
}

void TestProductPanel::storeWithEmptyBoxesRegistersNoCode()
{
    QuotationTabFixture f;
    QVERIFY(f.open());
    prepareLine(f);
    control<QLineEdit>(f.quotation(), "txt品名詳細")->setText(QStringLiteral("消しゴム"));
    control<QPushButton>(f.quotation(), "cmd顧客詳細登録")->click();
    Database& db = f.data();
    QCOMPARE(db.scalar(QStringLiteral("select count(*) from コードマスタ where sname is not null")).toInt(), 0);
    QCOMPARE(tableText(db, QStringLiteral("select 品名, 入数, 単価, 単位 from 商品マスタ")), QStringLiteral("消しゴム||||\n"));
    QVERIFY(control<WorkTableModel>(f.quotation(), "wkDat")->isNull(kRow, col(f, u"単価")));
}

void TestProductPanel::refusedStoreWritesNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("why");  // "no", "subtotal", "fail", "code", "price" or "" (nothing else)
    QTest::addColumn<QStringList>("titles");
    QTest::newRow("empty name") << QString() << QString() << QStringList{QStringLiteral("情報")};
    QTest::newRow("blank name") << QStringLiteral("　 ") << QString() << QStringList{QStringLiteral("情報")};
    QTest::newRow("answer no") << QStringLiteral("鉛筆") << QStringLiteral("no") << QStringList{QStringLiteral("登録の確認")};
    QTest::newRow("subtotal line") << QStringLiteral("鉛筆") << QStringLiteral("subtotal") << QStringList{QStringLiteral("注意")};
    QTest::newRow("product cannot be written")
        << QStringLiteral("鉛筆") << QStringLiteral("fail") << QStringList{QStringLiteral("登録の確認"), QStringLiteral("エラー")};
    QTest::newRow("code value cannot be written")
        << QStringLiteral("鉛筆") << QStringLiteral("code") << QStringList{QStringLiteral("登録の確認"), QStringLiteral("エラー")};
    QTest::newRow("price the box refuses") << QStringLiteral("鉛筆") << QStringLiteral("price") << QStringList{QStringLiteral("入力注意")};
}

void TestProductPanel::refusedStoreWritesNothing()
{
    QFETCH(QString, name);
    QFETCH(QString, why);
    QFETCH(QStringList, titles);
    QuotationTabFixture f;
    QVERIFY(f.open());
    Database& db = f.data();
    prepareLine(f);
    if (why == u"subtotal") QVERIFY(control<WorkTableModel>(f.quotation(), "wkDat")->setValue(kRow, col(f, u"小計"), true));
    if (why == u"no") f.messages.answerNext(MessageAnswer::No);
    if (why == u"fail")
        QVERIFY(db.exec(QStringLiteral("create trigger refuse before insert on 商品マスタ "
                                       "begin select raise(abort, 'disk full'); end")));
    if (why == u"code")  // the unit is offered after the product row was written
        QVERIFY(db.exec(QStringLiteral("create trigger refuse before update on コードマスタ when new.sname = '箱' "
                                       "begin select raise(abort, 'refused'); end")));
    fillPanel(f, name);
    const QString line = lineText(f);
    const QString codes = tableText(db, QStringLiteral("select * from コードマスタ order by rowid"));
    if (why == u"price") {  // still being typed as 登録 is pressed
        QVERIFY(f.activate());
        control<NumberBox>(f.quotation(), "num単価詳細")->setFocus();
        QTest::keyClicks(control<NumberBox>(f.quotation(), "num単価詳細"), QStringLiteral("12345678901234567890"));
    }

    control<QPushButton>(f.quotation(), "cmd顧客詳細登録")->click();
    if (why == u"price") QTRY_COMPARE(f.messages.texts().value(0).left(5), QStringLiteral("単価には "));

    QStringList shown;
    for (const auto& m : f.messages.shown()) shown << m.title;
    // The catalogue's confirmation title depends on the category; compare the refusals by text.
    if (why == u"subtotal")
        QCOMPARE(f.messages.shown().last().text, QStringLiteral("小計行は変更できません。行削除してください。"));
    if (why.isEmpty()) QCOMPARE(f.messages.shown().last().text, QStringLiteral("品名を記入してください"));
    QCOMPARE(shown.size(), titles.size());
    QCOMPARE(shown.last(), titles.last());
    QCOMPARE(db.scalar(QStringLiteral("select count(*) from 商品マスタ")).toInt(), 0);
    QCOMPARE(tableText(db, QStringLiteral("select * from コードマスタ order by rowid")), codes);
    QCOMPARE(lineText(f), line);
}

void TestProductPanel::openClearAndClose()
{
    QuotationTabFixture f;
    QVERIFY(f.open());
    prepareLine(f);
    QVERIFY(control<WorkTableModel>(f.quotation(), "wkDat")->setValues(kRow, {{col(f, u"入数"), QStringLiteral("6個")}, {col(f, u"ふりがな"), QStringLiteral("よみ")}}));
    QVERIFY(control<WorkTableModel>(f.quotation(), "wkDat")->setValue(kRow + 1, col(f, u"小計"), true));
    QVERIFY(control<WorkTableModel>(f.quotation(), "wkDat")->setValue(kRow + 1, col(f, u"品名"), QStringLiteral(" 小 計")));

    // On a subtotal line nothing opens.
    control<GridView>(f.quotation(), "Grid明細")->setCurrentCell(kRow + 1, 1);
    control<QPushButton>(f.quotation(), "cmd商品詳細")->click();
    QVERIFY(control<QFrame>(f.quotation(), "Cn商品詳細")->isHidden());

    control<GridView>(f.quotation(), "Grid明細")->setCurrentCell(kRow, 1);
    control<QPushButton>(f.quotation(), "cmd商品詳細")->click();
    QVERIFY(!control<QFrame>(f.quotation(), "Cn商品詳細")->isHidden());
    QCOMPARE(control<QLineEdit>(f.quotation(), "txt品名詳細")->text(), QStringLiteral("旧品名"));
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb入数")->text(), QStringLiteral("6個"));
    QCOMPARE(control<NumberBox>(f.quotation(), "num単価詳細")->value(), Currency::fromWhole(100));
    QCOMPARE(control<QLineEdit>(f.quotation(), "txtふりがな")->text(), QStringLiteral("よみ"));

    // A visible panel keeps its contents when opened on a subtotal line.
    control<GridView>(f.quotation(), "Grid明細")->setCurrentCell(kRow + 1, 1);
    control<QPushButton>(f.quotation(), "cmd商品詳細")->click();
    QCOMPARE(control<QLineEdit>(f.quotation(), "txt品名詳細")->text(), QStringLiteral("旧品名"));

    // Clear empties the boxes and leaves the line and the masters alone.
    const QString line = lineText(f);
    control<QPushButton>(f.quotation(), "cmd顧客詳細クリア")->click();
    QVERIFY(control<QLineEdit>(f.quotation(), "txt品名詳細")->text().isEmpty());
    QVERIFY(control<TextComboBox>(f.quotation(), "cmb入数")->text().isEmpty());
    QVERIFY(control<NumberBox>(f.quotation(), "num単価詳細")->isNull());
    QVERIFY(control<QLineEdit>(f.quotation(), "txtふりがな")->text().isEmpty());
    QCOMPARE(lineText(f), line);
    QCOMPARE(f.data().scalar(QStringLiteral("select count(*) from 商品マスタ")).toInt(), 0);

    control<QPushButton>(f.quotation(), "cmd顧客詳細閉じる")->click();
    QVERIFY(control<QFrame>(f.quotation(), "Cn商品詳細")->isHidden());
    QVERIFY(f.messages.shown().isEmpty());
}

QTEST_MAIN(TestProductPanel)
#include "tst_product_panel.moc"
