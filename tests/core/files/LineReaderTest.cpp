#include <gtest/gtest.h>

#include "core/files/LineReader.h"
#include "support/TempDir.h"

namespace vk {

namespace {

std::vector<std::string> ReadAll(LineReader& reader)
{
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.next(line))
        lines.emplace_back(line);
    return lines;
}

std::vector<std::string> ReadFile(const std::string& path, std::size_t maxLine = 64, std::size_t buffer = 16)
{
    LineReader reader(maxLine, buffer);
    EXPECT_TRUE(reader.open(path));
    return ReadAll(reader);
}

using Lines = std::vector<std::string>;

}  // namespace

TEST(LineReader, SplitsEveryLineEndConvention)
{
    test::TempDir dir;
    EXPECT_EQ(ReadFile(dir.write("lf", "a\nbb\n\nccc\n")), (Lines{"a", "bb", "", "ccc"}));
    EXPECT_EQ(ReadFile(dir.write("crlf", "a\r\nbb\r\n\r\nccc")), (Lines{"a", "bb", "", "ccc"}));
    EXPECT_EQ(ReadFile(dir.write("cr", "a\rbb\r\rccc\r")), (Lines{"a", "bb", "", "ccc"}));
    EXPECT_EQ(ReadFile(dir.write("empty", "")), Lines{});
    EXPECT_EQ(ReadFile(dir.write("one", "x")), Lines{"x"});

    // Lines that straddle many small buffer fills come out whole.
    std::string text;
    Lines expected;
    for (int k = 0; k < 200; ++k) {
        expected.push_back(std::string(static_cast<std::size_t>(k % 50), static_cast<char>('a' + k % 26)));
        text += expected.back() + "\r\n";
    }
    EXPECT_EQ(ReadFile(dir.write("many", text)), expected);
}

TEST(LineReader, CutsOverlongLinesAndRewinds)
{
    test::TempDir dir;
    const std::string path = dir.write("long", std::string(1000, 'x') + "\nshort\n" + std::string(70, 'y'));
    EXPECT_EQ(ReadFile(path), (Lines{std::string(64, 'x'), "short", std::string(64, 'y')}));

    LineReader reader(64, 16);
    ASSERT_TRUE(reader.open(path));
    std::string_view line;
    ASSERT_TRUE(reader.next(line));
    ASSERT_TRUE(reader.next(line));
    EXPECT_FALSE(reader.atEnd());
    ASSERT_TRUE(reader.rewind());
    EXPECT_EQ(ReadAll(reader).size(), 3u);
    EXPECT_TRUE(reader.atEnd());
    EXPECT_FALSE(reader.failed());

    LineReader missing;
    EXPECT_FALSE(missing.open(dir.file("nothing")));
    EXPECT_FALSE(missing.open(dir.path()));  // a folder is not a file
}

}  // namespace vk
