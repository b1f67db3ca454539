#include "masters/MasterWindows.h"

#include "app/Session.h"

FrmCustomer::FrmCustomer(Session& session, QWidget* parent)
    : SecondaryWindow(QStringLiteral("Frm顧客情報"), QStringLiteral("顧客情報"), 11400, 8400, parent), session_(session)
{
}

