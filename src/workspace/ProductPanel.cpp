// The product-detail panel of the quotation tab.

#include "Velt.h"

void Velt::connectProductPanel()
{
}

void Velt::cmd商品詳細_Click()
{
}

void Velt::Entry商品詳細()
{
}

void Velt::cmd顧客詳細登録_Click()
{
}

void Velt::cmd顧客詳細クリア_Click()
{
}

void Velt::cmd顧客詳細閉じる_Click()
{
}
