#include "gui/graph/OverlayPainter.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "core/process/SectionCopy.h"
#include "core/view/PixelMap.h"
#include "gui/graph/GraphPainter.h"

namespace vk {

namespace {

const QColor PreviewColour(0, 160, 0);

// Calls draw(width along time, rows across) with the painter turned for a rotated strip.
template <typename Draw>
void AlongTime(QPainter& p, QSize size, int style, Draw draw)
{
    const bool rotated = Rotated(style);
    p.save();
    p.setClipRect(1, 1, size.width() - 2, size.height() - 2);
    if (rotated)
        p.setTransform(QTransform(0, 1, 1, 0, 0, 0), true);  // time runs downwards
    draw(rotated ? size.height() : size.width(), rotated ? size.width() : size.height());
    p.restore();
}

}  // namespace

void PaintRunMeanOverlay(QPainter& p, QSize size, const GraphScene& scene, int slot)
{
    const ChannelDescriptor& d = scene.rec.desc(slot);
    const DisplayRange range = DisplayRangeOf(d);
    if (!scene.runMeans || d.RunMean <= 0 || range.empty())
        return;
    AlongTime(p, size, d.GrRepr, [&](int along, int across) {
        const std::vector<ColumnRange>& columns =
            (*scene.runMeans)[static_cast<std::size_t>(slot)].columns(scene.rec, slot, scene.view.at, along);
        p.setPen(QPen(TableColour(scene.settings, ColCrossCursor), 1));
        for (int x = 0; x < static_cast<int>(columns.size()); ++x) {
            const ColumnRange& c = columns[static_cast<std::size_t>(x)];
            if (c.any)
                p.drawLine(x, ValueToRow(c.lo, range, across, d.GrRepr), x, ValueToRow(c.hi, range, across, d.GrRepr));
        }
    });
}

void PaintSectionPreview(QPainter& p, QSize size, const GraphScene& scene, int slot)
{
    if (!scene.sections || slot != scene.view.active)
        return;
    const auto& buffers = scene.sections->buffers;
    const auto shown = std::find_if(buffers.begin(), buffers.end(), [](const SectionBuffer& b) { return b.SecShown; });
    const ChannelDescriptor& d = scene.rec.desc(slot);
    const DisplayRange range = DisplayRangeOf(d);
    const LinePositions& at = scene.view.at;
    if (shown == buffers.end() || range.empty() || d.SampRate <= 0 || !(at.F2 > at.F1))
        return;
    // Exactly what "Fix it" would write now.
    const SectionOverwrite plan = PlanOverwrite(scene.rec, *shown, scene.sections->MergeSections, slot, at.F4);
    if (plan.empty())
        return;
    const int64_t last = plan.first + static_cast<int64_t>(plan.words.size()) - 1;
    AlongTime(p, size, d.GrRepr, [&](int along, int across) {
        QPolygon line;
        for (int x = 0; x < along; ++x) {
            const auto i = std::llround(ColumnToTime(x, at.F1, at.F2, along) / d.SampRate);
            if (i >= plan.first && i <= last) {
                const double v = RawToPhys(scene.rec, plan.words[static_cast<std::size_t>(i - plan.first)], slot);
                line << QPoint(x, ValueToRow(v, range, across, d.GrRepr));
            }
        }
        p.setPen(QPen(TableColour(scene.settings, ColMarkedSection), 2));
        p.drawPolyline(line);
    });
}

void PaintRegressionLine(QPainter& p, QSize size, const GraphScene& scene, int slot)
{
    const SceneLine* line = scene.regression;
    const ChannelDescriptor& d = scene.rec.desc(slot);
    const DisplayRange range = DisplayRangeOf(d);
    const LinePositions& at = scene.view.at;
    if (!line || line->slot != slot || range.empty() || !(at.F2 > at.F1))
        return;
    AlongTime(p, size, d.GrRepr, [&](int along, int across) {
        auto column = [&](double t) { return (t - at.F1) * along / (at.F2 - at.F1); };
        const QPointF from(column(line->t0), ValueToRow(line->y0, range, across, d.GrRepr));
        const QPointF to(column(line->t1), ValueToRow(line->y1, range, across, d.GrRepr));
        p.setPen(QPen(TableColour(scene.settings, ColLinearRegression), 1));
        p.drawLine(from, to);
    });
}

void PaintCompensationPreview(QPainter& p, QSize size, const GraphScene& scene, int slot)
{
    const PreviewCurve* curve = scene.preview;
    const ChannelDescriptor& d = scene.rec.desc(slot);
    const DisplayRange range = DisplayRangeOf(d);
    const LinePositions& at = scene.view.at;
    if (!curve || curve->slot != slot || range.empty() || d.SampRate <= 0 || !(at.F2 > at.F1))
        return;
    AlongTime(p, size, d.GrRepr, [&](int along, int across) {
        QPolygon line;
        for (int x = 0; x < along; ++x) {
            const auto i = static_cast<int32_t>(std::lround(ColumnToTime(x, at.F1, at.F2, along) / d.SampRate));
            if (i >= curve->model.a && i <= curve->model.b)
                line << QPoint(x, ValueToRow(curve->at(i), range, across, d.GrRepr));
        }
        p.setPen(QPen(PreviewColour, 2));
        p.drawPolyline(line);
    });
}

}  // namespace vk
