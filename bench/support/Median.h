#pragma once
// The median wall time of a step run several times, in milliseconds.

#include <QElapsedTimer>
#include <QList>
#include <algorithm>
#include <functional>

inline double MedianMs(int runs, const std::function<void()>& run)
{
    QList<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        run();
        ms << t.nsecsElapsed() / 1e6;
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}
