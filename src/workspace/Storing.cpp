// Storing a quotation.

#include "Velt.h"

void Velt::connectStoring()
{
}

void Velt::cmd登録_Click()
{
}

bool Velt::EntryCheck()
{
    return false;
}

void Velt::Entry見積書()
{
}

void Velt::AutoEntry顧客マスタ(const QString& name)
{
}

void Velt::AutoEntry商品()
{
}
