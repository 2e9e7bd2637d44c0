#include "core/dive/DiveTable.h"

#include <cstdio>
#include <functional>

#include "core/dive/ExtendedParamsRules.h"
#include "core/store/Channel.h"
#include "core/store/NumberText.h"
#include "core/store/TimeBase.h"

namespace vk {

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
    // Where the settings decide what the column holds, its name says so.
    std::function<std::string(const Recording&, const Settings&)> nameOf = {};
    // Where the settings can switch its values off, whether they are on: a
    // column switched off is left out, not written as a row of zeros.
    // Cheap: it is asked for every column of every line.
    std::function<bool(const Settings&)> on = {};
    bool isOn(const Settings& s) const { return !on || on(s); }
    std::string nameIn(const Recording& rec, const Settings& s) const { return nameOf ? nameOf(rec, s) : name; }
};

using SwitchedBy = std::function<bool(const Settings&)>;

bool ExtendedRowInUse(const ExtendedParameterRow& row)
{
    return row.enabled && row.operation >= 1 && row.operation < static_cast<int>(OperationItems.size()) &&
           row.channel >= 0 && row.channel < SlotCount && row.section >= 0 &&
           row.section < static_cast<int>(SectionItems.size());
}

// "[Mean of Temperature at Bottom]", with the unit where the operation makes one.
std::string ExtendedName(const ExtendedParameterRow& row, const Recording& rec)
{
    if (!ExtendedRowInUse(row))
        return {};
    static const char* const units[] = {"", "", "", "", "", ", *h", "", "", ", /s", ", km", ", km"};
    return std::string("[") + OperationItems[static_cast<std::size_t>(row.operation)] + " of " +
           rec.desc(row.channel).Caption + " at " + SectionItems[static_cast<std::size_t>(row.section)] +
           units[row.operation] + "]";
}

// "[20-30m]": the bounds of depth class k while depth frequencies are on.
bool ClassInUse(int k, const DiveParameters& p)
{
    return p.Frequencies && p.NrBins > 0 && p.MaxBin > p.MinBin && k < std::min(p.NrBins, MaxDepthBins);
}

std::string ClassBounds(int k, const DiveParameters& p)
{
    if (!ClassInUse(k, p))
        return {};
    const double width = (p.MaxBin - p.MinBin) / p.NrBins;
    return "[" + ShortText(p.MinBin + k * width) + "-" + ShortText(p.MinBin + (k + 1) * width) + "m]";
}

constexpr double Ms = 1000.0;

// A time in ms as seconds; one not known stays so.
double Seconds(double ms)
{
    return Known(ms) ? ms / Ms : Missing;
}

// Every column of the dive file, its name with the unit and how it is written.
const std::vector<Column>& DiveColumns()
{
    static const std::vector<Column> columns = [] {
        using C = const DiveContextOfLine&;
        std::vector<Column> c;
        auto seconds = [&c](const char* name, double DiveRecord::*field) {
            c.push_back({name, [field](C x, Row& row) { row.number(Seconds(x.r().*field), 3); }});
        };
        auto value = [&c](const char* name, double DiveRecord::*field, int decimals) {
            c.push_back({name, [field, decimals](C x, Row& row) { row.number(x.r().*field, decimals); }});
        };
        c.push_back({"Dive", [](C x, Row& row) { row.count(x.r().counter); }});  // as its image and thumbnail
        c.push_back({"Date", [](C x, Row& row) { row.text(DateText(x.start() + x.r().onsetTime, x.s.DateSep)); }});
        c.push_back({"Time", [](C x, Row& row) { row.text(ClockText(x.start() + x.r().onsetTime)); }});
        c.push_back({"Onset[s]", [](C x, Row& row) { row.number(x.r().onsetTime / Ms, 3); }});
        c.push_back({"Shape", [](C x, Row& row) {
                         const char letter = ShapeLetter(x.r().shape);
                         row.text(letter == ' ' ? std::string() : std::string(1, letter));
                     }});
        seconds("Duration[s]", &DiveRecord::duration);
        seconds("Pause[s]", &DiveRecord::pause);
        seconds("DescentDuration[s]", &DiveRecord::descentDuration);
        seconds("BottomDuration[s]", &DiveRecord::bottomDuration);
        seconds("AscentDuration[s]", &DiveRecord::ascentDuration);
        value("MaxDepth[m]", &DiveRecord::maxDepth, 3);
        c.push_back({"MaxDepthTime[s]", [](C x, Row& row) {
                         row.number(x.r().maxDepthIndex * ChannelView(x.rec, AnalysisSlot).interval() / Ms, 3);
                     }});
        value("MeanDepth[m]", &DiveRecord::meanDepth, 3);
        value("DepthIntegral[m*h]", &DiveRecord::depthIntegral, 6);
        seconds("DurationDifference[s]", &DiveRecord::durationDifference);
        value("MaxDepthDifference[m]", &DiveRecord::maxDepthDifference, 3);
        // "Time above" counts the time deeper than its depth, "Time below" the time not deeper.
        c.push_back({"TimeDeeperThan", [](C x, Row& row) { row.number(Seconds(x.r().timeAbove), 3); },
                     [](const Recording&, const Settings& s) {
                         return "TimeDeeperThan" + ShortText(s.dive.TimeAbove) + "m[s]";
                     },
                     [](const Settings& s) { return s.dive.TimeAbove != 0; }});
        c.push_back({"TimeNotDeeperThan", [](C x, Row& row) { row.number(Seconds(x.r().timeBelow), 3); },
                     [](const Recording&, const Settings& s) {
                         return "TimeNotDeeperThan" + ShortText(s.dive.TimeBelow) + "m[s]";
                     },
                     [](const Settings& s) { return s.dive.TimeBelow != 0; }});
        value("DescentRate[m/s]", &DiveRecord::descentRate, 4);
        value("BottomRate[m/s]", &DiveRecord::bottomRate, 4);
        value("AscentRate[m/s]", &DiveRecord::ascentRate, 4);
        // No points to 90 %: the dive was too short, or began or ended there.
        c.push_back({"DescentRate90[m/s]", [](C x, Row& row) {
                         const DiveFigures& f = x.r().figures;
                         f.descentPoints90 > 0 ? row.number(f.descentRate90, 4) : row.empty();
                     }});
        c.push_back({"AscentRate90[m/s]", [](C x, Row& row) {
                         const DiveFigures& f = x.r().figures;
                         f.ascentPoints90 > 0 ? row.number(f.ascentRate90, 4) : row.empty();
                     }});
        value("BottomMedian[m]", &DiveRecord::bottomMedian, 3);
        value("BottomMinimum[m]", &DiveRecord::bottomMinimum, 3);
        value("BottomMean[m]", &DiveRecord::bottomMean, 3);
        value("BottomStdDev[m]", &DiveRecord::bottomStdDev, 3);
        value("BottomSpread[m]", &DiveRecord::bottomSpread, 3);
        value("BottomVerticalDistance[m]", &DiveRecord::bottomVerticalDistance, 3);
        value("BottomFraction", &DiveRecord::bottomFraction, 4);
        value("RelativeBottomRange", &DiveRecord::relativeBottomRange, 4);
        value("BottomShareOfCycle", &DiveRecord::bottomShareOfCycle, 4);
        value("MaxPositionInBottom", &DiveRecord::maxPositionInBottom, 4);
        value("BottomRoughness[m/s2]", &DiveRecord::bottomRoughness, 4);
        value("DescentGradient[m/s]", &DiveRecord::descentGradient, 4);
        value("AscentGradient[m/s]", &DiveRecord::ascentGradient, 4);
        // The columns pushed since `first` are on only where `on` says so.
        auto switchedBy = [&c](std::size_t first, const SwitchedBy& on) {
            for (std::size_t k = first; k < c.size(); ++k)
                c[k].on = on;
        };
        std::size_t first = c.size();
        c.push_back({"Wiggles", [](C x, Row& row) { row.count(x.r().wiggles.count); }});
        c.push_back({"WiggleMeanAmplitude[m]", [](C x, Row& row) { row.number(x.r().wiggles.meanAmplitude, 3); }});
        c.push_back({"WiggleTotalAmplitude[m]", [](C x, Row& row) { row.number(x.r().wiggles.totalAmplitude, 3); }});
        c.push_back({"WiggleMeanDuration[s]", [](C x, Row& row) { row.number(x.r().wiggles.meanDuration, 3); }});
        c.push_back({"WiggleTotalDuration[s]", [](C x, Row& row) { row.number(x.r().wiggles.totalDuration, 3); }});
        switchedBy(first, [](const Settings& s) { return s.dive.WiggMethod != WiggleMethod::None; });
        first = c.size();
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
        switchedBy(first, [](const Settings& s) { return s.dive.DiveStops != 0; });
        first = c.size();
        const std::pair<const char*, double WaterTemperature::*> temperatures[] = {
            {"TemperatureDiveMean[degC]", &WaterTemperature::diveMean},
            {"TemperatureBottomMean[degC]", &WaterTemperature::bottomMean},
            {"TemperatureBottomMin[degC]", &WaterTemperature::bottomMin},
            {"TemperatureBottomMax[degC]", &WaterTemperature::bottomMax},
            {"TemperatureAtMaxDepth[degC]", &WaterTemperature::atMaxDepth},
            {"TemperatureAroundMaxDepth[degC]", &WaterTemperature::aroundMaxDepth}};
        for (const auto& entry : temperatures) {
            const auto field = entry.second;  // a structured binding cannot be captured before C++20 in clang 14
            c.push_back({entry.first, [field](C x, Row& row) { row.number(x.r().temperature.*field, 3); }});
        }
        switchedBy(first, [](const Settings& s) { return s.dive.WaterTemp != 0; });
        first = c.size();
        const std::pair<const char*, double SpeedValues::*> speeds[] = {
            {"DescentDistance[m]", &SpeedValues::descentDistance},
            {"BottomDistance[m]", &SpeedValues::bottomDistance},
            {"AscentDistance[m]", &SpeedValues::ascentDistance},
            {"DescentAngle[deg]", &SpeedValues::descentAngle},
            {"AscentAngle[deg]", &SpeedValues::ascentAngle},
            {"HorizontalDistance[m]", &SpeedValues::horizontalDistance}};
        for (const auto& entry : speeds) {
            const auto field = entry.second;
            c.push_back({entry.first, [field](C x, Row& row) { row.number(x.r().speed.*field, 2); }});
        }
        switchedBy(first, [](const Settings& s) { return s.dive.SpeedAnalysis != 0; });
        for (int k = 0; k < MaxDepthBins; ++k) {
            const auto n = static_cast<std::size_t>(k);
            const std::string name = "DepthClass" + std::to_string(k + 1);
            c.push_back({name,
                         [n](C x, Row& row) {
                             const auto& classes = x.r().depthClasses;
                             n < classes.size() ? row.count(classes[n]) : row.empty();
                         },
                         [name, k](const Recording&, const Settings& s) { return name + ClassBounds(k, s.dive); },
                         [k](const Settings& s) { return ClassInUse(k, s.dive); }});
        }
        for (int k = 0; k < ExtendedRowCount; ++k) {
            const auto n = static_cast<std::size_t>(k);
            const std::string name = "Extended" + std::to_string(k + 1);
            c.push_back({name, [n](C x, Row& row) { row.number(x.r().extended[n], 4); },
                         [name, n](const Recording& rec, const Settings& s) {
                             return name + ExtendedName(s.dive.ExtendedParameters[n], rec);
                         },
                         [n](const Settings& s) { return ExtendedRowInUse(s.dive.ExtendedParameters[n]); }});
        }
        // 1 only for a dive whose samples could not be held: it keeps its durations, depths and rates.
        c.push_back({"TooLong", [](C x, Row& row) { row.count(x.r().tooLong ? 1 : 0); }});
        // 1 when the pause before the dive holds samples without a value: no pause to study.
        c.push_back({"PauseAcrossGap", [](C x, Row& row) {
                         if (Known(x.r().pause))
                             row.count(x.r().pauseAcrossGap ? 1 : 0);
                         else
                             row.empty();
                     }});
        c.push_back({"Comment", [](C x, Row& row) { row.text(x.dive.comment); }});
        // Filled after an automatic run for the dives that deserve a second look.
        c.push_back({"Check", [](C, Row& row) { row.empty(); }});
        return c;
    }();
    return columns;
}

}  // namespace

std::string DiveHeader(const Recording& rec, const Settings& s)
{
    return HeaderLine(DiveColumnsOn(rec, s), s.OutDlmt);
}

std::vector<std::string> DiveColumnsOn(const Recording& rec, const Settings& s)
{
    std::vector<std::string> names;
    for (const Column& c : DiveColumns())
        if (c.isOn(s))
            names.push_back(c.nameIn(rec, s));
    return names;
}

std::vector<std::string> DiveColumnsAlwaysOn()
{
    std::vector<std::string> names;
    for (const Column& c : DiveColumns())
        if (!c.on)
            names.push_back(c.name);
    return names;
}

int DiveColumnOf(const std::string& name)
{
    const std::vector<Column>& columns = DiveColumns();
    int best = -1;
    std::size_t longest = 0;
    for (std::size_t k = 0; k < columns.size(); ++k) {
        const std::string& base = columns[k].name;
        const bool fits = columns[k].nameOf ? name.compare(0, base.size(), base) == 0 : name == base;
        if (fits && base.size() > longest) {
            best = static_cast<int>(k);
            longest = base.size();
        }
    }
    return best;
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
        if (c.isOn(s))
            c.write(x, row);
    return row.line();
}

std::string WiggleHeader(char delimiter)
{
    return HeaderLine({"Dive", "Wiggle", "Date", "Time", "Time[s]", "Depth[m]", "Amplitude[m]", "Duration[s]", "Type"},
                      delimiter);
}

std::string WiggleLines(const DiveLines& dive, const Recording& rec, const Settings& s)
{
    std::string lines;
    const double interval = ChannelView(rec, AnalysisSlot).interval();
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
