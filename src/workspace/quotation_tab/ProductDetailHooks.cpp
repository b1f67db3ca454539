// The quotation tab's side of the product-detail panel: 商品詳細 opens it on
// the current detail line, and the panel writes its product back into that line.

#include "platform/GridView.h"
#include "platform/WorkTableModel.h"
#include "workspace/DetailLines.h"
#include "workspace/quotation_tab/QuotationTab.h"
#include "workspace/quotation_tab/ProductDetailPanel.h"

#include <QPushButton>

using namespace DetailLine;

void QuotationTab::connectProductPanel()
{
    connect(cmd商品詳細, &QPushButton::clicked, this, &QuotationTab::cmd商品詳細_Click);
    connect(productPanel_, &ProductDetailPanel::codeListsRequested, this,
            [this] { Readコード表(QStringLiteral("すべて")); });
    connect(productPanel_, &ProductDetailPanel::closed, this, &QuotationTab::focusDetailGrid);
    ProductDetailPanel::Line line;
    line.current = [this]() -> std::optional<int> {
        const int row = std::max(0, Grid明細->currentRow());
        if (!wkDat || row >= wkDat->rowCount()) return std::nullopt;
        return row;
    };
    line.isSubtotal = [this](int row) { return isSubtotalLine(row); };
    line.write = [this](int row, const ProductDetail& product) {
        const bool written = wkDat->setValues(row, {{品名, product.品名},
                                                    {入数, dbv::textOrNull(product.入数)},
                                                    {単価, product.単価 ? QVariant::fromValue(*product.単価) : QVariant()},
                                                    {単位, dbv::textOrNull(product.単位)},
                                                    {商品区分, dbv::textOrNull(product.商品区分)},
                                                    {ふりがな, dbv::textOrNull(product.ふりがな)}});
        if (!written) return false;
        // The price counts as a typed one: the line's amount and the totals follow it.
        takeLineAmount(row);
        Calc明細();
        return true;
    };
    productPanel_->setLine(std::move(line));
}

void QuotationTab::cmd商品詳細_Click()
{
    if (!wkDat) return;
    const int row = std::max(0, Grid明細->currentRow());
    if (row >= wkDat->rowCount()) return;
    if (isSubtotalLine(row)) return;  // subtotal lines have no product
    auto text = [&](int col) { return dbv::text(wkDat->value(row, col)); };
    productPanel_->showProduct({text(品名), text(入数), wkDat->money(row, 単価), text(単位), text(商品区分), text(ふりがな)});
}
