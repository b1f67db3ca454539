// Line and total calculation.

#include "Velt.h"

void Velt::Calc明細()
{
}
