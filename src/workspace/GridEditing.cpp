// Editing the detail grid.

#include "Velt.h"

void Velt::connectGridEditing()
{
}

void Velt::Seek商品()
{
}
