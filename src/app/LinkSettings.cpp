// The link-source settings: which sibling application and file customers and products are imported from.

#include "Velt.h"

void Velt::connectLinkSettings()
{
}

void Velt::cmb顧客リンクアプリ_Click()
{
}

void Velt::cmb顧客リンクアプリ_Change()
{
}

void Velt::cmb商品リンクアプリ_Click()
{
}

void Velt::cmd顧客リンクパス_Click()
{
}

void Velt::cmd商品リンクパス_Click()
{
}
