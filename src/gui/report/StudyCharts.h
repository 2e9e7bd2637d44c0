#pragma once

// The charts of a study report, drawn with Qt Charts offscreen into images:
// maximum depth against duration, histograms, dives per hour of day, the bout
// time line, and the recordings side by side. Every axis names its unit.

#include <QColor>
#include <QImage>
#include <QString>

#include "core/dive/StudySummary.h"

namespace vk {

// The colour of a dive shape ('V', 'U', 'Y', 'W', 'P', 'L', 'X') in every report picture.
QColor ShapeColour(char shape);
extern const char ReportShapes[8];  // "VUYWPLX"

constexpr int ChartWidth = 640, ChartHeight = 400;

QImage DepthAgainstDuration(const RecordingStudy& r);
// With `ticks`, the axis runs over the bins exactly with that many ticks.
QImage HistogramChart(const Histogram& h, const QString& title, const QString& axis, int ticks = 0);
QImage DielChart(const std::array<int, 24>& counts);
QImage BoutTimeline(const RecordingStudy& r);
// Dives per day, and median duration and depth with their quartiles, per recording.
QImage StudyComparison(const std::vector<RecordingStudy>& study);

}  // namespace vk
