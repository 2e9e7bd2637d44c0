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
    const int acrossGap = dives.column("PauseAcrossGap");  // not in studies of earlier versions
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
        r.start = TimeOf(cell(row, start));
        r.end = TimeOf(cell(row, end));
        r.error = cell(row, fault);
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
    if ((r.start >= 0 && r.end > r.start) || r.dives.empty())
        return {r.start, r.end};
    return {r.dives.front().onset, r.dives.back().onset + r.dives.back().duration * 1000};
}

double DivesPerDay(const RecordingStudy& r)
{
    const auto [from, to] = RecordedSpan(r);
    return to > from ? static_cast<double>(r.dives.size()) / ((to - from) / MsPerDay) : 0;
}

}  // namespace vk
