#include "core/store/RawRuns.h"

#include "core/store/Recording.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vk {

void ValuesOfRaw(const uint16_t* raw, int32_t n, double gain, double low, double offset, double* y)
{
    int32_t i = 0;
#if defined(__SSE2__)
    const __m128d g = _mm_set1_pd(gain), l = _mm_set1_pd(low), o = _mm_set1_pd(offset);
    const __m128i zero = _mm_setzero_si128();
    auto store = [&](__m128i pair, double* out) {  // two 32-bit words in the low half
        _mm_storeu_pd(out, _mm_sub_pd(_mm_add_pd(_mm_mul_pd(_mm_cvtepi32_pd(pair), g), l), o));
    };
    for (; i + 8 <= n; i += 8) {
        const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(raw + i));
        const __m128i a = _mm_unpacklo_epi16(w, zero), b = _mm_unpackhi_epi16(w, zero);
        store(a, y + i);
        store(_mm_shuffle_epi32(a, 0x4E), y + i + 2);
        store(b, y + i + 4);
        store(_mm_shuffle_epi32(b, 0x4E), y + i + 6);
    }
#endif
    for (; i < n; ++i)
        y[i] = raw[i] * gain + low - offset;
}

#if defined(__SSE2__)
namespace {

// Rounds two values as RoundRaw does; the two words land in the low half.
// `all` is cleared in a lane whose value lies outside the raw range or is NaN.
inline __m128i RoundPair(__m128d v, __m128d& all)
{
    const __m128d zero = _mm_setzero_pd(), top = _mm_set1_pd(65535.0), shift = _mm_set1_pd(4503599627370496.0);
    all = _mm_and_pd(all, _mm_and_pd(_mm_cmpge_pd(v, _mm_set1_pd(-0.5)), _mm_cmplt_pd(v, _mm_set1_pd(65535.5))));
    const __m128d c = _mm_min_pd(_mm_max_pd(v, zero), top);  // NaN gives 0
    return _mm_cvttpd_epi32(_mm_sub_pd(_mm_add_pd(c, shift), shift));
}

// Eight rounded values (four pairs) stored as eight words.
inline void StoreWords(__m128i p0, __m128i p1, __m128i p2, __m128i p3, uint16_t* out)
{
    const __m128i half = _mm_set1_epi32(32768), flip = _mm_set1_epi16(static_cast<short>(0x8000));
    const __m128i a = _mm_unpacklo_epi64(p0, p1), b = _mm_unpacklo_epi64(p2, p3);
    // 0..65535 moved to the signed range packs exactly; the flip moves it back.
    const __m128i packed = _mm_packs_epi32(_mm_sub_epi32(a, half), _mm_sub_epi32(b, half));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_xor_si128(packed, flip));
}

inline __m128d AllSet()
{
    const __m128d zero = _mm_setzero_pd();
    return _mm_cmpeq_pd(zero, zero);
}

}  // namespace
#endif

bool AddRampToRaw(uint16_t* raw, int32_t n, double first, double direction, double step)
{
    bool inside = true;
    int32_t i = 0;
#if defined(__SSE2__)
    const __m128d s = _mm_set1_pd(step), twice = _mm_set1_pd(2 * direction);
    const __m128i zero = _mm_setzero_si128();
    __m128d k = _mm_set_pd(first + direction, first), all = AllSet();
    auto pair = [&](__m128i words) {  // two 32-bit words in the low half
        const __m128d v = _mm_add_pd(_mm_cvtepi32_pd(words), _mm_mul_pd(k, s));
        k = _mm_add_pd(k, twice);
        return RoundPair(v, all);
    };
    for (; i + 8 <= n; i += 8) {
        const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(raw + i));
        const __m128i a = _mm_unpacklo_epi16(w, zero), b = _mm_unpackhi_epi16(w, zero);
        const __m128i p0 = pair(a), p1 = pair(_mm_shuffle_epi32(a, 0x4E));
        const __m128i p2 = pair(b), p3 = pair(_mm_shuffle_epi32(b, 0x4E));
        StoreWords(p0, p1, p2, p3, raw + i);
    }
    inside = _mm_movemask_pd(all) == 3;
#endif
    for (; i < n; ++i)
        raw[i] = RoundRaw(raw[i] + (first + i * direction) * step, inside);
    return inside;
}

bool RawOfValues(const double* x, int32_t n, uint16_t* out, const Rescale& to)
{
    bool inside = true;
    int32_t i = 0;
#if defined(__SSE2__)
    const __m128d lift = _mm_set1_pd(to.lift), least = _mm_set1_pd(to.least), perStep = _mm_set1_pd(to.perStep);
    __m128d all = AllSet();
    auto pair = [&](const double* p) {
        return RoundPair(_mm_mul_pd(_mm_sub_pd(_mm_add_pd(_mm_loadu_pd(p), lift), least), perStep), all);
    };
    for (; i + 8 <= n; i += 8)
        StoreWords(pair(x + i), pair(x + i + 2), pair(x + i + 4), pair(x + i + 6), out + i);
    inside = _mm_movemask_pd(all) == 3;
#endif
    for (; i < n; ++i)
        out[i] = RoundRaw(((x[i] + to.lift) - to.least) * to.perStep, inside);
    return inside;
}

bool WidenRange(const double* v, int32_t n, double& least, double& most)
{
    bool nan = false;
    int32_t i = 0;
#if defined(__SSE2__)
    __m128d lo = _mm_set1_pd(least), hi = _mm_set1_pd(most), unordered = _mm_setzero_pd();
    for (; i + 2 <= n; i += 2) {
        const __m128d x = _mm_loadu_pd(v + i);
        lo = _mm_min_pd(x, lo);  // with a NaN in x the second operand stays
        hi = _mm_max_pd(x, hi);
        unordered = _mm_or_pd(unordered, _mm_cmpunord_pd(x, x));
    }
    double l[2], h[2];
    _mm_storeu_pd(l, lo);
    _mm_storeu_pd(h, hi);
    least = l[0] < l[1] ? l[0] : l[1];
    most = h[0] > h[1] ? h[0] : h[1];
    nan = _mm_movemask_pd(unordered) != 0;
#endif
    for (; i < n; ++i) {
        const double x = v[i];
        least = x < least ? x : least;
        most = x > most ? x : most;
        nan |= x != x;
    }
    return nan;
}

}  // namespace vk
