#include "core/files/TextSource.h"

#include <algorithm>

#include "core/files/ParseColumn.h"

namespace vk {

namespace {

std::string SeparatorName(char separator)
{
    return separator == '\t' ? "TAB" : separator == ' ' ? "space" : std::string(1, separator);
}

}  // namespace

bool TextSource::canRead(const std::string& path) const
{
    const ProbeResult probe = ProbeFile(path);
    return probe.opened && !probe.hasInfoHeader && probe.verdict != ProbeVerdict::NotText;
}

std::vector<std::string> TextSource::channels(const ChannelDescriptor& d) const
{
    const std::string line = FirstDataLine(d.NameIn, d.HeaderText);
    const int columns = line.empty() ? 0 : CountColumns(line, d.InDelimiter);
    std::vector<std::string> names;
    for (int column = 1; column <= columns; ++column)
        names.push_back("column " + std::to_string(column));
    return names;
}

bool TextSource::sharesReading(const Recording& rec, int a, int b) const
{
    return ShareOneReading(rec, a, b);
}

bool TextSource::load(Recording& rec, const std::vector<int>& slots, const SourceLoad& how, VkDialogs& ui) const
{
    return LoadTextChannels(rec, slots, how.skips, ui, how.starting, how.text);
}

// What the first data line offers against what was asked for.
std::string TextSource::emptyReason(const Recording& rec, int slot) const
{
    const SlotData& s = rec.at(slot);
    const ChannelDescriptor& d = s.desc;
    const std::string line = FirstDataLine(d.NameIn, d.HeaderText + s.SkipCount);
    const int columns = CountColumns(line, d.InDelimiter);
    std::string reason = ", column " + std::to_string(std::max(d.ColumnValue, 1)) + " after " +
                         std::to_string(d.HeaderText) + " header lines, separator " + SeparatorName(d.InDelimiter) +
                         "; its first data line has " + std::to_string(columns) +
                         (columns == 1 ? " column" : " columns");
    if (!line.empty())
        reason += ": " + line.substr(0, 60);
    return reason;
}

void TextSource::copyReading(const ChannelDescriptor& from, ChannelDescriptor& to) const
{
    to.format = ChannelFormat::Text;
    to.UseFileInfo = from.UseFileInfo;
    to.HeaderText = from.HeaderText;
    to.ColumnValue = from.ColumnValue;
    to.InDelimiter = from.InDelimiter;
    to.IgnoreEmpLine = from.IgnoreEmpLine;
    to.TimeColumn = from.TimeColumn;
    to.DateColumn = from.DateColumn;
    to.dateOrder = from.dateOrder;
}

}  // namespace vk
