// Loading, browsing and deleting a quotation.

#include "Velt.h"

void Velt::connectLoading()
{
}

void Velt::txtNo_Commit()
{
}

void Velt::Read見積書()
{
}

bool Velt::Read見積書ヘッダ()
{
    return false;
}

void Velt::Delete見積書()
{
}

void Velt::cmd次伝票_Click()
{
}

void Velt::cmd前伝票_Click()
{
}

void Velt::cmd削除_Click()
{
}
