#pragma once

// The samples of the work section F4 .. F5 of a channel, cut to the samples
// the channel has (reads outside would give raw 0 or a clamped end, not data).

#include "core/store/Stretches.h"

namespace vk {

// From the first sample at or after F4 to the last at or before F5
// (statistics, histogram).
StoredSection SectionSamples(const ChannelView& channel, double f4, double f5);

// From the sample at the whole part of F4 / interval to that of F5 (event counting).
StoredSection EventSamples(const ChannelView& channel, double f4, double f5);

}  // namespace vk
