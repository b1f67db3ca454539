#include "platform/Currency.h"

#include <QLocale>
#include <cmath>
#include <limits>

namespace {

__int128 pow10i(int n)
{
    __int128 r = 1;
    for (int i = 0; i < n; ++i) r *= 10;
    return r;
}

// Divide rounding halves to even.
__int128 divHalfEven(__int128 num, __int128 den)
{
    const bool neg = (num < 0) != (den < 0);
    __int128 a = num < 0 ? -num : num;
    const __int128 b = den < 0 ? -den : den;
    __int128 q = a / b;
    const __int128 r = a % b;
    if (r * 2 > b || (r * 2 == b && (q % 2) == 1)) ++q;
    return neg ? -q : q;
}

// Divide rounding halves away from zero.
__int128 divHalfUp(__int128 num, __int128 den)
{
    const bool neg = (num < 0) != (den < 0);
    __int128 a = num < 0 ? -num : num;
    const __int128 b = den < 0 ? -den : den;
    __int128 q = a / b;
    if ((a % b) * 2 >= b) ++q;
    return neg ? -q : q;
}

QChar normalizeChar(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'０' && u <= u'９') return QChar(u - u'０' + u'0');
    switch (u) {
    case u'－': case u'−': return QChar('-');
    case u'＋': return QChar('+');
    case u'．': return QChar('.');
    case u'，': return QChar(',');
    case u'　': return QChar(' ');
    default: return c;
    }
}

struct Parsed {
    bool negative = false;
    __int128 digits = 0;  // value * 10^decimals
    int decimals = 0;
};

std::optional<Parsed> parseDecimalText(const QString& input, int maxDecimals)
{
    QString t;
    t.reserve(input.size());
    for (QChar c : input) t.append(normalizeChar(c));
    t = t.trimmed();
    if (t.isEmpty()) return std::nullopt;
    Parsed p;
    int i = 0;
    if (t[i] == '-' || t[i] == '+') {
        p.negative = t[i] == '-';
        ++i;
        while (i < t.size() && t[i] == ' ') ++i;
    }
    bool anyDigit = false;
    bool inFraction = false;
    // A comma is read only as a thousands separator: 1 to 3 digits before the
    // first one and exactly 3 after each, so "1,5" (a mistyped 1.5) is no number.
    bool grouped = false;
    int groupDigits = 0;  // digits of the whole part since the last comma
    const __int128 limit = pow10i(36);
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c.isDigit() && c.unicode() < 128) {
            if (inFraction) {
                if (p.decimals >= maxDecimals) return std::nullopt;
                ++p.decimals;
            } else {
                ++groupDigits;
            }
            p.digits = p.digits * 10 + (c.unicode() - '0');
            if (p.digits > limit) return std::nullopt;
            anyDigit = true;
        } else if (c == ',' && !inFraction) {
            if (groupDigits == 0 || groupDigits > 3 || (grouped && groupDigits != 3)) return std::nullopt;
            grouped = true;
            groupDigits = 0;
        } else if (c == '.' && !inFraction) {
            if (grouped && groupDigits != 3) return std::nullopt;
            inFraction = true;
        } else {
            return std::nullopt;
        }
    }
    if (!anyDigit) return std::nullopt;
    if (grouped && !inFraction && groupDigits != 3) return std::nullopt;
    return p;
}

}  // namespace

std::optional<Currency> Currency::parse(const QString& text)
{
    const auto p = parseDecimalText(text, 18);
    if (!p) return std::nullopt;
    __int128 v = p->digits;
    if (p->decimals > kDecimals) {
        v = divHalfEven(v, pow10i(p->decimals - kDecimals));
    } else {
        v *= pow10i(kDecimals - p->decimals);
    }
    if (p->negative) v = -v;
    if (v > std::numeric_limits<int64_t>::max() || v < std::numeric_limits<int64_t>::min())
        return std::nullopt;
    return fromRaw(static_cast<int64_t>(v));
}

std::optional<Currency> Currency::fromDouble(double value)
{
    if (!std::isfinite(value)) return std::nullopt;
    const long double scaled = static_cast<long double>(value) * kScale;
    if (scaled > 9.2e18L || scaled < -9.2e18L) return std::nullopt;
    // Banker's rounding to four decimals (halves to even: the default rounding
    // mode; rint, as nearbyint without its slow
    // saving of the floating-point flags, which nothing here reads).
    const long double r = std::rint(scaled);
    return fromRaw(static_cast<int64_t>(r));
}

std::optional<Currency> Currency::fromDb(const QVariant& v)
{
    if (v.isNull() || !v.isValid()) return std::nullopt;
    bool ok = false;
    const qlonglong n = v.toLongLong(&ok);
    if (ok) return fromRaw(n);
    return std::nullopt;
}

QVariant Currency::toDb(const std::optional<Currency>& c)
{
    if (!c) return QVariant();
    return QVariant::fromValue<qlonglong>(c->raw());
}

QString Currency::toPlainString() const
{
    const bool neg = raw_ < 0;
    const unsigned long long a = neg ? 0ULL - static_cast<unsigned long long>(raw_)
                                     : static_cast<unsigned long long>(raw_);
    QString s = QString::number(a / kScale);
    unsigned long long frac = a % kScale;
    if (frac != 0) {
        QString f = QString::number(frac).rightJustified(kDecimals, '0');
        while (f.endsWith('0')) f.chop(1);
        s += '.' + f;
    }
    return neg ? '-' + s : s;
}

QString Currency::toString(int decimals, bool grouping) const
{
    decimals = std::clamp(decimals, 0, kDecimals);
    const __int128 v = divHalfUp(raw_, pow10i(kDecimals - decimals));
    const bool neg = v < 0;
    const __int128 a = neg ? -v : v;
    const __int128 div = pow10i(decimals);
    QString whole = QString::number(static_cast<qulonglong>(a / div));
    if (grouping) {
        for (int pos = whole.size() - 3; pos > 0; pos -= 3) whole.insert(pos, ',');
    }
    QString s = whole;
    if (decimals > 0) {
        s += '.' + QString::number(static_cast<qulonglong>(a % div)).rightJustified(decimals, '0');
    }
    return neg ? '-' + s : s;
}

std::optional<Decimal> Decimal::parse(const QString& text)
{
    const auto p = parseDecimalText(text, 18);
    if (!p) return std::nullopt;
    return Decimal{p->negative ? -p->digits : p->digits, p->decimals};
}

Decimal Decimal::rescaled(int newScale) const
{
    if (newScale <= scale) return *this;
    return {units * pow10i(newScale - scale), newScale};
}

Decimal Decimal::rounded(int decimals) const
{
    if (decimals < 0 || scale <= decimals) return *this;
    return {divHalfUp(units, pow10i(scale - decimals)), decimals};
}

__int128 Decimal::truncated() const
{
    return units / pow10i(scale);
}

int Decimal::compare(const Decimal& o) const
{
    const int s = std::max(scale, o.scale);
    const __int128 a = rescaled(s).units;
    const __int128 b = o.rescaled(s).units;
    return a < b ? -1 : (a > b ? 1 : 0);
}

Decimal operator+(const Decimal& a, const Decimal& b)
{
    const int s = std::max(a.scale, b.scale);
    return {a.rescaled(s).units + b.rescaled(s).units, s};
}

Decimal operator-(const Decimal& a, const Decimal& b)
{
    const int s = std::max(a.scale, b.scale);
    return {a.rescaled(s).units - b.rescaled(s).units, s};
}
