#pragma once

// The drawing routines of the graph window. Each takes a painter, a size and
// the scene: the same routine draws the screen and any picture made offscreen.

#include <QColor>
#include <QSize>
#include <QString>

#include "gui/graph/GraphScene.h"

class QPainter;

namespace vk {

// A colour of the table (0x00BBGGRR, or 0..15 from the classic palette).
QColor TableColour(const Settings& settings, int row);

// What changes rarely: background and curve of a channel strip.
void PaintStripBase(QPainter& p, QSize size, const GraphScene& scene, int slot);
// What is painted over it on every paint: grid, subsidiary lines, frame,
// caption, cursors, B- and Sh-cursors, the current dive's marks.
void PaintStripOverlay(QPainter& p, QSize size, const GraphScene& scene, int slot);
// The wiggles of the current dive (strips whose display flag bit 0 is set) and
// its dive stops (the analysis channel's strip).
void PaintDiveMarks(QPainter& p, QSize size, const GraphScene& scene, int slot);
void PaintYScale(QPainter& p, QSize size, const GraphScene& scene, int slot);

// The total window: `slot` over the whole recording, then the border and cursor lines.
void PaintTotalBase(QPainter& p, QSize size, const GraphScene& scene, int slot);
void PaintTotalOverlay(QPainter& p, QSize size, const GraphScene& scene);

// A dive thumbnail: white, a one-pixel black frame, the channel over F1..F2
// in black, and the stamp text at (1, height - 12).
void PaintThumbnail(QPainter& p, QSize size, const GraphScene& scene, int slot, const QString& stamp);

// The time scale under the strips (F1..F2) or under the total window (0..T),
// with its jump-distance line.
enum class TimeScaleKind { Strips, Total };
void PaintTimeScale(QPainter& p, QSize size, const GraphScene& scene, TimeScaleKind kind);

}  // namespace vk
