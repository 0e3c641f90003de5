// Timing for the benchmarks: the performance counter in milliseconds and the
// median over runs, each run the mean of a number of calls.
#pragma once

#include <windows.h>

#include <algorithm>
#include <vector>

inline double NowMs() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <typename Work> double MedianMs(int runs, Work work, int callsPerRun = 1) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double start = NowMs();
        for (int k = 0; k < callsPerRun; ++k)
            work();
        times.push_back((NowMs() - start) / callsPerRun);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}
