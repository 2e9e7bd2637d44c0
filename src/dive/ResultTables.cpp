#include "dive/ResultTables.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

#include "files/PathNames.h"
#include "store/FileUtil.h"
#include "store/TimeBase.h"
#include "store/VkDialogs.h"

namespace vk {

namespace {

// The first line of a file, without its line end; empty for none.
std::string FirstLine(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    std::string line;
    std::getline(in, line);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

bool EmptyOrMissing(const std::string& file)
{
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    return !in || in.tellg() <= 0;
}

bool Absent(double v)
{
    return !std::isfinite(v) || std::fabs(v) >= 1e32;
}

}  // namespace

std::string FreeTableName(const std::string& file, const std::string& header)
{
    for (int k = 2;; ++k) {
        const std::string name = InsertBeforeExtension(file, "_" + std::to_string(k));
        if (EmptyOrMissing(name) || FirstLine(name) + "\n" == header)
            return name;
    }
}

namespace {

constexpr std::size_t HeldBytes = 1 << 18;

// Appends to the file, writing the header first into a new or empty one. A
// write that fails part way (a full disk) is cut back, so the file never ends
// in half a line that the next append would run on from.
bool WriteLines(const std::string& path, const std::string& header, const std::string& lines)
{
    std::error_code error;
    const bool existed = std::filesystem::exists(path, error);
    const auto before = existed ? std::filesystem::file_size(path, error) : 0;
    if (error)
        return false;
    std::FILE* out = std::fopen(path.c_str(), "ab");
    if (!out)
        return false;
    bool ok = true;
    if (before == 0)
        ok = std::fwrite(header.data(), 1, header.size(), out) == header.size();
    ok = ok && std::fwrite(lines.data(), 1, lines.size(), out) == lines.size();
    ok = std::fclose(out) == 0 && ok;
    if (!ok) {
        if (existed)
            std::filesystem::resize_file(path, before, error);
        else
            std::filesystem::remove(path, error);
    }
    return ok;
}

bool Flush(TableTarget& t)
{
    if (t.pending.empty())
        return true;
    const bool ok = WriteLines(t.path, t.header, t.pending);
    t.pending.clear();
    return ok;
}

}  // namespace

bool AppendTable(TableTarget& target, const std::string& file, const std::string& header, const std::string& lines,
                 VkDialogs& ui, bool hold)
{
    if (target.requested != file) {
        Flush(target);
        target = TableTarget{file, file, TableTarget::Unchecked, header, {}};
    }
    if (target.state == TableTarget::Declined)
        return false;
    if (target.state == TableTarget::Unchecked) {
        if (!EmptyOrMissing(file) && FirstLine(file) + "\n" != header) {
            const std::string other = FreeTableName(file, header);
            const Answer a = ui.ask(file + "\r\nholds results with other columns.\r\nWrite these results to\r\n" + other +
                                        "\r\ninstead?",
                                    Buttons::YesNo, Severity::Question);
            if (a != Answer::Yes) {
                target.state = TableTarget::Declined;
                return false;
            }
            target.path = other;
        }
        target.state = TableTarget::Ready;
    }
    target.header = header;
    target.pending += lines;
    if (hold && target.pending.size() < HeldBytes)
        return true;
    return Flush(target);
}

bool FlushTables(ResultTargets& targets)
{
    bool ok = true;
    for (TableTarget* t : {&targets.dives, &targets.bouts, &targets.wiggles})
        ok = Flush(*t) && ok;
    return ok;
}

void Row::next()
{
    if (!first_)
        line_ += delimiter_;
    first_ = false;
}

Row& Row::number(double v, int decimals)
{
    next();
    if (Absent(v))
        return *this;
    static constexpr double half[] = {0.5, 0.05, 0.005, 5e-4, 5e-5, 5e-6, 5e-7, 5e-8, 5e-9};
    if (decimals >= 0 && decimals <= 8 && std::fabs(v) < half[decimals])
        v = 0;  // no "-0.000"
    char buffer[64];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, decimals);
    line_.append(buffer, r.ptr);
    return *this;
}

Row& Row::count(long long v)
{
    next();
    line_ += std::to_string(v);
    return *this;
}

Row& Row::text(const std::string& s)
{
    next();
    const std::size_t at = line_.size();
    line_ += s;
    for (std::size_t i = at; i < line_.size(); ++i)
        if (line_[i] == delimiter_ || line_[i] == '\n' || line_[i] == '\r')
            line_[i] = ' ';
    return *this;
}

Row& Row::empty()
{
    next();
    return *this;
}

namespace {

struct DiveContextOfLine {
    const DiveLines& dive;
    const Recording& rec;
    const Settings& s;
    const DiveRecord& r() const { return dive.record; }
    double start() const { return rec.time.GlobalStart; }
};

struct Column {
    std::string name;
    std::function<void(const DiveContextOfLine&, Row&)> write;
};

constexpr double Ms = 1000.0;

// Every column of the dive file, its name with the unit and how it is written.
const std::vector<Column>& DiveColumns()
{
    static const std::vector<Column> columns = [] {
        using C = const DiveContextOfLine&;
        std::vector<Column> c;
        auto seconds = [&c](const char* name, double DiveRecord::*field) {
            c.push_back({name, [field](C x, Row& row) { row.number(x.r().*field / Ms, 3); }});
        };
        auto value = [&c](const char* name, double DiveRecord::*field, int decimals) {
            c.push_back({name, [field, decimals](C x, Row& row) { row.number(x.r().*field, decimals); }});
        };
        // Values of the bottom phase: empty for a dive without one, where the record holds zeros.
        auto bottom = [&c](const char* name, double DiveRecord::*field, int decimals) {
            c.push_back({name, [field, decimals](C x, Row& row) {
                             x.r().bottomDuration > 0 ? row.number(x.r().*field, decimals) : row.empty();
                         }});
        };
        c.push_back({"Dive", [](C x, Row& row) { row.count(x.r().counter); }});  // as its image and thumbnail
        c.push_back({"Date", [](C x, Row& row) { row.text(DateText(x.start() + x.r().onsetTime, x.s.DateSep)); }});
        c.push_back({"Time", [](C x, Row& row) { row.text(ClockText(x.start() + x.r().onsetTime)); }});
        c.push_back({"Onset[s]", [](C x, Row& row) { row.number(x.r().onsetTime / Ms, 3); }});
        c.push_back({"Shape", [](C x, Row& row) {
                         static const char letters[] = "VUYWPLX";
                         const int code = x.r().shape;
                         row.text(code >= 0 && code <= 6 ? std::string(1, letters[code]) : std::string());
                     }});
        seconds("Duration[s]", &DiveRecord::duration);
        seconds("Pause[s]", &DiveRecord::pause);
        seconds("DescentDuration[s]", &DiveRecord::descentDuration);
        seconds("BottomDuration[s]", &DiveRecord::bottomDuration);
        seconds("AscentDuration[s]", &DiveRecord::ascentDuration);
        value("MaxDepth[m]", &DiveRecord::maxDepth, 3);
        c.push_back({"MaxDepthTime[s]", [](C x, Row& row) {
                         row.number(x.r().maxDepthIndex * x.rec.desc(AnalysisSlot).SampRate / Ms, 3);
                     }});
        value("MeanDepth[m]", &DiveRecord::meanDepth, 3);
        value("DepthIntegral[m*h]", &DiveRecord::depthIntegral, 6);
        seconds("DurationDifference[s]", &DiveRecord::durationDifference);
        value("MaxDepthDifference[m]", &DiveRecord::maxDepthDifference, 3);
        seconds("TimeAbove[s]", &DiveRecord::timeAbove);
        seconds("TimeBelow[s]", &DiveRecord::timeBelow);
        value("DescentRate[m/s]", &DiveRecord::descentRate, 4);
        bottom("BottomRate[m/s]", &DiveRecord::bottomRate, 4);
        value("AscentRate[m/s]", &DiveRecord::ascentRate, 4);
        c.push_back({"DescentRate90[m/s]", [](C x, Row& row) { row.number(x.r().figures.descentRate90, 4); }});
        c.push_back({"AscentRate90[m/s]", [](C x, Row& row) { row.number(x.r().figures.ascentRate90, 4); }});
        bottom("BottomMedian[m]", &DiveRecord::bottomMedian, 3);
        bottom("BottomMinimum[m]", &DiveRecord::bottomMinimum, 3);
        bottom("BottomMean[m]", &DiveRecord::bottomMean, 3);
        bottom("BottomStdDev[m]", &DiveRecord::bottomStdDev, 3);
        bottom("BottomSpread[m]", &DiveRecord::bottomSpread, 3);
        bottom("BottomVerticalDistance[m]", &DiveRecord::bottomVerticalDistance, 3);
        value("BottomFraction", &DiveRecord::bottomFraction, 4);
        bottom("RelativeBottomRange", &DiveRecord::relativeBottomRange, 4);
        bottom("BottomShareOfCycle", &DiveRecord::bottomShareOfCycle, 4);
        bottom("MaxPositionInBottom", &DiveRecord::maxPositionInBottom, 4);
        bottom("BottomRoughness[m/s2]", &DiveRecord::bottomRoughness, 4);
        value("DescentGradient[m/s]", &DiveRecord::descentGradient, 4);
        value("AscentGradient[m/s]", &DiveRecord::ascentGradient, 4);
        c.push_back({"Wiggles", [](C x, Row& row) { row.count(x.r().wiggles.count); }});
        c.push_back({"WiggleMeanAmplitude[m]", [](C x, Row& row) { row.number(x.r().wiggles.meanAmplitude, 3); }});
        c.push_back({"WiggleTotalAmplitude[m]", [](C x, Row& row) { row.number(x.r().wiggles.totalAmplitude, 3); }});
        c.push_back({"WiggleMeanDuration[s]", [](C x, Row& row) { row.number(x.r().wiggles.meanDuration, 3); }});
        c.push_back({"WiggleTotalDuration[s]", [](C x, Row& row) { row.number(x.r().wiggles.totalDuration, 3); }});
        for (const auto& [phase, name] : {std::pair{0, "Descent"}, std::pair{1, "Ascent"}}) {
            const auto p = static_cast<std::size_t>(phase);
            c.push_back({std::string(name) + "Stops", [p](C x, Row& row) { row.count(x.dive.stops.count[p]); }});
            for (int k = 0; k < MaxStopsPerPhase; ++k) {
                const auto n = static_cast<std::size_t>(k);
                auto stop = [p, n, k](C x) -> const DiveStop* {
                    return k < x.dive.stops.count[p] ? &x.dive.stops.stop[p][n] : nullptr;
                };
                const std::string base = std::string(name) + "Stop" + std::to_string(k + 1);
                c.push_back({base + "Onset[s]", [stop](C x, Row& row) {
                                 const DiveStop* s = stop(x);
                                 s ? row.number((s->onset - x.r().onsetTime) / Ms, 3) : row.empty();
                             }});
                c.push_back({base + "End[s]", [stop](C x, Row& row) {
                                 const DiveStop* s = stop(x);
                                 s ? row.number((s->end - x.r().onsetTime) / Ms, 3) : row.empty();
                             }});
                c.push_back({base + "Depth[m]", [stop](C x, Row& row) {
                                 const DiveStop* s = stop(x);
                                 s ? row.number(s->depth, 3) : row.empty();
                             }});
            }
        }
        const std::pair<const char*, double WaterTemperature::*> temperatures[] = {
            {"TemperatureDiveMean", &WaterTemperature::diveMean},
            {"TemperatureBottomMean", &WaterTemperature::bottomMean},
            {"TemperatureBottomMin", &WaterTemperature::bottomMin},
            {"TemperatureBottomMax", &WaterTemperature::bottomMax},
            {"TemperatureAtMaxDepth", &WaterTemperature::atMaxDepth},
            {"TemperatureAroundMaxDepth", &WaterTemperature::aroundMaxDepth}};
        for (const auto& entry : temperatures) {
            const auto field = entry.second;  // a structured binding cannot be captured before C++20 in clang 14
            c.push_back({entry.first, [field](C x, Row& row) { row.number(x.r().temperature.*field, 3); }});
        }
        const std::pair<const char*, double SpeedValues::*> speeds[] = {
            {"DescentDistance[m]", &SpeedValues::descentDistance}, {"BottomDistance[m]", &SpeedValues::bottomDistance},
            {"AscentDistance[m]", &SpeedValues::ascentDistance},   {"DescentAngle[deg]", &SpeedValues::descentAngle},
            {"AscentAngle[deg]", &SpeedValues::ascentAngle},       {"HorizontalDistance[m]", &SpeedValues::horizontalDistance}};
        for (const auto& entry : speeds) {
            const auto field = entry.second;
            c.push_back({entry.first, [field](C x, Row& row) { row.number(x.r().speed.*field, 2); }});
        }
        for (int k = 0; k < MaxDepthBins; ++k) {
            const auto n = static_cast<std::size_t>(k);
            c.push_back({"DepthClass" + std::to_string(k + 1), [n](C x, Row& row) {
                             const auto& classes = x.r().depthClasses;
                             n < classes.size() ? row.count(classes[n]) : row.empty();
                         }});
        }
        for (int k = 0; k < ExtendedRowCount; ++k) {
            const auto n = static_cast<std::size_t>(k);
            c.push_back({"Extended" + std::to_string(k + 1),
                         [n](C x, Row& row) { row.number(x.r().extended[n], 4); }});
        }
        c.push_back({"Comment", [](C x, Row& row) { row.text(x.dive.comment); }});
        return c;
    }();
    return columns;
}

std::string Header(const std::vector<std::string>& names, char delimiter)
{
    Row row(delimiter);
    for (const std::string& n : names)
        row.text(n);
    return row.line();
}

}  // namespace

std::string DiveHeader(char delimiter)
{
    // Asked for with every line: made once per delimiter.
    static std::array<std::string, 256> made;
    std::string& header = made[static_cast<unsigned char>(delimiter)];
    if (header.empty()) {
        std::vector<std::string> names;
        for (const Column& c : DiveColumns())
            names.push_back(c.name);
        header = Header(names, delimiter);
    }
    return header;
}

DiveLines LinesOf(const DiveState& dive)
{
    return {dive.record, dive.stops, dive.wiggles, dive.comment};
}

std::string DiveLine(const DiveLines& dive, const Recording& rec, const Settings& s)
{
    const DiveContextOfLine x{dive, rec, s};
    Row row(s.OutDlmt);
    for (const Column& c : DiveColumns())
        c.write(x, row);
    return row.line();
}

std::string WiggleHeader(char delimiter)
{
    return Header({"Dive", "Wiggle", "Date", "Time", "Time[s]", "Depth[m]", "Amplitude[m]", "Duration[s]", "Type"},
                  delimiter);
}

std::string WiggleLines(const DiveLines& dive, const Recording& rec, const Settings& s)
{
    std::string lines;
    const double interval = rec.desc(AnalysisSlot).SampRate;
    int k = 0;
    for (const WiggleEntry& w : dive.wiggles) {
        const double t = w.index * interval;
        Row row(s.OutDlmt);
        row.count(dive.record.counter)
            .count(++k)
            .text(DateText(rec.time.GlobalStart + t, s.DateSep))
            .text(ClockText(rec.time.GlobalStart + t))
            .number(t / Ms, 3)
            .number(w.depth, 3)
            .number(w.amplitude, 3)
            .number(w.duration, 3)
            .count(w.type);
        lines += row.line();
    }
    return lines;
}

}  // namespace vk
