#include "core/calc/TrimmedWindow.h"

#include <algorithm>
#include <bit>

namespace vk {

TrimmedWindow::TrimmedWindow(int32_t q) : q_(std::max(q, 0)) {}

void TrimmedWindow::clear()
{
    count_.fill(0);
    occupied_.fill(0);
    size_ = 0;
    sum_ = 0;
    bound_ = -1;
    atBound_ = lowCount_ = 0;
    lowSum_ = 0;
}

int32_t TrimmedWindow::below(int32_t v) const
{
    if (v <= 0)
        return -1;
    int32_t word = (v - 1) >> 6;
    uint64_t bits = occupied_[static_cast<std::size_t>(word)] & (~uint64_t{0} >> (63 - ((v - 1) & 63)));
    while (bits == 0) {
        if (--word < 0)
            return -1;
        bits = occupied_[static_cast<std::size_t>(word)];
    }
    return word * 64 + 63 - std::countl_zero(bits);
}

int32_t TrimmedWindow::above(int32_t v) const
{
    if (v >= Values - 1)
        return Values;
    int32_t word = (v + 1) >> 6;
    uint64_t bits = occupied_[static_cast<std::size_t>(word)] & (~uint64_t{0} << ((v + 1) & 63));
    while (bits == 0) {
        if (++word >= Words)
            return Values;
        bits = occupied_[static_cast<std::size_t>(word)];
    }
    return word * 64 + std::countr_zero(bits);
}

void TrimmedWindow::occupy(uint16_t w)
{
    if (count_[w]++ == 0)
        occupied_[w >> 6] |= uint64_t{1} << (w & 63);
}

void TrimmedWindow::vacate(uint16_t w)
{
    if (--count_[w] == 0)
        occupied_[w >> 6] &= ~(uint64_t{1} << (w & 63));
}

void TrimmedWindow::growLow()
{
    if (bound_ < 0 || atBound_ == count_[static_cast<std::size_t>(bound_)]) {
        bound_ = above(bound_);
        atBound_ = 0;
    }
    ++atBound_;
    ++lowCount_;
    lowSum_ += bound_;
}

void TrimmedWindow::shrinkLow()
{
    --atBound_;
    --lowCount_;
    lowSum_ -= bound_;
    if (atBound_ == 0) {  // every copy of the bound has left: the next occupied value below becomes it
        bound_ = below(bound_);
        atBound_ = bound_ < 0 ? 0 : count_[static_cast<std::size_t>(bound_)];
    }
}

void TrimmedWindow::insert(uint16_t w)
{
    occupy(w);
    ++size_;
    sum_ += w;
    if (q_ == 0)
        return;
    if (w < bound_) {  // it belongs to the low part, which then gives up its greatest
        ++lowCount_;
        lowSum_ += w;
        if (lowCount_ > q_)
            shrinkLow();
    } else if (lowCount_ < q_) {
        growLow();
    }
}

void TrimmedWindow::remove(uint16_t w)
{
    const bool inLow = w < bound_ || (w == bound_ && count_[w] == atBound_);
    vacate(w);
    --size_;
    sum_ -= w;
    if (q_ == 0)
        return;
    if (inLow) {
        --lowCount_;
        lowSum_ -= w;
        if (w == bound_) {
            --atBound_;
            if (atBound_ == 0) {
                bound_ = below(bound_);
                atBound_ = bound_ < 0 ? 0 : count_[static_cast<std::size_t>(bound_)];
            }
        }
        if (size_ > lowCount_ && lowCount_ < q_)
            growLow();
    }
}

}  // namespace vk
