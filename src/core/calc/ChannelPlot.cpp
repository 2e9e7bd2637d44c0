#include "core/calc/ChannelPlot.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "core/calc/SectionScan.h"
#include "core/calc/WorkSection.h"
#include "core/store/Channel.h"
#include "core/store/ChannelSeries.h"
#include "core/store/NumberText.h"
#include "core/store/Parallel.h"

namespace vk {

namespace {

constexpr int32_t Chunk = 4096;
constexpr int64_t PartSamples = 1 << 21;  // fewer samples a part would not repay a thread
constexpr double MarginShare = 1.0 / 8;
constexpr EllipseState ResetState{100, 100, 200, 200, 30};

// round(v), held inside the int range (a wild value lands off the image).
int RoundToPixel(double v)
{
    constexpr double Far = 1e9;
    return static_cast<int>(std::lround(std::clamp(v, -Far, Far)));
}

int64_t IndexOf(double f, double interval)
{
    constexpr double Far = 9e15;
    const double q = std::trunc(f / interval);
    return std::isnan(q) ? -1 : static_cast<int64_t>(std::clamp(q, -Far, Far));
}

StoredSection Intersect(StoredSection a, StoredSection b)
{
    return {std::max(a.first, b.first), std::min(a.last, b.last)};
}

// Calls f(lo, hi) for each run of the section where both slots have values.
template <typename F>
void ForEachCommonStretch(const Recording& rec, int slotA, int slotB, StoredSection section, F f)
{
    ForEachStretch(rec, slotA, section, [&](int32_t loA, int32_t hiA) {
        const StoredSection part = Intersect(section, {loA, hiA});
        ForEachStretch(rec, slotB, part, [&](int32_t loB, int32_t hiB) {
            const StoredSection common = Intersect(part, {loB, hiB});
            if (common.count() > 0)
                f(common.first, common.last);
        });
    });
}

// Maps the values of one channel to pixels chunk by chunk: through a table of
// all raw words where the values follow from them alone, else value by value.
class PixelReader {
public:
    template <typename Map>
    PixelReader(const Recording& rec, int slot, Map map) : rec_(rec), slot_(slot)
    {
        const std::vector<double> values = RawValueTable(rec, slot);
        table_.reserve(values.size());
        for (const double v : values)
            table_.push_back(map(v));
        map_ = [map](double v) { return map(v); };
    }

    // The pixel of each raw word; empty when values need reading one by one.
    const std::vector<int32_t>& table() const { return table_; }

    // The pixels of samples i0 .. i0 + count - 1 (values present) into out.
    void read(int32_t i0, int32_t count, int32_t* out) const
    {
        if (table_.empty()) {
            const ChannelSeries series(rec_, slot_);  // its own: readers may run side by side
            for (int32_t k = 0; k < count; ++k)
                out[k] = map_(series(i0 + k));
            return;
        }
        ForEachRun(rec_, slot_, i0, i0 + count - 1, count, [&](int32_t j, const uint16_t* w, int32_t n) {
            int32_t* o = out + (j - i0);
            for (int32_t k = 0; k < n; ++k)
                o[k] = table_[w[k]];
        });
    }

private:
    const Recording& rec_;
    int slot_;
    std::vector<int32_t> table_;
    std::function<int32_t(double)> map_;
};

// The colour index (1 or 2) of the samples of the plotted channels, from the
// colour channel's sample at the same time; 2 where it has none.
class ColourReader {
public:
    ColourReader(const Recording& rec, int colourSlot, double plotInterval, double threshold)
            : rec_(rec), slot_(colourSlot), threshold_(threshold)
    {
        if (slot_ < 0 || !HoldsData(rec, slot_))
            return;
        const ChannelView channel(rec, slot_);
        ratio_ = plotInterval / channel.interval();
        stored_ = {channel.firstStored(), channel.last()};
        for (const double v : RawValueTable(rec, slot_))
            exceeds_.push_back(v > threshold ? 1 : 2);
    }

    // The colour of each raw word when the colour channel's samples are the
    // plotted ones (same interval and first sample) and have a value all
    // through `section`; else null.
    const std::vector<uint8_t>* wordTable(int32_t origin, StoredSection section) const
    {
        if (slot_ < 0 || ratio_ != 1.0 || exceeds_.empty() || stored_.first != origin || stored_.last < section.last ||
            rec_.at(slot_).missing.overlaps(section.first - origin, section.last + 1 - origin))
            return nullptr;
        return &exceeds_;
    }
    int slot() const { return slot_; }

    void read(int32_t i0, int32_t count, uint8_t* out) const
    {
        std::fill(out, out + count, uint8_t{2});
        if (slot_ < 0 || ratio_ == 0)
            return;
        if (ratio_ == 1.0 && !exceeds_.empty()) {  // the usual case: word by word from the blocks
            const StoredSection part = Intersect({i0, i0 + count - 1}, stored_);
            ForEachStretch(rec_, slot_, part, [&](int32_t lo, int32_t hi) {
                ForEachRun(rec_, slot_, std::max(lo, part.first), std::min(hi, part.last), count,
                           [&](int32_t j, const uint16_t* w, int32_t n) {
                               uint8_t* o = out + (j - i0);
                               for (int32_t k = 0; k < n; ++k)
                                   o[k] = exceeds_[w[k]];
                           });
            });
            return;
        }
        for (int32_t k = 0; k < count; ++k) {
            const double c = std::floor((i0 + k) * ratio_);
            if (c < stored_.first || c > stored_.last)
                continue;
            const PhysValue v = ReadValue(rec_, static_cast<int32_t>(c), slot_);
            if (v.status == 0 && v.value > threshold_)
                out[k] = 1;
        }
    }

private:
    const Recording& rec_;
    int slot_;
    double threshold_;
    double ratio_ = 0;  // plotted interval / colour interval
    StoredSection stored_;
    std::vector<uint8_t> exceeds_;  // colour index of each raw word, when tabled
};

// The centres at offsets x[k] + y[k] of the padded image in colour c[k]; a
// later sample over an earlier one. An offset of `cells` or more (a centre off
// the image) is left out.
void MarkCentres(uint8_t* base, uint32_t cells, const int32_t* x, const int32_t* y, const uint8_t* c, int32_t n)
{
    for (int32_t k = 0; k < n; ++k) {
        const auto at = static_cast<uint32_t>(x[k]) + static_cast<uint32_t>(y[k]);
        if (at < cells)
            base[at] = c[k];
    }
}

// The same straight from the raw words of the lined-up blocks of the two
// channels and the colour channel.
void MarkWords(uint8_t* base, uint32_t cells, const int32_t* columns, const int32_t* rows, const uint8_t* colours,
               const uint16_t* a, const uint16_t* b, const uint16_t* c, int32_t n)
{
    for (int32_t k = 0; k < n; ++k) {
        const auto at = static_cast<uint32_t>(columns[a[k]]) + static_cast<uint32_t>(rows[b[k]]);
        if (at < cells)
            base[at] = colours[c[k]];
    }
}

// Each centre grown into a dot of radius 1 (the pixel and its four
// neighbours): a pixel keeps the colour of its own centre, else takes colour 1
// from a neighbour's centre before colour 2, so the dots above the threshold
// are never hidden by the others.
void GrowDots(const std::vector<uint8_t>& centres, int stride, int width, int height, std::vector<uint8_t>& out)
{
    for (int y = 0; y < height; ++y) {
        const uint8_t* c = centres.data() + (y + 1) * stride + 1;
        uint8_t* o = out.data() + static_cast<std::size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            const uint8_t n[4] = {c[x - 1], c[x + 1], c[x - stride], c[x + stride]};
            const bool first = n[0] == 1 || n[1] == 1 || n[2] == 1 || n[3] == 1;
            const bool any = (n[0] | n[1] | n[2] | n[3]) != 0;
            o[x] = c[x] != 0 ? c[x] : first ? 1 : any ? 2 : 0;
        }
    }
}

}  // namespace

PlotCheck CheckPlotChannels(const Recording& rec, int slotA, int slotB, int colourSlot)
{
    const auto present = [&](int s) { return s >= 0 && s < SlotCount && HoldsData(rec, s); };
    if (!present(slotA) || !present(slotB) || !present(colourSlot))
        return PlotCheck::ChannelMissing;
    if (ChannelView(rec, slotA).interval() != ChannelView(rec, slotB).interval())
        return PlotCheck::IntervalsDiffer;
    return PlotCheck::Ok;
}

std::string PlotCheckText(PlotCheck check)
{
    switch (check) {
    case PlotCheck::ChannelMissing: return "Error. One of the channels is not present.";
    case PlotCheck::IntervalsDiffer: return " Error. Channel 1 and channel 2 must have same samp. int.";
    default: return {};
    }
}

int ColourSlotOf(const std::string& typed)
{
    int64_t n = 0;
    if (!ParseInteger(typed, n))
        return -1;
    return n < 1 ? 0 : n > SlotCount ? -1 : static_cast<int>(n - 1);
}

double ThresholdOf(double typed)
{
    return typed > 0 ? typed : 1.0;
}

StoredSection PlotSamples(const ChannelView& channel, double f4, double f5)
{
    if (!(channel.interval() > 0))
        return {};
    return StoredPart(channel, IndexOf(f4, channel.interval()), IndexOf(f5, channel.interval()) + 1);
}

ValueSpan SectionSpan(const Recording& rec, int slot, double f4, double f5)
{
    const SectionScan scan(rec, slot, EventSamples(ChannelView(rec, slot), f4, f5), Levels{}, false);
    const ValueMoments& m = scan.moments();
    return {m.min, m.max, m.n > 0};
}

PlotFrame PlotFrameOf(const ValueSpan& a, const ValueSpan& b)
{
    if (!a.any || !b.any)
        return {};
    const double mx = (a.max - a.min) * MarginShare, my = (b.max - b.min) * MarginShare;
    return {a.min - mx, a.max - a.min + 2 * mx, b.min - my, b.max - b.min + 2 * my};
}

int PlotColumn(const PlotFrame& f, double a, int width)
{
    const double scale = width / f.xrange;
    return RoundToPixel(a * scale) - RoundToPixel(f.xmin * scale);
}

int PlotRow(const PlotFrame& f, double b, int height)
{
    const double scale = height / f.yrange;
    return height - (RoundToPixel(b * scale) - RoundToPixel(f.ymin * scale));
}

double PlotValueX(const PlotFrame& f, double x, int width)
{
    return f.xmin + f.xrange * x / width;
}

double PlotValueY(const PlotFrame& f, double y, int height)
{
    return f.ymin + f.yrange * (height - y) / height;
}

CloudImage PaintCloud(const Recording& rec, const CloudRequest& r, const PlotFrame& frame, int width, int height)
{
    CloudImage image{width, height, {}};
    if (width <= 0 || height <= 0 || frame.tooSmall())
        return image;
    // The centres, with one pixel of margin round them for the dots; a long
    // section in parts, each with centres of its own, laid over each other in
    // order so that later samples still lie over earlier ones.
    const int stride = width + 2;
    const std::size_t cells = static_cast<std::size_t>(stride) * (height + 2);
    // Each value maps straight to its part of the offset in the padded image:
    // column + 1 and (row + 1) x stride; off the image, `cells` (so the sum is too far).
    const auto offCells = static_cast<int32_t>(cells);
    const PixelReader columns(rec, r.slotA, [&](double v) {
        const int x = PlotColumn(frame, v, width);
        return x >= 0 && x < width ? x + 1 : offCells;
    });
    const PixelReader rows(rec, r.slotB, [&](double v) {
        const int y = PlotRow(frame, v, height);
        return y >= 0 && y < height ? (y + 1) * stride : offCells;
    });
    const ColourReader colours(rec, r.colourSlot, ChannelView(rec, r.slotA).interval(), r.threshold);
    const StoredSection section = Intersect(PlotSamples(ChannelView(rec, r.slotA), r.f4, r.f5),
                                            PlotSamples(ChannelView(rec, r.slotB), r.f4, r.f5));
    const int32_t origin = ChannelView(rec, r.slotA).firstStored();
    const std::vector<uint8_t> allSecond(std::size_t{1} << 16, 2);
    const std::vector<uint8_t>* colourWords = r.colourSlot < 0 ? &allSecond : colours.wordTable(origin, section);
    const int colourSlot = r.colourSlot < 0 ? r.slotA : colours.slot();
    const bool lined = !columns.table().empty() && !rows.table().empty() && colourWords &&
                       ChannelView(rec, r.slotB).firstStored() == origin;
    const int parts = PartsFor(section.count(), PartSamples);
    std::vector<std::vector<uint8_t>> centres(static_cast<std::size_t>(parts));
    InParallel(parts, [&](int k) {
        const int64_t from = section.first + section.count() * k / parts;
        const int64_t to = section.first + section.count() * (k + 1) / parts - 1;
        std::vector<uint8_t>& mine = centres[static_cast<std::size_t>(k)];
        mine.assign(cells, 0);
        std::vector<int32_t> xs(Chunk), ys(Chunk);
        std::vector<uint8_t> cs(Chunk);
        uint8_t* const base = mine.data();  // a plain local: a byte store could alias a reference
        const StoredSection part{static_cast<int32_t>(from), static_cast<int32_t>(to)};
        if (lined) {  // the usual case: one loop over the words
            ForEachCommonStretch(rec, r.slotA, r.slotB, part, [&](int32_t lo, int32_t hi) {
                ForEachRun(rec, r.slotA, lo, hi, hi - lo + 1, [&](int32_t i0, const uint16_t* a, int32_t n) {
                    const int64_t p = int64_t{i0} - origin;
                    const int block = static_cast<int>(p >> SampleStore::BlockShift);
                    const auto offset = static_cast<std::size_t>(p & SampleStore::BlockMask);
                    const uint16_t *b = rec.store.block(r.slotB, block), *c = rec.store.block(colourSlot, block);
                    if (b && c)
                        MarkWords(base, static_cast<uint32_t>(cells), columns.table().data(), rows.table().data(),
                                  colourWords->data(), a, b + offset, c + offset, n);
                });
            });
            return;
        }
        ForEachCommonStretch(rec, r.slotA, r.slotB, part, [&](int32_t lo, int32_t hi) {
            for (int32_t i = lo; i <= hi; i += Chunk) {
                const int32_t n = std::min(Chunk, hi - i + 1);
                columns.read(i, n, xs.data());
                rows.read(i, n, ys.data());
                colours.read(i, n, cs.data());
                MarkCentres(base, static_cast<uint32_t>(cells), xs.data(), ys.data(), cs.data(), n);
            }
        });
    });
    std::vector<uint8_t>& padded = centres[0];
    for (std::size_t k = 1; k < centres.size(); ++k)
        for (std::size_t p = 0; p < cells; ++p)
            padded[p] = centres[k][p] != 0 ? centres[k][p] : padded[p];
    image.pixels.resize(static_cast<std::size_t>(width) * height);
    GrowDots(padded, stride, width, height, image.pixels);
    return image;
}

namespace {

// The box moved along its diagonals by the band: band pixels across, band x
// height / width down. A box without width has no band.
PixelBox Widened(const EllipseState& e, double sign)
{
    const double w = std::abs(e.right - e.left), h = std::abs(e.bottom - e.top);
    if (w == 0)
        return {double(e.left), double(e.top), double(e.right), double(e.bottom)};
    const double dx = sign * e.band, dy = sign * e.band * h / w;
    return {e.left - dx, e.top - dy, e.right + dx, e.bottom + dy};
}

}  // namespace

PixelBox OuterBox(const EllipseState& e)
{
    return Widened(e, 1);
}

PixelBox InnerBox(const EllipseState& e)
{
    return Widened(e, -1);
}

std::array<HandleCorner, 6> HandleCorners(const EllipseState& e)
{
    const int midX = (e.left + e.right) / 2 - HandleSize / 2, midY = (e.top + e.bottom) / 2 - HandleSize / 2;
    const HandleCorner left{e.left - HandleSize, midY};
    return {left,
            {e.right, midY},
            {midX, e.top - HandleSize},
            {midX, e.bottom},
            {left.x - e.band, midY},
            {left.x + e.band, midY}};
}

PlotHandle HandleAt(const EllipseState& e, int x, int y)
{
    const std::array<HandleCorner, 6> corners = HandleCorners(e);
    // The band handles last drawn lie over the others: they win.
    for (int h = HandleInner; h >= HandleLeft; --h) {
        const HandleCorner c = corners[static_cast<std::size_t>(h - 1)];
        if (x >= c.x && x <= c.x + HandleSize && y >= c.y && y <= c.y + HandleSize)
            return static_cast<PlotHandle>(h);
    }
    return NoHandle;
}

EllipseState MoveHandle(EllipseState e, PlotHandle h, int dx, int dy)
{
    switch (h) {
    case HandleLeft: e.left += dx; break;
    case HandleRight: e.right += dx; break;
    case HandleTop: e.top += dy; break;
    case HandleBottom: e.bottom += dy; break;
    case HandleOuter: e.band = std::max(0, e.band - dx); break;
    case HandleInner: e.band = std::max(0, e.band + dx); break;
    default: break;
    }
    return e;
}

EllipseState ResetEllipse()
{
    return ResetState;
}

}  // namespace vk
