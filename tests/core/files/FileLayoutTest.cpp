#include <gtest/gtest.h>

#include "core/example/ExampleRecording.h"
#include "core/files/FileLayout.h"
#include "support/TempDir.h"

namespace vk {

// What the first lines of three kinds of logger file say of their layout.
TEST(FileLayout, SeparatorHeaderTimeAndSensorColumnsFromTheFirstLines)
{
    // The fur-seal CSV: ';', one header line, the date and the clock apart, depth by name.
    const FileLayout seal = ReadFileLayout(VARNIK_TEST_DATA "/furseal-5s.csv");
    ASSERT_TRUE(seal.readable);
    EXPECT_EQ(seal.separator, ';');
    EXPECT_EQ(seal.headerLines, 1);
    EXPECT_EQ(seal.columns, 6);
    EXPECT_EQ(seal.dateColumn, 1);
    EXPECT_EQ(seal.timeColumn, 2);
    EXPECT_EQ(seal.slotColumns, (std::array<int, SlotCount>{3, 5, 4}));  // depth, temperature, light
    ChannelDescriptor d;
    ASSERT_TRUE(ApplyLayout(seal, 0, d));
    EXPECT_EQ(d.ColumnValue, 3);
    EXPECT_EQ(d.InDelimiter, ';');
    EXPECT_EQ(d.HeaderText, 1);
    EXPECT_EQ(d.TimeColumn, 2);
    EXPECT_EQ(d.DateColumn, 1);

    // The example: a title line above the names, TAB, units in the names.
    test::TempDir dir;
    const example::ExampleFiles files = example::WriteExample(dir.path(), 1);
    const FileLayout example = ReadFileLayout(files.data);
    EXPECT_EQ(example.separator, '\t');
    EXPECT_EQ(example.headerLines, 2);
    EXPECT_EQ(example.names[2], "depth [m]");
    EXPECT_EQ(example.slotColumns, (std::array<int, SlotCount>{3, 4, 5}));

    // ISO stamps, pressure before temperature in other places, a decimal comma.
    const std::string iso = dir.write("tag.csv",
                                      "Temp [C];P;Time\n"
                                      "15,2;0,5;2026-01-07T06:00:00Z\n"
                                      "15,1;0,7;2026-01-07T06:00:01Z\n");
    const FileLayout tag = ReadFileLayout(iso);
    EXPECT_EQ(tag.separator, ';');
    EXPECT_EQ(tag.headerLines, 1);
    EXPECT_EQ(tag.timeColumn, 3);
    EXPECT_EQ(tag.dateColumn, 0);
    EXPECT_EQ(tag.slotColumns, (std::array<int, SlotCount>{2, 1, 0}));
    EXPECT_FALSE(ApplyLayout(tag, 2, d));  // no third sensor

    EXPECT_FALSE(ReadFileLayout(dir.file("none.csv")).readable);
}

}  // namespace vk
