#pragma once

#include <cstdint>
#include <string>

#include "core/store/Recording.h"

namespace vk {

enum class RawRangeMode { Append, Overwrite };

// Writes the raw words of indices first .. end-1 (clamped to the stored
// channel) to the file as little-endian 16-bit words.
bool WriteRawRange(const Recording& rec, const std::string& path, int32_t first, int32_t end, RawRangeMode mode,
                   int slot);

// How many words WriteRawRange writes for this range now.
int64_t RawRangeCount(const Recording& rec, int32_t first, int32_t end, int slot);

// The reverse for the same range: reads the file's last words back into those
// samples and cuts them off (deleting an emptied file). An empty or too short
// file fails without any change.
bool PopRawRange(Recording& rec, const std::string& path, int32_t first, int32_t end, int slot);

}  // namespace vk
