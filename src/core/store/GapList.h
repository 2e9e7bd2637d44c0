#pragma once

// Where a channel has no values: the stored positions whose field was empty or
// not a number in the data file. The samples there hold the stand-in the loader
// wrote (the low end of the range); the list tells readers to pass them over.
// A few ranges per recording, kept sorted and apart.

#include <cstdint>
#include <vector>

namespace vk {

struct GapRange {
    int32_t from = 0, to = 0;  // stored positions from .. to - 1
    bool operator==(const GapRange&) const = default;
};

class GapList {
public:
    void clear() { ranges_.clear(); }
    bool empty() const { return ranges_.empty(); }
    const std::vector<GapRange>& ranges() const { return ranges_; }
    // Positions without a value.
    int64_t missing() const;

    // Appends positions from .. to - 1, which lie at or after every range held;
    // a range that touches the last one joins it.
    void add(int32_t from, int32_t to);

    // The range holding position p, or nullptr.
    const GapRange* at(int32_t p) const;
    // The first range that ends after p: the one holding p or the next one; nullptr for none.
    const GapRange* after(int32_t p) const;
    // Any position of from .. to - 1 without a value.
    bool overlaps(int64_t from, int64_t to) const;

    // n positions were deleted at p: later ranges move down, the deleted part goes.
    void removed(int32_t p, int32_t n);
    // n positions were inserted at p (they hold values): later ranges move up,
    // one holding p is split.
    void inserted(int32_t p, int32_t n);

    // Positions from .. to - 1 were given values: they are no longer missing.
    // True when any of them was.
    bool filled(int32_t from, int32_t to);

    bool operator==(const GapList&) const = default;

private:
    std::vector<GapRange> ranges_;
};

}  // namespace vk
