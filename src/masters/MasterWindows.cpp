#include "MasterWindows.h"

#include "ModVelt.h"
#include "Twips.h"

#include <QLabel>
#include <QPlainTextEdit>

FrmCode::FrmCode(QWidget* parent)
    : SecondaryWindow(QStringLiteral("Frmコード"), QStringLiteral("コード表"), 6300, 7800, parent)
{
}

FrmCustomer::FrmCustomer(QWidget* parent)
    : SecondaryWindow(QStringLiteral("Frm顧客情報"), QStringLiteral("顧客情報"), 11400, 8400, parent)
{
}

FrmProduct::FrmProduct(QWidget* parent)
    : SecondaryWindow(QStringLiteral("Frm商品情報"), QStringLiteral("商品情報"), 11400, 8400, parent)
{
}

HintWindow::HintWindow(QWidget* parent)
    : SecondaryWindow(QStringLiteral("Hint"), QStringLiteral("ヒント        "), 7200, 5400, parent)
{
    // The key of the hint is held in the labels.
    lblFormTitle = new QLabel(ModVelt::HintKey.FormTitle, this);
    lblFormTitle->setObjectName(QStringLiteral("lblFormTitle"));
    lblFormTitle->setGeometry(twipsRect(120, 120, 6900, 300));
    lblFormName = new QLabel(ModVelt::HintKey.FormName, this);
    lblFormName->setObjectName(QStringLiteral("lblFormName"));
    lblFormName->setGeometry(twipsRect(120, 480, 3300, 300));
    lblCtlName = new QLabel(ModVelt::HintKey.CtlName, this);
    lblCtlName->setObjectName(QStringLiteral("lblCtlName"));
    lblCtlName->setGeometry(twipsRect(3600, 480, 3300, 300));
    txtHint = new QPlainTextEdit(this);
    txtHint->setObjectName(QStringLiteral("txtHint"));
    txtHint->setGeometry(twipsRect(120, 900, 6900, 4300));
}
