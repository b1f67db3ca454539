// Subtotal lines and line deletion.

#include "Velt.h"

void Velt::connectSubtotals()
{
}

void Velt::Create小計()
{
}

void Velt::LineDelete()
{
}

void Velt::cmd小計_Click()
{
}

void Velt::cmd行削除_Click()
{
}
