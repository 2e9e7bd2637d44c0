#include <gtest/gtest.h>

#include "core/store/FileUtil.h"
#include "core/store/RawRange.h"
#include "support/TempDir.h"

namespace vk {

TEST(RawRange, WrittenRangesPopBackAcrossBlockBorders)
{
    test::TempDir dir;
    const std::string stack = dir.file("Undo.bin");
    Recording rec;
    test::AllocateAll(rec);
    ChannelDescriptor& d = rec.desc(2);
    d.CorrSmpDelay = 5;
    d.DataCnt = 40000;
    auto sample = [](int32_t i) { return static_cast<uint16_t>(i * 7 % 65536); };
    for (int32_t i = 5; i <= 40000; ++i)
        WriteRaw(rec, i, sample(i), 2);

    // Two steps on the stack: one across the first block border, one from before the origin.
    ASSERT_TRUE(WriteRawRange(rec, stack, 16000, 17000, RawRangeMode::Overwrite, 2));
    ASSERT_TRUE(WriteRawRange(rec, stack, 0, 100, RawRangeMode::Append, 2));
    EXPECT_EQ(test::TempDir::read(stack).size(), 2u * (1000 + 95));

    for (int32_t i = 0; i <= 40000; ++i)
        WriteRaw(rec, i, 1, 2);
    ASSERT_TRUE(PopRawRange(rec, stack, 0, 100, 2));
    ASSERT_TRUE(PopRawRange(rec, stack, 16000, 17000, 2));
    EXPECT_FALSE(FileExists(stack));
    for (int32_t i = 5; i < 100; ++i)
        ASSERT_EQ(ReadRaw(rec, i, 2), sample(i)) << i;
    for (int32_t i = 16000; i < 17000; ++i)
        ASSERT_EQ(ReadRaw(rec, i, 2), sample(i)) << i;
    EXPECT_EQ(ReadRaw(rec, 17000, 2), 1);  // the end is not part of the range
    EXPECT_EQ(ReadRaw(rec, 15999, 2), 1);
}

TEST(RawRange, PopFailsWithoutChangeOnAShortOrEmptyFile)
{
    test::TempDir dir;
    Recording rec;
    test::AllocateAll(rec);
    rec.desc(0).DataCnt = 100;
    for (int32_t i = 0; i <= 100; ++i)
        WriteRaw(rec, i, 42, 0);

    const std::string shortFile = dir.write("short.bin", std::string(10, '\0'));
    EXPECT_FALSE(PopRawRange(rec, shortFile, 0, 50, 0));
    EXPECT_EQ(test::TempDir::read(shortFile).size(), 10u);
    EXPECT_EQ(ReadRaw(rec, 0, 0), 42);
    const std::string empty = dir.write("empty.bin", "");
    EXPECT_FALSE(PopRawRange(rec, empty, 0, 1, 0));
    EXPECT_FALSE(PopRawRange(rec, dir.file("missing.bin"), 0, 1, 0));

    // Overwrite starts the file anew.
    const std::string stack = dir.file("stack.bin");
    ASSERT_TRUE(WriteRawRange(rec, stack, 0, 50, RawRangeMode::Append, 0));
    ASSERT_TRUE(WriteRawRange(rec, stack, 0, 3, RawRangeMode::Overwrite, 0));
    EXPECT_EQ(test::TempDir::read(stack), std::string("\x2a\0\x2a\0\x2a\0", 6));
    EXPECT_FALSE(WriteRawRange(rec, dir.file("no/such/folder.bin"), 0, 3, RawRangeMode::Append, 0));
}

}  // namespace vk
