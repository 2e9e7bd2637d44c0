#pragma once

// The values of a stretch of a text file as the range scan read them, kept
// so that they can be scaled and stored without reading the text again.
//
// Logger values are decimals that change little from one line to the next,
// so they are kept as their digits: the difference to the value before, over
// the chunk's count of decimals, in a 16-bit word (a wider difference follows
// a word that says so). A depth channel keeps two bytes a value, as many as
// the stored sample, and the chunks are given back as they are stored, so
// that the load needs little more memory than the samples. Fixed words keep
// the reading quick: where each value starts does not hang on the one before.
// A number that is not a plain decimal, or whose digits a double cannot hold
// over the chunk's decimals, is kept as a float: close enough to find the
// bulk of the values, but the text must be read again to store it.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/store/LittleEndian.h"
#include "core/store/NumberText.h"
#include "core/store/PageMemory.h"

namespace vk::textload {

class KeptValues {
public:
    static constexpr uint32_t ChunkValues = 1u << 14;

    KeptValues();

    // A value read: a plain decimal gives its signed digits and their decimals
    // (value = digits / 10^decimals); any other number decimals < 0.
    void add(double value, int decimals, int64_t digits)
    {
        if (decimals >= 0 && !floats_) {
            if (decimals == chunkDecimals_ && count_ < ChunkValues) {
                put(digits);
                return;
            }
            if (addDigits(decimals, digits))
                return;
        }
        addFloat(static_cast<float>(value));
    }
    void addMissing();
    // Closes the last chunk: call once after the last value.
    void finish();

    std::size_t size() const { return values_; }
    // The values that are not missing.
    std::size_t numbers() const { return values_ - missing_; }
    // Every value kept as its digits: stored from here they are the very numbers read.
    bool exact() const { return !floats_; }

    // visit(double) for each value in order; NaN for a missing one. A value
    // kept as a float is visited as that float.
    template <typename Visit>
    void forEach(Visit&& visit) const
    {
        eachRun([&visit](const double* values, uint32_t n, std::size_t) {
            for (uint32_t k = 0; k < n; ++k)
                visit(values[k]);
        });
    }

    // visit(int64_t) for every value that is not missing, in order: its
    // digits over `decimals` (set to the most decimals of any chunk), so that
    // they stand in the values' order and the value is the correctly rounded
    // quotient digits / 10^decimals. False when a value is kept as a float or
    // its digits over those decimals would pass a double's: what was visited
    // then stands for nothing.
    template <typename Visit>
    bool forEachDigits(int& decimals, Visit&& visit) const
    {
        if (floats_)
            return false;
        decimals = 0;
        for (const Chunk& c : chunks_)
            decimals = std::max(decimals, c.decimals);
        for (const Chunk& c : chunks_) {
            if (decimals - c.decimals > MaxScaleDecimals)
                return false;
            const auto scale = static_cast<int64_t>(detail::PowersOfTen[decimals - c.decimals]);
            const int64_t largest = ExactDigits / scale;
            bool fits = true;
            eachWord(
                c,
                [&](int64_t digits) {
                    if (digits > largest || digits < -largest)
                        fits = false;
                    else if (fits)
                        visit(digits * scale);
                },
                [] {});
            if (!fits)
                return false;
        }
        return true;
    }

    // The values in order as runs of doubles (NaN for missing):
    // take(const double* values, uint32_t n). Each segment's memory is given
    // back once its chunks are taken; the values are gone afterwards.
    template <typename Take>
    void drain(Take&& take)
    {
        eachRun([&](const double* values, uint32_t n, std::size_t chunk) {
            take(values, n);
            const uint32_t segment = chunks_[chunk].segment;
            if (chunk + 1 == chunks_.size() || chunks_[chunk + 1].segment != segment)
                segments_[segment].release();
        });
        chunks_.clear();
        chunks_.shrink_to_fit();
        segments_.clear();
        values_ = missing_ = 0;
    }

private:
    struct Chunk {
        const uint8_t* bytes = nullptr;  // in segments_[segment]
        uint32_t segment = 0;
        uint32_t count = 0;
        int decimals = -1;  // of the digits; -1: floats
    };

    // The words of a value: the difference to the value before, or one of
    // these followed by the difference in 4 or 8 bytes, or Missing.
    static constexpr int16_t Missing = INT16_MIN, Wide32 = INT16_MIN + 1, Wide64 = INT16_MIN + 2;
    static constexpr int16_t NarrowLeast = INT16_MIN + 3;
    static constexpr int64_t ExactDigits = int64_t{1} << 53;  // digits a double holds exactly
    static constexpr int MaxScaleDecimals = 18;               // 10^18 is the largest power of ten an int64 holds

    template <typename T>
    [[gnu::always_inline]] void write(T word)
    {
        le::Put<T>(scratch_.get(), used_, word);
        used_ += sizeof(T);
    }
    [[gnu::always_inline]] void put(int64_t digits)
    {
        // Within 2^54: the digits stay within 2^53.
        const int64_t difference = digits - previous_;
        previous_ = digits;
        if (difference >= NarrowLeast && difference <= INT16_MAX) [[likely]] {
            write(static_cast<int16_t>(difference));
        } else if (difference >= INT32_MIN && difference <= INT32_MAX) {
            write(Wide32);
            write(static_cast<int32_t>(difference));
        } else {
            write(Wide64);
            write(difference);
        }
        ++count_;
        ++values_;
    }
    // digits(int64_t) for each value of a chunk of digits in order, missing() for a missing one.
    template <typename OnDigits, typename OnMissing>
    [[gnu::always_inline]] static void eachWord(const Chunk& c, OnDigits&& digits, OnMissing&& missing)
    {
        const uint8_t* in = c.bytes;
        int64_t value = 0;
        for (uint32_t k = 0; k < c.count; ++k) {
            const int16_t word = le::Get<int16_t>(in, 0);
            in += sizeof word;
            if (word >= NarrowLeast) [[likely]] {
                value += word;
            } else if (word == Missing) {
                missing();
                continue;
            } else if (word == Wide32) {
                value += le::Get<int32_t>(in, 0);
                in += sizeof(int32_t);
            } else {
                value += le::Get<int64_t>(in, 0);
                in += sizeof(int64_t);
            }
            digits(value);
        }
    }
    // take(values, n, chunk index) for each chunk, decoded, in order.
    template <typename Take>
    void eachRun(Take&& take) const
    {
        std::vector<double> buffer(ChunkValues);
        for (std::size_t k = 0; k < chunks_.size(); ++k) {
            decode(chunks_[k], buffer.data());
            take(buffer.data(), chunks_[k].count, k);
        }
    }
    bool addDigits(int decimals, int64_t digits);
    void addFloat(float value);
    void close();
    static void decode(const Chunk& c, double* out);

    std::vector<Chunk> chunks_;
    std::vector<PageMemory> segments_;    // the chunks one after another
    std::size_t segmentUsed_ = 0;         // of the last segment
    std::unique_ptr<uint8_t[]> scratch_;  // the open chunk
    uint32_t used_ = 0, count_ = 0;
    int chunkDecimals_ = -1;  // of the open chunk; -1 before the first value
    int64_t previous_ = 0;
    bool floats_ = false;  // the open chunk, and every one after, holds floats
    std::size_t values_ = 0, missing_ = 0;
};

}  // namespace vk::textload
