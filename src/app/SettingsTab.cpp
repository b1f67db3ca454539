// The settings row, the settings record and the settings tab.

#include "Velt.h"

void Velt::connectSettings()
{
}

void Velt::Clear設定()
{
}

void Velt::Read設定()
{
}

void Velt::Entry設定()
{
}

void Velt::cmd設定登録_Click()
{
}

void Velt::cmd設定クリア_Click()
{
}
