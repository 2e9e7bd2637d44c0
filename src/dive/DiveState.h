#pragma once

// The state the dive analysis keeps between commands for one recording.

#include <cstdint>

namespace vk {

struct DiveState {
    int32_t EventCounter = 0;  // the number the next written dive gets
};

}  // namespace vk
