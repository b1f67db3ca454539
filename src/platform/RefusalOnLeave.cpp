#include "platform/RefusalOnLeave.h"

#include <QApplication>

void RefusalOnLeave::note(QWidget* owner)
{
    // The focus is already where it went; this change is reported after the
    // focus-out, so the watch starts with the next one.
    refused_ = true;
    focusAfter_ = QApplication::focusWidget();
    if (!watch_)
        watch_ = QObject::connect(qApp, &QApplication::focusChanged, owner, [this](QWidget*, QWidget* now) {
            if (now != focusAfter_) forget();
        });
}

bool RefusalOnLeave::take()
{
    const bool was = refused_;
    forget();
    return was;
}

void RefusalOnLeave::forget()
{
    refused_ = false;
    QObject::disconnect(watch_);
    watch_ = {};
}
