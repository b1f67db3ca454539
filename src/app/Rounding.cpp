#include "app/Rounding.h"

namespace {

const Decimal kLimit{999999999999, 2};  // 9999999999.99

// RoundAmount rounds an amount within ±9999999999.99 (both limits included).
bool withinRoundingLimits(const Decimal& amount)
{
    return amount.compare(kLimit) <= 0 && amount.compare(Decimal{-kLimit.units, kLimit.scale}) >= 0;
}

}  // namespace

Currency RoundAmount(const Decimal& a, const QString& mode)
{
    return withinRoundingLimits(a) ? RoundWhole(a, mode) : Currency();
}

Currency RoundWhole(const Decimal& a, const QString& mode)
{
    Decimal shifted = a;
    const bool positive = a.sign() > 0;  // zero goes with the negative amounts
    if (mode == QStringLiteral("切り捨て")) {
        // The nudge kept from the binary-floating-point days is harmless on exact values
        // and keeps an amount a hair below a whole number on that number.
        if (positive) shifted = a + Decimal{1, 8};
    } else if (mode == QStringLiteral("四捨五入")) {
        shifted = positive ? a + Decimal{5, 1} : a - Decimal{5, 1};
    } else {
        shifted = positive ? a + Decimal{99999, 5} : a - Decimal{99999, 5};
    }
    return Currency::fromWhole(static_cast<int64_t>(shifted.truncated()));
}
