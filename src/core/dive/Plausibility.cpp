#include "core/dive/Plausibility.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

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

}  // namespace

RunDoubts DoubtfulDives(const std::vector<RunDive>& dives, double threshold)
{
    RunDoubts run;
    // Ripples just past the threshold are many and short; the dives clearly
    // deeper set the measure when there are enough of them.
    std::vector<double> all, deep;
    all.reserve(dives.size());
    for (const RunDive& d : dives) {
        all.push_back(d.duration);
        if (d.maxDepth >= DeepDiveFactor * threshold)
            deep.push_back(d.duration);
    }
    run.medianDuration = Median(deep.size() >= MinDeepDives ? std::move(deep) : std::move(all));
    for (std::size_t k = 0; k < dives.size(); ++k) {
        const RunDive& d = dives[k];
        unsigned reasons = 0;
        if (run.medianDuration > 0 && d.duration > LongDiveFactor * run.medianDuration)
            reasons |= DoubtLong;
        if (d.maxDepth < threshold)
            reasons |= DoubtShallow;
        if (d.endsAtGap)
            reasons |= DoubtGap;
        if (reasons)
            run.doubts.push_back({k, d, reasons});
    }
    return run;
}

std::string CheckMark(unsigned reasons)
{
    std::string mark;
    for (const auto& [bit, word] : {std::pair{DoubtLong, "long"}, {DoubtShallow, "shallow"}, {DoubtGap, "gap"}})
        if (reasons & bit)
            mark += (mark.empty() ? "" : "+") + std::string(word);
    return mark;
}

std::string DoubtWhy(const DiveDoubt& d, const RunDoubts& run, double threshold)
{
    std::vector<std::string> why;
    if (d.reasons & DoubtLong)
        why.push_back(FixedText(d.dive.duration / MsPerMinute, 1) + " min, more than five times the median dive (" +
                      FixedText(run.medianDuration / MsPerMinute, 1) + " min)");
    if (d.reasons & DoubtShallow)
        why.push_back("reaches " + FixedText(d.dive.maxDepth, 1) + " m, less than the threshold of " +
                      ShortText(threshold) + " m after the baseline shift");
    if (d.reasons & DoubtGap)
        why.push_back("ends at a gap in the record");
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

std::string DoubtText(const DiveDoubt& d, const RunDoubts& run, double threshold, const Recording& rec,
                      char dateSeparator)
{
    return "Dive " + std::to_string(d.dive.number) + " at " + DoubtBegin(d, rec, dateSeparator) + ": " +
           DoubtWhy(d, run, threshold);
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
