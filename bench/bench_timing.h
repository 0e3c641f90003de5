// Timing for the benchmarks: the performance counter in milliseconds, the
// median over runs, each run the mean of a number of calls, and the process's
// own processor time.
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

// Kernel and user time of this process so far, in milliseconds: unlike the
// wall clock, hardly moved by other programs on a busy machine.
inline double ProcessCpuMs() {
    FILETIME created, ended, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    ULARGE_INTEGER k, u;
    k.LowPart = kernel.dwLowDateTime;
    k.HighPart = kernel.dwHighDateTime;
    u.LowPart = user.dwLowDateTime;
    u.HighPart = user.dwHighDateTime;
    return static_cast<double>(k.QuadPart + u.QuadPart) / 10000.0;
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
