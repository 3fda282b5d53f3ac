// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Wall-clock timing for the benchmark programs: the time since a start, and the best of a few
// runs of a step.

#include <algorithm>
#include <chrono>
#include <functional>

namespace vorax::bench {

using Clock = std::chrono::steady_clock;

inline double seconds_since(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The best wall time of `runs` runs of `step`, each after `prepare`, which is not timed.
inline double best_of(int runs, const std::function<void()>& step,
                      const std::function<void()>& prepare = {})
{
    double best = 1e30;
    for (int run = 0; run < runs; ++run) {
        if (prepare)
            prepare();
        const auto start = Clock::now();
        step();
        best = std::min(best, seconds_since(start));
    }
    return best;
}

} // namespace vorax::bench
