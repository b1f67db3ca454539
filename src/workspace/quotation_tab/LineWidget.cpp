// A straight line between two points (the seal boxes of the quotation header).

#include "workspace/quotation_tab/LineWidget.h"

#include "platform/Twips.h"

#include <QPainter>

LineWidget::LineWidget(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineWidget::setEnds(double x1, double y1, double x2, double y2)
{
    x1_ = x1;
    y1_ = y1;
    x2_ = x2;
    y2_ = y2;
    const QPoint a = twipsPoint(x1, y1);
    const QPoint b = twipsPoint(x2, y2);
    setGeometry(QRect(a, b).normalized().adjusted(0, 0, 1, 1));
    update();
}

void LineWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(QPen(Qt::black, 1));
    const QPoint a = twipsPoint(x1_, y1_) - pos();
    const QPoint b = twipsPoint(x2_, y2_) - pos();
    p.drawLine(a, b);
}
