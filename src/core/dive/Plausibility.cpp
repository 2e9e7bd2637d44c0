#include "core/dive/Plausibility.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "core/dive/DiveFrame.h"
#include "core/store/ChannelSeries.h"
#include "core/store/FileUtil.h"
#include "core/store/NumberText.h"
#include "core/store/TimeBase.h"

namespace vk {

namespace {

constexpr double MsPerMinute = 60000.0;

// The durations of a window of the dives in depth order, by rank: a dive
// enters and leaves the window in a few steps, and the median is found
// without sorting the window anew for each dive.
class DurationWindow {
public:
    explicit DurationWindow(const std::vector<double>& durations)
            : rankOf_(durations.size()), counts_(durations.size() + 1, 0)
    {
        std::vector<std::size_t> order(durations.size());
        for (std::size_t k = 0; k < order.size(); ++k)
            order[k] = k;
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return durations[a] < durations[b]; });
        sorted_.resize(order.size());
        for (std::size_t r = 0; r < order.size(); ++r) {
            rankOf_[order[r]] = r;
            sorted_[r] = durations[order[r]];
        }
    }
    void add(std::size_t k) { change(rankOf_[k], +1); }
    void remove(std::size_t k) { change(rankOf_[k], -1); }
    // The median of the durations in the window (0 for none).
    double median() const
    {
        if (size_ == 0)
            return 0;
        const std::size_t middle = static_cast<std::size_t>(size_) / 2;
        if (size_ % 2 == 1)
            return smallest(middle);
        return (smallest(middle) + smallest(middle - 1)) / 2;
    }

private:
    void change(std::size_t rank, int by)
    {
        size_ += by;
        for (std::size_t i = rank + 1; i < counts_.size(); i += i & (~i + 1))
            counts_[i] += by;
    }
    // The (k + 1)-th smallest duration in the window.
    double smallest(std::size_t k) const
    {
        std::size_t at = 0;
        std::size_t step = 1;
        while (step * 2 < counts_.size())
            step *= 2;
        auto left = static_cast<int64_t>(k);
        for (; step > 0; step /= 2)
            if (at + step < counts_.size() && counts_[at + step] <= left) {
                at += step;
                left -= counts_[at];
            }
        return sorted_[at];  // rank `at` holds it
    }
    std::vector<std::size_t> rankOf_;
    std::vector<double> sorted_;
    std::vector<int64_t> counts_;  // a Fenwick tree of how many of each rank the window holds
    int64_t size_ = 0;
};

// The dives of similar depth to the dive of rank `r` in depth order (their
// depths ascending): from .. to, itself included.
struct Similar {
    std::size_t lo = 0, hi = 0;
};
Similar SimilarDives(const std::vector<double>& depths, std::size_t r)
{
    const std::size_t n = depths.size();
    const double depth = depths[r];
    // Within the depth ratio, at most half the window on either side.
    std::size_t lo = r, hi = r;
    const std::size_t half = MostSimilarDives / 2;
    while (lo > 0 && r - lo < half && depths[lo - 1] * SimilarDepthRatio >= depth)
        --lo;
    while (hi + 1 < n && hi - r < half && depths[hi + 1] <= depth * SimilarDepthRatio)
        ++hi;
    // Too few that close: the nearest in depth.
    while (hi - lo < LeastSimilarDives && (lo > 0 || hi + 1 < n)) {
        const bool down = lo > 0 && (hi + 1 >= n || depth - depths[lo - 1] <= depths[hi + 1] - depth);
        down ? --lo : ++hi;
    }
    return {lo, hi};
}

}  // namespace

RunDoubts DoubtfulDives(const std::vector<RunDive>& dives, double threshold, double endRule)
{
    RunDoubts run;
    std::vector<std::size_t> byDepth(dives.size());
    for (std::size_t k = 0; k < dives.size(); ++k)
        byDepth[k] = k;
    std::stable_sort(byDepth.begin(), byDepth.end(),
                     [&](std::size_t a, std::size_t b) { return dives[a].maxDepth < dives[b].maxDepth; });
    // Durations and depths in depth order, the durations of the window of
    // similar dives counted by rank as the window moves.
    std::vector<double> depths(dives.size()), durations(dives.size());
    for (std::size_t r = 0; r < byDepth.size(); ++r) {
        depths[r] = dives[byDepth[r]].maxDepth;
        durations[r] = dives[byDepth[r]].duration;
    }
    DurationWindow window(durations);
    std::size_t inFrom = 0, inTo = 0;  // the window holds ranks inFrom .. inTo - 1
    std::vector<DiveDoubt> found(dives.size());
    for (std::size_t r = 0; r < byDepth.size(); ++r) {
        const std::size_t k = byDepth[r];
        const RunDive& d = dives[k];
        DiveDoubt& doubt = found[k];
        doubt.index = k;
        doubt.dive = d;
        if (dives.size() > LeastSimilarDives) {
            const Similar similar = SimilarDives(depths, r);
            // The window moves to lo .. hi, the dive itself left out.
            while (inTo <= similar.hi)
                window.add(inTo++);
            while (inFrom > similar.lo)
                window.add(--inFrom);
            while (inFrom < similar.lo)
                window.remove(inFrom++);
            while (inTo > similar.hi + 1)
                window.remove(--inTo);
            window.remove(r);
            doubt.usual = window.median();
            window.add(r);
            doubt.similarFrom = depths[similar.lo];
            doubt.similarTo = depths[similar.hi];
            if (doubt.usual > 0 && d.duration > LongDiveFactor * doubt.usual)
                doubt.reasons |= DoubtLong;
        }
        if (d.maxDepth < threshold)
            doubt.reasons |= DoubtShallow;
        if (d.endsAtGap)
            doubt.reasons |= DoubtGap;
        if (endRule > 0 && d.surfaceStay > endRule)
            doubt.reasons |= DoubtJoined;
    }
    for (DiveDoubt& d : found)
        if (d.reasons)
            run.doubts.push_back(std::move(d));
    return run;
}

void MeasureSurfaceStay(const Recording& rec, const LinePositions& at, double threshold, RunDive& dive)
{
    const ChannelSeries depth = DiveSeries(rec, at);
    const double interval = depth.interval();
    const DiveFrame f = FrameOf(at, interval);
    int32_t first = f.F4, last = f.F5;
    while (first <= last && !(depth(first) > threshold))
        ++first;
    while (last >= first && !(depth(last) > threshold))
        --last;
    int32_t longest = 0, longestAt = 0;
    for (int32_t i = first; i <= last;) {
        if (depth(i) > threshold) {
            ++i;
            continue;
        }
        const int32_t from = i;
        while (i <= last && !(depth(i) > threshold))
            ++i;
        if (i - from > longest) {
            longest = i - from;
            longestAt = from;
        }
    }
    dive.surfaceStay = longest * interval;
    dive.surfaceStayAt = longestAt * interval;
}

std::string CheckMark(unsigned reasons)
{
    std::string mark;
    for (const auto& [bit, word] :
         {std::pair{DoubtLong, "long"}, {DoubtShallow, "shallow"}, {DoubtGap, "gap"}, {DoubtJoined, "joined"}})
        if (reasons & bit)
            mark += (mark.empty() ? "" : "+") + std::string(word);
    return mark;
}

std::string DoubtWhy(const DiveDoubt& d, double threshold, const Recording& rec, char dateSeparator)
{
    std::vector<std::string> why;
    if (d.reasons & DoubtLong)
        why.push_back(FixedText(d.dive.duration / MsPerMinute, 1) + " min, long for its depth of " +
                      FixedText(d.dive.maxDepth, 1) + " m: dives of " + FixedText(d.similarFrom, 1) + " to " +
                      FixedText(d.similarTo, 1) + " m last " + FixedText(d.usual / MsPerMinute, 1) + " min (median)");
    if (d.reasons & DoubtShallow)
        // Two decimals where one would read as the threshold itself.
        why.push_back("reaches " +
                      FixedText(d.dive.maxDepth, std::round(d.dive.maxDepth * 10) / 10 >= threshold ? 2 : 1) +
                      " m, less than the threshold of " + ShortText(threshold) + " m after the baseline shift");
    if (d.reasons & DoubtGap)
        why.push_back("ends at a gap in the record");
    if (d.reasons & DoubtJoined) {
        const double at = rec.time.GlobalStart + d.dive.surfaceStayAt;
        why.push_back("stays " + ShortText(std::round(d.dive.surfaceStay / 1000)) +
                      " s shallower than the threshold from " + DateText(at, dateSeparator) + " " + ClockText(at) +
                      ", longer than the end of a dive needs: two dives joined?");
    }
    std::string text;
    for (std::size_t k = 0; k < why.size(); ++k)
        text += (k ? "; " : "") + why[k];
    return text;
}

std::string DoubtBegin(const DiveDoubt& d, const Recording& rec, char dateSeparator)
{
    const double at = rec.time.GlobalStart + d.dive.onset;
    return DateText(at, dateSeparator) + " " + ClockText(at);
}

std::string DoubtText(const DiveDoubt& d, double threshold, const Recording& rec, char dateSeparator)
{
    return "Dive " + std::to_string(d.dive.number) + " at " + DoubtBegin(d, rec, dateSeparator) + ": " +
           DoubtWhy(d, threshold, rec, dateSeparator);
}

bool MarkCheckLines(std::string& text, const RunDoubts& run, std::size_t dives, char delimiter)
{
    if (run.doubts.empty())
        return true;
    if (text.empty() || text.back() != '\n')
        return false;
    // Where each of the run's lines ends: the last `dives` line ends.
    std::vector<std::size_t> ends;
    for (std::size_t at = text.size(); at-- > 0 && ends.size() < dives;)
        if (text[at] == '\n')
            ends.push_back(at);
    if (ends.size() < dives)
        return false;
    std::reverse(ends.begin(), ends.end());
    std::string marked;
    marked.reserve(text.size() + run.doubts.size() * 16);
    std::size_t copied = 0;
    for (const DiveDoubt& d : run.doubts) {
        if (d.index >= ends.size())
            return false;
        const std::size_t end = ends[d.index];
        if (end == 0 || text[end - 1] != delimiter)
            return false;  // the last field is not empty: not the column we wrote
        marked.append(text, copied, end - copied);
        marked += CheckMark(d.reasons);
        copied = end;
    }
    marked.append(text, copied, std::string::npos);
    text = std::move(marked);
    return true;
}

bool MarkCheckColumn(const std::string& file, const RunDoubts& run, std::size_t dives, char delimiter)
{
    if (run.doubts.empty())
        return true;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return false;
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Below the header: the table holds more lines than the run's.
    if (in.bad() || std::count(text.begin(), text.end(), '\n') <= static_cast<std::ptrdiff_t>(dives))
        return false;
    return MarkCheckLines(text, run, dives, delimiter) && ReplaceFileContents(file, text);
}

}  // namespace vk
