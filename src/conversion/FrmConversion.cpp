#include "conversion/FrmConversion.h"

FrmConversion::FrmConversion(Session& session, QWidget* parent)
    : SecondaryWindow(QStringLiteral("Frmデータ変換"), QStringLiteral("データ変換"), 7305, 3510, parent), session_(session)
{
}
