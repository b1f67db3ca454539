#pragma once
// The median wall time of several runs of one step, in milliseconds: the
// figure the benchmarks print against their targets.

#include <QElapsedTimer>
#include <QList>
#include <algorithm>
#include <functional>

inline double MedianMs(int runs, const std::function<void()>& run)
{
    QList<double> ms;
    for (int i = 0; i < std::max(1, runs); ++i) {
        QElapsedTimer t;
        t.start();
        run();
        ms << t.nsecsElapsed() / 1e6;
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}
