#pragma once
// The master-data windows opened from the main window: code lists, products,
// and the hint window (the customer window is in FrmCustomer.h).

#include "app/SecondaryWindow.h"

class QLabel;
class QPlainTextEdit;
class Session;

class FrmCode : public SecondaryWindow {
    Q_OBJECT
public:
    explicit FrmCode(Session& session, QWidget* parent = nullptr);

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

// Shows the hint of the window and button named by the session's HintKey.
class HintWindow : public SecondaryWindow {
    Q_OBJECT
public:
    explicit HintWindow(Session& session, QWidget* parent = nullptr);
    QLabel* lblFormName = nullptr;
    QLabel* lblCtlName = nullptr;
    QLabel* lblFormTitle = nullptr;
    QPlainTextEdit* txtHint = nullptr;

private:
    Session& session_;
};
