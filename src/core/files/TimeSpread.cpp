#include "core/files/TimeSpread.h"

#include <algorithm>

#include "core/store/Channel.h"
#include "core/store/SampleMover.h"

namespace vk {

namespace {

// A gap before the line of index `line` (counted among the loaded samples).
struct LineGap {
    int64_t line = 0, count = 0, shift = 0;  // shift: the gaps' lengths up to and with this one
};

std::vector<LineGap> GapsBeforeLines(const std::vector<TimeGap>& gaps)
{
    std::vector<LineGap> out;
    int64_t shift = 0;
    for (const TimeGap& g : gaps) {
        out.push_back({g.position - shift, g.count, shift + g.count});
        shift += g.count;
    }
    return out;
}

// The missing positions of the spread channel: the file's own (moved with
// their lines) and the gaps, in order.
GapList SpreadMissing(const GapList& loaded, const std::vector<LineGap>& gaps)
{
    std::vector<GapRange> ranges;
    for (const LineGap& g : gaps)
        ranges.push_back({static_cast<int32_t>(g.line + g.shift - g.count), static_cast<int32_t>(g.line + g.shift)});
    for (const GapRange& r : loaded.ranges()) {
        // Cut the range where a gap comes between its lines.
        int64_t from = r.from;
        for (const LineGap& g : gaps) {
            if (g.line <= from)
                continue;
            if (g.line >= r.to)
                break;
            ranges.push_back({static_cast<int32_t>(from), static_cast<int32_t>(g.line)});
            from = g.line;
        }
        ranges.push_back({static_cast<int32_t>(from), r.to});
    }
    // Back into positions: a line moves up by the gaps before or at it.
    auto shiftOf = [&](int64_t line) {
        const auto it =
            std::upper_bound(gaps.begin(), gaps.end(), line, [](int64_t l, const LineGap& g) { return l < g.line; });
        return it == gaps.begin() ? int64_t{0} : std::prev(it)->shift;
    };
    const std::size_t gapRanges = gaps.size();
    for (std::size_t k = gapRanges; k < ranges.size(); ++k) {
        const int64_t s = shiftOf(ranges[k].from);
        ranges[k].from = static_cast<int32_t>(ranges[k].from + s);
        ranges[k].to = static_cast<int32_t>(ranges[k].to + s);
    }
    std::sort(ranges.begin(), ranges.end(), [](const GapRange& a, const GapRange& b) { return a.from < b.from; });
    GapList list;
    for (const GapRange& r : ranges)
        if (r.to > r.from)
            list.add(r.from, r.to);
    return list;
}

}  // namespace

bool SpreadToTimes(Recording& rec, int slot, const std::vector<TimeGap>& gaps, uint16_t standIn)
{
    if (gaps.empty())
        return true;
    Channel channel(rec, slot);
    const int64_t loaded = channel.storedCount();
    const std::vector<LineGap> lines = GapsBeforeLines(gaps);
    const int64_t total = loaded + lines.back().shift;
    if (total > rec.store.capacity(slot) || lines.front().line <= 0 || lines.back().line >= loaded)
        return false;
    // From the last gap down, each run of lines to its place above the gaps before it.
    int64_t end = loaded - 1;
    for (auto g = lines.rbegin(); g != lines.rend(); ++g) {
        MoveSamples(rec.store, slot, g->line, end, g->shift);
        end = g->line - 1;
    }
    std::vector<uint16_t> fill;
    for (const LineGap& g : lines) {
        fill.assign(static_cast<std::size_t>(g.count), standIn);
        WriteWords(rec.store, slot, g.line + g.shift - g.count, g.count, fill.data());
    }
    GapList& missing = channel.gaps();
    missing = SpreadMissing(missing, lines);
    channel.setExtent(channel.firstStored(), total);
    return true;
}

}  // namespace vk
