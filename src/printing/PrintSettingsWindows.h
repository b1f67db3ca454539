#pragma once
// The print-settings windows of the two blank-paper layouts.

#include "SecondaryWindow.h"

class SetPrnWindow : public SecondaryWindow {
    Q_OBJECT
public:
    // layoutCode "MA4" or "MB5"
    explicit SetPrnWindow(const QString& layoutCode, QWidget* parent = nullptr);
    QString layoutCode() const { return layoutCode_; }

private:
    QString layoutCode_;
};
