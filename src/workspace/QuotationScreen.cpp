// The quotation screen: resetting the header and the 100 detail lines.

#include "Velt.h"

void Velt::connectQuotationScreen()
{
}

void Velt::Clear明細ワーク()
{
}

void Velt::Clear見積書(bool all)
{
}

void Velt::AddCmb顧客名()
{
}

void Velt::cmdクリア_Click()
{
}
