#include "core/files/ChannelExport.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

#include "core/files/BinaryChannelFile.h"
#include "core/files/PathNames.h"
#include "core/store/Channel.h"
#include "core/store/FileUtil.h"
#include "core/store/RawRange.h"
#include "core/store/VkDialogs.h"

namespace vk {

namespace {

// Enough decimals to tell neighbouring raw steps apart.
int DecimalsFor(double step)
{
    if (!(step > 0.0))
        return 6;
    return std::clamp(static_cast<int>(std::ceil(-std::log10(step))) + 1, 0, 10);
}

void AppendTime(std::string& out, double ms)
{
    const CalendarTime t = DecodeTime(ms);
    char text[40];
    const int n = std::snprintf(text, sizeof text, "%02d.%02d.%04d %02d:%02d:%02d.%03d", t.day, t.month, t.year, t.hour,
                                t.minute, t.second, t.millisecond);
    out.append(text, static_cast<std::size_t>(n));
}

void AppendValue(std::string& out, double value, int decimals)
{
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (result.ec == std::errc())
        out.append(text, result.ptr);
    else
        out += "NA";
}

struct Column {
    int slot;
    IndexRange range;
    int32_t next;
    int decimals;
};

}  // namespace

bool ConfirmOverwrite(VkDialogs& ui, const std::string& path)
{
    return !FileExists(path) ||
           ui.ask(path + " already exists. Overwrite ? ", Buttons::OkCancel, Severity::Warning) == Answer::Ok;
}

IndexRange SamplesInRange(const Recording& rec, int slot, double fromMs, double toMs)
{
    const ChannelView channel(rec, slot);
    IndexRange r;
    if (channel.interval() <= 0)
        return r;
    const double first = std::max(std::ceil(fromMs / channel.interval()), static_cast<double>(channel.firstStored()));
    const double last = std::min(std::floor(toMs / channel.interval()), static_cast<double>(channel.last()));
    if (first > last)
        return r;
    r.first = static_cast<int32_t>(first);
    r.last = static_cast<int32_t>(last);
    return r;
}

bool ExportBinary(const Recording& rec, const std::string& path, int slot, double fromMs, double toMs)
{
    const SlotData& s = rec.at(slot);
    const ChannelDescriptor& d = s.desc;
    const IndexRange range = SamplesInRange(rec, slot, fromMs, toMs);
    InfoHeader header;
    header.caption = d.Caption;
    const ChannelView channel(rec, slot);
    const Calibration calibration = channel.calibration();
    header.coeffB = calibration.b - calibration.offset;  // the values as they are shown
    header.coeffA = calibration.a;
    header.coeffC = calibration.c;
    header.startTime = rec.time.GlobalStart + channel.timeOf(range.first);
    header.sampRate = d.SampRate;
    if (channel.interval() != d.SampRate)
        header.exactInterval = channel.interval();
    header.comment1 = s.HeadCmt1;
    header.comment2 = s.HeadCmt2;
    const int64_t count = std::max<int64_t>(int64_t{range.last} - range.first + 1, 0);

    SafeFileWriter out(path);
    out.write(FormatInfoHeader(header, "Samples " + std::to_string(count) + "\nWritten by Varnik\n"));
    if (out.ok() && count > 0) {
        // The raw words are appended to the same temporary file after the header.
        if (!WriteRawRange(rec, out.temporary(), range.first, range.last + 1, RawRangeMode::Append, slot))
            out.fail();
    }
    return out.commit();
}

bool ExportBinaryAll(const Recording& rec, const std::string& path, double fromMs, double toMs)
{
    bool ok = true;
    for (int slot = 0; slot < SlotCount; ++slot)
        if (rec.at(slot).ChannelUsed)
            ok = ExportBinary(rec, ChangeExtension(path, SlotExtension(slot)), slot, fromMs, toMs) && ok;
    return ok;
}

bool ExportText(const Recording& rec, int slot, const std::string& path, TextExportMode mode, double fromMs,
                double toMs)
{
    std::vector<Column> columns;
    for (int s = 0; s < SlotCount; ++s) {
        if (mode == TextExportMode::OneChannel ? s != slot : !rec.at(s).ChannelUsed)
            continue;
        const IndexRange range = SamplesInRange(rec, s, fromMs, toMs);
        columns.push_back({s, range, range.first, DecimalsFor(ChannelView(rec, s).calibration().a)});
    }

    std::string text = "Time [dd.mm.yyyy hh:mm:ss.ms]";
    for (const Column& c : columns)
        text += "\t" + rec.desc(c.slot).Caption;
    text += "\r\n";

    SafeFileWriter out(path);
    // Rows at the union of the sample times: a merge over the channels.
    for (;;) {
        double time = INFINITY;
        for (const Column& c : columns)
            if (c.next <= c.range.last)
                time = std::min(time, static_cast<double>(c.next) * ChannelView(rec, c.slot).interval());
        if (time == INFINITY)
            break;
        AppendTime(text, rec.time.GlobalStart + time);
        for (Column& c : columns) {
            text += '\t';
            if (c.next <= c.range.last && static_cast<double>(c.next) * ChannelView(rec, c.slot).interval() == time)
                AppendValue(text, ReadValue(rec, c.next++, c.slot).value, c.decimals);
            else
                text += "NA";
        }
        text += "\r\n";
        if (text.size() > (1 << 20)) {
            if (!out.write(text))
                return false;
            text.clear();
        }
    }
    out.write(text);
    return out.commit();
}

}  // namespace vk
