#include "core/files/LineTimes.h"

#include <algorithm>
#include <cmath>

#include "core/files/LineReader.h"
#include "core/files/ParseColumn.h"
#include "core/files/TextLoaderPasses.h"
#include "core/files/TimeStamp.h"
#include "core/store/Channel.h"
#include "core/store/FileUtil.h"
#include "core/store/NumberText.h"
#include "core/store/TimeBase.h"

namespace vk {

namespace {

constexpr double MsPerDay = 86400000.0, MsPerMinute = 60000.0, MsPerSecond = 1000.0;
constexpr std::size_t QuotedText = 40;  // characters of a field a message shows

// Calls f(line, number) for each line the load makes a sample of, numbers
// counted from 1 over the whole file. False, with `error` set, when the file
// cannot be read or f says stop.
template <typename F>
bool ForEachSampleLine(const ChannelDescriptor& d, int64_t skipCount, const SkipStrings& skips, std::string& error,
                       F&& f)
{
    LineReader reader;
    if (!reader.open(d.NameIn)) {
        error = "   Can't open : " + d.NameIn;
        return false;
    }
    std::string_view line;
    int64_t number = 0;
    for (int64_t k = 0; k < int64_t{d.HeaderText} + skipCount; ++k, ++number)
        if (!reader.next(line))
            return true;
    const textload::LineRules rules = textload::RulesOf(d, skips);
    while (reader.next(line)) {
        ++number;
        const textload::LineKind kind = rules.classify(line).kind;
        if (kind == textload::LineKind::Ignored || (d.IgnoreEmpLine && kind != textload::LineKind::Value))
            continue;
        if (!f(line, number))
            return false;
    }
    if (reader.failed()) {
        error = " " + FileNameOf(d.NameIn) + " could not be read to its end.";
        return false;
    }
    return true;
}

// The date a line gives, from its date column or its stamp.
std::optional<WrittenDate> DateOfLine(const ChannelDescriptor& d, std::string_view line)
{
    if (d.DateColumn > 0)
        return ReadDate(ColumnText(line, d.DateColumn, d.InDelimiter));
    const auto stamp = ReadStamp(ColumnText(line, d.TimeColumn, d.InDelimiter));
    return stamp ? stamp->date : std::nullopt;
}

// The order of the file's dates, told by the dates alone where they can.
DateOrder OrderOfFile(const ChannelDescriptor& d, int64_t skipCount, const SkipStrings& skips, std::string& error)
{
    std::vector<WrittenDate> changes;  // a date each time it differs from the one before: a few per day
    DateOrder order = DateOrder::Unknown;
    ForEachSampleLine(d, skipCount, skips, error, [&](std::string_view line, int64_t) {
        const auto date = DateOfLine(d, line);
        if (!date)
            return true;
        if (date->order != DateOrder::Unknown) {
            order = date->order;
            return false;
        }
        if (changes.empty() || !(changes.back() == *date)) {
            changes.push_back(*date);
            if (date->first > 12 || date->second > 12) {
                order = OrderOfDates({*date});
                return false;
            }
        }
        return true;
    });
    return order != DateOrder::Unknown ? order : OrderOfDates(changes);
}

std::string Quoted(std::string_view text)
{
    return "\"" + std::string(text.substr(0, QuotedText)) + "\"";
}

}  // namespace

void TakeTimeGrid(Recording& rec, int slot, const TimeGrid& grid)
{
    ChannelDescriptor& d = rec.desc(slot);
    if (grid.positions > 0) {
        d.StartTime = grid.start;
        const CalendarTime t = DecodeTime(d.StartTime);
        d.StartFields = {t.year, t.month, t.day, t.hour, t.minute, t.second, t.millisecond};
    }
    if (grid.interval > 0)
        Channel(rec, slot).setInterval(grid.interval);
}

LineTimes ReadLineTimes(const ChannelDescriptor& d, int64_t skipCount, const SkipStrings& skips)
{
    LineTimes out;
    out.order = d.dateOrder;
    if (out.order == DateOrder::Unknown) {
        out.order = OrderOfFile(d, skipCount, skips, out.error);
        if (!out.error.empty())
            return out;
    }
    const double startDay = std::floor(d.StartTime / MsPerDay) * MsPerDay;
    double day = startDay, previousTimeOfDay = -1.0;
    std::optional<int> firstOffset;
    TimeGridBuilder grid;
    const std::string column = "column " + std::to_string(d.TimeColumn);
    ForEachSampleLine(d, skipCount, skips, out.error, [&](std::string_view line, int64_t number) {
        const std::string_view text = ColumnText(line, d.TimeColumn, d.InDelimiter);
        std::optional<WrittenStamp> stamp;
        if (d.DateColumn > 0) {
            stamp = WrittenStamp{ReadDate(ColumnText(line, d.DateColumn, d.InDelimiter)), ReadTimeOfDay(text), {}};
            if (!stamp->date || !stamp->timeOfDay)
                stamp.reset();
        } else {
            stamp = ReadStamp(text);
        }
        std::optional<double> ms;
        if (stamp) {
            if (stamp->date && stamp->date->order == DateOrder::Unknown && out.order == DateOrder::Unknown) {
                out.orderUnknown = true;
                return false;
            }
            if (!stamp->date && stamp->timeOfDay) {  // a clock without a date: midnight turns the day
                if (*stamp->timeOfDay < previousTimeOfDay - MsPerDay / 2)
                    day += MsPerDay;
                previousTimeOfDay = *stamp->timeOfDay;
            }
            ms = TimeOfStamp(*stamp, out.order, day);
            if (ms && stamp->offsetMinutes) {
                if (!firstOffset)
                    firstOffset = stamp->offsetMinutes;
                *ms -= (*stamp->offsetMinutes - *firstOffset) * MsPerMinute;
            }
        } else if (double seconds = 0.0; !text.empty() && ParseDecimal(text, seconds)) {
            ms = d.StartTime + seconds * MsPerSecond;
        }
        if (!ms) {
            out.error = " Line " + std::to_string(number) + " of " + FileNameOf(d.NameIn) + " has no time in " +
                        column + ": " + Quoted(text) + ".";
            return false;
        }
        grid.add(*ms, number);
        return true;
    });
    out.grid = grid.finish();
    return out;
}

}  // namespace vk
