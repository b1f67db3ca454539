#include "app/ProductDetailFields.h"

#include "platform/Controls.h"

bool ProductDetailFields::commitTyped() const
{
    return 単価->commitTyped();
}

ProductDetail ProductDetailFields::read() const
{
    ProductDetail p;
    p.品名 = ProductMasterName(品名->text());
    p.入数 = 入数->text();
    p.単価 = 単価->value();
    p.単位 = 単位->text();
    p.商品区分 = 商品区分->text();
    p.ふりがな = ふりがな->text();
    return p;
}

void ProductDetailFields::show(const ProductDetail& product) const
{
    品名->setText(product.品名);
    入数->setText(product.入数);
    単価->setValue(product.単価);
    単位->setText(product.単位);
    商品区分->setText(product.商品区分);
    ふりがな->setText(product.ふりがな);
}

void ProductDetailFields::clearTyped() const
{
    品名->clear();
    入数->setText(QString());
    単価->setNull();
    ふりがな->clear();
}
