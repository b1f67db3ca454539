#pragma once
// A straight line between two points, the way the seal boxes of the
// quotation header are drawn.

#include <QWidget>

class LineWidget : public QWidget {
    Q_OBJECT
public:
    explicit LineWidget(QWidget* parent = nullptr);
    // End points in twips, relative to the parent.
    void setEnds(double x1, double y1, double x2, double y2);
    double x1() const { return x1_; }
    double y1() const { return y1_; }
    double x2() const { return x2_; }
    double y2() const { return y2_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    double x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
};
