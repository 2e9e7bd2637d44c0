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

// Sixteen words in 16-bit lanes (GCC and Clang vectors: AVX2 where the
// processor has it, two halves in SSE2 or NEON, plain code elsewhere). The
// kernel is written out without helper functions: a helper taking such
// vectors would be called across the AVX2 clone's border.
using Lanes = int16_t __attribute__((vector_size(32)));
using Words = uint16_t __attribute__((vector_size(32)));
constexpr int LaneCount = sizeof(Lanes) / sizeof(int16_t);

// Words spanning less than this can be worked relative to their lowest in
// 16-bit lanes: every step of BentMiddle then stays within +-32767.
constexpr int NarrowSpan = 8192;
constexpr int64_t Piece = 512;  // words judged narrow or not at a time

// BentPairs over words that all lie in lowest .. lowest + NarrowSpan - 1,
// LaneCount at a time; what is left of count is returned undone. The steps
// are those of BentMiddle; x / 2^K truncated is (x + (x < 0 ? 2^K - 1 : 0)) >> K.
#if defined(__x86_64__)
__attribute__((target_clones("avx2", "default")))
#endif
int64_t
NarrowPairs(const uint16_t* y, int64_t count, uint16_t* out, int lowest)
{
    const Lanes zero{}, one = zero + int16_t{1}, three = zero + int16_t{3}, seven = zero + int16_t{7};
    const Words base = Words{} + static_cast<uint16_t>(lowest);
    // The clamp to 0 .. 65535, relative to lowest; the result lies well inside +-32767.
    const Lanes lo = zero + static_cast<int16_t>(std::max(-lowest, -32768)),
                hi = zero + static_cast<int16_t>(std::min(65535 - lowest, 32767));
    int64_t k = 0;
    for (; k + LaneCount <= count; k += LaneCount) {
        // Relative to lowest in unsigned lanes, where wrapping is defined; then
        // all within 0 .. NarrowSpan - 1, as signed.
        Words u0, u1, u2, u3;
        std::memcpy(&u0, y + k, sizeof u0);
        std::memcpy(&u1, y + k + 1, sizeof u1);
        std::memcpy(&u2, y + k + 2, sizeof u2);
        std::memcpy(&u3, y + k + 3, sizeof u3);
        const Lanes y0 = Lanes(u0 - base), y1 = Lanes(u1 - base), y2 = Lanes(u2 - base), y3 = Lanes(u3 - base);
        const Lanes d1 = y1 - y0, d2 = y2 - y1, d3 = y3 - y2;
        const Lanes mid = y1 + ((d2 >> 1) + ((d2 & one) & ((d2 >> 1) & one)));
        const Lanes r = d2 - d1, u = d3 - d2;
        const Lanes smaller = r > zero ? (r < u ? r : u) : (r > u ? r : u);
        const Lanes sum = r + u;
        const Lanes g = (r > zero) == (u > zero) ? smaller : (sum + ((sum >> 15) & seven)) >> 3;
        const Lanes half = (d2 + ((d2 >> 15) & one)) >> 1, h = half < zero ? -half : half;
        const Lanes quarter = (g + ((g >> 15) & three)) >> 2;
        const Lanes bent = quarter > h ? h : (quarter < -h ? -h : quarter);
        const Lanes v = ((r == zero) | (u == zero)) ? zero : bent;
        const Lanes moved = mid - v;
        const Lanes middle = Lanes(Words(moved < lo ? lo : (moved > hi ? hi : moved)) + base), old = Lanes(u2);
        const Lanes first =
            __builtin_shufflevector(middle, old, 0, 16, 1, 17, 2, 18, 3, 19, 4, 20, 5, 21, 6, 22, 7, 23);
        const Lanes second =
            __builtin_shufflevector(middle, old, 8, 24, 9, 25, 10, 26, 11, 27, 12, 28, 13, 29, 14, 30, 15, 31);
        std::memcpy(out + 2 * k, &first, sizeof first);
        std::memcpy(out + 2 * k + LaneCount, &second, sizeof second);
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

void BentPairs(const uint16_t* y, int64_t count, uint16_t* out)
{
    for (int64_t p = 0; p < count; p += Piece) {
        const int64_t n = std::min(Piece, count - p);
        int lowest = 65535, highest = 0;
        for (int64_t k = p; k < p + n + 3; ++k) {
            lowest = std::min<int>(lowest, y[k]);
            highest = std::max<int>(highest, y[k]);
        }
        const int64_t done = highest - lowest < NarrowSpan ? NarrowPairs(y + p, n, out + 2 * p, lowest) : 0;
        for (int64_t k = p + done; k < p + n; ++k) {
            out[2 * k] = static_cast<uint16_t>(BentMiddle(y[k], y[k + 1], y[k + 2], y[k + 3]));
            out[2 * k + 1] = y[k + 2];
        }
    }
}

}  // namespace vk
