#pragma once
// The one-off conversion of an older data database.

#include "SecondaryWindow.h"

class FrmConversion : public SecondaryWindow {
    Q_OBJECT
public:
    explicit FrmConversion(QWidget* parent = nullptr);
};
