// Wiping all business data, and the schema upgrade of the data database.

#include "Velt.h"

void Velt::connectMaintenance()
{
}

void Velt::Data初期化()
{
}

void Velt::cmd初期化_Click()
{
}

void Velt::CreateNewTable()
{
}
