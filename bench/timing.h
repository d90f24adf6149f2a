#pragma once

#include <QElapsedTimer>
#include <algorithm>
#include <functional>
#include <vector>

// Time measurement shared by the benchmarks.

// Milliseconds that one call of f takes.
inline double 毫秒(const std::function<void()> &f) {
    QElapsedTimer t;
    t.start();
    f();
    return t.nsecsElapsed() / 1e6;
}

inline double 中位数(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The median of the milliseconds of `runs` calls of f.
inline double 中位毫秒(int runs, const std::function<void()> &f) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i)
        ms.push_back(毫秒(f));
    return 中位数(ms);
}
