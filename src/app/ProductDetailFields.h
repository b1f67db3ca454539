#pragma once
// The six boxes of a product-detail panel (the quotation tab's and the
// product window's), read and filled as one product.

#include "app/ProductMaster.h"

class NumberBox;
class QLineEdit;
class TextComboBox;

struct ProductDetailFields {
    QLineEdit* 品名 = nullptr;
    TextComboBox* 入数 = nullptr;
    NumberBox* 単価 = nullptr;
    TextComboBox* 単位 = nullptr;
    TextComboBox* 商品区分 = nullptr;
    QLineEdit* ふりがな = nullptr;

    // Takes what is being typed into 単価: false when the box refused it (its
    // warning shows), and the panel's 登録 stops.
    bool commitTyped() const;
    // The product as the boxes hold it, its name as the master keeps it.
    ProductDetail read() const;
    // Shows a product, in the order 品名, 入数, 単価, 単位, 商品区分, ふりがな.
    void show(const ProductDetail& product) const;
    // Empties 品名, 入数, 単価 and ふりがな; 単位 and 商品区分 follow the
    // rebuild of their lists.
    void clearTyped() const;
};
