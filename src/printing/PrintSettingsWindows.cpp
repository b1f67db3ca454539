#include "printing/PrintSettingsWindows.h"

SetPrnWindow::SetPrnWindow(Session& session, const QString& layoutCode, QWidget* parent)
    : SecondaryWindow(layoutCode == QStringLiteral("MB5") ? QStringLiteral("SetPrnB5") : QStringLiteral("SetPrnA4"),
                      layoutCode == QStringLiteral("MB5") ? QStringLiteral("B5白紙") : QStringLiteral("A4白紙"),
                      10800, 7800, parent),
      session_(session),
      layoutCode_(layoutCode)
{
}
