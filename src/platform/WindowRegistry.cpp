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
        Entry e = entries_.takeLast();
        if (!e.window.isNull()) {
            QPointer<QWidget> w = e.window;
            w->close();
            // A window that refused to close still goes: nothing may outlive the main window.
            if (!w.isNull()) delete w.data();
        }
        QCoreApplication::processEvents();
    }
}
