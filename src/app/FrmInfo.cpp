#include "FrmInfo.h"

FrmInfo::FrmInfo(QWidget* parent)
    : SecondaryWindow(QStringLiteral("FrmInfo"), QStringLiteral("情報"), 7200, 5400, parent)
{
}
