#pragma once

// Recordings made up in the test for the graph-window tests.

#include <functional>

#include "core/store/Recording.h"

namespace vk::test {

// A channel of n samples at `rate` ms whose values come from f, scaled lo..hi.
void Fill(Recording& rec, int slot, int32_t n, int32_t rate, double lo, double hi,
          const std::function<double(int32_t)>& f);

}  // namespace vk::test
