// The detail-line rules without the window: typed numbers, the line amount,
// the refusals of a subtotal insertion, and the line moves on w明細.

#include "DetailLinesText.h"
#include "platform/Database.h"
#include "support/TestFolder.h"
#include "workspace/DetailLines.h"

#include <QSqlRecord>
#include <QtTest>

using namespace DetailLine;

Q_DECLARE_METATYPE(DetailLine::NumberInput)
Q_DECLARE_METATYPE(DetailLine::LineCells)
Q_DECLARE_METATYPE(std::optional<DetailLine::LineCells>)

namespace {

// A line of w明細 as the rules see it.
const LineCells kBlank{};
const LineCells kNamed{false, false, true};
const LineCells kSubtotal{true, false, true};

// Writes "品名|金額|小計" lines from line 1 ("-" leaves a cell NULL).
bool write(Database& work, const QStringList& head)
{
    for (int i = 0; i < head.size(); ++i) {
        const QStringList c = head[i].split(u'|');
        const QVariant name = c[0] == u"-" ? QVariant() : QVariant(c[0]);
        const QVariant amount = c[1] == u"-" ? QVariant() : Currency::toDb(Currency::parse(c[1]));
        if (!work.exec(QStringLiteral("update w明細 set 品名 = ?, 金額 = ?, 小計 = ? where 行番号 = ?"),
                       {name, amount, c[2].toInt(), i + 1}))
            return false;
    }
    return true;
}

}  // namespace

class TestDetailLines : public QObject {
    Q_OBJECT
private slots:
    void classifyNumber_data();
    void classifyNumber();
    void typedNumberKeptAsShown_data();
    void typedNumberKeptAsShown();
    void lineAmount_data();
    void lineAmount();
    void subtotalRefusal_data();
    void subtotalRefusal();
    void lineMoves_data();
    void lineMoves();
    void failedMoveLeavesLinesAsTheyWere();
};

void TestDetailLines::classifyNumber_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("text");
    QTest::addColumn<NumberInput>("kind");
    QTest::newRow("empty") << int(数量) << "" << NumberInput::Empty;
    QTest::newRow("blanks only") << int(単価) << "  " << NumberInput::Empty;
    QTest::newRow("not a number") << int(数量) << "abc" << NumberInput::NotANumber;
    QTest::newRow("数量 at its top") << int(数量) << "999999.99" << NumberInput::Number;
    QTest::newRow("数量 beyond its top") << int(数量) << "1000000" << NumberInput::BeyondLimit;
    QTest::newRow("数量 at its bottom") << int(数量) << "-999999.99" << NumberInput::Number;
    QTest::newRow("数量 below its bottom") << int(数量) << "-999999.991" << NumberInput::BeyondLimit;
    QTest::newRow("単価 at its top") << int(単価) << "99999999.99" << NumberInput::Number;
    QTest::newRow("単価 beyond its top") << int(単価) << "99999999.991" << NumberInput::BeyondLimit;
    QTest::newRow("金額 at its top") << int(金額) << "9999999999" << NumberInput::Number;
    QTest::newRow("金額 beyond its top") << int(金額) << "9999999999.5" << NumberInput::BeyondLimit;
    QTest::newRow("金額 below its bottom") << int(金額) << "-10000000000" << NumberInput::BeyondLimit;
    QTest::newRow("単価 at its bottom") << int(単価) << "-99999999.99" << NumberInput::Number;
    QTest::newRow("単価 below its bottom") << int(単価) << "-100000000" << NumberInput::BeyondLimit;
    QTest::newRow("far beyond any money value") << int(数量) << "123456789012345678901" << NumberInput::BeyondLimit;
    QTest::newRow("full-width digits") << int(単価) << "１２３" << NumberInput::Number;
    QTest::newRow("a letter among digits") << int(単価) << "1O1" << NumberInput::NotANumber;
}

void TestDetailLines::classifyNumber()
{
    QFETCH(int, col);
    QFETCH(QString, text);
    QFETCH(NumberInput, kind);
    QCOMPARE(ClassifyNumber(col, text), kind);
}

// A typed number keeps the places its column shows, rounded as the display
// rounds (halves away from zero); the limits hold for what is kept.
void TestDetailLines::typedNumberKeptAsShown_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("decimals");  // shown by the column
    QTest::addColumn<NumberInput>("kind");
    QTest::addColumn<QString>("kept");  // "" for none
    QTest::newRow("数量 1.555 shown to 2 places") << int(数量) << "1.555" << 2 << NumberInput::Number << "1.56";
    QTest::newRow("単価 100.125 shown to 2 places") << int(単価) << "100.125" << 2 << NumberInput::Number << "100.13";
    QTest::newRow("数量 2.5 shown whole") << int(数量) << "2.5" << 0 << NumberInput::Number << "3";
    QTest::newRow("単価 -2.5 shown whole") << int(単価) << "-2.5" << 0 << NumberInput::Number << "-3";
    QTest::newRow("金額 123.45") << int(金額) << "123.45" << 0 << NumberInput::Number << "123";
    QTest::newRow("金額 0.5") << int(金額) << "0.5" << 0 << NumberInput::Number << "1";
    QTest::newRow("金額 0.49") << int(金額) << "0.49" << 0 << NumberInput::Number << "0";
    QTest::newRow("as many places as shown") << int(数量) << "1.25" << 2 << NumberInput::Number << "1.25";
    QTest::newRow("grouping and full-width digits") << int(単価) << "１,２３４.５" << 0 << NumberInput::Number << "1235";
    QTest::newRow("rounds onto the 数量 bound") << int(数量) << "-999999.994" << 2 << NumberInput::Number << "-999999.99";
    QTest::newRow("rounds past the 数量 bound") << int(数量) << "999999.995" << 2 << NumberInput::BeyondLimit << "";
    QTest::newRow("rounds past the 金額 bound") << int(金額) << "9999999999.5" << 0 << NumberInput::BeyondLimit << "";
    QTest::newRow("two signs") << int(数量) << "--5" << 2 << NumberInput::NotANumber << "";
    QTest::newRow("a letter") << int(金額) << "12a" << 0 << NumberInput::NotANumber << "";
    QTest::newRow("blank") << int(単価) << " " << 0 << NumberInput::Empty << "";
}

void TestDetailLines::typedNumberKeptAsShown()
{
    QFETCH(int, col);
    QFETCH(QString, text);
    QFETCH(int, decimals);
    QFETCH(NumberInput, kind);
    QFETCH(QString, kept);
    const TypedNumber typed = ReadTypedNumber(col, text, decimals);
    QCOMPARE(typed.input, kind);
    QCOMPARE(typed.value ? typed.value->toPlainString() : QString(), kept);
}

void TestDetailLines::lineAmount_data()
{
    QTest::addColumn<QString>("quantity");  // "" = missing
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("amount");  // "" = nothing
    QTest::newRow("no quantity") << "" << "100" << "四捨五入" << "";
    QTest::newRow("no price") << "3" << "" << "四捨五入" << "";
    QTest::newRow("whole") << "3" << "100" << "四捨五入" << "300";
    QTest::newRow("exact decimals, cut") << "0.29" << "100" << "切り捨て" << "29";
    QTest::newRow("half rounds away from zero") << "2.5" << "1" << "四捨五入" << "3";
    QTest::newRow("negative half") << "-2.5" << "1" << "四捨五入" << "-3";
    QTest::newRow("cut toward zero") << "-2.7" << "1" << "切り捨て" << "-2";
    QTest::newRow("other mode rounds up") << "2.1" << "1" << "切り上げ" << "3";
    QTest::newRow("negative, other mode") << "-2.5" << "101" << "切り上げ" << "-253";
    QTest::newRow("negative, cut") << "-2.5" << "101" << "切り捨て" << "-252";
    QTest::newRow("at the 金額 limit") << "9999999999" << "1" << "四捨五入" << "9999999999";
    QTest::newRow("rounds beyond the 金額 limit") << "9999999999.5" << "1" << "四捨五入" << "";
    QTest::newRow("product rounds onto the 金額 limit") << "1000" << "9999999.9994" << "四捨五入" << "9999999999";
    QTest::newRow("product rounds past the 金額 limit") << "1000" << "9999999.9995" << "四捨五入" << "";
    // Far beyond the 金額 limit: nothing, never a silent 0.
    QTest::newRow("product far beyond the 金額 limit gives nothing") << "10000000000" << "1" << "四捨五入" << "";
    QTest::newRow("product far below the 金額 limit gives nothing") << "999999.99" << "-99999999.99" << "四捨五入" << "";
}

void TestDetailLines::lineAmount()
{
    QFETCH(QString, quantity);
    QFETCH(QString, price);
    QFETCH(QString, mode);
    QFETCH(QString, amount);
    const auto q = quantity.isEmpty() ? std::nullopt : Currency::parse(quantity);
    const auto p = price.isEmpty() ? std::nullopt : Currency::parse(price);
    const auto got = LineAmount(q, p, mode);
    QCOMPARE(got ? got->toPlainString() : QString(), amount);
}

void TestDetailLines::subtotalRefusal_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<LineCells>("current");
    QTest::addColumn<std::optional<LineCells>>("prev");
    QTest::addColumn<std::optional<LineCells>>("next");
    QTest::addColumn<LineCells>("last");
    QTest::addColumn<QString>("refusal");  // "" = may be inserted
    const std::optional<LineCells> none;
    QTest::newRow("allowed") << 4 << kBlank << std::optional(kNamed) << std::optional(kNamed) << kBlank << "";
    QTest::newRow("allowed on a blank last line") << 100 << kBlank << std::optional(kNamed) << none << kBlank << "";
    QTest::newRow("on line 1") << 1 << kNamed << none << std::optional(kNamed) << kBlank
                               << "1行目には小計は作成できません。";
    QTest::newRow("on a subtotal line") << 4 << kSubtotal << std::optional(kNamed) << std::optional(kNamed) << kBlank
                                        << "小計行を重ねて計を作成することはできません。";
    QTest::newRow("below a subtotal line") << 5 << kNamed << std::optional(kSubtotal) << std::optional(kNamed)
                                           << kBlank << "小計の次行には小計は作成できません。";
    QTest::newRow("below a blank line") << 8 << kBlank << std::optional(kBlank) << std::optional(kBlank) << kBlank
                                        << "直前行が空白行のとき小計は作成できません。";
    QTest::newRow("above a subtotal line") << 3 << kBlank << std::optional(kNamed) << std::optional(kSubtotal)
                                           << kBlank << "小計の前行には小計は作成できません。";
    QTest::newRow("line 100 holds a line") << 2 << kNamed << std::optional(kNamed) << std::optional(kNamed)
                                           << kNamed << "100行目に入力があるため小計は作成できません。";
    QTest::newRow("line 1 comes before a subtotal below") << 1 << kNamed << none << std::optional(kSubtotal)
                                                          << kBlank << "1行目には小計は作成できません。";
    QTest::newRow("a subtotal line before a blank one") << 4 << kSubtotal << std::optional(kBlank) << none
                                                        << kBlank << "小計行を重ねて計を作成することはできません。";
}

void TestDetailLines::subtotalRefusal()
{
    QFETCH(int, n);
    QFETCH(LineCells, current);
    QFETCH(std::optional<LineCells>, prev);
    QFETCH(std::optional<LineCells>, next);
    QFETCH(LineCells, last);
    QFETCH(QString, refusal);
    QCOMPARE(SubtotalRefusal(n, current, prev, next, last).value_or(QString()), refusal);
}

void TestDetailLines::lineMoves_data()
{
    QTest::addColumn<bool>("subtotal");  // InsertSubtotalLine, else DeleteLine
    QTest::addColumn<int>("n");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("after");
    const QStringList start{"A|100|0", "B|200|0", "-|-|0", "D|400|0", "E|500|0"};
    const QStringList one{"A|100|0", "B|200|0", "-|-|0", " 小 計|300|1", "D|400|0", "E|500|0"};
    QTest::newRow("first subtotal sums from the top") << true << 4 << start << one;
    QTest::newRow("second subtotal sums after the first")
        << true << 7 << one << QStringList{one + QStringList{" 小 計|900|1"}};
    QTest::newRow("subtotal of one line")
        << true << 2 << start << QStringList{"A|100|0", " 小 計|100|1", "B|200|0", "-|-|0", "D|400|0", "E|500|0"};
    QTest::newRow("line 100 is pushed out") << true << 2 << QStringList{"A|100|0"} << QStringList{"A|100|0", " 小 計|100|1"};
    QTest::newRow("delete moves the lines below up")
        << false << 1 << start << QStringList{"B|200|0", "-|-|0", "D|400|0", "E|500|0"};
    QTest::newRow("delete a subtotal line keeps its lines")
        << false << 4 << one << start;
    QTest::newRow("delete line 100") << false << 100 << start << start;
}

void TestDetailLines::lineMoves()
{
    QFETCH(bool, subtotal);
    QFETCH(int, n);
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    TestFolder folder;
    Database work;
    QVERIFY(work.open(folder.workDbPath(), Database::Role::Work));
    QVERIFY(write(work, before));
    if (QByteArray(QTest::currentDataTag()) == "line 100 is pushed out")
        QVERIFY(work.exec(QStringLiteral("update w明細 set 品名 = 'Z' where 行番号 = 100")));

    Failure error;
    QVERIFY(subtotal ? InsertSubtotalLine(work, n, &error) : DeleteLine(work, n, &error));
    QVERIFY(error.isEmpty());
    QCOMPARE(detailLines(work), expectedLines(after));
    QCOMPARE(work.scalar(QStringLiteral("select count(*) from w明細ソート")).toInt(), 0);
}

void TestDetailLines::failedMoveLeavesLinesAsTheyWere()
{
    TestFolder folder;
    Database work;
    QVERIFY(work.open(folder.workDbPath(), Database::Role::Work));
    QVERIFY(write(work, {"A|100|0", "B|200|0"}));
    const QStringList before = detailLines(work);
    // The rewrite fails half-way, after w明細 was emptied.
    QVERIFY(work.exec(QStringLiteral(
        "create trigger fail_late before insert on w明細 when new.行番号 = 50 begin select raise(abort, 'disk full'); end")));
    for (bool subtotal : {true, false}) {
        Failure error;
        QVERIFY(!(subtotal ? InsertSubtotalLine(work, 2, &error) : DeleteLine(work, 1, &error)));
        QVERIFY2(error.logText().contains(QStringLiteral("disk full")), qPrintable(error.logText()));
        QCOMPARE(detailLines(work), before);
    }
}

QTEST_MAIN(TestDetailLines)
#include "tst_detail_lines.moc"
