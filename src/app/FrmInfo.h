#pragma once
// The information window: the program's version and how to reach support.

#include "SecondaryWindow.h"

class FrmInfo : public SecondaryWindow {
    Q_OBJECT
public:
    explicit FrmInfo(QWidget* parent = nullptr);
};
