#include "masters/MasterWindows.h"

#include "app/Session.h"

FrmCustomer::FrmCustomer(Session& session, QWidget* parent)
    : SecondaryWindow(QStringLiteral("Frm顧客情報"), QStringLiteral("顧客情報"), 11400, 8400, parent), session_(session)
{
}

FrmProduct::FrmProduct(Session& session, QWidget* parent)
    : SecondaryWindow(QStringLiteral("Frm商品情報"), QStringLiteral("商品情報"), 11400, 8400, parent), session_(session)
{
}
