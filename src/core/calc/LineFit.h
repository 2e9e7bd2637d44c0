#pragma once

// The least-squares line y = a x + b through samples at x = k Δ. The sums are
// taken about a centre of k and a shift of y (deviations, not raw powers), so
// a constant gives exactly a = 0 and cc = 0 and long sections keep their digits.

#include <cstdint>

#include "core/store/ChannelSeries.h"

namespace vk {

// Sums over the samples of u = k - centre and d = y - shift.
struct LineSums {
    double n = 0, su = 0, suu = 0, sd = 0, sdd = 0, sud = 0;

    void add(double u, double d)
    {
        n += 1;
        su += u;
        suu += u * u;
        sd += d;
        sdd += d * d;
        sud += u * d;
    }
    void add(const LineSums& o)
    {
        n += o.n;
        su += o.su;
        suu += o.suu;
        sd += o.sd;
        sdd += o.sdd;
        sud += o.sud;
    }
};

struct FittedLine {
    double a = 0, b = 0, cc = 0;  // gradient per x unit, value at x = 0, correlation
};

// The line from its sums, x = k Δ: a = Sxy / Sxx, b = mean y - a mean x,
// cc = Sxy / sqrt(Sxx Syy) when Sxx Syy > 0. Under two samples: all 0.
FittedLine LineOf(const LineSums& s, double delta, double centre, double shift);

// Least-squares line through (time s, value) pairs: gradient per second and correlation.
struct LineFit {
    double gradient = 0, correlation = 0;
};
LineFit FitLine(const ChannelSeries& series, int32_t from, int32_t to);

}  // namespace vk
