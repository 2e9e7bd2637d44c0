#include "core/calc/Frequency.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/calc/SectionScan.h"
#include "core/calc/WorkSection.h"
#include "core/store/Channel.h"
#include "core/store/ChannelSeries.h"
#include "core/store/FileUtil.h"
#include "core/store/VkDialogs.h"

namespace vk {

namespace {

constexpr const char* IncludeError = "Error at include into list";
constexpr const char* DiscardError = "Error at discard from list";
constexpr const char* NothingToExport = "No results to export.";
constexpr const char* CannotWrite = " Invalid name or number. Output canceled.";
constexpr int64_t ProgressFrom = 1000000;  // sections this long show their progress
constexpr int64_t ProgressStep = 1 << 20;  // samples between two reports

// General format, 8 significant digits, at most 4 decimals.
std::string General(double v)
{
    char text[48];
    std::snprintf(text, sizeof text, "%.8g", std::round(v * 1e4) / 1e4);
    return text;
}

// The index of the tag nearest to `index`; the earlier of two as near.
std::size_t Nearest(const std::vector<Extremum>& tags, int32_t index)
{
    const auto after =
        std::lower_bound(tags.begin(), tags.end(), index, [](const Extremum& e, int32_t i) { return e.index < i; });
    const auto k = static_cast<std::size_t>(after - tags.begin());
    if (k == 0)
        return 0;
    if (k == tags.size())
        return k - 1;
    return index - tags[k - 1].index <= tags[k].index - index ? k - 1 : k;
}

// Maxima between two minima near position k get their integral and
// frequency as the finder gives them; other maxima there none.
void UpdateMaximaAround(std::vector<Extremum>& tags, std::size_t k, const Recording& rec, int slot, double interval)
{
    const ChannelSeries series(rec, slot);
    const std::size_t from = k >= 2 ? k - 2 : 0, to = std::min(tags.size(), k + 3);
    for (std::size_t j = from; j < to; ++j) {
        Extremum& e = tags[j];
        if (e.type != 1)
            continue;
        e.integral = e.frequency = 0;
        if (j == 0 || j + 1 >= tags.size() || tags[j - 1].type != -1 || tags[j + 1].type != -1)
            continue;
        SetWave(e, series, tags[j - 1].index, tags[j + 1].index, interval);
    }
}

}  // namespace

TagList CalcFrequency(const Recording& rec, int slot, double f4, double f5, double sensitivity, VkDialogs* ui)
{
    TagList list;
    list.slot = slot;
    list.interval = ChannelView(rec, slot).interval();
    const StoredSection section = SectionSamples(ChannelView(rec, slot), f4, f5);
    if (section.count() <= 0)
        return list;
    const SectionScan scan(rec, slot, section, {}, false);
    const ValueMoments& m = scan.moments();
    if (m.n == 0)
        return list;
    const double h = std::sqrt(m.squares() / static_cast<double>(m.n)) * sensitivity;
    // The bar along a long search, moved every so many samples and hidden at the end.
    const int64_t total = section.count();
    int64_t next = ProgressStep;
    auto reached = [&](int32_t at) {
        if (ui && total >= ProgressFrom && at - section.first >= next) {
            ui->progress(at - section.first, total);
            next += ProgressStep;
        }
    };
    struct HideBar {
        VkDialogs* ui;
        bool shown;
        ~HideBar()
        {
            if (ui && shown)
                ui->progress(0, 0);
        }
    } hide{ui, total >= ProgressFrom};
    // Where the values follow the raw words: straight from the words and the table.
    const std::vector<double>& table = scan.values();
    if (!table.empty()) {
        const SampleStore& store = rec.store;
        const int64_t origin = ChannelView(rec, slot).firstStored();
        const auto words = [&](int32_t i) {
            const int64_t p = i - origin;
            const uint16_t* block = store.block(slot, static_cast<int>(p >> SampleStore::BlockShift));
            return table[block ? block[p & SampleStore::BlockMask] : 0];
        };
        list.tags = FindExtremaInStretches(rec, slot, words, section.first, section.last, h, list.interval, reached);
    } else {
        list.tags = FindExtremaInStretches(rec, slot, ChannelSeries(rec, slot), section.first, section.last, h,
                                           list.interval, reached);
    }
    list.results = ResultsOf(list.tags, list.interval);
    return list;
}

FrequencyResults ResultsOf(const std::vector<Extremum>& tags, double intervalMs)
{
    FrequencyResults r;
    double sumMin = 0, sumMax = 0, ptp = 0;
    int j = 0, i = 0;
    for (const Extremum& e : tags) {
        (e.type == -1 ? sumMin : sumMax) += e.value;
        (e.type == -1 ? j : i) += 1;
        ptp += std::fabs(e.peakToPeak);
    }
    if (j < 1 || i < 1)
        return r;
    const double span = (tags.back().index - tags.front().index) * intervalMs;  // ms
    r.frequency = span > 0 ? (j + i - 1) / (2 * span) * 1000 : 0;
    r.averageMin = sumMin / j;
    r.averageMax = sumMax / i;
    r.averagePeakToPeak = ptp / (j + i - 1);
    double squaresMin = 0, squaresMax = 0;
    for (const Extremum& e : tags) {
        const double d = e.value - (e.type == -1 ? r.averageMin : r.averageMax);
        (e.type == -1 ? squaresMin : squaresMax) += d * d;
    }
    r.stdDevMin = std::sqrt(squaresMin / j);
    r.stdDevMax = std::sqrt(squaresMax / i);
    return r;
}

bool InsertTag(TagList& list, const Recording& rec, int32_t index, double value, VkDialogs& ui)
{
    const ChannelView channel(rec, list.slot < 0 ? 0 : list.slot);
    std::vector<Extremum>& tags = list.tags;
    const bool taken = std::any_of(tags.begin(), tags.end(), [&](const Extremum& e) { return e.index == index; });
    if (list.slot < 0 || !channel.stores(index) || taken) {
        ui.message(IncludeError, Severity::Error);
        return false;
    }
    Extremum e;
    e.index = index;
    e.value = value;
    std::size_t at = 0;
    if (tags.empty()) {
        e.type = 1;
        e.peakToPeak = list.results.averagePeakToPeak;
        tags.push_back(e);
    } else {
        e.type = tags[Nearest(tags, index)].value >= value ? -1 : 1;
        at = static_cast<std::size_t>(std::upper_bound(tags.begin(), tags.end(), index,
                                                       [](int32_t i, const Extremum& t) { return i < t.index; }) -
                                      tags.begin());
        e.peakToPeak = at > 0 ? std::fabs(value - tags[at - 1].value) : 0;
        tags.insert(tags.begin() + static_cast<std::ptrdiff_t>(at), e);
        if (at + 1 < tags.size())
            tags[at + 1].peakToPeak = std::fabs(tags[at + 1].value - value);
    }
    UpdateMaximaAround(tags, at, rec, list.slot, list.interval);
    list.results = ResultsOf(tags, list.interval);
    return true;
}

bool DiscardTag(TagList& list, const Recording& rec, int32_t index, VkDialogs& ui)
{
    std::vector<Extremum>& tags = list.tags;
    if (tags.empty()) {
        ui.message(DiscardError, Severity::Error);
        return false;
    }
    const std::size_t k = Nearest(tags, index);
    tags.erase(tags.begin() + static_cast<std::ptrdiff_t>(k));
    if (k < tags.size())
        tags[k].peakToPeak = k > 0 ? tags[k].value - tags[k - 1].value : 0;
    if (!tags.empty())
        UpdateMaximaAround(tags, std::min(k, tags.size() - 1), rec, list.slot, list.interval);
    list.results = ResultsOf(tags, list.interval);
    return true;
}

std::vector<std::string> FrequencyLines(const FrequencyResults& r)
{
    return {"Average Min \t" + General(r.averageMin),       "Average Max \t" + General(r.averageMax),
            "Frequency  \t" + General(r.frequency) + " Hz", "Avg. Peak-to-peak value\t" + General(r.averagePeakToPeak),
            "StdDev Min \t" + General(r.stdDevMin),         "StdDev Max \t" + General(r.stdDevMax)};
}

std::string FrequencyFileText(const TagList& list)
{
    std::string text = "Frequency " + General(list.results.frequency) + "\nAvg Peak to peak value " +
                       General(list.results.averagePeakToPeak) + "\n\n" +
                       "Onset[sec]\ty-value\tPeak to peak\tIntegral\tFrequency\tType\n";
    for (const Extremum& e : list.tags) {
        char line[160];
        if (e.type == -1)
            std::snprintf(line, sizeof line, "%12.3f\t%9.3f\t%9.3f\t%9.3f\t         \tMinimum\n",
                          e.index * list.interval / 1000, e.value, e.peakToPeak, e.integral);
        else
            std::snprintf(line, sizeof line, "%12.3f\t%9.3f\t%9.3f\t%9.3f\t%9.3f\tMaximum\n",
                          e.index * list.interval / 1000, e.value, e.peakToPeak, e.integral, e.frequency);
        text += line;
    }
    return text;
}

bool ExportFrequency(const TagList& list, const std::string& file, VkDialogs& ui)
{
    if (list.tags.empty()) {
        ui.message(NothingToExport);
        return false;
    }
    if (!ReplaceFileContents(file, FrequencyFileText(list))) {
        ui.message(file + CannotWrite, Severity::Error);
        return false;
    }
    return true;
}

}  // namespace vk
