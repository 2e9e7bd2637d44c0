#pragma once

// How values and times map to the pixels of a strip.

#include "core/store/ChannelDescriptor.h"
#include "core/store/DrawDirection.h"

namespace vk {

// The values a strip shows: y-minimum and y-maximum less the baseline offset,
// widened by a sixteenth on each side.
struct DisplayRange {
    double lo = 0, hi = 0;
    bool empty() const { return !(hi > lo); }
};
DisplayRange DisplayRangeOf(const ChannelDescriptor& d);
// Which way its values go.
inline DrawDirection DirectionOf(const ChannelDescriptor& d)
{
    return DirectionOfStyle(d.GrRepr);
}

// Styles 6 .. 9 turn the strip: time runs downwards.
inline bool Rotated(int style)
{
    return style >= 6 && style <= 9;
}
inline bool Rotated(const ChannelDescriptor& d)
{
    return Rotated(d.GrRepr);
}

// round((v - lo) * height / (hi - lo)), mirrored for values drawn upwards
// (the row counted from the bottom).
int ValueToRow(double v, const DisplayRange& r, int height, DrawDirection direction);
double RowToValue(int row, const DisplayRange& r, int height, DrawDirection direction);

// x = whole part of (t - F1) * width / (F2 - F1) for a sample; round() for lines.
int SampleColumn(double t, double f1, double f2, int width);
int LineColumn(double t, double f1, double f2, int width);
double ColumnToTime(double x, double f1, double f2, int width);
// The reverse, unrounded: where a line or a mark at time t goes.
inline double TimeToColumn(double t, double f1, double f2, int width)
{
    return (t - f1) * width / (f2 - f1);
}

}  // namespace vk
