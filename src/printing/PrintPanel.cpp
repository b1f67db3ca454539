// The print panel of the quotation tab.

#include "Velt.h"

void Velt::connectPrintPanel()
{
}

void Velt::cmd印刷_Click()
{
}
