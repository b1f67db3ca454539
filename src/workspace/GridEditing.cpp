// Editing the detail grid.

#include "Velt.h"
#include "WorkTableModel.h"

void Velt::connectGridEditing()
{
}

void Velt::connectDetailGrid()
{
    // Every committed cell edit recomputes the figures.
    connect(wkDat, &WorkTableModel::cellEdited, this, [this](int, int) { Calc明細(); });
}

void Velt::Seek商品()
{
}
