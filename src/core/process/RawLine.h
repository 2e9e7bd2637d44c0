#pragma once

// Samples replaced by the straight line between two words, as peak
// elimination, replacing by interpolated values and the envelope do it.

#include <cstdint>

#include "core/store/Recording.h"

namespace vk {

// Words from + 1 .. to - 1 become w0 + m (w1 - w0) / (to - from), m = 1 ..
// to - from - 1, rounded to the nearest word (ties to even). Nothing is written,
// and false returned, when one of from .. to is missing or not stored (an end
// past the channel's last sample counts as stored: its word is w1).
bool DrawRawLine(Recording& rec, int slot, int32_t from, int32_t to, uint16_t w0, uint16_t w1);

// The same between the words stored at from and to.
bool DrawRawLine(Recording& rec, int slot, int32_t from, int32_t to);

}  // namespace vk
