#pragma once
// The lists the quotation tab's parts pick from: the code lists, copied from
// the code master into the detail grid's drop-downs, the product-detail
// panel and the header, and the customer names of the header and the history
// filter. (The product list is the detail grid's own: DetailGrid::SetDD品名.)

#include <QString>

class DetailGrid;
class HeaderPanel;
class HistoryList;
class ProductDetailPanel;
class Session;

class PickLists {
public:
    PickLists(Session& session, HeaderPanel& header, DetailGrid& grid, ProductDetailPanel& productPanel,
              HistoryList& history);

    // Reads the code lists of kind `kind` ("すべて": every one) into the
    // parts; a text already typed into a box stays.
    void Readコード表(const QString& kind);
    // The customer names into the header's and the history filter's lists;
    // with no customer at all both lists stay as they were.
    void AddCmb顧客名();

private:
    Session& session_;
    HeaderPanel& header_;
    DetailGrid& grid_;
    ProductDetailPanel& productPanel_;
    HistoryList& history_;
};
