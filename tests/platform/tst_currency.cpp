#include "platform/Currency.h"
#include "platform/EraDate.h"
#include "platform/NumberFormat.h"

#include <QtTest>

class TestCurrency : public QObject {
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void format_data();
    void format();
    void eraFormats_data();
    void eraFormats();
    void eraParse_data();
    void eraParse();
};

void TestCurrency::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<qlonglong>("raw");
    QTest::newRow("whole") << "1234" << true << 12340000LL;
    QTest::newRow("grouped") << "1,234.5" << true << 12345000LL;
    QTest::newRow("negative") << "-0.29" << true << -2900LL;
    QTest::newRow("blanks") << "  7 " << true << 70000LL;
    QTest::newRow("full-width") << "１２３．４" << true << 1234000LL;
    QTest::newRow("fifth decimal half to even down") << "0.00005" << true << 0LL;
    QTest::newRow("fifth decimal half to even up") << "0.00015" << true << 2LL;
    QTest::newRow("near the limit") << "900000000000000" << true << 9000000000000000000LL;
    QTest::newRow("too large") << "99999999999999999" << false << 0LL;
    QTest::newRow("letters") << "12a" << false << 0LL;
    QTest::newRow("empty") << "" << false << 0LL;
    QTest::newRow("two points") << "1.2.3" << false << 0LL;
    QTest::newRow("grouped millions") << "-12,345,678.9" << true << -123456789000LL;
    QTest::newRow("comma typed for a point") << "1,5" << false << 0LL;
    QTest::newRow("group of four") << "1,2345" << false << 0LL;
    QTest::newRow("first group of four") << "1234,567" << false << 0LL;
    QTest::newRow("comma before the point") << "1,.5" << false << 0LL;
    QTest::newRow("leading comma") << ",123" << false << 0LL;
    QTest::newRow("sign only") << "-" << false << 0LL;
}

void TestCurrency::parse()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(qlonglong, raw);
    const auto c = Currency::parse(text);
    QCOMPARE(c.has_value(), ok);
    if (ok) QCOMPARE(c->raw(), raw);
}

void TestCurrency::format_data()
{
    QTest::addColumn<qlonglong>("raw");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("shown");
    QTest::newRow("#,### rounds half up") << 12345000LL << "#,###" << "1,235";
    QTest::newRow("Standard") << 12345000LL << "Standard" << "1,234.50";
    QTest::newRow("negative") << -98765430000LL << "#,###" << "-9,876,543";
    QTest::newRow("zero") << 0LL << "#,###" << "0";
    QTest::newRow("no grouping") << 123456780000LL << "####0" << "12345678";
}

void TestCurrency::format()
{
    QFETCH(qlonglong, raw);
    QFETCH(QString, pattern);
    QFETCH(QString, shown);
    QCOMPARE(NumberFormat::format(Currency::fromRaw(raw), pattern), shown);
}

void TestCurrency::eraFormats_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("shown");
    QTest::newRow("last Showa day") << QDate(1989, 1, 7) << "gggee年mm月dd日" << "昭和64年01月07日";
    QTest::newRow("first Heisei day") << QDate(1989, 1, 8) << "gggee年mm月dd日" << "平成01年01月08日";
    QTest::newRow("last Heisei day") << QDate(2019, 4, 30) << "gee/mm/dd" << "H31/04/30";
    QTest::newRow("first Reiwa day") << QDate(2019, 5, 1) << "gee/mm/dd" << "R01/05/01";
    QTest::newRow("filter box") << QDate(2026, 12, 9) << "ggg ee年mm月dd日" << "令和 08年12月09日";
    QTest::newRow("western") << QDate(2026, 12, 9) << "yyyy年mm月dd日" << "2026年12月09日";
    QTest::newRow("heading") << QDate(2019, 5, 1) << "ggg ee年 mm月" << "令和 01年 05月";
}

void TestCurrency::eraFormats()
{
    QFETCH(QDate, date);
    QFETCH(QString, pattern);
    QFETCH(QString, shown);
    QCOMPARE(EraDate::format(date, pattern), shown);
}

void TestCurrency::eraParse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date");  // invalid: refused
    QTest::newRow("eight digits") << "20261209" << QDate(2026, 12, 9);
    QTest::newRow("slashes") << "2026/1/2" << QDate(2026, 1, 2);
    QTest::newRow("era full") << "令和8年12月9日" << QDate(2026, 12, 9);
    QTest::newRow("era initial") << "H31.4.30" << QDate(2019, 4, 30);
    QTest::newRow("gannen") << "平成元年1月8日" << QDate(1989, 1, 8);
    QTest::newRow("shown form") << "令和 08年12月09日" << QDate(2026, 12, 9);
    QTest::newRow("beyond the era") << "H31.5.1" << QDate();
    QTest::newRow("before the era") << "R1.4.30" << QDate();
    QTest::newRow("no such day") << "2026/2/30" << QDate();
    QTest::newRow("words") << "tomorrow" << QDate();
}

void TestCurrency::eraParse()
{
    QFETCH(QString, text);
    QFETCH(QDate, date);
    const auto d = EraDate::parse(text);
    QCOMPARE(d.has_value(), date.isValid());
    if (d) QCOMPARE(*d, date);
}

QTEST_MAIN(TestCurrency)
#include "tst_currency.moc"
