#pragma once
// Fixed-point money: a whole number of ten-thousandths, the way amounts are
// kept in the database (INTEGER ten-thousandths). Quantities (two decimals)
// use the same type. Never route money through binary floating point except
// where a rule asks for it, and then convert exactly once (fromDouble).

#include <QString>
#include <QVariant>
#include <compare>
#include <cstdint>
#include <optional>

class Currency {
public:
    static constexpr int64_t kScale = 10000;     // four decimals
    static constexpr int kDecimals = 4;

    constexpr Currency() = default;
    static constexpr Currency fromRaw(int64_t tenThousandths) { Currency c; c.raw_ = tenThousandths; return c; }
    static constexpr Currency fromWhole(int64_t units) { return fromRaw(units * kScale); }

    // Exact decimal text: optional blanks, sign, digits with optional "," grouping,
    // optional "." and decimals. More than four decimals are rounded half to even
    // (banker's rounding to four decimals). Full-width digits are accepted.
    // Returns nothing for text that is not a number or does not fit.
    static std::optional<Currency> parse(const QString& text);

    // Round a double to four decimals, halves to even. Used only where a rule
    // forms a value in double precision.
    static std::optional<Currency> fromDouble(double value);

    // Database value (INTEGER ten-thousandths) -> Currency; NULL gives nothing.
    static std::optional<Currency> fromDb(const QVariant& v);
    // Currency -> database value; nothing -> NULL.
    static QVariant toDb(const std::optional<Currency>& c);

    constexpr int64_t raw() const { return raw_; }
    double toDouble() const { return static_cast<double>(raw_) / kScale; }
    bool isWhole() const { return raw_ % kScale == 0; }
    int64_t wholePart() const { return raw_ / kScale; }  // toward zero

    // Plain decimal text without grouping, trailing zeros dropped ("1234.5", "-3", "0").
    QString toPlainString() const;
    // Text with a fixed number of decimals (rounded half away from zero) and optional grouping.
    QString toString(int decimals, bool grouping) const;

    constexpr Currency operator-() const { return fromRaw(-raw_); }
    constexpr Currency operator+(Currency o) const { return fromRaw(raw_ + o.raw_); }
    constexpr Currency operator-(Currency o) const { return fromRaw(raw_ - o.raw_); }
    Currency& operator+=(Currency o) { raw_ += o.raw_; return *this; }
    Currency& operator-=(Currency o) { raw_ -= o.raw_; return *this; }
    constexpr auto operator<=>(const Currency&) const = default;

private:
    int64_t raw_ = 0;
};

// An exact decimal with more places than Currency, for intermediate results
// (quantity x unit price has eight decimals, a tax product six).
struct Decimal {
    __int128 units = 0;  // value * 10^scale
    int scale = 0;

    static Decimal of(Currency c) { return {c.raw(), Currency::kDecimals}; }
    static Decimal product(Currency a, Currency b) {
        return {static_cast<__int128>(a.raw()) * b.raw(), 2 * Currency::kDecimals};
    }
    static std::optional<Decimal> parse(const QString& text);  // any number of decimals (up to 18)
    Decimal rescaled(int newScale) const;  // only to a larger or equal scale
    // To at most `decimals` places, halves away from zero (as a display format shows it).
    Decimal rounded(int decimals) const;
    int sign() const { return units > 0 ? 1 : (units < 0 ? -1 : 0); }
    // Toward zero, to a whole number; fits when |value| < 2^63 / 10^4.
    __int128 truncated() const;
    int compare(const Decimal& o) const;
};

Decimal operator+(const Decimal& a, const Decimal& b);
Decimal operator-(const Decimal& a, const Decimal& b);
