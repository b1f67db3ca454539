#pragma once
// What the quotation tab asks of the history tab. The history tab implements
// it; the quotation tab never touches the history tab's controls.

#include <QStringList>

class HistoryList {
public:
    virtual ~HistoryList() = default;
    // The customer names of the history filter's list.
    virtual void setCustomerNames(const QStringList& names) = 0;
    // Empties the history list (w履歴リスト and its grid).
    virtual void Clear履歴() = 0;
};
