#pragma once

// A channel's curve over a stretch of time, reduced to what a strip of a given
// width can show: the samples themselves when they are few, otherwise per
// pixel column the first, last, smallest and largest value (from the envelope).
// Either way the picture is the one drawing every sample would give.

#include <vector>

#include "core/store/DrawDirection.h"
#include "core/store/Recording.h"
#include "core/view/Envelope.h"

namespace vk {

// breakBefore: samples without a value lie between this and the point or
// column before it (or the window's start): no line joins them.
struct CurvePoint {
    int x;
    double v;
    bool breakBefore = false;
};

struct CurveColumn {
    int x;
    double first, last, min, max;
    bool breakBefore = false;
};

struct Curve {
    std::vector<CurvePoint> points;    // one per drawn sample, or
    std::vector<CurveColumn> columns;  // one per pixel column
};

struct CurveRequest {
    int slot = 0;
    double f1 = 0, f2 = 0;  // the stretch of time, ms from the start
    int width = 0;          // pixels along the time axis
    int height = 0;         // pixels across (for the thinning rule)
    DrawDirection direction = DrawDirection::Upwards;
    const Envelope* envelope = nullptr;  // columns from it when there are many samples per pixel
};

// Samples per pixel from which columns are used.
constexpr double ColumnsFrom = 64.0;

Curve ComputeCurve(const Recording& rec, const CurveRequest& request);

// True when the thinning rule applies: spans above 6000 ms skip samples that
// repeat the column and row of the last drawn one.
inline bool Thinned(double f1, double f2)
{
    return f2 - f1 > 6000.0;
}

}  // namespace vk
