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
constexpr int ShapePictureWidth = 72, ShapePictureHeight = 36;

// A small profile of a dive shape in its colour, for the report's legend.
QImage ShapePicture(char shape);

QImage DepthAgainstDuration(const RecordingStudy& r);
// With `ticks`, the axis runs over the bins exactly with that many ticks.
QImage HistogramChart(const Histogram& h, const QString& title, const QString& axis, int ticks = 0);
// A histogram of LogHistogramOf over seconds, its axis ticked at 1 s, 10 s, 1 min, ... 1 d.
QImage LogDurationChart(const Histogram& h, const QString& title, const QString& axis);
QImage DielChart(const std::array<int, 24>& counts);
QImage BoutTimeline(const RecordingStudy& r);
// Dives per day, and median duration and depth with their quartiles, per recording.
QImage StudyComparison(const std::vector<RecordingStudy>& study);

}  // namespace vk
