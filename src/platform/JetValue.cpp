#include "platform/JetValue.h"

#include "platform/Database.h"

#include <QDateTime>
#include <QRegularExpression>
#include <cmath>

namespace {

bool isCurrency(const QVariant& v)
{
    return v.metaType() == QMetaType::fromType<Currency>();
}

std::optional<qint64> wholeText(const QString& text)
{
    bool ok = false;
    const qint64 n = text.trimmed().toLongLong(&ok);
    return ok ? std::optional<qint64>(n) : std::nullopt;
}

std::optional<QVariant> parseDateTime(const QString& text)
{
    static const QRegularExpression re(QStringLiteral(
        "^(\\d{4})[-/](\\d{1,2})[-/](\\d{1,2})(?:[ T](\\d{1,2}):(\\d{2})(?::(\\d{2})(?:\\.(\\d{1,3})\\d*)?)?)?$"));
    const auto m = re.match(text.trimmed());
    if (!m.hasMatch()) return std::nullopt;
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!date.isValid()) return std::nullopt;
    if (m.captured(4).isEmpty()) return QVariant(date);
    const int ms = m.captured(7).isEmpty() ? 0 : m.captured(7).leftJustified(3, QLatin1Char('0')).toInt();
    const QTime time(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt(), ms);
    if (!time.isValid()) return std::nullopt;
    return QVariant(QDateTime(date, time));
}

}  // namespace

namespace JetValue {

std::optional<qint64> wholeNumber(double d)
{
    // 2^63 is a double; every double below it that is whole fits.
    constexpr double kLimit = 9223372036854775808.0;
    if (!std::isfinite(d) || d != std::trunc(d) || d < -kLimit || d >= kLimit) return std::nullopt;
    return qint64(d);
}

std::optional<qint64> wholeNumber(const QVariant& v)
{
    if (v.metaType().id() == QMetaType::Bool) return v.toBool() ? 1 : 0;
    if (dbv::isIntegral(v)) return v.toLongLong();
    if (isCurrency(v)) {
        const Currency c = v.value<Currency>();
        return c.isWhole() ? std::optional<qint64>(c.wholePart()) : std::nullopt;
    }
    if (v.metaType().id() == QMetaType::Double) return wholeNumber(v.toDouble());
    if (v.metaType().id() == QMetaType::QString) return wholeText(v.toString());
    return std::nullopt;
}

std::optional<bool> yesNo(const QVariant& v)
{
    const int type = v.metaType().id();
    if (type == QMetaType::Bool) return v.toBool();
    if (dbv::isIntegral(v)) return v.toLongLong() != 0;
    if (type == QMetaType::Double) return v.toDouble() != 0.0;
    if (isCurrency(v)) return v.value<Currency>().raw() != 0;
    if (type != QMetaType::QString) return std::nullopt;
    const QString s = v.toString().trimmed();
    if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) return true;
    if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) return false;
    const auto n = wholeText(s);
    return n ? std::optional<bool>(*n != 0) : std::nullopt;
}

std::optional<Currency> currency(const QVariant& v)
{
    if (v.isNull()) return std::nullopt;
    if (isCurrency(v)) return v.value<Currency>();
    if (dbv::isIntegral(v)) {
        const qint64 n = v.toLongLong();
        if (n > INT64_MAX / Currency::kScale || n < INT64_MIN / Currency::kScale) return std::nullopt;
        return Currency::fromWhole(n);
    }
    if (v.metaType().id() == QMetaType::Double) return Currency::fromDouble(v.toDouble());
    if (v.metaType().id() == QMetaType::QString) return Currency::parse(v.toString());
    return std::nullopt;
}

std::optional<QVariant> dateTime(const QString& text)
{
    // Rows read in order often repeat a date (the lines of one quotation),
    // and making a date and time costs a time-zone look-up: the last text
    // read is remembered.
    thread_local QString lastText;
    thread_local std::optional<QVariant> lastValue;
    if (text != lastText || lastText.isNull()) {
        lastValue = parseDateTime(text);
        lastText = text;
    }
    return lastValue;
}

}  // namespace JetValue
