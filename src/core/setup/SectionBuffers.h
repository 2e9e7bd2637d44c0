#pragma once

// The ten section buffers of the Sections menu: where a stretch of data was
// when it was stored (only the positions; the data are copied when an
// overwrite is fixed), and the overwrite's "Merge" option. Kept for the run.

#include <array>
#include <cstdint>

namespace vk {

struct SectionBuffer {
    double SecStart = 0, SecEnd = 0;  // F4 and F5 when stored
    int32_t SecSlot = 0;              // the channel active then
    bool SecShown = false;            // the one the overwrite previews
    bool SecUsed = false;
};

inline constexpr int SectionBufferCount = 10;

struct SectionBuffers {
    std::array<SectionBuffer, SectionBufferCount> buffers;
    bool MergeSections = false;  // write only where the stored value is greater
};

}  // namespace vk
