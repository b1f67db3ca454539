// Customer look-ups and the Enter chain of the quotation header.

#include "Velt.h"

void Velt::connectCustomerLookup()
{
}

void Velt::Seek顧客情報()
{
}

void Velt::cmb顧客名_LostFocus()
{
}

void Velt::cmd顧客参照_Click()
{
}

void Velt::cmd郵便_Click()
{
}
