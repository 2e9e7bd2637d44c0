#include "gui/graph/OverlayPainter.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "core/process/SectionCopy.h"
#include "core/store/Channel.h"
#include "core/view/PixelMap.h"
#include "gui/calc/ClickTools.h"
#include "gui/graph/GraphPainter.h"

namespace vk {

namespace {

const QColor PreviewColour(0, 160, 0);
const QColor TagColour(255, 0, 0);
const QColor NodeColour(0, 0, 255);
constexpr int TagMark = 3;  // pixels across a tag's mark

// Calls draw(width along time, rows across) with the painter turned for a rotated strip.
template <typename Draw>
void AlongTime(QPainter& p, QSize size, bool rotated, Draw draw)
{
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
    AlongTime(p, size, Rotated(d), [&](int along, int across) {
        const std::vector<ColumnRange>& columns =
            (*scene.runMeans)[static_cast<std::size_t>(slot)].columns(scene.rec, slot, scene.view.at, along);
        p.setPen(QPen(TableColour(scene.settings, ColCrossCursor), 1));
        for (int x = 0; x < static_cast<int>(columns.size()); ++x) {
            const ColumnRange& c = columns[static_cast<std::size_t>(x)];
            if (c.any)
                p.drawLine(x, ValueToRow(c.lo, range, across, DirectionOf(d)), x,
                           ValueToRow(c.hi, range, across, DirectionOf(d)));
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
    const ChannelView channel(scene.rec, slot);
    const DisplayRange range = DisplayRangeOf(d);
    const LinePositions& at = scene.view.at;
    if (shown == buffers.end() || range.empty() || channel.interval() <= 0 || !(at.F2 > at.F1))
        return;
    // Exactly what "Fix it" would write now.
    const SectionOverwrite plan = PlanOverwrite(scene.rec, *shown, scene.sections->MergeSections, slot, at.F4);
    if (plan.empty())
        return;
    const int64_t last = plan.first + static_cast<int64_t>(plan.words.size()) - 1;
    AlongTime(p, size, Rotated(d), [&](int along, int across) {
        QPolygon line;
        for (int x = 0; x < along; ++x) {
            const auto i = std::llround(ColumnToTime(x, at.F1, at.F2, along) / channel.interval());
            if (i >= plan.first && i <= last) {
                const double v = RawToPhys(scene.rec, plan.words[static_cast<std::size_t>(i - plan.first)], slot);
                line << QPoint(x, ValueToRow(v, range, across, DirectionOf(d)));
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
    AlongTime(p, size, Rotated(d), [&](int along, int across) {
        auto column = [&](double t) { return TimeToColumn(t, at.F1, at.F2, along); };
        const QPointF from(column(line->t0), ValueToRow(line->y0, range, across, DirectionOf(d)));
        const QPointF to(column(line->t1), ValueToRow(line->y1, range, across, DirectionOf(d)));
        p.setPen(QPen(TableColour(scene.settings, ColLinearRegression), 1));
        p.drawLine(from, to);
    });
}

void PaintTags(QPainter& p, QSize size, const GraphScene& scene, int slot)
{
    if (!scene.tools || scene.tools->tags.slot != slot || scene.tools->tags.tags.empty())
        return;
    const TagList& list = scene.tools->tags;
    const ChannelDescriptor& d = scene.rec.desc(slot);
    const DisplayRange range = DisplayRangeOf(d);
    const LinePositions& at = scene.view.at;
    if (range.empty() || !(list.interval > 0) || !(at.F2 > at.F1))
        return;
    // Only the tags inside F1 .. F2, each pixel marked once however many fall on it.
    const auto first = std::lower_bound(list.tags.begin(), list.tags.end(), at.F1 / list.interval,
                                        [](const Extremum& e, double i) { return e.index < i; });
    AlongTime(p, size, Rotated(d), [&](int along, int across) {
        std::vector<bool> marked(static_cast<std::size_t>(along) * static_cast<std::size_t>(across));
        QPolygon points;
        for (auto e = first; e != list.tags.end() && e->index * list.interval <= at.F2; ++e) {
            const int x = SampleColumn(e->index * list.interval, at.F1, at.F2, along);
            const int y = ValueToRow(e->value, range, across, DirectionOf(d));
            if (x < 0 || x >= along || y < 0 || y >= across)
                continue;
            const std::size_t cell =
                static_cast<std::size_t>(y) * static_cast<std::size_t>(along) + static_cast<std::size_t>(x);
            if (!marked[cell]) {
                marked[cell] = true;
                points << QPoint(x, y);
            }
        }
        p.setPen(QPen(TagColour, TagMark, Qt::SolidLine, Qt::SquareCap));
        p.drawPoints(points);
    });
}

void PaintNodes(QPainter& p, QSize size, const GraphScene& scene, int slot)
{
    if (!scene.tools || scene.tools->nodes.slot != slot || scene.tools->nodes.empty())
        return;
    ClickTools& tools = *scene.tools;
    const ChannelDescriptor& d = scene.rec.desc(slot);
    const DisplayRange range = DisplayRangeOf(d);
    const LinePositions& at = scene.view.at;
    if (range.empty() || !(at.F2 > at.F1))
        return;
    AlongTime(p, size, Rotated(d), [&](int along, int across) {
        auto column = [&](double t) { return TimeToColumn(t, at.F1, at.F2, along); };
        // The live spline: a point for every fourth column between the outer nodes.
        const auto [lo, hi] = std::minmax_element(tools.nodes.nodes.begin(), tools.nodes.nodes.end(),
                                                  [](const Node& a, const Node& b) { return a.time < b.time; });
        const int columns = static_cast<int>(column(hi->time) - column(lo->time));
        QPolygonF curve;
        for (const SplinePoint& sp : LiveSplinePoints(tools.nodes, tools.spline, columns, at.F1, at.F2))
            curve << QPointF(column(sp.time), ValueToRow(sp.value, range, across, DirectionOf(d)));
        p.setPen(QPen(NodeColour, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawPoints(curve);
        // The nodes, hidden outside the strip or the range shown.
        p.setPen(NodeColour);
        p.setBrush(NodeColour);
        for (const Node& n : tools.nodes.nodes) {
            const double x = column(n.time);
            if (x < 0 || x >= along || n.value < range.lo || n.value > range.hi)
                continue;
            p.drawEllipse(QRectF(x - SplineNode::Size / 2.0,
                                 ValueToRow(n.value, range, across, DirectionOf(d)) - SplineNode::Size / 2.0,
                                 SplineNode::Size, SplineNode::Size));
        }
        p.setBrush(Qt::NoBrush);
    });
}

void PaintCompensationPreview(QPainter& p, QSize size, const GraphScene& scene, int slot)
{
    const PreviewCurve* curve = scene.preview;
    const ChannelDescriptor& d = scene.rec.desc(slot);
    const ChannelView channel(scene.rec, slot);
    const DisplayRange range = DisplayRangeOf(d);
    const LinePositions& at = scene.view.at;
    if (!curve || curve->slot != slot || range.empty() || channel.interval() <= 0 || !(at.F2 > at.F1))
        return;
    AlongTime(p, size, Rotated(d), [&](int along, int across) {
        QPolygon line;
        for (int x = 0; x < along; ++x) {
            const auto i = static_cast<int32_t>(std::lround(ColumnToTime(x, at.F1, at.F2, along) / channel.interval()));
            if (i >= curve->model.a && i <= curve->model.b)
                line << QPoint(x, ValueToRow(curve->at(i), range, across, DirectionOf(d)));
        }
        p.setPen(QPen(PreviewColour, 2));
        p.drawPolyline(line);
    });
}

}  // namespace vk
