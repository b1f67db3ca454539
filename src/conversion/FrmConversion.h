#pragma once
// The one-off conversion of an older data database.

#include "app/SecondaryWindow.h"

class Session;

class FrmConversion : public SecondaryWindow {
    Q_OBJECT
public:
    explicit FrmConversion(Session& session, QWidget* parent = nullptr);

private:
    Session& session_;
};
