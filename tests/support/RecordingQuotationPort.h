#pragma once
// A quotation port that records what a window writes into the quotation and
// shows the header a test gives it, for a window or the print road tested
// without the main window. What the real quotation tab does with a pick, and
// what it shows, is the quotation's own tests'.

#include "app/QuotationPort.h"

#include <QList>
#include <QStringList>

class RecordingQuotationPort : public QuotationPort {
public:
    void pickCustomer(const QString& name, const QString& block) override { customerPicks << QStringList{name, block}; }
    bool pickProduct(const ProductPick& pick) override
    {
        productPicks << pick;
        return acceptProducts;
    }
    void setCustomerName(const QString& name) override { customerNames << name; }
    ShownQuotation shownQuotation() const override { return shown; }
    void focusDetailGrid() override { ++detailGridFocused; }

    QList<QStringList> customerPicks;  // {name, block}
    QList<ProductPick> productPicks;
    QStringList customerNames;
    ShownQuotation shown;  // what shownQuotation() answers
    int detailGridFocused = 0;
    bool acceptProducts = true;  // what pickProduct answers
};
