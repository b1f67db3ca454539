// The values of Jet's kinds as every reader of an older or linked file
// takes them: whole numbers (to the edge of qint64), yes/no, currency and
// dates, from each type a reader holds.

#include "platform/JetValue.h"

#include <QDateTime>
#include <QtTest>
#include <limits>

namespace {

QVariant money(qint64 raw)
{
    return QVariant::fromValue(Currency::fromRaw(raw));
}

const QVariant kNothing = QVariant::fromValue(QStringLiteral("(nothing)"));

template <typename T>
QVariant shown(const std::optional<T>& v)
{
    return v ? QVariant::fromValue(*v) : kNothing;
}

}  // namespace

class TestJetValue : public QObject {
    Q_OBJECT
private slots:
    void wholeNumber_data();
    void wholeNumber();
    void yesNo_data();
    void yesNo();
    void currency_data();
    void currency();
    void dateTime_data();
    void dateTime();
};

void TestJetValue::wholeNumber_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("expected");  // qint64, or kNothing
    constexpr qint64 kMin = std::numeric_limits<qint64>::min();
    QTest::newRow("whole number") << QVariant(qint64(-42)) << QVariant(qint64(-42));
    QTest::newRow("int") << QVariant(7) << QVariant(qint64(7));
    QTest::newRow("yes") << QVariant(true) << QVariant(qint64(1));
    QTest::newRow("no") << QVariant(false) << QVariant(qint64(0));
    QTest::newRow("whole currency") << money(50000) << QVariant(qint64(5));
    QTest::newRow("currency with decimals") << money(50001) << kNothing;
    QTest::newRow("whole double") << QVariant(7.0) << QVariant(qint64(7));
    QTest::newRow("fraction") << QVariant(1.5) << kNothing;
    // qint64 holds -2^63 .. 2^63 - 1: 2^63 itself is the first double past it.
    QTest::newRow("the largest double below 2^63")
        << QVariant(9223372036854774784.0) << QVariant(qint64(9223372036854774784LL));
    QTest::newRow("2^63") << QVariant(9223372036854775808.0) << kNothing;
    QTest::newRow("-2^63") << QVariant(-9223372036854775808.0) << QVariant(kMin);
    QTest::newRow("below -2^63") << QVariant(-9223372036854777856.0) << kNothing;
    QTest::newRow("9.1e18, which fits") << QVariant(9.1e18) << QVariant(qint64(9100000000000000000LL));
    QTest::newRow("1e19") << QVariant(1e19) << kNothing;
    QTest::newRow("infinity") << QVariant(std::numeric_limits<double>::infinity()) << kNothing;
    QTest::newRow("not a number") << QVariant(std::numeric_limits<double>::quiet_NaN()) << kNothing;
    QTest::newRow("text with blanks around") << QVariant(QStringLiteral(" 42 ")) << QVariant(qint64(42));
    QTest::newRow("text of a fraction") << QVariant(QStringLiteral("4.0")) << kNothing;
    QTest::newRow("text that is no number") << QVariant(QStringLiteral("四十二")) << kNothing;
    QTest::newRow("bytes") << QVariant(QByteArray("42")) << kNothing;
    QTest::newRow("Null") << QVariant() << kNothing;
}

void TestJetValue::wholeNumber()
{
    QFETCH(QVariant, value);
    QFETCH(QVariant, expected);
    QCOMPARE(shown(JetValue::wholeNumber(value)), expected);
}

void TestJetValue::yesNo_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("expected");  // bool, or kNothing
    QTest::newRow("yes") << QVariant(true) << QVariant(true);
    QTest::newRow("Jet's yes, -1") << QVariant(qint64(-1)) << QVariant(true);
    QTest::newRow("0") << QVariant(qint64(0)) << QVariant(false);
    QTest::newRow("2.5") << QVariant(2.5) << QVariant(true);
    QTest::newRow("0.0") << QVariant(0.0) << QVariant(false);
    QTest::newRow("currency of a ten-thousandth") << money(1) << QVariant(true);
    QTest::newRow("currency of 0") << money(0) << QVariant(false);
    QTest::newRow("True") << QVariant(QStringLiteral("True")) << QVariant(true);
    QTest::newRow(" FALSE ") << QVariant(QStringLiteral(" FALSE ")) << QVariant(false);
    QTest::newRow("text -1") << QVariant(QStringLiteral("-1")) << QVariant(true);
    QTest::newRow("text 0 with blanks") << QVariant(QStringLiteral(" 0 ")) << QVariant(false);
    QTest::newRow("yes in other words") << QVariant(QStringLiteral("yes")) << kNothing;
    QTest::newRow("はい") << QVariant(QStringLiteral("はい")) << kNothing;
    QTest::newRow("text of a fraction") << QVariant(QStringLiteral("0.5")) << kNothing;
    QTest::newRow("bytes") << QVariant(QByteArray("true")) << kNothing;
    QTest::newRow("Null") << QVariant() << kNothing;
}

void TestJetValue::yesNo()
{
    QFETCH(QVariant, value);
    QFETCH(QVariant, expected);
    QCOMPARE(shown(JetValue::yesNo(value)), expected);
}

void TestJetValue::currency_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("expected");  // raw ten-thousandths (qint64), or kNothing
    QTest::newRow("currency") << money(123) << QVariant(qint64(123));
    QTest::newRow("whole number") << QVariant(qint64(250)) << QVariant(qint64(2500000));
    QTest::newRow("largest whole number") << QVariant(qint64(922337203685477LL)) << QVariant(qint64(9223372036854770000LL));
    QTest::newRow("whole number too large") << QVariant(qint64(922337203685478LL)) << kNothing;
    QTest::newRow("double rounded once") << QVariant(1.23456) << QVariant(qint64(12346));
    // 1/32 and 3/32 are exact doubles lying on half a ten-thousandth.
    QTest::newRow("exact half to even, down") << QVariant(0.03125) << QVariant(qint64(312));
    QTest::newRow("exact half to even, up") << QVariant(0.09375) << QVariant(qint64(938));
    QTest::newRow("negative exact half") << QVariant(-0.03125) << QVariant(qint64(-312));
    QTest::newRow("double too large") << QVariant(1e300) << kNothing;
    QTest::newRow("decimal text") << QVariant(QStringLiteral("1,234.5678")) << QVariant(qint64(12345678));
    QTest::newRow("text that is no number") << QVariant(QStringLiteral("千円")) << kNothing;
    QTest::newRow("yes") << QVariant(true) << kNothing;
    QTest::newRow("Null") << QVariant() << kNothing;
}

void TestJetValue::currency()
{
    QFETCH(QVariant, value);
    QFETCH(QVariant, expected);
    const auto c = JetValue::currency(value);
    QCOMPARE(c ? QVariant(qint64(c->raw())) : kNothing, expected);
}

void TestJetValue::dateTime_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QVariant>("expected");  // QDate, QDateTime, or kNothing
    const QDate d(2004, 3, 9);
    QTest::newRow("date") << "2004-03-09" << QVariant(d);
    QTest::newRow("date with slashes, one digit") << "2004/3/9" << QVariant(d);
    QTest::newRow("blanks around") << " 2004-03-09 " << QVariant(d);
    QTest::newRow("hours and minutes") << "2004-03-09 13:05" << QVariant(QDateTime(d, QTime(13, 5)));
    QTest::newRow("one-digit hour, T") << "2004-03-09T9:05:59" << QVariant(QDateTime(d, QTime(9, 5, 59)));
    QTest::newRow("midnight stays a time") << "2004-03-09 00:00:00" << QVariant(QDateTime(d, QTime(0, 0)));
    QTest::newRow("tenths") << "2004-03-09 13:05:59.5" << QVariant(QDateTime(d, QTime(13, 5, 59, 500)));
    QTest::newRow("past the millisecond, cut") << "2004-03-09 13:05:59.1239"
                                               << QVariant(QDateTime(d, QTime(13, 5, 59, 123)));
    QTest::newRow("a day that does not exist") << "2004-02-30" << kNothing;
    QTest::newRow("an hour that does not exist") << "2004-03-09 24:00" << kNothing;
    QTest::newRow("a point without digits") << "2004-03-09 13:05:59." << kNothing;
    QTest::newRow("a zone") << "2004-03-09T13:05:59Z" << kNothing;
    QTest::newRow("two-digit year") << "04-03-09" << kNothing;
    QTest::newRow("Japanese words") << "2004年3月9日" << kNothing;
    QTest::newRow("empty") << "" << kNothing;
}

void TestJetValue::dateTime()
{
    QFETCH(QString, text);
    QFETCH(QVariant, expected);
    // Twice: the second read comes from the remembered last text.
    for (int i = 0; i < 2; ++i) QCOMPARE(JetValue::dateTime(text).value_or(kNothing), expected);
}

QTEST_GUILESS_MAIN(TestJetValue)
#include "tst_jet_value.moc"
