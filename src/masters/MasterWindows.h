#pragma once
// The customer window opened from the main window. The code-list window is in
// FrmCode.h, the product window in FrmProduct.h, the hint window in HintWindow.h.

#include "app/SecondaryWindow.h"

class Session;

class FrmCustomer : public SecondaryWindow {
    Q_OBJECT
public:
    explicit FrmCustomer(Session& session, QWidget* parent = nullptr);

private:
    Session& session_;
};
