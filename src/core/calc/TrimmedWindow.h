#pragma once

// A sliding window of raw words that knows the sum of its `q` least words at
// any time: the trimmed running mean without sorting every window. The words
// are counted per value; the q least are all words below a boundary value plus
// some copies of it, and each insert or removal moves that boundary by at most
// one occupied value, found through a bitmap of occupied values.

#include <array>
#include <cstdint>

namespace vk {

class TrimmedWindow {
public:
    // Keeps the sum of the q least words (q >= 0).
    explicit TrimmedWindow(int32_t q = 0);

    void clear();
    void insert(uint16_t w);
    // w must be in the window.
    void remove(uint16_t w);

    int32_t size() const { return size_; }
    int64_t sum() const { return sum_; }
    // The sum of the q least words; of all of them while the window holds fewer than q.
    int64_t leastSum() const { return size_ <= q_ ? sum_ : lowSum_; }

private:
    static constexpr int Values = 65536;
    static constexpr int Words = Values / 64;

    // The occupied value next below or above v; -1 or Values when none.
    int32_t below(int32_t v) const;
    int32_t above(int32_t v) const;
    void occupy(uint16_t w);
    void vacate(uint16_t w);
    // The least word above the low part joins it, or the greatest of it leaves.
    void growLow();
    void shrinkLow();

    int32_t q_;
    std::array<int32_t, Values> count_{};
    std::array<uint64_t, Words> occupied_{};
    int32_t size_ = 0;
    int64_t sum_ = 0;
    // The low part: every word below bound_ and `atBound_` copies of bound_; lowCount_ words, lowSum_ their sum.
    int32_t bound_ = -1;
    int32_t atBound_ = 0;
    int32_t lowCount_ = 0;
    int64_t lowSum_ = 0;
};

}  // namespace vk
