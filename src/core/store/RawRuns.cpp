#include "core/store/RawRuns.h"

#include "core/store/Recording.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#define VK_WIDE_KERNELS 1
#include <immintrin.h>
#endif

// Each kernel does the multiples of eight samples in vector code and the rest
// one by one with the formula it stands for. Two lanes (SSE2, every x86-64);
// the two hottest also four lanes where the processor has AVX2. No FMA: a
// fused multiply-add would round differently from ReadPhysOf.

namespace vk {

namespace {

bool wideAllowed = true;

#if defined(VK_WIDE_KERNELS)
bool Wide()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has && wideAllowed;
}

#define VK_WIDE __attribute__((target("avx2")))

VK_WIDE inline __m256d ValuesOfFour(__m128i four, __m256d gain, __m256d low, __m256d offset)
{
    return _mm256_sub_pd(_mm256_add_pd(_mm256_mul_pd(_mm256_cvtepi32_pd(four), gain), low), offset);
}

VK_WIDE int32_t ValuesOfRawWide(const uint16_t* raw, int32_t n, double gain, double low, double offset, double* y)
{
    const __m256d g = _mm256_set1_pd(gain), l = _mm256_set1_pd(low), o = _mm256_set1_pd(offset);
    int32_t i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256i w = _mm256_cvtepu16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(raw + i)));
        _mm256_storeu_pd(y + i, ValuesOfFour(_mm256_castsi256_si128(w), g, l, o));
        _mm256_storeu_pd(y + i + 4, ValuesOfFour(_mm256_extracti128_si256(w, 1), g, l, o));
    }
    return i;
}

// Four values rounded as RoundRaw does, as 32-bit integers; `all` is cleared
// in a lane whose value lies outside the raw range or is NaN.
VK_WIDE inline __m128i RoundFour(__m256d v, __m256d& all)
{
    const __m256d zero = _mm256_setzero_pd(), top = _mm256_set1_pd(65535.0);
    const __m256d shift = _mm256_set1_pd(4503599627370496.0);  // as in RoundRaw
    all = _mm256_and_pd(all, _mm256_and_pd(_mm256_cmp_pd(v, _mm256_set1_pd(-0.5), _CMP_GE_OQ),
                                           _mm256_cmp_pd(v, _mm256_set1_pd(65535.5), _CMP_LT_OQ)));
    const __m256d c = _mm256_min_pd(_mm256_max_pd(v, zero), top);  // NaN gives 0
    return _mm256_cvttpd_epi32(_mm256_sub_pd(_mm256_add_pd(c, shift), shift));
}

VK_WIDE int32_t RawOfValuesWide(const double* x, int32_t n, uint16_t* out, const Rescale& to, bool& inside)
{
    const __m256d lift = _mm256_set1_pd(to.lift), least = _mm256_set1_pd(to.least);
    const __m256d perStep = _mm256_set1_pd(to.perStep), zero = _mm256_setzero_pd();
    __m256d all = _mm256_cmp_pd(zero, zero, _CMP_EQ_OQ);
    int32_t i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256d a = _mm256_loadu_pd(x + i), b = _mm256_loadu_pd(x + i + 4);
        const __m128i low = RoundFour(_mm256_mul_pd(_mm256_sub_pd(_mm256_add_pd(a, lift), least), perStep), all);
        const __m128i high = RoundFour(_mm256_mul_pd(_mm256_sub_pd(_mm256_add_pd(b, lift), least), perStep), all);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi32(low, high));  // exact: 0..65535
    }
    inside = _mm256_movemask_pd(all) == 15;
    return i;
}
#else
bool Wide()
{
    return false;
}
int32_t ValuesOfRawWide(const uint16_t*, int32_t, double, double, double, double*)
{
    return 0;
}
int32_t RawOfValuesWide(const double*, int32_t, uint16_t*, const Rescale&, bool&)
{
    return 0;
}
#endif

#if defined(__SSE2__)
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

// Eight words as 32-bit integers in pairs: w0 w1 | w2 w3 | w4 w5 | w6 w7.
template <typename Pair>
inline void ForEachPair(const uint16_t* raw, Pair&& pair)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(raw));
    const __m128i a = _mm_unpacklo_epi16(w, zero), b = _mm_unpackhi_epi16(w, zero);
    pair(a, 0);
    pair(_mm_shuffle_epi32(a, 0x4E), 2);
    pair(b, 4);
    pair(_mm_shuffle_epi32(b, 0x4E), 6);
}

int32_t ValuesOfRawPairs(const uint16_t* raw, int32_t n, double gain, double low, double offset, double* y)
{
    const __m128d g = _mm_set1_pd(gain), l = _mm_set1_pd(low), o = _mm_set1_pd(offset);
    int32_t i = 0;
    for (; i + 8 <= n; i += 8)
        ForEachPair(raw + i, [&](__m128i pair, int k) {
            _mm_storeu_pd(y + i + k, _mm_sub_pd(_mm_add_pd(_mm_mul_pd(_mm_cvtepi32_pd(pair), g), l), o));
        });
    return i;
}

int32_t AddRampPairs(uint16_t* raw, int32_t n, double first, double direction, double step, bool& inside)
{
    const __m128d s = _mm_set1_pd(step), twice = _mm_set1_pd(2 * direction);
    __m128d k = _mm_set_pd(first + direction, first), all = AllSet();
    int32_t i = 0;
    for (; i + 8 <= n; i += 8) {
        __m128i words[4];
        ForEachPair(raw + i, [&](__m128i pair, int at) {
            words[at / 2] = RoundPair(_mm_add_pd(_mm_cvtepi32_pd(pair), _mm_mul_pd(k, s)), all);
            k = _mm_add_pd(k, twice);
        });
        StoreWords(words[0], words[1], words[2], words[3], raw + i);
    }
    inside = _mm_movemask_pd(all) == 3;
    return i;
}

int32_t RawOfValuesPairs(const double* x, int32_t n, uint16_t* out, const Rescale& to, bool& inside)
{
    const __m128d lift = _mm_set1_pd(to.lift), least = _mm_set1_pd(to.least), perStep = _mm_set1_pd(to.perStep);
    __m128d all = AllSet();
    auto pair = [&](const double* p) {
        return RoundPair(_mm_mul_pd(_mm_sub_pd(_mm_add_pd(_mm_loadu_pd(p), lift), least), perStep), all);
    };
    int32_t i = 0;
    for (; i + 8 <= n; i += 8)
        StoreWords(pair(x + i), pair(x + i + 2), pair(x + i + 4), pair(x + i + 6), out + i);
    inside = _mm_movemask_pd(all) == 3;
    return i;
}

int32_t WidenRangePairs(const double* v, int32_t n, double& least, double& most, bool& nan)
{
    __m128d lo = _mm_set1_pd(least), hi = _mm_set1_pd(most), unordered = _mm_setzero_pd();
    int32_t i = 0;
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
    return i;
}
#else
int32_t ValuesOfRawPairs(const uint16_t*, int32_t, double, double, double, double*)
{
    return 0;
}
int32_t AddRampPairs(uint16_t*, int32_t, double, double, double, bool&)
{
    return 0;
}
int32_t RawOfValuesPairs(const double*, int32_t, uint16_t*, const Rescale&, bool&)
{
    return 0;
}
int32_t WidenRangePairs(const double*, int32_t, double&, double&, bool&)
{
    return 0;
}
#endif

}  // namespace

void UseWideKernels(bool on)
{
    wideAllowed = on;
}

void ValuesOfRaw(const uint16_t* raw, int32_t n, double gain, double low, double offset, double* y)
{
    int32_t i = Wide() ? ValuesOfRawWide(raw, n, gain, low, offset, y) : ValuesOfRawPairs(raw, n, gain, low, offset, y);
    for (; i < n; ++i)
        y[i] = raw[i] * gain + low - offset;
}

bool AddRampToRaw(uint16_t* raw, int32_t n, double first, double direction, double step)
{
    bool inside = true;
    for (int32_t i = AddRampPairs(raw, n, first, direction, step, inside); i < n; ++i)
        raw[i] = RoundRaw(raw[i] + (first + i * direction) * step, inside);
    return inside;
}

bool RawOfValues(const double* x, int32_t n, uint16_t* out, const Rescale& to)
{
    bool inside = true;
    int32_t i = Wide() ? RawOfValuesWide(x, n, out, to, inside) : RawOfValuesPairs(x, n, out, to, inside);
    for (; i < n; ++i)
        out[i] = RoundRaw(((x[i] + to.lift) - to.least) * to.perStep, inside);
    return inside;
}

bool WidenRange(const double* v, int32_t n, double& least, double& most)
{
    bool nan = false;
    for (int32_t i = WidenRangePairs(v, n, least, most, nan); i < n; ++i) {
        const double x = v[i];
        least = x < least ? x : least;
        most = x > most ? x : most;
        nan |= x != x;
    }
    return nan;
}

}  // namespace vk
