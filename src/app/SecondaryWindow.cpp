#include "app/SecondaryWindow.h"

#include "platform/Twips.h"

#include <QCloseEvent>

SecondaryWindow::SecondaryWindow(const QString& name, const QString& caption, double widthTwips,
                                 double heightTwips, QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(name);
    setWindowTitle(caption);
    resize(twipsSize(widthTwips, heightTwips));
}

void SecondaryWindow::closeEvent(QCloseEvent* e)
{
    // Closing would delete the window while its handler still runs.
    if (operationRunning_) {
        e->ignore();
        return;
    }
    QWidget::closeEvent(e);
}
