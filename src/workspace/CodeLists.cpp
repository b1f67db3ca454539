// The pick lists of the quotation tab, copied from the product master and the code lists.

#include "Velt.h"

void Velt::SetDD品名()
{
}

void Velt::Readコード表(const QString& kind)
{
}
