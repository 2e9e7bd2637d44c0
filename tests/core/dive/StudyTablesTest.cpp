#include <gtest/gtest.h>

#include <filesystem>

#include "core/dive/StudySummary.h"
#include "core/dive/StudyTables.h"
#include "core/store/TimeBase.h"
#include "support/TempDir.h"

namespace vk {

namespace {

// A recording's part with `dives` dives of 60 s, 10 min apart, from 6:00, and one bout.
StudyPart Part(const std::string& name, int dives)
{
    Recording rec;
    rec.desc(0).SampRate = 1000;
    rec.time.GlobalStart = EncodeTime(2026, 1, 7, 6, 0, 0);
    Settings s;
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
        d.record.maxDepth = 10 + k;
        d.record.shape = k % 2 ? ShapeU : ShapeV;
        part.dives.push_back(StudyDiveLine(d, rec, s));
    }
    BoutSummary bout;
    bout.onsetTime = 0;
    bout.duration = 3600;
    bout.dives = dives;
    part.bouts.push_back(StudyBoutLine(1, bout, rec, s));
    part.summary.dives = dives;
    part.summary.bouts = 1;
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
    EXPECT_EQ(study[1].error, failed.summary.error);
    ASSERT_EQ(study[2].dives.size(), 5u);
    EXPECT_EQ(study[2].dives[1].onset, EncodeTime(2026, 1, 7, 6, 10, 0));
    EXPECT_EQ(study[2].dives[1].shape, 'U');
    EXPECT_EQ(study[2].dives[4].maxDepth, 14);
    EXPECT_EQ(study[2].dives[0].pause, -1);
    EXPECT_EQ(study[2].dives[1].pause, 540);
    ASSERT_EQ(study[2].bouts.size(), 1u);
    EXPECT_EQ(study[2].bouts[0].dives, 5);
    EXPECT_NEAR(DivesPerDay(study[2]), 5, 1e-9);
    EXPECT_EQ(DielCounts(study[2].dives)[6], 5);

    // Tables of another program's making, or none, are refused with the reason.
    std::filesystem::create_directories(dir.file("other"));
    dir.write("other/dives.tsv", "Name\tDepth\n");
    dir.write("other/bouts.tsv", "");
    dir.write("other/recordings.tsv", "");
    EXPECT_FALSE(MergeStudyTables(dir.file("bad"), {dir.file("all"), dir.file("other")}, error));
    EXPECT_NE(error.find("other columns"), std::string::npos) << error;
    EXPECT_FALSE(MergeStudyTables(dir.file("bad"), {dir.file("none")}, error));
    EXPECT_NE(error.find("Cannot read"), std::string::npos) << error;
    EXPECT_FALSE(ReadStudy(dir.file("none"), study, error));
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
}

}  // namespace vk
