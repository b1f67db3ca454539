#include "platform/WindowRegistry.h"

#include <QCoreApplication>

void WindowRegistry::prune()
{
    entries_.removeIf([](const Entry& e) { return e.window.isNull(); });
}

QWidget* WindowRegistry::find(const QString& name) const
{
    for (const auto& e : entries_)
        if (e.name == name && !e.window.isNull()) return e.window.data();
    return nullptr;
}

QWidget* WindowRegistry::show(const QString& name, const std::function<QWidget*()>& factory)
{
    prune();
    if (QWidget* w = find(name)) {
        if (w->isMinimized()) w->showNormal();
        w->show();
        w->raise();
        w->activateWindow();
        return w;
    }
    QWidget* w = factory();
    if (!w) return nullptr;
    // Closing the window ends it; the next request creates it afresh.
    w->setAttribute(Qt::WA_DeleteOnClose, true);
    entries_.append({name, w});
    w->show();
    w->raise();
    w->activateWindow();
    return w;
}

QList<QWidget*> WindowRegistry::openWindows() const
{
    QList<QWidget*> out;
    for (const auto& e : entries_)
        if (!e.window.isNull()) out << e.window.data();
    return out;
}

void WindowRegistry::closeAll()
{
    prune();
    while (!entries_.isEmpty()) {
        const QPointer<QWidget> w = entries_.takeLast().window;
        if (w.isNull()) continue;
        // Closing posts the window's deletion (WA_DeleteOnClose). A window that
        // refused to close still goes: nothing may outlive the main window.
        if (!w->close() && !w.isNull()) {
            w->hide();
            w->deleteLater();
        }
        // The deletion runs here, at the level it was posted: the caller
        // closes only when no handler of these windows is still running.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
