#include "app/SecondaryWindow.h"

#include "platform/Twips.h"

#include <QChildEvent>
#include <QCloseEvent>
#include <QResizeEvent>

SecondaryWindow::SecondaryWindow(const QString& name, const QString& caption, double widthTwips,
                                 double heightTwips, QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(name);
    setWindowTitle(caption);
    designSize_ = twipsSize(widthTwips, heightTwips);
    resize(designSize_);
}

void SecondaryWindow::growWithWindow(QWidget* control)
{
    growing_ = control;
    growingPlace_ = control->geometry();
    // The window never gets smaller than its first size: nothing is cut off.
    setMinimumSize(designSize_);
}

void SecondaryWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (growing_) placeForSize(event->size());
}

void SecondaryWindow::childEvent(QChildEvent* event)
{
    QWidget::childEvent(event);
    if (event->removed()) places_.remove(event->child());
}

void SecondaryWindow::placeForSize(const QSize& size)
{
    const int dw = std::max(0, size.width() - designSize_.width());
    const int dh = std::max(0, size.height() - designSize_.height());
    for (QObject* o : children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->isWindow()) continue;
        auto it = places_.find(w);
        if (it == places_.end()) {
            // First seen at the first size (or created later: taken as placed for it).
            const QRect now = w == growing_ ? growingPlace_ : w->geometry();
            it = places_.insert(w, now);
        }
        QRect r = *it;
        if (w == growing_) {
            r.setSize(r.size() + QSize(dw, dh));
        } else {
            const bool right = r.left() >= growingPlace_.right();
            const bool below = r.top() >= growingPlace_.bottom();
            // Below the grid, the buttons of its right half keep to the right edge.
            if (right || (below && r.center().x() > growingPlace_.center().x())) r.translate(dw, 0);
            if (below) r.translate(0, dh);
        }
        if (w->geometry() != r) w->setGeometry(r);
    }
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
