#pragma once
// Base of the secondary windows: a top-level window with its own name as
// objectName, its caption, and its client size in twips. Shown modeless by
// the main window's openers; closing it ends it.
//
// Controls are placed by twips for the window's first size. A window that
// names a growing control (its list grid) lets it take what the window gains
// when the user makes it larger; the controls right of it keep their distance
// from the right edge, those below it from the bottom edge (and, under the
// grid's right half, from the right edge too), the others stay.

#include <QHash>
#include <QPointer>
#include <QRect>
#include <QSize>
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
    // The control that grows with the window; call once its place is set.
    void growWithWindow(QWidget* control);
    void resizeEvent(QResizeEvent* event) override;
    void childEvent(QChildEvent* event) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void placeForSize(const QSize& size);

    QSize designSize_;
    QPointer<QWidget> growing_;
    QRect growingPlace_;
    QHash<QObject*, QRect> places_;  // each direct child's place at the first size
    bool operationRunning_ = false;
};
