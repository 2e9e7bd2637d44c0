#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <map>

#include "core/dive/DiveAnalysis.h"
#include "core/dive/DiveTable.h"
#include "support/DiveFixture.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace vk {

namespace {

std::vector<std::string> Fields(const std::string& line, char delimiter = '\t')
{
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line.substr(0, line.find('\n')));
    while (std::getline(in, field, delimiter))
        fields.push_back(field);
    if (!line.empty() && line[line.find('\n') - 1] == delimiter)
        fields.emplace_back();  // a last empty field
    return fields;
}

}  // namespace

TEST(ResultTables, RowsWriteNumbersAndLeaveMissingValuesEmpty)
{
    Row row(';');
    row.number(1.23456, 3).number(Missing, 2).number(-1e33, 2).number(-0.0001, 3).count(7).text("a;b\nc").empty();
    EXPECT_EQ(row.line(), "1.235;;;0.000;7;a b c;\n");
    EXPECT_EQ(DateText(EncodeTime(2026, 1, 7, 6, 30, 49), '/'), "07/01/2026");
    EXPECT_EQ(ClockText(EncodeTime(2026, 1, 7, 6, 30, 49) + 400), "06:30:49");
}

TEST(ResultTables, EveryDiveLineHasEveryColumn)
{
    Recording rec;
    rec.desc(0).SampRate = 1000;
    rec.time.GlobalStart = EncodeTime(2026, 1, 7, 6, 0, 0);
    Settings s;
    DiveLines d;
    d.record.counter = 7;
    d.record.onsetTime = 1849000;
    d.record.duration = 112000;
    d.record.maxDepth = 26.266;
    d.record.shape = ShapeU;
    d.comment = "calm\tsea";
    std::vector<std::string> header = Fields(DiveHeader(rec, s));
    std::vector<std::string> line = Fields(DiveLine(d, rec, s));
    ASSERT_EQ(line.size(), header.size());
    EXPECT_EQ(header.front(), "Dive");
    EXPECT_EQ(header.back(), "Check");  // filled after an automatic run, so it comes last
    auto at = [&](const std::string& name) {
        const auto k = std::find(header.begin(), header.end(), name) - header.begin();
        return line.at(static_cast<std::size_t>(k));
    };
    EXPECT_EQ(at("Dive"), "7");  // the number of its image and thumbnail
    EXPECT_EQ(at("Date"), "07.01.2026");
    EXPECT_EQ(at("Time"), "06:30:49");
    EXPECT_EQ(at("Shape"), "U");
    EXPECT_EQ(at("Duration[s]"), "112.000");
    EXPECT_EQ(at("MaxDepth[m]"), "26.266");
    for (const char* off : {"TemperatureDiveMean[degC]", "Extended1", "DepthClass1"})  // not asked for: no column
        EXPECT_EQ(std::count(header.begin(), header.end(), off), 0) << off;
    EXPECT_EQ(at("DescentStop1Onset[s]"), "");  // no stop: empty, not 1e32
    EXPECT_EQ(at("Comment"), "calm sea");
    // The deepest point of a dive a month into the record: its time in
    // seconds is past what milliseconds in 32 bits hold.
    d.record.maxDepthIndex = 3000000;
    line = Fields(DiveLine(d, rec, s));
    EXPECT_EQ(at("MaxDepthTime[s]"), "3000000.000");
    EXPECT_EQ(at("BottomMean[m]"), "");  // not computed: empty
    EXPECT_EQ(at("RelativeBottomRange"), "");

    // Everything switched on: more columns, and the line keeps to them.
    s.dive.WaterTemp = 1;
    s.dive.Frequencies = 1;
    s.dive.NrBins = 30;
    s.dive.MaxBin = 300;
    s.dive.ExtendedParameters[7] = {3, 0, 0, true};
    rec.desc(0).Caption = "Depth";
    header = Fields(DiveHeader(rec, s));
    d.record.depthClasses.assign(30, 2);
    d.record.temperature.diveMean = 8.5;
    d.record.extended[7] = 3.25;
    d.stops.stop[1][0] = {1900000, 1910000, 12.5, 10, true};
    d.stops.count[1] = 1;
    d.record.bottomDuration = 50000;
    d.record.bottomMean = 25.5;
    line = Fields(DiveLine(d, rec, s));
    ASSERT_EQ(line.size(), header.size());
    EXPECT_EQ(at("DepthClass30[290-300m]"), "2");
    EXPECT_EQ(at("TemperatureDiveMean[degC]"), "8.500");
    EXPECT_EQ(at("Extended8[Mean of Depth at Dive]"), "3.2500");
    EXPECT_EQ(at("AscentStops"), "1");
    EXPECT_EQ(at("AscentStop1Onset[s]"), "51.000");  // from the dive's onset
    EXPECT_EQ(at("AscentStop1Depth[m]"), "12.500");
    EXPECT_EQ(at("BottomMean[m]"), "25.500");
    EXPECT_EQ(Fields(WiggleHeader(','), ',').size(), 9u);
}

namespace {

// The framed dive analysed and written as a line, read back by column name.
std::map<std::string, std::string> Cells(test::DiveBench& b, const Settings& s)
{
    AnalyseDive(b.rec, b.view.at, b.p, b.state, b.cx.setup, b.ui);
    const std::vector<std::string> header = Fields(DiveHeader(b.rec, s));
    const std::vector<std::string> line = Fields(DiveLine(LinesOf(b.state), b.rec, s));
    std::map<std::string, std::string> cells;
    for (std::size_t k = 0; k < header.size() && k < line.size(); ++k)
        cells[header[k]] = line[k];
    EXPECT_EQ(header.size(), line.size());
    return cells;
}

}  // namespace

// What could not be computed is an empty cell, never a zero.
TEST(ResultTables, UnknownValuesAreEmptyCells)
{
    // Surface 0..9, down to 40 m at 29, 40 m to 48, up to the surface at 68.
    test::DiveBench b(test::Trapezoid(0, 10, 40, 20, 19, 20, 31));
    Settings s;
    b.frame(9, 29, 48, 68);
    auto c = Cells(b, s);
    // The first dive since Start: no pause, no differences, no share of a dive cycle.
    for (const char* name : {"Pause[s]", "DurationDifference[s]", "MaxDepthDifference[m]", "BottomShareOfCycle"})
        EXPECT_EQ(c[name], "") << name;
    // Time above and below switched off (0 m): no columns.
    EXPECT_EQ(c.count("TimeDeeperThan0m[s]"), 0u);
    EXPECT_EQ(c.count("TimeNotDeeperThan0m[s]"), 0u);
    EXPECT_NE(c["DescentRate[m/s]"], "");
    EXPECT_NE(c["DescentRate90[m/s]"], "");
    EXPECT_EQ(c["TooLong"], "0");
    // With a dive before it they are there.
    b.state.record.counter = 1;
    b.state.record.previous = {4000, 70000, 50};
    c = Cells(b, s);
    EXPECT_EQ(c["Pause[s]"], "5.000");
    EXPECT_EQ(c["MaxDepthDifference[m]"], "-10.000");

    // A descent of no length has no rate; the ascent has one.
    b.frame(9, 9, 48, 68);
    c = Cells(b, s);
    EXPECT_EQ(c["DescentRate[m/s]"], "");
    EXPECT_NE(c["AscentRate[m/s]"], "");
    // Too short for the rates to 90 % of the modal depth.
    b.frame(20, 21, 22, 23);
    c = Cells(b, s);
    EXPECT_EQ(c["DescentRate90[m/s]"], "");
    EXPECT_EQ(c["AscentRate90[m/s]"], "");

    // A dive whose samples cannot be held keeps its durations and depths, and says so.
    test::DiveBench longDive(std::vector<double>(65100, 10.0));
    longDive.frame(10, 20, 30, 10 + 65001);
    longDive.cx.setup.mostSamples = 65000;
    c = Cells(longDive, s);
    EXPECT_EQ(c["TooLong"], "1");
    EXPECT_NE(c["MaxDepth[m]"], "");
    EXPECT_EQ(c["BottomDuration[s]"], "10.000");
    for (const char* name : {"DepthIntegral[m*h]", "BottomFraction", "BottomMedian[m]", "BottomMinimum[m]",
                             "BottomMean[m]", "BottomStdDev[m]", "RelativeBottomRange", "BottomRoughness[m/s2]"})
        EXPECT_EQ(c[name], "") << name;
}

// Column names that say what they hold: the depth of the time columns, the
// bounds of the depth classes, what an extended value is, units.
TEST(ResultTables, HeadersNameWhatTheColumnsHold)
{
    Recording rec;
    Settings s;
    s.dive.TimeAbove = 10;
    s.dive.TimeBelow = 2.5;
    s.dive.Frequencies = 1;
    s.dive.MinBin = 0;
    s.dive.MaxBin = 100;
    s.dive.NrBins = 10;
    s.dive.ExtendedParameters[0] = {3, 1, 2, true};   // Mean of slot 1 at Bottom
    s.dive.ExtendedParameters[1] = {10, 1, 0, true};  // Way of slot 1 over the dive
    s.dive.WaterTemp = 1;
    rec.desc(1).Caption = "Temperature";
    const std::vector<std::string> header = Fields(DiveHeader(rec, s));
    auto has = [&header](const std::string& name) {
        return std::find(header.begin(), header.end(), name) != header.end();
    };
    EXPECT_TRUE(has("TimeDeeperThan10m[s]"));
    EXPECT_TRUE(has("TimeNotDeeperThan2.5m[s]"));
    EXPECT_TRUE(has("DepthClass1[0-10m]"));
    EXPECT_TRUE(has("DepthClass3[20-30m]"));
    EXPECT_TRUE(has("DepthClass10[90-100m]"));
    EXPECT_FALSE(has("DepthClass11"));  // beyond the classes set: left out
    EXPECT_TRUE(has("Extended1[Mean of Temperature at Bottom]"));
    EXPECT_TRUE(has("Extended2[Way of Temperature at Dive, km]"));
    EXPECT_FALSE(has("Extended3"));  // not in use
    EXPECT_TRUE(has("TemperatureBottomMean[degC]"));
    EXPECT_EQ(DiveColumnOf("DepthClass10[90-100m]"), DiveColumnOf("DepthClass10"));
    EXPECT_NE(DiveColumnOf("DepthClass10[90-100m]"), DiveColumnOf("DepthClass1[0-10m]"));
    EXPECT_EQ(DiveColumnOf("TimeDeeperThan10m[s]"), DiveColumnOf("TimeDeeperThan20m[s]"));
    EXPECT_EQ(DiveColumnOf("Duration[s]x"), -1);
    // Switched off, the columns go: the line keeps to its header.
    Settings plain;
    const std::vector<std::string> fewer = Fields(DiveHeader(rec, plain));
    for (const std::string& name : fewer)
        EXPECT_TRUE(name.find("Temperature") == std::string::npos && name.find("TimeDeeperThan") == std::string::npos &&
                    name.find("DepthClass") == std::string::npos && name.find("Extended") == std::string::npos)
            << name;
    EXPECT_EQ(Fields(DiveLine(DiveLines{}, rec, plain)).size(), fewer.size());
    // Other settings, another header: a file written with the first is not appended to blindly.
    s.dive.TimeAbove = 20;
    EXPECT_NE(DiveHeader(rec, s), HeaderLine(header, '\t'));
}

TEST(ResultTables, TablesKeepTheirColumns)
{
    test::TempDir dir;
    ScriptedDialogs ui;
    const std::string file = dir.file("seal_Dve.xls");
    TableTarget t;
    ASSERT_TRUE(AppendTable(t, file, "a\tb\n", "1\t2\n", ui));
    ASSERT_TRUE(AppendTable(t, file, "a\tb\n", "3\t4\n", ui));
    EXPECT_EQ(test::TempDir::read(file), "a\tb\n1\t2\n3\t4\n");

    // Another run with other columns: asked, and a new file offered.
    TableTarget other;
    ui.answers = {Answer::Yes};
    ASSERT_TRUE(AppendTable(other, file, "a\tb\tc\n", "5\t6\t7\n", ui));
    EXPECT_EQ(other.path, dir.file("seal_Dve_2.xls"));
    EXPECT_EQ(test::TempDir::read(other.path), "a\tb\tc\n5\t6\t7\n");
    EXPECT_EQ(test::TempDir::read(file), "a\tb\n1\t2\n3\t4\n");
    EXPECT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(FreeTableName(file, "a\tb\tc\n"), dir.file("seal_Dve_2.xls"));  // the one with these columns

    // Declined: nothing written, and not asked again.
    TableTarget declined;
    ui.answers = {Answer::No};
    EXPECT_FALSE(AppendTable(declined, file, "x\n", "1\n", ui));
    EXPECT_FALSE(AppendTable(declined, file, "x\n", "2\n", ui));
    EXPECT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(test::TempDir::read(file), "a\tb\n1\t2\n3\t4\n");

    // Held lines wait for the flush; a file that cannot be written says so.
    ResultTargets targets;
    const std::string held = dir.file("held.xls");
    ASSERT_TRUE(AppendTable(targets.dives, held, "h\n", "1\n", ui, true));
    EXPECT_FALSE(std::ifstream(held).good());
    EXPECT_TRUE(FlushTables(targets));
    EXPECT_EQ(test::TempDir::read(held), "h\n1\n");
    TableTarget nowhere;
    EXPECT_FALSE(AppendTable(nowhere, dir.file("no such folder/seal_Dve.xls"), "h\n", "1\n", ui));
}

TEST(ResultTables, AWriteThatFailsPartWayLeavesTheFileAsItWas)
{
    // The disk fills up in the middle of the lines: a file size limit does the same.
    test::TempDir dir;
    ScriptedDialogs ui;
    const std::string file = dir.file("seal_Dve.xls");
    TableTarget t;
    ASSERT_TRUE(AppendTable(t, file, "a\tb\n", "1\t2\n", ui));
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit small{100, limit.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = AppendTable(t, file, "a\tb\n", std::string(1000, 'x') + "\n", ui);
    TableTarget fresh;
    const bool freshWritten = AppendTable(fresh, dir.file("new_Dve.xls"), "a\tb\n", std::string(1000, 'y'), ui);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, handler);
    EXPECT_FALSE(written);
    EXPECT_EQ(test::TempDir::read(file), "a\tb\n1\t2\n");
    EXPECT_FALSE(freshWritten);
    EXPECT_FALSE(std::filesystem::exists(dir.file("new_Dve.xls")));  // no half file left behind
    // The failure names the file and the reason, and holds back every later
    // line of the target until cleared: a table never gets a hole.
    EXPECT_EQ(t.failure, "Cannot write " + file + ": File too large");
    EXPECT_FALSE(AppendTable(t, file, "a\tb\n", "3\t4\n", ui));
    EXPECT_EQ(fresh.failure, "Cannot write " + dir.file("new_Dve.xls") + ": File too large");
    t.failure.clear();
    ASSERT_TRUE(AppendTable(t, file, "a\tb\n", "3\t4\n", ui));
    EXPECT_EQ(test::TempDir::read(file), "a\tb\n1\t2\n3\t4\n");
}

}  // namespace vk
