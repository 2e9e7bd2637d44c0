#include "core/dive/StudySummary.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>

#include "core/dive/ResultTables.h"
#include "core/store/NumberText.h"
#include "core/store/TimeBase.h"
#include "core/store/TypedTime.h"

namespace vk {

namespace {

constexpr double MsPerDay = 86400000.0, MsPerHour = 3600000.0;

double Number(const std::string& cell, double otherwise)
{
    double v = 0;
    return !cell.empty() && ParseDecimal(cell, v) ? v : otherwise;
}

// "07.01.2026" and "06:30:49" (or both in one cell) as ms; -1 when they are not a time.
double TimeOf(const std::string& date, const std::string& clock)
{
    const auto d = ParseTypedDate(date);
    const auto t = ParseTypedClock(clock);
    if (!d || !t)
        return -1;
    return EncodeTime(d->year, d->month, d->day, t->hour, t->minute, t->second);
}

double TimeOf(const std::string& both)
{
    const std::size_t blank = both.find(' ');
    return blank == std::string::npos ? -1 : TimeOf(both.substr(0, blank), both.substr(blank + 1));
}

std::string CellOf(const StudyTable& table, const std::vector<std::string>& row, const char* name)
{
    const int c = table.column(name);
    return c >= 0 && static_cast<std::size_t>(c) < row.size() ? row[static_cast<std::size_t>(c)] : std::string();
}

// A recordings.tsv line's facts by column name; a column the table lacks leaves its value unknown.
void ReadFacts(const StudyTable& t, const std::vector<std::string>& row, RecordingSummary& r)
{
    auto number = [&](const char* name) { return Number(CellOf(t, row, name), Missing); };
    auto count = [&](const char* name, auto otherwise) {
        return static_cast<decltype(otherwise)>(Number(CellOf(t, row, name), static_cast<double>(otherwise)));
    };
    r.file = CellOf(t, row, "File");
    r.samples = count("Samples", int64_t{0});
    r.interval = number("Interval[s]");
    auto time = [&](const char* name) {
        const double ms = TimeOf(CellOf(t, row, name));
        return ms < 0 ? Missing : ms;
    };
    r.start = time("Start");
    r.end = time("End");
    r.dives = count("Dives", int32_t{0});
    r.bouts = count("Bouts", int32_t{0});
    r.missingSamples = count("MissingSamples", int64_t{0});
    r.gaps = count("Gaps", int64_t{0});
    r.timeFrom = CellOf(t, row, "TimeFrom");
    r.threshold = number("Threshold[m]");
    r.surfaceBaseline = count("SurfaceBaseline", int32_t{-1});
    r.endOfDive = count("EndOfDive[samples]", int32_t{-1});
    r.boutPause = number("BoutPause[s]");
    r.boutMinDuration = number("BoutMinDuration[s]");
    r.boutFit = CellOf(t, row, "BoutFit");
    r.fitShare = number("BoutFitP");
    r.fitFast = number("BoutFitFast[1/s]");
    r.fitSlow = number("BoutFitSlow[1/s]");
    r.boutCriterion = number("BoutCriterion[s]");
    r.suggested = CellOf(t, row, "Suggested");
    r.seconds = Number(CellOf(t, row, "Seconds"), 0);
    r.note = CellOf(t, row, "Note");
    r.error = CellOf(t, row, "Error");
}

}  // namespace

int StudyTable::column(const std::string& name) const
{
    const auto at = std::find(header.begin(), header.end(), name);
    return at == header.end() ? -1 : static_cast<int>(at - header.begin());
}

bool ReadStudyTable(const std::string& path, StudyTable& table)
{
    std::ifstream in(path, std::ios::binary);
    std::string line;
    if (!in || !std::getline(in, line))
        return false;
    table.header = SplitFields(line, '\t');
    table.rows.clear();
    while (std::getline(in, line))
        if (!line.empty())
            table.rows.push_back(SplitFields(line, '\t'));
    return true;
}

bool ReadStudy(const std::string& folder, std::vector<RecordingStudy>& study, std::string& error)
{
    StudyTable tables[3];
    const char* const names[] = {"recordings.tsv", "dives.tsv", "bouts.tsv"};
    for (int k = 0; k < 3; ++k) {
        const std::string path = (std::filesystem::path(folder) / names[k]).string();
        if (!ReadStudyTable(path, tables[k]) || tables[k].column("Recording") != 0) {
            error = "Cannot read the study table " + path;
            return false;
        }
    }
    const StudyTable &recordings = tables[0], &dives = tables[1], &bouts = tables[2];
    const int start = recordings.column("Start"), end = recordings.column("End"), fault = recordings.column("Error");
    const int date = dives.column("Date"), clock = dives.column("Time"), duration = dives.column("Duration[s]"),
              depth = dives.column("MaxDepth[m]"), pause = dives.column("Pause[s]"), shape = dives.column("Shape");
    // Not in studies of earlier versions:
    const int acrossGap = dives.column("PauseAcrossGap"), number = dives.column("Dive"), check = dives.column("Check");
    const int boutDate = bouts.column("Date"), boutClock = bouts.column("Time"),
              boutDuration = bouts.column("Duration[s]"), boutDives = bouts.column("Dives");
    for (const int c :
         {start, end, fault, date, clock, duration, depth, pause, shape, boutDate, boutClock, boutDuration, boutDives})
        if (c < 0) {
            error = "The study tables in " + folder + " lack columns this program writes";
            return false;
        }
    auto cell = [](const std::vector<std::string>& row, int c) {
        return static_cast<std::size_t>(c) < row.size() ? row[static_cast<std::size_t>(c)] : std::string();
    };
    study.clear();
    std::map<std::string, std::size_t> index;
    for (const auto& row : recordings.rows) {
        RecordingStudy r;
        r.name = cell(row, 0);
        ReadFacts(recordings, row, r.facts);
        index.emplace(r.name, study.size());
        study.push_back(std::move(r));
    }
    for (const auto& row : dives.rows) {
        const auto at = index.find(cell(row, 0));
        if (at == index.end())
            continue;
        StudyDive d;
        d.onset = TimeOf(cell(row, date), cell(row, clock));
        d.duration = Number(cell(row, duration), 0);
        d.maxDepth = Number(cell(row, depth), 0);
        d.pause = Number(cell(row, pause), -1);
        d.pauseAcrossGap = acrossGap >= 0 && cell(row, acrossGap) == "1";
        const std::string s = cell(row, shape);
        d.shape = s.empty() ? 'X' : s[0];
        d.number = static_cast<int>(Number(cell(row, number), -1));
        d.check = cell(row, check);
        study[at->second].dives.push_back(d);
    }
    for (const auto& row : bouts.rows) {
        const auto at = index.find(cell(row, 0));
        if (at == index.end())
            continue;
        study[at->second].bouts.push_back({TimeOf(cell(row, boutDate), cell(row, boutClock)),
                                           Number(cell(row, boutDuration), 0),
                                           static_cast<int>(Number(cell(row, boutDives), 0))});
    }
    return true;
}

Histogram HistogramOf(const std::vector<double>& values, int bins)
{
    Histogram h;
    if (values.empty() || bins < 1)
        return h;
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    const double span = std::max(*high - *low, 1e-9);
    const double raw = span / bins, power = std::pow(10.0, std::floor(std::log10(raw)));
    h.width = power * (raw <= power ? 1 : raw <= 2 * power ? 2 : raw <= 5 * power ? 5 : 10);
    h.start = std::floor(*low / h.width) * h.width;
    h.counts.assign(static_cast<std::size_t>(std::floor((*high - h.start) / h.width)) + 1, 0);
    for (const double v : values)
        ++h.counts[std::min(h.counts.size() - 1, static_cast<std::size_t>(std::floor((v - h.start) / h.width)))];
    return h;
}

Histogram LogHistogramOf(const std::vector<double>& values, int perDecade)
{
    Histogram h;
    double low = HUGE_VAL, high = 0;
    for (const double v : values)
        if (v > 0) {
            low = std::min(low, v);
            high = std::max(high, v);
        }
    if (!(high > 0) || perDecade < 1)
        return h;
    h.width = 1.0 / perDecade;
    h.start = std::floor(std::log10(low));
    const double top = std::max(std::ceil(std::log10(high)), h.start + 1);
    h.counts.assign(static_cast<std::size_t>(std::lround((top - h.start) * perDecade)), 0);
    for (const double v : values)
        if (v > 0) {
            const double place = std::floor((std::log10(v) - h.start) * perDecade);
            ++h.counts[std::min(h.counts.size() - 1, static_cast<std::size_t>(std::max(place, 0.0)))];
        }
    return h;
}

double RoundTimeStep(double span, int most)
{
    static const double steps[] = {MsPerHour / 4, MsPerHour / 2,  MsPerHour,    2 * MsPerHour, 3 * MsPerHour,
                                   6 * MsPerHour, 12 * MsPerHour, MsPerDay,     2 * MsPerDay,  7 * MsPerDay,
                                   14 * MsPerDay, 28 * MsPerDay,  91 * MsPerDay};
    for (const double step : steps)
        if (span / step <= most)
            return step;
    return std::ceil(span / most / (365 * MsPerDay)) * 365 * MsPerDay;
}

std::vector<double> RoundTimes(double from, double to, int most)
{
    std::vector<double> ticks;
    if (!(to > from))
        return ticks;
    const double step = RoundTimeStep(to - from, most);
    for (double t = std::ceil(from / step) * step; t <= to; t += step)
        ticks.push_back(t);
    return ticks;
}

std::array<int, 24> DielCounts(const std::vector<StudyDive>& dives)
{
    std::array<int, 24> counts{};
    for (const StudyDive& d : dives)
        if (d.onset >= 0)
            ++counts[static_cast<std::size_t>(std::fmod(d.onset, MsPerDay) / MsPerHour) % 24];
    return counts;
}

Spread SpreadOf(std::vector<double> values)
{
    Spread s;
    if (values.empty())
        return s;
    std::sort(values.begin(), values.end());
    auto quantile = [&values](double q) {
        const double at = q * static_cast<double>(values.size() - 1);
        const std::size_t below = static_cast<std::size_t>(std::floor(at));
        const std::size_t above = std::min(below + 1, values.size() - 1);
        return values[below] + (values[above] - values[below]) * (at - static_cast<double>(below));
    };
    s.q1 = quantile(0.25);
    s.median = quantile(0.5);
    s.q3 = quantile(0.75);
    return s;
}

std::pair<double, double> RecordedSpan(const RecordingStudy& r)
{
    const double start = Known(r.facts.start) ? r.facts.start : -1, end = Known(r.facts.end) ? r.facts.end : -1;
    if ((start >= 0 && end > start) || r.dives.empty())
        return {start, end};
    return {r.dives.front().onset, r.dives.back().onset + r.dives.back().duration * 1000};
}

double DivesPerDay(const RecordingStudy& r)
{
    const auto [from, to] = RecordedSpan(r);
    return to > from ? static_cast<double>(r.dives.size()) / ((to - from) / MsPerDay) : 0;
}

}  // namespace vk
