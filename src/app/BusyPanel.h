#pragma once
// The busy label of a long operation: shown on its panel while the operation
// runs, painted at once, and a guard against a second start of any storing,
// loading or listing while one runs (input events are held back meanwhile).
// The guard's flag is the session's, shared by the tabs and the master windows.
// A secondary window whose panel shows the label does not close meanwhile.

#include "app/SecondaryWindow.h"
#include "app/Session.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFrame>
#include <QLabel>
#include <QPointer>

class BusyPanel {
public:
    BusyPanel(Session& session, QFrame* panel, QLabel* label, const QString& text) : session_(session), panel_(panel)
    {
        active_ = !session_.operationRunning();
        if (!active_) return;
        session_.setOperationRunning(true);
        if (panel_) window_ = qobject_cast<SecondaryWindow*>(panel_->window());
        if (window_) window_->setOperationRunning(true);
        if (label) label->setText(text);
        if (panel_) {
            panel_->show();
            panel_->raise();
        }
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    ~BusyPanel() { done(); }
    BusyPanel(const BusyPanel&) = delete;
    BusyPanel& operator=(const BusyPanel&) = delete;

    // False when another operation was already running: the caller must stop.
    bool active() const { return active_; }
    // Hides the panel (before a closing message box, say).
    void done()
    {
        if (!active_) return;
        active_ = false;
        if (panel_) panel_->hide();
        // Still marked as running while the hidden label is painted: a close
        // that comes in here must wait until the handler has returned.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        session_.setOperationRunning(false);
        if (window_) window_->setOperationRunning(false);
    }

private:
    Session& session_;
    QPointer<QFrame> panel_;
    QPointer<SecondaryWindow> window_;
    bool active_ = false;
};
