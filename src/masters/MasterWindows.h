#pragma once
// The master-data windows opened from the main window: customers and products.
// The code-list window is in FrmCode.h, the hint window in HintWindow.h.

#include "app/SecondaryWindow.h"

class Session;

class FrmCustomer : public SecondaryWindow {
    Q_OBJECT
public:
    explicit FrmCustomer(Session& session, QWidget* parent = nullptr);

private:
    Session& session_;
};

class FrmProduct : public SecondaryWindow {
    Q_OBJECT
public:
    explicit FrmProduct(Session& session, QWidget* parent = nullptr);

private:
    Session& session_;
};
