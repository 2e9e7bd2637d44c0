#include "core/calc/SectionScan.h"

#include <algorithm>
#include <cmath>

#include "core/store/Channel.h"
#include "core/store/ChannelSeries.h"

namespace vk {

namespace {

constexpr int RawWords = 65536;
constexpr int32_t Chunk = 4096;  // words summed apart before their sums join the totals

// Sum of j and of j^2 for j = 0 .. n - 1.
double SumTo(double n)
{
    return n * (n - 1) / 2;
}
double SquaresTo(double n)
{
    return (n - 1) * n * (2 * n - 1) / 6;
}

}  // namespace

std::vector<double> RawValueTable(const Recording& rec, int slot)
{
    const ChannelDescriptor& d = rec.desc(slot);
    if ((rec.workshop && rec.workshop->slot() == slot) || d.Derivation)
        return {};
    const Calibration calibration = ChannelView(rec, slot).calibration();
    std::vector<double> values(RawWords);
    for (int r = 0; r < RawWords; ++r) {
        double v = calibration.value(r);
        if ((d.bApplyPolynom && !ApplyPolynomial(d, v)) || !std::isfinite(v))
            return {};  // a pole: value by value
        values[static_cast<std::size_t>(r)] = v;
    }
    return values;
}

void ValueMoments::add(double y, int64_t count, const Levels& levels)
{
    const double d = y - shift, c = static_cast<double>(count);
    n += count;
    sd += c * d;
    sdd += c * d * d;
    sumAbs += c * std::fabs(y);
    min = std::min(min, y);
    max = std::max(max, y);
    if (y > levels.upper)
        above += count;
    if (y < levels.lower)
        below += count;
}

double ValueMoments::squares() const
{
    return n > 0 ? std::max(0.0, sdd - sd * sd / static_cast<double>(n)) : 0;
}

SectionScan::SectionScan(const Recording& rec, int slot, StoredSection section, const Levels& levels, bool line)
        : rec_(rec), slot_(slot), section_(section), levels_(levels)
{
    centre_ = (static_cast<double>(section.first) + section.last) / 2;
    values_ = RawValueTable(rec, slot);
    // The first and the last sample with a value; the first value is the shift of the sums.
    int32_t firstIndex = -1, lastIndex = -1;
    ForEachStretch(rec, slot, section, [&](int32_t lo, int32_t hi) {
        if (firstIndex < 0)
            firstIndex = std::max(lo, section.first);
        lastIndex = std::min(hi, section.last);
    });
    if (firstIndex < 0)
        return;
    if (tabled()) {
        moments_.first = values_[ReadRaw(rec, firstIndex, slot)];
        moments_.last = values_[ReadRaw(rec, lastIndex, slot)];
        moments_.shift = moments_.first;
        countWords(line);
    } else {
        moments_.shift = ReadValue(rec, firstIndex, slot).value;
        readValues(line);
    }
    line_.n = static_cast<double>(moments_.n);
    line_.sd = moments_.sd;
    line_.sdd = moments_.sdd;
    if (moments_.n == section.count()) {  // no gaps: about the middle of all, exactly
        const double n = line_.n;
        line_.su = 0;
        line_.suu = n * (n * n - 1) / 12;
    }
}

template <typename F>
void SectionScan::forEachValue(F f) const
{
    if (tabled()) {
        ForEachStretch(rec_, slot_, section_, [&](int32_t lo, int32_t hi) {
            ForEachRun(rec_, slot_, std::max(lo, section_.first), std::min(hi, section_.last), Chunk,
                       [&](int32_t i0, const uint16_t* w, int32_t count) {
                           for (int32_t k = 0; k < count; ++k)
                               f(i0 + k, values_[w[k]]);
                       });
        });
        return;
    }
    const ChannelSeries series(rec_, slot_);
    ForEachStretch(rec_, slot_, section_, [&](int32_t lo, int32_t hi) {
        for (int32_t i = std::max(lo, section_.first), last = std::min(hi, section_.last); i <= last; ++i)
            if (const PhysValue v = series.read(i); v.status == 0)
                f(i, v.value);
    });
}

void SectionScan::countWords(bool line)
{
    counts_.assign(RawWords, 0);
    std::vector<double> deviation(RawWords);
    for (int r = 0; r < RawWords; ++r)
        deviation[static_cast<std::size_t>(r)] = values_[static_cast<std::size_t>(r)] - moments_.shift;
    ForEachStretch(rec_, slot_, section_, [&](int32_t lo, int32_t hi) {
        ForEachRun(rec_, slot_, std::max(lo, section_.first), std::min(hi, section_.last), Chunk,
                   [&](int32_t i0, const uint16_t* w, int32_t count) {
                       if (!line) {
                           for (int32_t k = 0; k < count; ++k)
                               ++counts_[w[k]];
                           return;
                       }
                       // About the run's first sample, then moved to the centre.
                       double s0 = 0, s1 = 0;
                       for (int32_t k = 0; k < count; ++k) {
                           ++counts_[w[k]];
                           const double dk = deviation[w[k]];
                           s0 += dk;
                           s1 += k * dk;
                       }
                       const double c = i0 - centre_, n = count;
                       line_.su += n * c + SumTo(n);
                       line_.suu += n * c * c + 2 * c * SumTo(n) + SquaresTo(n);
                       line_.sud += c * s0 + s1;
                   });
    });
    for (int r = 0; r < RawWords; ++r)
        if (const uint32_t c = counts_[static_cast<std::size_t>(r)])
            moments_.add(values_[static_cast<std::size_t>(r)], c, levels_);
}

void SectionScan::readValues(bool line)
{
    forEachValue([&](int32_t i, double y) {
        if (moments_.n == 0)
            moments_.first = y;
        moments_.last = y;
        moments_.add(y, 1, levels_);
        if (line) {
            const double u = i - centre_;
            line_.su += u;
            line_.suu += u * u;
            line_.sud += u * (y - moments_.shift);
        }
    });
}

void SectionScan::addTo(Bins& bins) const
{
    if (tabled()) {
        for (int r = 0; r < RawWords; ++r)
            if (const uint32_t c = counts_[static_cast<std::size_t>(r)])
                bins.add(values_[static_cast<std::size_t>(r)], c);
        return;
    }
    forEachValue([&](int32_t, double y) { bins.add(y); });
}

}  // namespace vk
