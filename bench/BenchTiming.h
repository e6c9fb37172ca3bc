#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

// Median time of one call of `work`, in seconds, for the comparison programs that are not
// Google Benchmark ones. Each run repeats the call for about 10 ms so that the clock's
// resolution does not matter; the median of the runs keeps a busy neighbour's bursts out.
template <class Work>
double medianSecondsPerCall(Work&& work, int runs = 15)
{
    using Clock = std::chrono::steady_clock;
    auto secondsOf = [&](int calls) {
        const Clock::time_point start = Clock::now();
        for (int k = 0; k < calls; ++k)
            work();
        return std::chrono::duration<double>(Clock::now() - start).count();
    };
    const double once = std::max(secondsOf(1), 1e-7); // also warms the caches
    const int calls = std::clamp(static_cast<int>(0.01 / once), 1, 100000);
    std::vector<double> perCall;
    for (int r = 0; r < runs; ++r)
        perCall.push_back(secondsOf(calls) / calls);
    std::sort(perCall.begin(), perCall.end());
    return perCall[perCall.size() / 2];
}
