// Quotation numbering and copying a quotation as a new one.

#include "Velt.h"

void Velt::connectNumbering()
{
}

QVariant Velt::Proc管理(const QString& item, const QString& mode, const QVariant& value)
{
    return QString();
}

void Velt::Tenki見積書()
{
}

void Velt::cmd転記_Click()
{
}
