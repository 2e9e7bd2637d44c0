#pragma once

// The workshop: a buffer of physical values for one stretch of one channel,
// where smoothing and differences run without touching the samples. While it
// lives it answers the value reads of its slot; leaving its scope, by return
// or exception, ends that. Only one can answer at a time.

#include <cstdint>
#include <vector>

#include "core/calc/Smoothing.h"
#include "core/store/Recording.h"

namespace vk {

class VkDialogs;

class Workshop final : public WorkshopReader {
public:
    // Loads the channel's values first .. end - 1. Refused with "Illegal
    // operation at workshop." while another workshop answers: active() is false.
    Workshop(Recording& rec, int slot, int32_t first, int32_t end, VkDialogs& ui);
    ~Workshop() override;
    Workshop(const Workshop&) = delete;
    Workshop& operator=(const Workshop&) = delete;

    bool active() const { return active_; }
    int32_t length() const { return static_cast<int32_t>(values_.size()); }
    const std::vector<double>& values() const { return values_; }
    std::vector<double>& values() { return values_; }

    // Inside the stretch its value; outside the channel's value until a pass
    // is done, then the value at the nearer end.
    double get(int32_t i) const;
    // Reads outside the stretch take channel indexes lo .. hi, those beyond
    // the nearer of the two (at first: the channel's stored samples).
    void limitReads(int32_t lo, int32_t hi)
    {
        reachLo_ = lo;
        reachHi_ = hi;
    }
    void set(int32_t i, double v) { values_.at(static_cast<std::size_t>(i)) = v; }

    // Cosine-weighted moving average of half width n (1..200); positions
    // 1 .. length - 1 are replaced. "workshop runmean: Parameter too great. " else.
    bool LowPass(int n, VkDialogs& ui);
    // The copy smoothed once, 1-2-1 from the former values: position 0
    // becomes the mean of the first two, the last three stay. Shorter than
    // seven values, nothing changes.
    void SmoothCopy();
    // The mean of positions from .. to; "Range error at workshop mean" and the
    // value at `from` when they do not lie inside the stretch in order.
    double Mean(int32_t from, int32_t to, VkDialogs& ui) const;
    // Centred running mean of `width` values; the window shrinks evenly at the ends.
    void RunningMean(int width);
    // values[i] := values[i + 1] - values[i]; one value fewer.
    void Difference();
    // Every value back into the channel as a raw word at first + i.
    void WriteBack();

    // WorkshopReader
    int slot() const override { return slot_; }
    int32_t firstIndex() const override { return first_; }
    double valueAt(int32_t position) const override { return get(position); }

private:
    Recording& rec_;
    int slot_;
    int32_t first_;
    std::vector<double> values_;
    bool done_ = false;
    bool active_ = false;
    int32_t reachLo_, reachHi_;
};

}  // namespace vk
