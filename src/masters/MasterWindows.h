#pragma once
// The master-data windows opened from the main window: code lists, customers,
// products, and the hint window.

#include "SecondaryWindow.h"

class QLabel;
class QPlainTextEdit;

class FrmCode : public SecondaryWindow {
    Q_OBJECT
public:
    explicit FrmCode(QWidget* parent = nullptr);
};

class FrmCustomer : public SecondaryWindow {
    Q_OBJECT
public:
    explicit FrmCustomer(QWidget* parent = nullptr);
};

class FrmProduct : public SecondaryWindow {
    Q_OBJECT
public:
    explicit FrmProduct(QWidget* parent = nullptr);
};

// Shows the hint of the window and button named by HintKey.
class HintWindow : public SecondaryWindow {
    Q_OBJECT
public:
    explicit HintWindow(QWidget* parent = nullptr);
    QLabel* lblFormName = nullptr;
    QLabel* lblCtlName = nullptr;
    QLabel* lblFormTitle = nullptr;
    QPlainTextEdit* txtHint = nullptr;
};
