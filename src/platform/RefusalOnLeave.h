#pragma once

#include <QMetaObject>
#include <QPointer>
#include <QWidget>

// Text a box or a grid refused as the focus left it, for the handler of the
// button the focus went to: remembered until the handler asks (take) or the
// focus moves on from where it went.
class RefusalOnLeave {
public:
    ~RefusalOnLeave() { forget(); }
    // The control `owner` refused its text as the focus left it.
    void note(QWidget* owner);
    // True once when such a refusal is remembered; forgets it.
    bool take();
    void forget();

private:
    bool refused_ = false;
    QPointer<QWidget> focusAfter_;
    QMetaObject::Connection watch_;
};
