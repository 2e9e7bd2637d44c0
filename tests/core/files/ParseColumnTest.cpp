#include <gtest/gtest.h>

#include <algorithm>

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
    // The delimiter ends a field even where it could be a decimal point.
    EXPECT_EQ(Parse("12,34,56", 1, ','), "value 12.000000");
    EXPECT_EQ(Parse("12,34,56", 2, ','), "value 34.000000");
    EXPECT_EQ(Parse("1.5.2", 1, '.'), "value 1.000000");
    EXPECT_EQ(Parse("12,5;1", 1, ';'), "value 12.500000");
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

namespace vk {

TEST(ParseColumns, OneWalkReadsWhatEachColumnReadsAlone)
{
    // Lines made of numbers, words, blanks, empty fields and missing columns.
    const char* const pieces[] = {"12.5", "-3", "", " 7", "abc", "1e3", "0,25", "  ", "4 ", "nan"};
    uint32_t state = 7;
    auto next = [&state] { return (state = state * 1103515245u + 12345u) >> 8; };
    for (const char delimiter : {';', '\t', ',', ' '}) {
        for (int n = 0; n < 3000; ++n) {
            std::string line;
            const int fields = static_cast<int>(next() % 7);
            for (int f = 0; f < fields; ++f) {
                if (f)
                    line += delimiter;
                line += pieces[next() % std::size(pieces)];
            }
            if (next() % 5 == 0)
                line += delimiter;
            for (const std::vector<int>& columns :
                 {std::vector<int>{1, 2, 3}, std::vector<int>{0, 4}, std::vector<int>{2, 2, 6}, std::vector<int>{3}}) {
                std::vector<ColumnField> together(columns.size());
                ParseColumns(line, columns.data(), columns.size(), delimiter, together.data());
                for (std::size_t k = 0; k < columns.size(); ++k) {
                    const ColumnField alone = ParseColumn(line, columns[k], delimiter);
                    ASSERT_EQ(together[k].kind, alone.kind) << "[" << line << "] column " << columns[k];
                    if (alone.kind == ColumnKind::Value) {
                        ASSERT_EQ(together[k].value, alone.value) << "[" << line << "]";
                        ASSERT_EQ(together[k].decimals, alone.decimals);
                    }
                }
            }
        }
    }
}

TEST(ParseColumn, FindByteStopsAtTheFirstDelimiterWhereverItStands)
{
    // Delimiters at every offset of the eight-byte words, high bytes beside
    // them (UTF-8 text), and lines ending inside a word.
    uint32_t state = 11;
    auto next = [&state] { return (state = state * 1103515245u + 12345u) >> 8; };
    const char alphabet[] = {'1', '.', ';', '\t', ' ', '\xc3', '\xa9', '\xff', '\x01', '\x80'};
    for (int n = 0; n < 20000; ++n) {
        std::string text(next() % 40, '0');
        for (char& c : text)
            c = alphabet[next() % std::size(alphabet)];
        for (const char c : {';', '\t', ' '}) {
            const char* begin = text.data();
            const char* end = begin + text.size();
            const char* expected = std::find(begin, end, c);
            ASSERT_EQ(detail::FindByte(begin, end, c), expected) << "[" << text << "]";
        }
    }
}

}  // namespace vk
