#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cmath>
#include <csignal>
#include <filesystem>

#include "core/dive/StudySummary.h"
#include "core/dive/StudyTables.h"
#include "core/store/TimeBase.h"
#include "support/TempDir.h"

namespace vk {

namespace {

// A recording's part with `dives` dives of 60 s, 10 min apart, from 6:00, and one bout.
StudyPart Part(const std::string& name, int dives, const Settings& s = {})
{
    Recording rec;
    rec.desc(0).SampRate = 1000;
    rec.time.GlobalStart = EncodeTime(2026, 1, 7, 6, 0, 0);
    StudyPart part;
    part.recording = name;
    part.summary.start = rec.time.GlobalStart;
    part.summary.end = rec.time.GlobalStart + 86400000.0;
    for (int k = 0; k < dives; ++k) {
        DiveLines d;
        d.record.counter = k;
        d.record.onsetTime = k * 600000.0;
        d.record.duration = 60000;
        d.record.pause = k ? 540000 : Missing;
        d.record.pauseAcrossGap = k == 3;
        d.record.maxDepth = 10 + k;
        d.record.shape = k % 2 ? ShapeU : ShapeV;
        d.record.timeAbove = 30000;
        part.dives.push_back(StudyDiveLine(d, rec, s));
    }
    part.diveColumns = DiveColumnsOn(rec, s);
    BoutSummary bout;
    bout.onsetTime = 0;
    bout.duration = 3600;
    bout.dives = dives;
    part.bouts.push_back(StudyBoutLine(1, bout, rec, s));
    part.summary.dives = dives;
    part.summary.bouts = 1;
    part.summary.timeFrom = TimeFromWords::Column;
    part.summary.threshold = 4;
    part.summary.surfaceBaseline = 1;
    part.summary.endOfDive = 2;
    part.summary.boutFit = "fitted";
    part.summary.boutCriterion = 88;
    part.summary.suggested = "threshold 4 m";
    return part;
}

}  // namespace

TEST(StudyTables, WrittenMergedAndReadBack)
{
    test::TempDir dir;
    std::string error;
    StudyPart tabbed = Part("seal\t7", 3);  // a TAB in a name must not make a column
    MarkStudyLine(tabbed.dives[1], "long");
    StudyPart failed;
    failed.recording = "broken";
    failed.summary.error = "Cannot read the setup file broken.cfg";
    ASSERT_TRUE(WriteStudyTables(dir.file("one"), {tabbed, failed}, error)) << error;
    ASSERT_TRUE(WriteStudyTables(dir.file("two"), {Part("seal-8", 5)}, error)) << error;
    ASSERT_TRUE(MergeStudyTables(dir.file("all"), {dir.file("one"), dir.file("two")}, error)) << error;

    const std::vector<std::string> dives = test::Lines(dir.file("all/dives.tsv"));
    ASSERT_EQ(dives.size(), 1u + 3 + 5);
    const std::vector<std::string> header = test::Cells(dives[0]);
    EXPECT_EQ(header[0], "Recording");
    EXPECT_EQ(header[1], "Dive");
    EXPECT_EQ(header.back(), "Check");
    for (const std::string& line : dives)
        EXPECT_EQ(test::Cells(line).size(), header.size()) << line;
    EXPECT_EQ(test::Cells(dives[1])[0], "seal 7");
    EXPECT_EQ(test::Cells(dives[2]).back(), "long");
    const std::vector<std::string> recordings = test::Lines(dir.file("all/recordings.tsv"));
    ASSERT_EQ(recordings.size(), 4u);
    const std::vector<std::string> broken = test::Cells(recordings[2]);
    EXPECT_EQ(broken[0], "broken");
    EXPECT_EQ(broken[2], "");  // samples not known: an empty cell, not 0
    EXPECT_EQ(broken.back(), "Cannot read the setup file broken.cfg");

    std::vector<RecordingStudy> study;
    ASSERT_TRUE(ReadStudy(dir.file("all"), study, error)) << error;
    ASSERT_EQ(study.size(), 3u);
    EXPECT_EQ(study[0].name, "seal 7");
    EXPECT_EQ(study[1].facts.error, failed.summary.error);
    ASSERT_EQ(study[2].dives.size(), 5u);
    EXPECT_EQ(study[2].dives[1].onset, EncodeTime(2026, 1, 7, 6, 10, 0));
    EXPECT_EQ(study[2].dives[1].shape, 'U');
    EXPECT_EQ(study[2].dives[4].number, 4);
    EXPECT_EQ(study[0].dives[1].check, "long");
    EXPECT_EQ(study[0].dives[0].check, "");
    // What the report says of each recording comes back from recordings.tsv.
    const RecordingSummary& facts = study[2].facts;
    EXPECT_EQ(facts.timeFrom, TimeFromWords::Column);
    EXPECT_EQ(facts.threshold, 4);
    EXPECT_EQ(facts.surfaceBaseline, 1);
    EXPECT_EQ(facts.endOfDive, 2);
    EXPECT_EQ(facts.boutFit, "fitted");
    EXPECT_EQ(facts.boutCriterion, 88);
    EXPECT_EQ(facts.suggested, "threshold 4 m");
    EXPECT_EQ(facts.dives, 5);
    EXPECT_FALSE(Known(study[1].facts.threshold));  // the failed recording's: not known
    EXPECT_EQ(study[2].dives[4].maxDepth, 14);
    EXPECT_EQ(study[2].dives[0].pause, -1);
    EXPECT_EQ(study[2].dives[1].pause, 540);
    EXPECT_FALSE(study[2].dives[2].pauseAcrossGap);
    EXPECT_TRUE(study[2].dives[3].pauseAcrossGap);
    ASSERT_EQ(study[2].bouts.size(), 1u);
    EXPECT_EQ(study[2].bouts[0].dives, 5);
    EXPECT_NEAR(DivesPerDay(study[2]), 5, 1e-9);
    EXPECT_EQ(DielCounts(study[2].dives)[6], 5);

    // Tables of another program's making, or none, are refused with the reason.
    std::filesystem::create_directories(dir.file("other"));
    const std::vector<std::string> other{"Name\tDepth\n", "", ""};
    dir.write("other/dives.tsv", other[0]);
    dir.write("other/bouts.tsv", other[1]);
    dir.write("other/recordings.tsv", other[2]);
    EXPECT_FALSE(MergeStudyTables(dir.file("bad"), {dir.file("all"), dir.file("other")}, error));
    EXPECT_NE(error.find("no manifest"), std::string::npos) << error;
    dir.write("other/manifest.txt", ManifestText({"dives.tsv", "bouts.tsv", "recordings.tsv"}, other, {}));
    EXPECT_FALSE(MergeStudyTables(dir.file("bad"), {dir.file("all"), dir.file("other")}, error));
    EXPECT_NE(error.find("other columns"), std::string::npos) << error;
    EXPECT_FALSE(MergeStudyTables(dir.file("bad"), {dir.file("none")}, error));
    EXPECT_NE(error.find("none: no manifest"), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(dir.file("bad")));
    EXPECT_FALSE(ReadStudy(dir.file("none"), study, error));
}

TEST(StudyTables, AMergeRefusesPartsThatAreNotWhole)
{
    test::TempDir dir;
    std::string error;
    for (int task = 1; task <= 4; ++task)
        ASSERT_TRUE(WriteStudyTables(dir.file("parts/" + std::to_string(task)),
                                     {Part("seal-" + std::to_string(task), 3 + task)}, error, {task, 5}))
            << error;
    const std::string manifest = test::TempDir::read(dir.file("parts/2/manifest.txt"));
    EXPECT_NE(manifest.find("task 2 of 5"), std::string::npos) << manifest;
    // Task 2 truncated in the middle of a row (its recordings line still claims every dive),
    // task 3 holds only the headers under its manifest, task 5 never ran.
    std::string dives = test::TempDir::read(dir.file("parts/2/dives.tsv"));
    dir.write("parts/2/dives.tsv", dives.substr(0, dives.size() - 40));
    for (const char* table : {"dives.tsv", "bouts.tsv", "recordings.tsv"}) {
        const std::string text = test::TempDir::read(dir.file(std::string("parts/3/") + table));
        dir.write(std::string("parts/3/") + table, text.substr(0, text.find('\n') + 1));
    }
    std::vector<std::string> parts, names;
    for (int task = 1; task <= 5; ++task) {
        parts.push_back(dir.file("parts/" + std::to_string(task)));
        names.push_back("task " + std::to_string(task));
    }
    WriteStudyTables(dir.file("study"), {Part("earlier", 2)}, error);
    const std::string earlier = test::TempDir::read(dir.file("study/dives.tsv"));
    MergeOptions options;
    options.names = names;
    EXPECT_FALSE(MergeStudyTables(dir.file("study"), parts, error, options));
    EXPECT_NE(error.find("3 of 5 parts"), std::string::npos) << error;
    EXPECT_NE(error.find("task 2: " + dir.file("parts/2/dives.tsv") + ": dives.tsv holds"), std::string::npos) << error;
    EXPECT_NE(error.find("task 3: " + dir.file("parts/3/dives.tsv")), std::string::npos) << error;
    EXPECT_NE(error.find("task 5: no manifest"), std::string::npos) << error;
    EXPECT_EQ(test::TempDir::read(dir.file("study/dives.tsv")), earlier);  // nothing replaced

    // A header-only part whose manifest fits it is still no recording.
    ASSERT_TRUE(WriteStudyTables(dir.file("parts/3"), {}, error, {3, 5}));
    EXPECT_FALSE(MergeStudyTables(dir.file("study"), {parts[2]}, error, options));
    EXPECT_NE(error.find("names no recording"), std::string::npos) << error;

    // --partial: the whole tasks joined, a line for each of the others.
    options.partial = true;
    ASSERT_TRUE(MergeStudyTables(dir.file("study"), parts, error, options)) << error;
    std::vector<RecordingStudy> study;
    ASSERT_TRUE(ReadStudy(dir.file("study"), study, error)) << error;
    ASSERT_EQ(study.size(), 5u);
    EXPECT_EQ(study[0].dives.size(), 4u);
    EXPECT_EQ(study[3].dives.size(), 7u);
    const std::vector<std::string> lines = test::Lines(dir.file("study/recordings.tsv"));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(test::Cells(lines[2]).front(), "task 2");
    EXPECT_EQ(test::Cells(lines[2]).back().rfind("Not merged: ", 0), 0u) << lines[2];
    EXPECT_NE(test::Cells(lines[5]).back().find("no manifest"), std::string::npos) << lines[5];
}

// A value the settings switch off has no column; a recording that has it
// gives the column under the name its own dive result file uses.
TEST(StudyTables, SwitchedOffColumnsAreLeftOutUnderOneName)
{
    test::TempDir dir;
    std::string error;
    Settings timed;
    timed.dive.TimeAbove = 10;
    timed.dive.WaterTemp = 1;
    const StudyPart plain = Part("plain", 2), withTime = Part("timed", 3, timed);
    EXPECT_EQ(std::count(withTime.diveColumns.begin(), withTime.diveColumns.end(), "TimeDeeperThan10m[s]"), 1);
    ASSERT_TRUE(WriteStudyTables(dir.file("both"), {plain, withTime}, error)) << error;
    ASSERT_TRUE(WriteStudyTables(dir.file("one"), {plain}, error)) << error;
    ASSERT_TRUE(WriteStudyTables(dir.file("two"), {withTime}, error)) << error;
    ASSERT_TRUE(MergeStudyTables(dir.file("merged"), {dir.file("one"), dir.file("two")}, error)) << error;
    EXPECT_EQ(test::TempDir::read(dir.file("merged/dives.tsv")), test::TempDir::read(dir.file("both/dives.tsv")));

    auto header = [&dir](const char* study) { return test::Cells(test::Lines(dir.file(study))[0]); };
    const std::vector<std::string> alone = header("one/dives.tsv"), joined = header("both/dives.tsv");
    for (const char* off : {"TimeDeeperThan0m[s]", "TimeNotDeeperThan0m[s]", "DepthClass1", "Extended1",
                            "TemperatureDiveMean[degC]", "DescentDistance[m]"})
        EXPECT_EQ(std::count(alone.begin(), alone.end(), off), 0) << off;
    // The joined table: every column of either, in the dive result file's order.
    const auto at = [&joined](const std::string& name) {
        return static_cast<std::size_t>(std::find(joined.begin(), joined.end(), name) - joined.begin());
    };
    ASSERT_LT(at("TimeDeeperThan10m[s]"), joined.size());
    EXPECT_LT(at("MaxDepth[m]"), at("TimeDeeperThan10m[s]"));
    EXPECT_LT(at("TemperatureDiveMean[degC]"), at("Check"));
    EXPECT_EQ(joined.back(), "Check");
    EXPECT_EQ(joined.size(), alone.size() + 1 + 6);  // the time column and six temperatures
    const std::vector<std::string> rows = test::Lines(dir.file("both/dives.tsv"));
    ASSERT_EQ(rows.size(), 1u + 2 + 3);
    EXPECT_EQ(test::Cells(rows[1])[at("TimeDeeperThan10m[s]")], "");  // the plain recording has no such value
    EXPECT_EQ(test::Cells(rows[3])[at("TimeDeeperThan10m[s]")], "30.000");
    EXPECT_EQ(test::Cells(rows[3])[at("Duration[s]")], "60.000");
    for (const std::string& row : rows)
        EXPECT_EQ(test::Cells(row).size(), joined.size());
    std::vector<RecordingStudy> study;
    ASSERT_TRUE(ReadStudy(dir.file("both"), study, error)) << error;
    EXPECT_EQ(study[1].dives[2].maxDepth, 12);
}

TEST(StudyTables, TablesThatCannotBeWrittenLeaveTheEarlierOnes)
{
    test::TempDir dir;
    std::string error;
    ASSERT_TRUE(WriteStudyTables(dir.file("study"), {Part("first", 3)}, error));
    std::vector<std::string> before;
    for (const char* table : {"dives.tsv", "bouts.tsv", "recordings.tsv", "manifest.txt"})
        before.push_back(test::TempDir::read(dir.file(std::string("study/") + table)));
    // The disk fills while the new tables are written (a file-size limit does the same).
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit small{1500, limit.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = WriteStudyTables(dir.file("study"), {Part("second", 40)}, error);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, handler);
    EXPECT_FALSE(written);
    EXPECT_NE(error.find("File too large"), std::string::npos) << error;
    std::size_t k = 0;
    for (const char* table : {"dives.tsv", "bouts.tsv", "recordings.tsv", "manifest.txt"})
        EXPECT_EQ(test::TempDir::read(dir.file(std::string("study/") + table)), before[k++]) << table;
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.file("study")))
        ++files;
    EXPECT_EQ(files, 4u);  // no temporary left behind
}

TEST(StudyTables, RecordingsOfOneNameAreToldApart)
{
    // Deployments often each keep a "setup.cfg" in a folder of their own.
    EXPECT_EQ(RecordingNames({"d1/setup.cfg", "d2/setup.cfg", "seal.cfg", "d3/setup.cfg", "setup-2.cfg"}),
              (std::vector<std::string>{"setup", "setup-2", "seal", "setup-3", "setup-2-2"}));
}

TEST(StudySummary, HistogramsAndSpreads)
{
    const Histogram h = HistogramOf({0.5, 1.2, 1.9, 7.4, 9.99}, 10);
    EXPECT_EQ(h.width, 1);
    EXPECT_EQ(h.start, 0);
    ASSERT_EQ(h.counts.size(), 10u);
    EXPECT_EQ(h.counts[1], 2);
    EXPECT_EQ(h.counts[9], 1);
    EXPECT_EQ(HistogramOf({3, 3, 3}, 5).counts, std::vector<int>{3});
    EXPECT_TRUE(HistogramOf({}, 5).counts.empty());
    const Spread s = SpreadOf({4, 1, 3, 2, 5});
    EXPECT_EQ(s.median, 3);
    EXPECT_EQ(s.q1, 2);
    EXPECT_EQ(s.q3, 4);
    EXPECT_EQ(SpreadOf({}).median, 0);

    // Pauses of seconds to hours on a logarithmic axis: 4 bins a decade from 1 s.
    const Histogram pauses = LogHistogramOf({0, 1, 9, 11, 50, 3600, 7000}, 4);
    EXPECT_EQ(pauses.start, 0);
    EXPECT_EQ(pauses.width, 0.25);
    ASSERT_EQ(pauses.counts.size(), 16u);  // 1 s .. 10^4 s; a pause of 0 s has no place
    EXPECT_EQ(pauses.counts[0], 1);
    EXPECT_EQ(pauses.counts[3], 1);   // 9 s: just below 10
    EXPECT_EQ(pauses.counts[4], 1);   // 11 s
    EXPECT_EQ(pauses.counts[14], 1);  // 1 h
    EXPECT_EQ(pauses.counts[15], 1);  // nearly 2 h: the last bin
    EXPECT_TRUE(LogHistogramOf({0, -3}, 4).counts.empty());

    // Time ticks at round hours or midnights, never more than asked.
    const double morning = EncodeTime(2026, 1, 7, 6, 17, 0);
    EXPECT_EQ(RoundTimes(morning, morning + 5 * 3600000.0, 6),
              (std::vector<double>{EncodeTime(2026, 1, 7, 7, 0, 0), EncodeTime(2026, 1, 7, 8, 0, 0),
                                   EncodeTime(2026, 1, 7, 9, 0, 0), EncodeTime(2026, 1, 7, 10, 0, 0),
                                   EncodeTime(2026, 1, 7, 11, 0, 0)}));
    const std::vector<double> month = RoundTimes(morning, morning + 30 * 86400000.0, 8);
    EXPECT_LE(month.size(), 8u);
    EXPECT_EQ(std::fmod(month.front(), 86400000.0), 0);  // a midnight, then steps of 7 days
    EXPECT_LT(month.front() - morning, 7 * 86400000.0);
    EXPECT_EQ(month[1] - month[0], 7 * 86400000.0);
}

}  // namespace vk
