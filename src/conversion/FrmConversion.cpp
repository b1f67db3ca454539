#include "FrmConversion.h"

FrmConversion::FrmConversion(QWidget* parent)
    : SecondaryWindow(QStringLiteral("Frmデータ変換"), QStringLiteral("データ変換"), 7305, 3510, parent)
{
}
