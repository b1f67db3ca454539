#include "customer_search/ClsPelmar.h"

#include "customer_search/FrmPelmar.h"
#include "customer_search/ModPelmar.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QPointer>

Q_LOGGING_CATEGORY(lcPelmarShow, "pelmar.show")

namespace {
// The one search dialog while it is shown.
QPointer<FrmPelmar> openDialog;
}  // namespace

bool ClsPelmar::FormShow()
{
    // One search at a time: a second one would take the open one's connection.
    if (openDialog) {
        qCWarning(lcPelmarShow) << "a customer search is already open";
        return false;
    }
    ModPelmar::DataPath = pcDataFile_;
    ModPelmar::DataMode = pcDataMode_;
    ModPelmar::ColorSet = pcColorSet_;
    // A search closed without a pick hands back nothing, not an earlier pick.
    ModPelmar::RetVal = QVariant();

    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        qCWarning(lcPelmarShow) << "no widget application: the customer search cannot be shown";
        return false;
    }
    FrmPelmar dialog;
    QString reason;
    if (!dialog.Form_Load(&reason)) {
        // Without this the caller would see a search closed without a pick.
        ModPelmar::ShowWarning(ModPelmar::CannotOpenMessage(ModPelmar::DataPath.toString(), reason));
        return false;
    }
    openDialog = &dialog;
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.exec();
    return dialog.picked();
}

QVariant ClsPelmar::SetRetVal()
{
    pc顧客名_ = ModPelmar::RetVal;
    return {};
}
