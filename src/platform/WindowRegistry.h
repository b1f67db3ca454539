#pragma once
// The secondary windows: each is a single instance, created on first use,
// shown modeless, brought forward when asked for again, and closed with the
// main window, the most recently opened first.

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

class WindowRegistry {
public:
    // Shows the window registered under name, creating it with factory when it
    // is not open. Returns the window.
    QWidget* show(const QString& name, const std::function<QWidget*()>& factory);
    QWidget* find(const QString& name) const;
    // Open windows, in the order they were opened.
    QList<QWidget*> openWindows() const;
    // Closes every open window, last opened first, and deletes it (its
    // deleteLater, flushed). Call it only when none of their handlers is
    // still running (no box or busy loop of theirs below the caller).
    void closeAll();

private:
    struct Entry {
        QString name;
        QPointer<QWidget> window;
    };
    void prune();
    QList<Entry> entries_;
};
