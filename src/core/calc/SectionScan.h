#pragma once

// One pass over the values of a work section: the moments the statistics and
// the histogram are made of, the sums of the line through them, and the bins.
// Where a channel's values follow from its raw words alone (no workshop, no
// difference, no pole of the polynomial in its range), the pass counts raw
// words and takes the values from a table of all 65,536; otherwise it reads
// value by value. Samples without a value are left out.

#include <cstdint>
#include <limits>
#include <vector>

#include "core/calc/Binning.h"
#include "core/calc/LineFit.h"
#include "core/store/Recording.h"
#include "core/store/Stretches.h"

namespace vk {

// Samples above `upper` and below `lower` are counted.
struct Levels {
    double upper = std::numeric_limits<double>::infinity();
    double lower = -std::numeric_limits<double>::infinity();
};

// Moments of values, taken about a shift (the section's first value): the
// sums are of d = y - shift.
struct ValueMoments {
    int64_t n = 0;
    double shift = 0;
    double sd = 0, sdd = 0, sumAbs = 0;
    double min = std::numeric_limits<double>::infinity();
    double max = -std::numeric_limits<double>::infinity();
    int64_t above = 0, below = 0;
    double first = 0, last = 0;  // the first and the last value of the section

    // count values y, at the levels.
    void add(double y, int64_t count, const Levels& levels);
    double sum() const { return static_cast<double>(n) * shift + sd; }
    double mean() const { return n > 0 ? shift + sd / static_cast<double>(n) : 0; }
    // Sum of squared deviations from the mean.
    double squares() const;
};

// The value of each of the 65,536 raw words of the slot, as ReadValue gives
// it; empty where values do not follow from the raw word alone.
std::vector<double> RawValueTable(const Recording& rec, int slot);

class SectionScan {
public:
    // With `line`, also the line sums over u = index - centre(), d = y - shift.
    SectionScan(const Recording& rec, int slot, StoredSection section, const Levels& levels, bool line);

    const ValueMoments& moments() const { return moments_; }
    const LineSums& line() const { return line_; }
    double centre() const { return centre_; }
    // Adds every value to the bins.
    void addTo(Bins& bins) const;
    bool tabled() const { return !values_.empty(); }
    // The value of each raw word when tabled (RawValueTable), else empty.
    const std::vector<double>& values() const { return values_; }

private:
    void countWords(bool line);
    void readValues(bool line);
    template <typename F>
    void forEachValue(F f) const;

    const Recording& rec_;
    int slot_;
    StoredSection section_;
    Levels levels_;
    double centre_ = 0;
    ValueMoments moments_;
    LineSums line_;
    std::vector<double> values_;    // the value of each raw word, when tabled
    std::vector<uint32_t> counts_;  // the section's samples of each raw word, when tabled
};

}  // namespace vk
