#pragma once

// The state the dive analysis keeps between commands for one recording.

#include <cstdint>
#include <vector>

#include "dive/DiveRecord.h"

namespace vk {

struct DiveState {
    int32_t EventCounter = 0;  // the number the next written dive gets
    DiveRecord record;
    std::vector<WiggleEntry> wiggles;  // of the current dive, at most MaxWiggles
    StopTable stops;
    double surfaceNoise = 1.0;  // m; shallower counts as surface in the "AND" and "only Slope" end tests
    bool cursorFollow = false;  // speed buttons may move the B-cursors
};

}  // namespace vk
