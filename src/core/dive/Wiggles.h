#pragma once

// Wiggles: the small up-and-down excursions of a dive, by Simeone's method
// (over the bottom phase, each starting with a steady run of steps) or by
// Bost's (over the whole dive, extrema close enough in time). The table holds
// at most 100; the summary goes into the dive record.

#include <cstdint>
#include <vector>

#include "core/dive/DiveFrame.h"
#include "core/setup/DiveParameters.h"
#include "core/setup/DiveRecord.h"
#include "core/store/ChannelSeries.h"

namespace vk {

class VkDialogs;

// True when each of the g steps from a rises (x >= 0) or falls (x < 0) by at
// least |x| more than the reference slope over the L points before a.
bool StepTest(const ChannelSeries& depth, int32_t a, int32_t g, int32_t l, double x);

// Both clear the table and the summary first.
void SimeoneWiggles(const ChannelSeries& depth, int32_t f8, int32_t f9, const DiveParameters& p,
                    std::vector<WiggleEntry>& table, WiggleSummary& summary, VkDialogs& ui);
void BostWiggles(const ChannelSeries& depth, int32_t f4, int32_t f5, const DiveParameters& p,
                 std::vector<WiggleEntry>& table, WiggleSummary& summary);

// By the chosen method: Simeone over the bottom F8..F9, Bost over the dive
// F4..F5; without a method the table is emptied.
void DiveWiggles(const ChannelSeries& depth, const DiveFrame& f, const DiveParameters& p,
                 std::vector<WiggleEntry>& table, WiggleSummary& summary, VkDialogs& ui);

}  // namespace vk
