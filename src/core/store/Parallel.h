#pragma once

// Work split over the cores: parts of a long pass each on a thread of their
// own, joined before the caller goes on.

#include <algorithm>
#include <cstdint>
#include <future>
#include <thread>
#include <vector>

namespace vk {

// How many parts `count` items make: one below `least` items a part, else
// one a core (at most `most`).
inline int PartsFor(int64_t count, int64_t least, int most = 8)
{
    const int64_t cores = std::max<int64_t>(1, std::thread::hardware_concurrency());
    return static_cast<int>(
        std::clamp<int64_t>(count / std::max<int64_t>(least, 1), 1, std::min<int64_t>(cores, most)));
}

// Runs work(k) for k = 0 .. parts - 1, each on a thread of its own when there
// are several, and returns when all are done.
template <typename Work>
void InParallel(int parts, Work&& work)
{
    if (parts <= 1) {
        work(0);
        return;
    }
    std::vector<std::future<void>> running;
    for (int k = 1; k < parts; ++k)
        running.push_back(std::async(std::launch::async, [&work, k] { work(k); }));
    work(0);
    for (auto& r : running)
        r.get();
}

}  // namespace vk
