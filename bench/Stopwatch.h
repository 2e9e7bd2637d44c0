#pragma once

// Wall-clock time for the benchmarks.

#include <chrono>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

inline double Ms(Clock::time_point since)
{
    return Seconds(since) * 1000.0;
}

}  // namespace bench
