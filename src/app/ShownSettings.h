#pragma once
// What the other tabs read from the settings tab as it shows now, stored or
// not: the tax rounding that the totals use and the seal titles that a fresh
// quotation takes. The settings tab implements it; no other tab touches its
// controls.

#include <QString>

class ShownSettings {
public:
    virtual ~ShownSettings() = default;
    // The text of cmb税端数.
    virtual QString shownTaxRounding() const = 0;
    // The text of txt印鑑タイトル1 .. 4 (index 0 .. 3).
    virtual QString shownSealTitle(int index) const = 0;
};
