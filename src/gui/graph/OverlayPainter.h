#pragma once

// What is drawn over a strip's curve without changing its samples: the
// running-mean overlay and the compensation's preview curve.

#include <QSize>

#include "gui/graph/GraphScene.h"

class QPainter;

namespace vk {

// The least and greatest trailing mean of each column, in the cross-cursor colour.
void PaintRunMeanOverlay(QPainter& p, QSize size, const GraphScene& scene, int slot);
// The stored section an overwrite would write from F4, in the marked-section colour.
void PaintSectionPreview(QPainter& p, QSize size, const GraphScene& scene, int slot);
// The statistics' regression line, in the "Linear Regr." colour.
void PaintRegressionLine(QPainter& p, QSize size, const GraphScene& scene, int slot);
// The frequency tags inside F1 .. F2 as small red marks, in their own strip.
void PaintTags(QPainter& p, QSize size, const GraphScene& scene, int slot);
// The spline nodes as small blue circles and, from four nodes on, the live spline.
void PaintNodes(QPainter& p, QSize size, const GraphScene& scene, int slot);
// The response curve over its section, in green.
void PaintCompensationPreview(QPainter& p, QSize size, const GraphScene& scene, int slot);

}  // namespace vk
