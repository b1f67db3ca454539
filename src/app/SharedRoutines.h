#pragma once
// Small routines shared by the windows: money rounding by the configured mode,
// registering a typed value in the first free slot of a code list, postal-code
// formatting, Japanese input on/off, and the file and colour dialogs.

#include "Currency.h"

#include <QString>

// Rounds an amount to a whole number by mode: "切り捨て" (toward zero),
// "四捨五入" (halves away from zero), any other text upward away from zero
// (every fraction of 0.00001 or more). Amounts beyond ±9999999999.99 give 0.
// Works on the exact decimal value: 0.29 × 100 by "切り捨て" is 29.
Currency RoundAmount(const Decimal& amount, const QString& mode);
inline Currency RoundAmount(const Currency& amount, const QString& mode)
{
    return RoundAmount(Decimal::of(amount), mode);
}
// True when RoundAmount rounds the amount (it is within ±9999999999.99).
bool WithinRoundingLimits(const Decimal& amount);

class QWidget;

// Registers value in the first free slot of the code kind kcode; true when it
// was written (false when already there, no free slot, or no such kind).
bool AutoEntryCode(const QString& kcode, const QString& value);
// Japanese input on or off for a control (best effort).
void SetImeOpen(QWidget*, bool);
