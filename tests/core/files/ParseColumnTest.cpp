#include <gtest/gtest.h>

#include "core/files/ParseColumn.h"

namespace vk {

namespace {

std::string Describe(ColumnField f)
{
    switch (f.kind) {
    case ColumnKind::Value: return "value " + std::to_string(f.value);
    case ColumnKind::MissingValue: return "missing value";
    case ColumnKind::MissingColumn: return "missing column";
    }
    return "?";
}

std::string Parse(std::string_view line, int column, char delimiter)
{
    return Describe(ParseColumn(line, column, delimiter));
}

}  // namespace

TEST(ParseColumn, DelimitedColumns)
{
    EXPECT_EQ(Parse("1\t2\t3", 3, '\t'), "value 3.000000");
    EXPECT_EQ(Parse("1\t2", 3, '\t'), "missing column");
    EXPECT_EQ(Parse("5\t\t7", 2, '\t'), "missing value");    // an empty field
    EXPECT_EQ(Parse("5\t\t\t", 2, '\t'), "missing column");  // trailing TABs are trimmed away
    EXPECT_EQ(Parse("a;b; 12,5 ;x", 3, ';'), "value 12.500000");
    EXPECT_EQ(Parse("a;b;;x", 3, ';'), "missing value");
    EXPECT_EQ(Parse("a;b;", 3, ';'), "missing value");
    EXPECT_EQ(Parse("a;b;abc", 3, ';'), "missing value");  // letters
    EXPECT_EQ(Parse("7.5;8", 0, ';'), "value 7.500000");   // 0 and 1 mean the first column
    EXPECT_EQ(Parse("  7.5;8", 1, ';'), "value 7.500000");
    EXPECT_EQ(Parse("1;2\t3;4", 2, ';'), "value 2.000000");  // a TAB also ends the field
    EXPECT_EQ(Parse("", 1, ';'), "missing value");
    EXPECT_EQ(Parse(" \t\r", 2, ';'), "missing value");
    EXPECT_EQ(Parse("05/01/2002;11:32:00;;;;", 3, ';'), "missing value");
    EXPECT_EQ(Parse("05/01/2002;11:32:00;;;;", 6, ';'), "missing value");
    EXPECT_EQ(Parse("05/01/2002;11:32:00;;;;", 7, ';'), "missing column");
    EXPECT_EQ(Parse("x;" + std::string(300, '1'), 2, ';'), "value " + std::to_string(std::stod(std::string(255, '1'))));
}

TEST(ParseColumn, BlankSeparatedColumns)
{
    EXPECT_EQ(Parse("1   2    3", 3, ' '), "value 3.000000");
    EXPECT_EQ(Parse("  1 2 3  ", 1, ' '), "value 1.000000");
    EXPECT_EQ(Parse("1 2 3", 4, ' '), "missing value");  // not a missing column with blanks
    EXPECT_EQ(Parse("1\t  2 3", 2, ' '), "value 2.000000");
    EXPECT_EQ(Parse("1\t\t3", 3, ' '), "value 3.000000");
    EXPECT_EQ(Parse("1 -2,5 3", 2, ' '), "value -2.500000");
}

}  // namespace vk
