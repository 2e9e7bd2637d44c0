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

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    if (values.size() % 2 == 1)
        return *middle;
    return (*middle + *std::max_element(values.begin(), middle)) / 2;
}

// The median duration of the dives of similar depth to the dive of rank `r`
// in `byDepth` (indexes sorted by maximum depth), and their depths.
struct Similar {
    double usual = 0, from = 0, to = 0;
};
Similar SimilarDives(const std::vector<RunDive>& dives, const std::vector<std::size_t>& byDepth, std::size_t r)
{
    const std::size_t n = byDepth.size();
    const double depth = dives[byDepth[r]].maxDepth;
    const auto depthAt = [&](std::size_t k) { return dives[byDepth[k]].maxDepth; };
    // Within the depth ratio, at most half the window on either side.
    std::size_t lo = r, hi = r;
    const std::size_t half = MostSimilarDives / 2;
    while (lo > 0 && r - lo < half && depthAt(lo - 1) * SimilarDepthRatio >= depth)
        --lo;
    while (hi + 1 < n && hi - r < half && depthAt(hi + 1) <= depth * SimilarDepthRatio)
        ++hi;
    // Too few that close: the nearest in depth.
    while (hi - lo < LeastSimilarDives && (lo > 0 || hi + 1 < n)) {
        const bool down = lo > 0 && (hi + 1 >= n || depth - depthAt(lo - 1) <= depthAt(hi + 1) - depth);
        down ? --lo : ++hi;
    }
    std::vector<double> durations;
    for (std::size_t k = lo; k <= hi; ++k)
        if (k != r)
            durations.push_back(dives[byDepth[k]].duration);
    return {Median(std::move(durations)), depthAt(lo), depthAt(hi)};
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
    std::vector<DiveDoubt> found(dives.size());
    for (std::size_t r = 0; r < byDepth.size(); ++r) {
        const std::size_t k = byDepth[r];
        const RunDive& d = dives[k];
        DiveDoubt& doubt = found[k];
        doubt.index = k;
        doubt.dive = d;
        if (dives.size() > LeastSimilarDives) {
            const Similar similar = SimilarDives(dives, byDepth, r);
            doubt.usual = similar.usual;
            doubt.similarFrom = similar.from;
            doubt.similarTo = similar.to;
            if (similar.usual > 0 && d.duration > LongDiveFactor * similar.usual)
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
