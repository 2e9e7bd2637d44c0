#include "gui/graph/GraphPainter.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QTransform>
#include <algorithm>
#include <cmath>

#include "core/store/Channel.h"
#include "core/view/Curve.h"
#include "core/view/Overlays.h"
#include "core/view/PixelMap.h"
#include "core/view/ScaleTicks.h"
#include "core/view/WindowLayout.h"
#include "gui/graph/OverlayPainter.h"

namespace vk {

QColor TableColour(const Settings& settings, int row)
{
    const Rgb c = DecodeColour(settings.colours.values[static_cast<std::size_t>(row)]);
    return QColor(c.r, c.g, c.b);
}

namespace {

QFont GraphFont(const Settings& settings)
{
    QFont font;
    font.setPointSize(std::clamp(settings.GraphFontSize, 6, 24));
    return font;
}

QPen LinePen(QColor colour, Qt::PenStyle style)
{
    QPen pen(colour, 1, style);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

// Draws a curve whose "along" axis is time and "across" axis the value rows.
void PaintCurve(QPainter& p, const Curve& curve, const DisplayRange& range, int across, int style, QColor colour)
{
    const int kind = std::abs(Rotated(style) ? (style <= 7 ? 1 : 2) : style);
    // Rotated plots: values across from the left (6, 8) or mirrored (7, 9).
    const DrawDirection direction =
        Rotated(style) ? (style % 2 == 0 ? DrawDirection::Downwards : DrawDirection::Upwards) : DirectionOfStyle(style);
    auto row = [&](double v) { return ValueToRow(v, range, across, direction); };
    const int zero = row(0.0);
    p.setPen(QPen(colour, 1));
    p.setBrush(colour);

    if (!curve.points.empty()) {
        const auto& pts = curve.points;
        switch (kind) {
        case 0:
        case 1: {
            // One line from column 0 (where the pen starts) up to the first
            // missing values, then one after each stretch of them.
            QPolygon line;
            line.reserve(static_cast<int>(pts.size()) + 1);
            auto draw = [&] {
                if (line.size() == 1)
                    p.drawPoint(line.front());  // a lone value between missing ones
                else
                    p.drawPolyline(line);
                line.clear();
            };
            if (!pts.front().breakBefore)
                line << QPoint(0, row(pts.front().v));
            for (const CurvePoint& c : pts) {
                if (c.breakBefore && !line.isEmpty())
                    draw();
                line << QPoint(c.x, row(c.v));
            }
            draw();
            break;
        }
        case 2:
            for (const CurvePoint& c : pts)
                p.drawLine(c.x, zero, c.x, row(c.v));
            break;
        default: {
            const int r = kind == 3 ? 1 : 2;
            for (const CurvePoint& c : pts)
                p.drawEllipse(QPoint(c.x, row(c.v)), r, r);
        }
        }
        return;
    }

    QVector<QLine> lines;
    lines.reserve(static_cast<qsizetype>(curve.columns.size()) * 2);
    const CurveColumn* previous = nullptr;
    for (const CurveColumn& c : curve.columns) {
        const int top = row(c.min), bottom = row(c.max);
        switch (kind) {
        case 0:
        case 1:
            // The step from the last sample of the column before to the first of this one.
            if (previous && previous->x == c.x - 1 && !c.breakBefore)
                lines.append(QLine(c.x - 1, row(previous->last), c.x, row(c.first)));
            lines.append(QLine(c.x, top, c.x, bottom));
            break;
        case 2: p.drawLine(c.x, std::min({zero, top, bottom}), c.x, std::max({zero, top, bottom})); break;
        default: {
            const int r = kind == 3 ? 1 : 2;
            p.fillRect(c.x - r, std::min(top, bottom) - r, 2 * r + 1, std::abs(bottom - top) + 2 * r + 1, colour);
        }
        }
        previous = &c;
    }
    if (!lines.isEmpty())
        p.drawLines(lines);
}

void PaintChannelCurve(QPainter& p, QSize size, const GraphScene& scene, int slot, double f1, double f2, QColor colour)
{
    const ChannelDescriptor& d = scene.rec.desc(slot);
    const DisplayRange range = DisplayRangeOf(d);
    if (!(f2 - f1 >= 1.0) || range.empty())
        return;
    const bool rotated = Rotated(d);
    CurveRequest q;
    q.slot = slot;
    q.f1 = f1;
    q.f2 = f2;
    q.width = rotated ? size.height() : size.width();
    q.height = rotated ? size.width() : size.height();
    q.direction = DirectionOf(d);
    q.envelope = scene.envelope(slot);
    const Curve curve = ComputeCurve(scene.rec, q);
    p.save();
    p.setClipRect(1, 1, size.width() - 2, size.height() - 2);
    if (rotated)
        p.setTransform(QTransform(0, 1, 1, 0, 0, 0), true);  // time runs downwards
    PaintCurve(p, curve, range, q.height, ChannelView(scene.rec, slot).drawingStyle(), colour);
    p.restore();
}

void FillBackground(QPainter& p, QSize size, const Settings& settings)
{
    p.fillRect(0, 0, size.width(), size.height(), TableColour(settings, ColForeground));
    p.fillRect(1, 1, size.width() - 2, size.height() - 2, TableColour(settings, ColBackground));
}

// A vertical line at time t, when t lies in the strip's time range.
void TimeLine(QPainter& p, QSize size, double t, double f1, double f2, Extent e, const QPen& pen, int* column = nullptr)
{
    if (t < f1 || t > f2)
        return;
    const int x = LineColumn(t, f1, f2, size.width());
    if (column) {
        if (*column == x)
            return;  // the right line on the left one's column is not drawn
        *column = x;
    }
    p.setPen(pen);
    p.drawLine(x, e.top, x, e.bottom);
}

void PairLines(QPainter& p, QSize size, double a, double b, double f1, double f2, Extent e, const QPen& pen)
{
    int column = INT32_MIN;
    TimeLine(p, size, a, f1, f2, e, pen, &column);
    TimeLine(p, size, b, f1, f2, e, pen, &column);
}

}  // namespace

void PaintStripBase(QPainter& p, QSize size, const GraphScene& scene, int slot)
{
    FillBackground(p, size, scene.settings);
    const LinePositions& at = scene.view.at;
    const int colour = slot == scene.view.active ? ColActiveCurve : ColInactiveCurves;
    PaintChannelCurve(p, size, scene, slot, at.F1, at.F2, TableColour(scene.settings, colour));
}

void PaintStripOverlay(QPainter& p, QSize size, const GraphScene& scene, int slot)
{
    const Settings& s = scene.settings;
    const ChannelDescriptor& d = scene.rec.desc(slot);
    const int w = size.width(), h = size.height();
    const QColor dashed = TableColour(s, ColDashedLines);

    p.setPen(LinePen(dashed, Qt::DotLine));
    for (int row : GridRows(d, h))
        p.drawLine(2, row, w - 2, row);
    p.setPen(LinePen(dashed, Qt::DashLine));
    for (int row : SubsidiaryRows(s.subsidiaryLines[static_cast<std::size_t>(slot)], d, h))
        p.drawLine(2, row, w - 2, row);

    if (slot == scene.view.active) {
        p.setPen(QPen(TableColour(s, ColActiveCurve), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(1, 1, w - 3, h - 3);
    }

    if (scene.caption != CaptionPlace::Invisible) {
        p.setFont(GraphFont(s));
        const QString name = QString::fromStdString(d.Caption);
        const int x = CaptionColumn(w, static_cast<int>(name.size()));
        const int y = scene.caption == CaptionPlace::Top ? 3 : h - 16;
        const QFontMetrics metrics(p.font());
        p.setPen(TableColour(s, ColForeground));
        p.drawText(x, y + metrics.ascent(), name);
        if (d.bApplyPolynom) {
            p.setPen(QColor(128, 0, 128));
            p.drawText(x + metrics.horizontalAdvance(name), y + metrics.ascent(), " (Poly)");
        }
    }

    const LinePositions& at = scene.view.at;
    const QColor cursor = TableColour(s, ColCursorF4F5);
    PairLines(p, size, at.F4, at.F5, at.F1, at.F2, CursorExtent(h), LinePen(cursor, Qt::DotLine));
    if (d.DisplayFlags & ShowBCursors)
        PairLines(p, size, at.B1, at.B2, at.F1, at.F2, BCursorExtent(h, d.PosF8F9, d.LenF8F9),
                  LinePen(cursor, Qt::DotLine));
    if (d.DisplayFlags & ShowShCursors)
        PairLines(p, size, at.Sh1, at.Sh2, at.F1, at.F2, ShCursorExtent(h),
                  LinePen(TableColour(s, ColShCursors), Qt::SolidLine));
    if (scene.dive)
        PaintDiveMarks(p, size, scene, slot);
    PaintRunMeanOverlay(p, size, scene, slot);
    PaintSectionPreview(p, size, scene, slot);
    PaintRegressionLine(p, size, scene, slot);
    PaintTags(p, size, scene, slot);
    PaintNodes(p, size, scene, slot);
    PaintCompensationPreview(p, size, scene, slot);
}

void PaintDiveMarks(QPainter& p, QSize size, const GraphScene& scene, int slot)
{
    const DiveState& dive = *scene.dive;
    const LinePositions& at = scene.view.at;
    const int h = size.height();
    if (scene.rec.desc(slot).DisplayFlags & ShowBCursors) {
        const QPen pen = LinePen(TableColour(scene.settings, ColCursorF4F5), Qt::SolidLine);
        const double interval = ChannelView(scene.rec, AnalysisSlot).interval();
        for (const WiggleEntry& w : dive.wiggles)
            TimeLine(p, size, w.index * interval, at.F1, at.F2, WiggleMarkExtent(h), pen);
    }
    if (slot != AnalysisSlot)
        return;
    // Each stop: its onset and end as ticks, joined by a bar.
    QPen pen = LinePen(TableColour(scene.settings, ColShCursors), Qt::SolidLine);
    pen.setWidth(2);
    const Extent band = StopMarkExtent(h);
    const int middle = (band.top + band.bottom) / 2;
    for (std::size_t phase = 0; phase < 2; ++phase)
        for (int k = 0; k < dive.stops.count[phase]; ++k) {
            const DiveStop& stop = dive.stops.stop[phase][static_cast<std::size_t>(k)];
            if (stop.end < at.F1 || stop.onset > at.F2)
                continue;
            TimeLine(p, size, stop.onset, at.F1, at.F2, band, pen);
            TimeLine(p, size, stop.end, at.F1, at.F2, band, pen);
            const int a = LineColumn(std::max(stop.onset, at.F1), at.F1, at.F2, size.width());
            const int b = LineColumn(std::min(stop.end, at.F2), at.F1, at.F2, size.width());
            p.drawLine(a, middle, b, middle);
        }
}

void PaintYScale(QPainter& p, QSize size, const GraphScene& scene, int slot)
{
    const Settings& s = scene.settings;
    const ChannelDescriptor& d = scene.rec.desc(slot);
    FillBackground(p, size, s);
    const YScale scale = YScaleTicks(DisplayRangeOf(d), size.height(), DirectionOf(d));
    p.setFont(GraphFont(s));
    const QFontMetrics metrics(p.font());
    p.setPen(TableColour(s, ColForeground));
    for (const YTick& t : scale.ticks) {
        p.drawLine(0, t.row, 4, t.row);
        if (t.labelled)
            p.drawText(6, t.row - metrics.height() / 2 + metrics.ascent(),
                       QString::number(t.value, 'f', scale.decimals));
    }
}

void PaintThumbnail(QPainter& p, QSize size, const GraphScene& scene, int slot, const QString& stamp)
{
    p.fillRect(0, 0, size.width(), size.height(), Qt::white);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, size.width() - 1, size.height() - 1);
    const LinePositions& at = scene.view.at;
    PaintChannelCurve(p, size, scene, slot, at.F1, at.F2, Qt::black);
    QFont font = GraphFont(scene.settings);
    font.setPixelSize(10);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(1, size.height() - 12 + QFontMetrics(font).ascent(), stamp);
}

void PaintTotalBase(QPainter& p, QSize size, const GraphScene& scene, int slot)
{
    FillBackground(p, size, scene.settings);
    PaintChannelCurve(p, size, scene, slot, 0.0, scene.view.T, TableColour(scene.settings, ColActiveCurve));
}

void PaintTotalOverlay(QPainter& p, QSize size, const GraphScene& scene)
{
    const LinePositions& at = scene.view.at;
    const Extent e = CursorExtent(size.height());
    const double t = scene.view.T;
    PairLines(p, size, at.F1, at.F2, 0, t, e, LinePen(TableColour(scene.settings, ColBorderF1F2), Qt::DashLine));
    PairLines(p, size, at.F4, at.F5, 0, t, e, LinePen(TableColour(scene.settings, ColCursorF4F5), Qt::DotLine));
}

void PaintTimeScale(QPainter& p, QSize size, const GraphScene& scene, TimeScaleKind kind)
{
    const Settings& s = scene.settings;
    const int w = size.width(), h = size.height();
    p.fillRect(0, 0, w, h, TableColour(s, ColBackground));
    const bool strips = kind == TimeScaleKind::Strips;
    const double f1 = strips ? scene.view.at.F1 : 0.0;
    const double f2 = strips ? scene.view.at.F2 : scene.view.T;
    if (!(f2 - f1 > 1.0))
        return;
    const TimeScale scale = TimeScaleTicks(scene.rec.time.GlobalStart, f1, f2, w, strips ? 0.75 : 0.6);
    p.setFont(GraphFont(s));
    const QFontMetrics metrics(p.font());
    const int base = 0;
    p.setPen(TableColour(s, ColForeground));
    p.drawLine(0, base, w, base);
    const int lengths[6] = {h / 2, h * 2 / 5, h / 3, h / 4, h / 5, h / 6};
    for (const TimeTick& t : scale.ticks) {
        const int level = static_cast<int>(t.level);
        const QColor colour = TableColour(s, level % 2 == 0 ? ColDawnMarker : ColDuskMarker);
        p.setPen(colour);
        p.drawLine(t.x, base, t.x, base + lengths[level]);
        if (!t.label.empty())
            p.drawText(t.x + 2, base + lengths[level] + metrics.ascent() - 2, QString::fromStdString(t.label));
    }
    // The jump distance: the cursor step over the strips, the border step over the total window.
    const double step = strips ? scene.view.cursorStep : scene.view.borderStep;
    const int length = static_cast<int>(std::min<double>(w, std::round(step * w / (f2 - f1))));
    p.setPen(QPen(Qt::white, 2));
    p.drawLine(0, h - 2, w, h - 2);
    p.setPen(QPen(TableColour(s, ColJumpDistance), 2));
    p.drawLine(0, h - 2, length, h - 2);
}

}  // namespace vk
