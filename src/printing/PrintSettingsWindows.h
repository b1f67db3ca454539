#pragma once
// The print-settings windows of the two blank-paper layouts.

#include "app/SecondaryWindow.h"

class Session;

class SetPrnWindow : public SecondaryWindow {
    Q_OBJECT
public:
    // layoutCode "MA4" or "MB5"
    SetPrnWindow(Session& session, const QString& layoutCode, QWidget* parent = nullptr);
    QString layoutCode() const { return layoutCode_; }

private:
    Session& session_;
    QString layoutCode_;
};
