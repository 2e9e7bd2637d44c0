#include "gui/calc/PlotAxes.h"

#include <QPainter>
#include <cmath>
#include <cstdio>

#include "core/view/ScaleTicks.h"

namespace vk {

namespace {

constexpr int YTickLength = 3, YLabelGap = 4;
constexpr int XAxisGap = 7, XTickLength = 4, XLabelGap = 6;
constexpr int XLabelCharacters = 6;

// The multiples of step from `from` to `to`, at most a few hundred.
template <typename F>
void ForEachTick(double from, double to, double step, F f)
{
    constexpr int MostTicks = 500;
    if (!(step > 0) || !(to > from) || (to - from) / step > MostTicks)
        return;
    const double first = std::ceil(from / step), last = std::floor(to / step + 1e-9);
    for (double k = first; k <= last; ++k)
        f(k * step + 0.0, static_cast<int>(k - first));  // + 0.0: no "-0" label
}

}  // namespace

void PaintValueAxisBelow(QPainter& p, QRect image, double from, double to)
{
    const QFontMetrics metrics = p.fontMetrics();
    p.setPen(Qt::black);
    const int right = image.right() + 1, bottom = image.bottom() + 1;
    const int axis = bottom + XAxisGap;
    p.drawLine(image.left(), axis, right, axis);
    ForEachTick(from, to, 2 * YTickStep(to - from, image.width()), [&](double v, int) {
        const int x = image.left() + static_cast<int>(std::lround((v - from) * image.width() / (to - from)));
        p.drawLine(x, axis, x, axis + XTickLength);
        char label[32];
        std::snprintf(label, sizeof label, "%.0f", v);
        const QString text = QString::fromLatin1(label).left(XLabelCharacters);
        p.drawText(x - metrics.horizontalAdvance(text) / 2, axis + XTickLength + XLabelGap + metrics.ascent(), text);
    });
}

void PaintPlotAxes(QPainter& p, QRect image, const PlotRange& r)
{
    const QFontMetrics metrics = p.fontMetrics();
    p.setPen(Qt::black);
    // The count axis along the right edge; every other tick labelled.
    const int right = image.right() + 1, bottom = image.bottom() + 1;
    p.drawLine(right, image.top(), right, bottom);
    ForEachTick(r.yFrom, r.yTo, YTickStep(r.yTo - r.yFrom, image.height()), [&](double v, int k) {
        const int y = bottom - static_cast<int>(std::lround((v - r.yFrom) * image.height() / (r.yTo - r.yFrom)));
        p.drawLine(right, y, right + YTickLength, y);
        if (k % 2 == 0) {
            char label[32];
            std::snprintf(label, sizeof label, "%5.1f", v);
            p.drawText(right + YLabelGap, y + metrics.ascent() / 2, QString::fromLatin1(label));
        }
    });
    PaintValueAxisBelow(p, image, r.xFrom, r.xTo);
}

}  // namespace vk
