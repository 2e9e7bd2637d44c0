#pragma once

// A min/max envelope of one channel's raw samples: level k holds the smallest
// and largest raw value of every block of 256 * 16^k stored samples. Any
// stretch of the channel then yields its exact extremes from a few hundred
// entries and at most 510 samples at its ends (a quick run over memory), so a
// strip of 39 million samples draws as fast as one of a thousand. The first
// level's 256 samples an entry keep the envelope under 1 % of the samples.

#include <array>
#include <cstdint>
#include <vector>

#include "core/store/GapList.h"
#include "core/store/Recording.h"
#include "core/store/SampleStore.h"

namespace vk {

struct RawExtremes {
    uint16_t min = 65535, max = 0;
    bool empty() const { return min > max; }
    void add(uint16_t v)
    {
        min = v < min ? v : min;
        max = v > max ? v : max;
    }
    void add(RawExtremes e)
    {
        min = e.min < min ? e.min : min;
        max = e.max > max ? e.max : max;
    }
};

class Envelope {
public:
    static constexpr int Fan = 16;          // entries of a level in one of the next
    static constexpr int FirstEntry = 256;  // samples in an entry of the first level

    // Builds the envelope of stored positions 0..count-1 of a slot; positions
    // without a value (`missing`) count in no entry.
    void build(const SampleStore& store, int slot, int64_t count, const GapList& missing = {});
    // Rebuilds what covers positions from..to-1 after an edit.
    void update(const SampleStore& store, int slot, int64_t from, int64_t to);

    // Exact extremes of positions from..to-1 (clamped to the built count);
    // empty when none of them has a value.
    RawExtremes range(const SampleStore& store, int slot, int64_t from, int64_t to) const;

    int64_t count() const { return count_; }
    int levels() const { return static_cast<int>(levels_.size()); }
    const std::vector<RawExtremes>& level(int k) const { return levels_[static_cast<std::size_t>(k)]; }
    std::size_t bytes() const;

private:
    // Adds the stored samples from..to-1 that have a value.
    void addSamples(RawExtremes& r, const SampleStore& store, int slot, int64_t from, int64_t to) const;
    void fillLevel(const SampleStore& store, int slot, int k, int64_t firstEntry, int64_t endEntry);

    int64_t count_ = 0;
    std::vector<std::vector<RawExtremes>> levels_;
    GapList missing_;
};

// Builds the envelopes of every used slot (side by side on worker threads).
void BuildEnvelopes(const Recording& rec, std::array<Envelope, SlotCount>& envelopes);

}  // namespace vk
