#include "app/SecondaryWindow.h"

#include "platform/Twips.h"

SecondaryWindow::SecondaryWindow(const QString& name, const QString& caption, double widthTwips,
                                 double heightTwips, QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(name);
    setWindowTitle(caption);
    resize(twipsSize(widthTwips, heightTwips));
}
