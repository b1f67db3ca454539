// The history list of stored quotations.

#include "Velt.h"

void Velt::connectHistory()
{
}

void Velt::Read見積履歴()
{
}

void Velt::Clear履歴()
{
}

void Velt::Delete履歴()
{
}

void Velt::cmd読込_Click()
{
}

void Velt::cmd履歴削除_Click()
{
}

void Velt::cmd履歴クリア_Click()
{
}

void Velt::cmd見積書_Click()
{
}
