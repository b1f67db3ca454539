#pragma once
// Places and sizes in the window descriptions are in twips; the screen works
// in pixels. 15 twips = 1 pixel at 96 dpi.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <cmath>

constexpr int kTwipsPerPixel = 15;

constexpr int twips(double t)
{
    return static_cast<int>(t >= 0 ? t / kTwipsPerPixel + 0.5 : t / kTwipsPerPixel - 0.5);
}

inline QRect twipsRect(double left, double top, double width, double height)
{
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

inline QPoint twipsPoint(double x, double y) { return QPoint(twips(x), twips(y)); }
inline QSize twipsSize(double w, double h) { return QSize(twips(w), twips(h)); }
