#include "core/files/FileLayout.h"

#include "core/files/LowerCase.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "core/files/LineReader.h"
#include "core/files/ParseColumn.h"
#include "core/files/TimeStamp.h"
#include "core/store/NumberText.h"

namespace vk {

namespace {

constexpr char Separators[] = {'\t', ';', ',', ' '};

// What a field holds.
enum class Field { Empty, Number, Time, Text };

Field KindOf(std::string_view text)
{
    if (text.empty())
        return Field::Empty;
    double v = 0.0;
    if (ParseDecimal(text, v))
        return Field::Number;
    return ReadStamp(text) ? Field::Time : Field::Text;
}

// A line of data: every field a number, a time or empty, and at least one not empty.
bool DataLine(std::string_view line, char separator)
{
    const int n = CountColumns(line, separator);
    bool any = false;
    for (int c = 1; c <= n; ++c) {
        const Field f = KindOf(ColumnText(line, c, separator));
        if (f == Field::Text)
            return false;
        any = any || f != Field::Empty;
    }
    return any;
}

// The separator whose data lines agree best on a column count above one: the
// count of the most lines, then the most columns.
char SeparatorOf(const std::vector<std::string>& lines)
{
    char best = '\t';
    std::pair<std::size_t, int> bestScore{0, 0};
    for (const char separator : Separators) {
        std::map<int, std::size_t> counts;
        for (const std::string& line : lines)
            if (const int n = CountColumns(line, separator); n > 1 && DataLine(line, separator))
                ++counts[n];
        for (const auto& [columns, many] : counts)
            if (std::pair{many, columns} > bestScore) {
                bestScore = {many, columns};
                best = separator;
            }
    }
    return best;
}

}  // namespace

// A sensor by the name of its column: depth (or pressure), temperature.
bool NamedDepth(const std::string& name)
{
    return name.starts_with("depth") || name.starts_with("press") || name == "p" || name.starts_with("p [") ||
           name.starts_with("tiefe");
}

bool NamedTemperature(const std::string& name)
{
    return name.starts_with("temp") || name == "t" || name.starts_with("t [") || name.starts_with("water t");
}

FileLayout ReadFileLayout(const std::string& path, int lines)
{
    FileLayout layout;
    LineReader reader;
    if (!reader.open(path))
        return layout;
    std::string_view line;
    while (static_cast<int>(layout.firstLines.size()) < lines && reader.next(line))
        layout.firstLines.emplace_back(line);
    layout.readable = !layout.firstLines.empty();
    const std::vector<std::string>& first = layout.firstLines;
    layout.separator = SeparatorOf(first);
    const char separator = layout.separator;

    // Header lines: those before the first data line.
    std::size_t data = 0;
    while (data < first.size() && !DataLine(first[data], separator))
        ++data;
    layout.headerLines = static_cast<int>(data);
    if (data == first.size())
        return layout;
    const std::string& sample = first[data];
    layout.columns = CountColumns(sample, separator);
    if (data > 0)
        for (int c = 1; c <= layout.columns; ++c)
            layout.names.emplace_back(ColumnText(first[data - 1], c, separator));
    layout.names.resize(static_cast<std::size_t>(layout.columns));

    // Time columns: a date and time in one field, or a date and a clock apart.
    std::vector<int> numbers;
    for (int c = 1; c <= layout.columns; ++c) {
        const std::string_view text = ColumnText(sample, c, separator);
        const auto stamp = ReadStamp(text);
        if (stamp && stamp->date && stamp->timeOfDay && layout.timeColumn == 0) {
            layout.timeColumn = c;
        } else if (stamp && stamp->date && !stamp->timeOfDay && layout.dateColumn == 0) {
            layout.dateColumn = c;
        } else if (stamp && stamp->timeOfDay && layout.timeColumn == 0) {
            layout.timeColumn = c;
        } else if (const Field kind = KindOf(text); kind == Field::Number || kind == Field::Empty) {
            numbers.push_back(c);
        }
    }
    if (layout.timeColumn == 0)
        layout.dateColumn = 0;

    // The sensors: by their names, else the number columns in order.
    auto named = [&](bool (*is)(const std::string&)) {
        for (int c : numbers)
            if (is(LowerCase(layout.names[static_cast<std::size_t>(c - 1)])))
                return c;
        return 0;
    };
    int& depth = layout.slotColumns[0];
    int& temperature = layout.slotColumns[1];
    depth = named(NamedDepth);
    temperature = named(NamedTemperature);
    std::vector<int> rest;
    for (int c : numbers)
        if (c != depth && c != temperature)
            rest.push_back(c);
    std::size_t next = 0;
    for (int& column : layout.slotColumns)
        if (column == 0 && next < rest.size())
            column = rest[next++];
    return layout;
}

bool ApplyLayout(const FileLayout& layout, int slot, ChannelDescriptor& d)
{
    const int column = layout.slotColumns[static_cast<std::size_t>(slot)];
    if (!layout.readable || column == 0)
        return false;
    d.format = ChannelFormat::Text;
    d.InDelimiter = layout.separator;
    d.HeaderText = layout.headerLines;
    d.ColumnValue = column;
    d.TimeColumn = layout.timeColumn;
    d.DateColumn = layout.dateColumn;
    return true;
}

}  // namespace vk
