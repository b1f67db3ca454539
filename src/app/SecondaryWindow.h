#pragma once
// Base of the secondary windows: a top-level window with its own name as
// objectName, its caption, and its client size in twips. Shown modeless by
// the main window's openers; closing it ends it.

#include <QWidget>

class SecondaryWindow : public QWidget {
    Q_OBJECT
public:
    SecondaryWindow(const QString& name, const QString& caption, double widthTwips, double heightTwips,
                    QWidget* parent = nullptr);

    // Set while one of the window's operations runs (its busy label shows):
    // the window does not close under it.
    void setOperationRunning(bool running) { operationRunning_ = running; }
    bool operationRunning() const { return operationRunning_; }

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    bool operationRunning_ = false;
};
