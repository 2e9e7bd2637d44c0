#include "core/files/KeptValues.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/store/NumberText.h"

namespace vk::textload {

namespace {

constexpr int MaxValueBytes = 10;              // a word and a difference of 8 bytes
constexpr std::size_t SegmentBytes = 1 << 20;  // of pages taken at once for the chunks
constexpr int MaxDecimals = 22;                // the largest power of ten a double holds exactly

}  // namespace

KeptValues::KeptValues() : scratch_(std::make_unique_for_overwrite<uint8_t[]>(std::size_t{ChunkValues} * MaxValueBytes))
{
}

void KeptValues::close()
{
    if (count_ == 0)
        return;
    // Packed into segments of pages, each given back once its chunks are stored.
    if (segments_.empty() || segmentUsed_ + used_ > segments_.back().size()) {
        segments_.emplace_back(std::max<std::size_t>(SegmentBytes, used_));
        segmentUsed_ = 0;
    }
    Chunk c;
    uint8_t* bytes = segments_.back().data() + segmentUsed_;
    std::memcpy(bytes, scratch_.get(), used_);
    segmentUsed_ += used_;
    c.bytes = bytes;
    c.segment = static_cast<uint32_t>(segments_.size() - 1);
    c.count = count_;
    c.decimals = floats_ ? -1 : chunkDecimals_;
    chunks_.push_back(std::move(c));
    used_ = count_ = 0;
    previous_ = 0;
}

void KeptValues::finish()
{
    close();
    scratch_.reset();
}

bool KeptValues::addDigits(int decimals, int64_t digits)
{
    // A full chunk, or one whose decimals are too few: a new one, with
    // decimals enough for the values before as well, so that a file whose
    // writer drops trailing zeros does not start a chunk at every line.
    if (count_ == ChunkValues || decimals > chunkDecimals_) {
        const int wanted = std::max(decimals, chunkDecimals_);
        if (wanted > MaxDecimals)
            return false;
        close();
        chunkDecimals_ = wanted;
    }
    const uint64_t magnitude = digits < 0 ? 0 - static_cast<uint64_t>(digits) : static_cast<uint64_t>(digits);
    const double over = detail::PowersOfTen[chunkDecimals_ - decimals];
    if (static_cast<double>(magnitude) * over > static_cast<double>(ExactDigits)) {
        close();
        floats_ = true;  // from here on, the text is read again to store the values
        return false;
    }
    put(digits == 0 ? 0 : digits * static_cast<int64_t>(over));
    return true;
}

void KeptValues::addFloat(float value)
{
    missing_ += std::isnan(value);
    if (!floats_) {
        close();
        floats_ = true;
    }
    if (count_ == ChunkValues)
        close();
    std::memcpy(scratch_.get() + used_, &value, sizeof value);
    used_ += sizeof value;
    ++count_;
    ++values_;
}

void KeptValues::addMissing()
{
    if (floats_) {
        addFloat(NAN);
        return;
    }
    ++missing_;
    if (count_ == ChunkValues)
        close();
    chunkDecimals_ = std::max(chunkDecimals_, 0);
    write(Missing);
    ++count_;
    ++values_;
}

void KeptValues::decode(const Chunk& c, double* out)
{
    const uint8_t* in = c.bytes;
    if (c.decimals < 0) {
        for (uint32_t k = 0; k < c.count; ++k, in += sizeof(float)) {
            float f;
            std::memcpy(&f, in, sizeof f);
            out[k] = f;
        }
        return;
    }
    // The digits over the decimals, divided as the parser divides them: the very number read.
    const double scale = detail::PowersOfTen[c.decimals];
    uint32_t k = 0;
    eachWord(
        c, [&](int64_t digits) { out[k++] = static_cast<double>(digits) / scale; }, [&] { out[k++] = NAN; });
}

}  // namespace vk::textload
