#pragma once
// What the quotation tab asks of the other two tabs. The history tab and the
// settings tab implement these; the quotation tab never touches their controls.

#include <QString>
#include <QStringList>

class HistoryList {
public:
    virtual ~HistoryList() = default;
    // The customer names of the history filter's list.
    virtual void setCustomerNames(const QStringList& names) = 0;
    // Empties the history list (w履歴リスト and its grid).
    virtual void Clear履歴() = 0;
};

// What the settings tab shows now, stored or not: the tax rounding that the
// totals use and the seal titles that a fresh quotation takes.
class ShownSettings {
public:
    virtual ~ShownSettings() = default;
    // The text of cmb税端数.
    virtual QString shownTaxRounding() const = 0;
    // The text of txt印鑑タイトル1 .. 4 (index 0 .. 3).
    virtual QString shownSealTitle(int index) const = 0;
};
