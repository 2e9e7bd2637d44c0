#include "core/process/BentMiddle.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace vk {

namespace {

// x / 2^K truncated towards zero, as `/` does, in shifts.
template <int K>
inline int32_t DivPow2(int32_t x)
{
    return (x + ((x >> 31) & ((1 << K) - 1))) >> K;
}

// Eight words in 16-bit lanes (GCC and Clang vectors: SSE2, NEON, or
// plain code elsewhere).
using Lanes = int16_t __attribute__((vector_size(16)));
constexpr int LaneCount = sizeof(Lanes) / sizeof(int16_t);

inline Lanes Select(Lanes mask, Lanes a, Lanes b)
{
    return (a & mask) | (b & ~mask);
}
inline Lanes Min(Lanes a, Lanes b)
{
    return Select(a < b, a, b);
}
inline Lanes Max(Lanes a, Lanes b)
{
    return Select(a > b, a, b);
}
inline Lanes Splat(int v)
{
    return Lanes{} + static_cast<int16_t>(v);
}
template <int K>
inline Lanes DivPow2(Lanes x)
{
    return (x + ((x >> 15) & Splat((1 << K) - 1))) >> K;
}
inline Lanes Load(const uint16_t* p, Lanes base)
{
    Lanes v;
    std::memcpy(&v, p, sizeof v);
    return v - base;
}

// Words spanning less than this can be worked relative to their lowest in
// 16-bit lanes: every step of BentMiddle then stays within +-32767.
constexpr int NarrowSpan = 8192;
constexpr int64_t Piece = 512;  // words judged narrow or not at a time

// BentMiddles over words that all lie in lowest .. lowest + NarrowSpan - 1,
// LaneCount at a time; what is left of count is returned undone.
int64_t NarrowMiddles(const uint16_t* y, int64_t count, uint16_t* out, int lowest)
{
    const Lanes base = Splat(lowest), one = Splat(1), zero = Splat(0);
    // The clamp to 0 .. 65535, relative to lowest; the result lies well inside +-32767.
    const Lanes lo = Splat(std::max(-lowest, -32768)), hi = Splat(std::min(65535 - lowest, 32767));
    int64_t k = 0;
    for (; k + LaneCount <= count; k += LaneCount) {
        const Lanes y0 = Load(y + k, base), y1 = Load(y + k + 1, base), y2 = Load(y + k + 2, base),
                    y3 = Load(y + k + 3, base);
        const Lanes d1 = y1 - y0, d2 = y2 - y1, d3 = y3 - y2;
        const Lanes mid = y1 + ((d2 >> 1) + ((d2 & one) & ((d2 >> 1) & one)));
        const Lanes r = d2 - d1, u = d3 - d2;
        const Lanes rUp = r > zero, uUp = u > zero;
        const Lanes smaller = Select(rUp, Min(r, u), Max(r, u));
        const Lanes g = Select(~(rUp ^ uUp), smaller, DivPow2<3>(r + u));
        const Lanes half = DivPow2<1>(d2), h = Max(half, -half);
        const Lanes v = Min(Max(DivPow2<2>(g), -h), h) & ~((r == zero) | (u == zero));
        const Lanes word = Min(Max(mid - v, lo), hi) + base;
        std::memcpy(out + k, &word, sizeof word);
    }
    return k;
}

}  // namespace

int32_t BentMiddle(int32_t y0, int32_t y1, int32_t y2, int32_t y3)
{
    const int32_t d1 = y1 - y0, d2 = y2 - y1, d3 = y3 - y2;
    const int32_t mid = (y1 + HalfToEven(d2)) & 0xFFFF;
    const int32_t r = d2 - d1, u = d3 - d2;
    // Selections rather than branches: on noisy data a branch here is a guess
    // that fails half the time.
    const int32_t smaller = r > 0 ? std::min(r, u) : std::max(r, u);
    const int32_t g = (r > 0) == (u > 0) ? smaller : DivPow2<3>(r + u);
    const int32_t h = std::abs(DivPow2<1>(d2));
    const int32_t v = r != 0 && u != 0 ? std::clamp(DivPow2<2>(g), -h, h) : 0;
    return std::clamp(mid - v, 0, 65535);
}

void BentMiddles(const uint16_t* y, int64_t count, uint16_t* out)
{
    for (int64_t p = 0; p < count; p += Piece) {
        const int64_t n = std::min(Piece, count - p);
        int lowest = 65535, highest = 0;
        for (int64_t k = p; k < p + n + 3; ++k) {
            lowest = std::min<int>(lowest, y[k]);
            highest = std::max<int>(highest, y[k]);
        }
        const int64_t done = highest - lowest < NarrowSpan ? NarrowMiddles(y + p, n, out + p, lowest) : 0;
        for (int64_t k = p + done; k < p + n; ++k)
            out[k] = static_cast<uint16_t>(BentMiddle(y[k], y[k + 1], y[k + 2], y[k + 3]));
    }
}

}  // namespace vk
