#pragma once

// The axes beside a plot image (the histogram, the channel-against-channel
// plot): the count or y axis along the image's right edge, the value or x
// axis a little below it, with ticks by the y-scale rule.

#include <QRect>

class QPainter;

namespace vk {

struct PlotRange {
    double xFrom = 0, xTo = 1, yFrom = 0, yTo = 1;
};

// Room the axes take right of and below the image.
inline constexpr int AxisRoomRight = 48, AxisRoomBelow = 32;

void PaintPlotAxes(QPainter& p, QRect image, const PlotRange& range);
// The value axis alone, below the image, ticked at every second step of the y-scale rule.
void PaintValueAxisBelow(QPainter& p, QRect image, double from, double to);

}  // namespace vk
