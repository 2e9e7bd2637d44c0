#include "gui/report/RecordOverview.h"

#include <QPainter>
#include <algorithm>
#include <climits>
#include <cmath>

#include "core/store/Channel.h"
#include "core/store/TimeBase.h"
#include "core/view/Envelope.h"
#include "core/view/ScaleTicks.h"
#include "gui/report/StudyCharts.h"

namespace vk {

namespace {

constexpr int Left = 70, Right = 20, Top = 30, Bottom = 50;
constexpr int LabelRoom = 18;      // px between the depth labels
constexpr int TimeLabelRoom = 90;  // px between the time labels
constexpr double MsPerDay = 86400000.0;

}  // namespace

QImage RecordOverview(const Recording& rec, int slot, const std::vector<DiveMark>& dives)
{
    QImage image(OverviewWidth, OverviewHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    const QRect plot(Left, Top, OverviewWidth - Left - Right, OverviewHeight - Top - Bottom);
    p.drawText(QRect(0, 4, OverviewWidth, Top - 6), Qt::AlignCenter, "The depth record, dives in their shape's colour");
    const ChannelView channel(rec, slot);
    const int64_t count = channel.storedCount();
    if (!HoldsData(rec, slot) || count <= 0 || !(channel.interval() > 0))
        return image;
    Envelope envelope;
    envelope.build(rec.store, slot, count, rec.at(slot).missing);
    const RawExtremes all = envelope.range(rec.store, slot, 0, count);
    if (all.empty())
        return image;
    const double shallow = std::min(0.0, RawToPhys(rec, all.min, slot)), deep = RawToPhys(rec, all.max, slot);
    const double span = std::max(deep - shallow, 1.0);
    auto row = [&](double depth) { return plot.top() + static_cast<int>((depth - shallow) / span * plot.height()); };
    const double first = channel.timeOf(channel.firstStored()), last = channel.span();
    const double perColumn = std::max(last - first, 1.0) / plot.width();

    // Which dive each column lies in: the one covering its middle, else none.
    std::vector<char> shapeAt(static_cast<std::size_t>(plot.width()), 0);
    for (const DiveMark& m : dives) {
        const int from = static_cast<int>((m.onset - first) / perColumn),
                  to = static_cast<int>((m.end - first) / perColumn);
        for (int x = std::max(from, 0); x <= std::min(to, plot.width() - 1); ++x)
            shapeAt[static_cast<std::size_t>(x)] = m.shape;
    }
    for (int x = 0; x < plot.width(); ++x) {
        const int64_t from = static_cast<int64_t>(x * perColumn / channel.interval());
        const int64_t to = std::max(from + 1, static_cast<int64_t>((x + 1) * perColumn / channel.interval()));
        const RawExtremes e = envelope.range(rec.store, slot, from, to);
        if (e.empty())
            continue;
        const char shape = shapeAt[static_cast<std::size_t>(x)];
        p.setPen(shape ? ShapeColour(shape) : QColor(170, 170, 170));
        p.drawLine(plot.left() + x, row(RawToPhys(rec, e.min, slot)), plot.left() + x,
                   row(RawToPhys(rec, e.max, slot)));
    }

    // Axes: depth in metres downwards, time in days (hours for a short record).
    p.setPen(Qt::black);
    p.drawRect(plot);
    const double step = YTickStep(span, plot.height());  // as a strip of that height ticks its scale
    int labelled = INT_MIN / 2;                          // the row of the last label: a label needs its line of room
    for (double v = std::ceil(shallow / step) * step; v <= deep + 1e-9; v += step) {
        p.drawLine(plot.left() - 4, row(v), plot.left(), row(v));
        if (row(v) - labelled < LabelRoom)
            continue;
        labelled = row(v);
        p.drawText(QRect(0, row(v) - 8, plot.left() - 8, 16), Qt::AlignRight | Qt::AlignVCenter, QString::number(v));
    }
    p.save();
    p.translate(14, plot.center().y());
    p.rotate(-90);
    p.drawText(QRect(-80, -10, 160, 20), Qt::AlignCenter, "Depth [m]");
    p.restore();
    const double start = rec.time.GlobalStart + first, end = rec.time.GlobalStart + last;
    // Round hours or midnights; a midnight among hours gives its date.
    for (const double t : RoundTimes(start, end, plot.width() / TimeLabelRoom)) {
        const int x = plot.left() + static_cast<int>((t - start) / perColumn);
        p.drawLine(x, plot.bottom(), x, plot.bottom() + 4);
        const bool midnight = std::fmod(t, MsPerDay) == 0;
        const QString label =
            QString::fromStdString(midnight ? DateText(t, '.').substr(0, 6) : ClockText(t).substr(0, 5));
        p.drawText(QRect(x - 40, plot.bottom() + 6, 80, 16), Qt::AlignCenter, label);
    }
    p.drawText(QRect(plot.left(), plot.bottom() + 24, plot.width(), 18), Qt::AlignCenter,
               QString::fromStdString("Date and time of the record (" + DateText(start, '.') + " " + ClockText(start) +
                                      " to " + DateText(end, '.') + " " + ClockText(end) + ")"));
    return image;
}

}  // namespace vk
