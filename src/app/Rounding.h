#pragma once
// Money rounding by the configured mode.

#include "platform/Currency.h"

#include <QString>

// Rounds an amount to a whole number by mode: "切り捨て" (toward zero),
// "四捨五入" (halves away from zero), any other text upward away from zero
// (every fraction of 0.00001 or more), whatever its size (the amount must fit
// a Currency once rounded).
// Works on the exact decimal value: 0.29 × 100 by "切り捨て" is 29.
Currency RoundWhole(const Decimal& amount, const QString& mode);

// RoundWhole within ±9999999999.99; amounts beyond give 0.
Currency RoundAmount(const Decimal& amount, const QString& mode);
inline Currency RoundAmount(const Currency& amount, const QString& mode)
{
    return RoundAmount(Decimal::of(amount), mode);
}
