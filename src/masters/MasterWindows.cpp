#include "masters/MasterWindows.h"

#include "app/Session.h"
#include "platform/Twips.h"

#include <QLabel>
#include <QPlainTextEdit>

FrmCode::FrmCode(Session& session, QWidget* parent)
    : SecondaryWindow(QStringLiteral("Frmコード"), QStringLiteral("コード表"), 6300, 7800, parent), session_(session)
{
}

FrmProduct::FrmProduct(Session& session, QWidget* parent)
    : SecondaryWindow(QStringLiteral("Frm商品情報"), QStringLiteral("商品情報"), 11400, 8400, parent), session_(session)
{
}

HintWindow::HintWindow(Session& session, QWidget* parent)
    : SecondaryWindow(QStringLiteral("Hint"), QStringLiteral("ヒント        "), 7200, 5400, parent), session_(session)
{
    // The key of the hint is held in the labels.
    lblFormTitle = new QLabel(session_.HintKey.FormTitle, this);
    lblFormTitle->setObjectName(QStringLiteral("lblFormTitle"));
    lblFormTitle->setGeometry(twipsRect(120, 120, 6900, 300));
    lblFormName = new QLabel(session_.HintKey.FormName, this);
    lblFormName->setObjectName(QStringLiteral("lblFormName"));
    lblFormName->setGeometry(twipsRect(120, 480, 3300, 300));
    lblCtlName = new QLabel(session_.HintKey.CtlName, this);
    lblCtlName->setObjectName(QStringLiteral("lblCtlName"));
    lblCtlName->setGeometry(twipsRect(3600, 480, 3300, 300));
    txtHint = new QPlainTextEdit(this);
    txtHint->setObjectName(QStringLiteral("txtHint"));
    txtHint->setGeometry(twipsRect(120, 900, 6900, 4300));
}
