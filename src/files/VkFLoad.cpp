#include "files/VkFLoad.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "files/LineReader.h"
#include "files/ParseColumn.h"
#include "store/FileUtil.h"
#include "store/VkDialogs.h"

namespace vk {

namespace {

constexpr std::string_view InfoHeaderMark = "Vk file info";
constexpr int64_t InfoHeaderSize = 720;
constexpr std::size_t ProbeWindow = 1024;
constexpr int32_t ProgressEvery = 10000;

const char* const WrongColumnScan = " Probably wrong column, header,.. . Continue anyway?";
const char* const WrongColumnLoad = " Propably wrong column, header,.. . Continue anyway?";

enum class LineKind { Ignored, Value, MissingValue, MissingColumn };

struct ClassifiedLine {
    LineKind kind;
    double value;
};

// How the lines of one file are read: the column, its delimiter and the skip strings.
struct LineRules {
    int column;
    char delimiter;
    std::string_view skip1, skip2;  // empty when not in use

    ClassifiedLine classify(std::string_view line) const
    {
        if (line.empty() || (!skip1.empty() && line.find(skip1) != std::string_view::npos) ||
            (!skip2.empty() && line.find(skip2) != std::string_view::npos))
            return {LineKind::Ignored, 0.0};
        const ColumnField f = ParseColumn(line, column, delimiter);
        switch (f.kind) {
        case ColumnKind::Value: return {LineKind::Value, f.value};
        case ColumnKind::MissingValue: return {LineKind::MissingValue, 0.0};
        case ColumnKind::MissingColumn: break;
        }
        return {LineKind::MissingColumn, 0.0};
    }
};

// Passes over n lines; false when the file ends first.
bool SkipLines(LineReader& reader, int64_t n)
{
    std::string_view line;
    for (int64_t k = 0; k < n; ++k)
        if (!reader.next(line))
            return false;
    return true;
}

uint16_t ToRaw(double x)
{
    if (!(x > 0.0))  // NaN as well
        return 0;
    if (x >= 65535.0)
        return 65535;
    return static_cast<uint16_t>(std::nearbyint(x));  // halves to even
}

struct ScanResult {
    bool ok = false;
    int64_t valueLines = 0;
    bool askedWrongColumn = false;
};

// The auto-scaling pass: finds the range of the values and scales the slot to it.
ScanResult ScanRange(Recording& rec, int slot, LineReader& reader, const LineRules& rules, VkDialogs& ui)
{
    ScanResult result;
    ChannelDescriptor& d = rec.desc(slot);
    if (!SkipLines(reader, d.HeaderText) || reader.atEnd()) {
        ui.message("Header too large or UNIX formatted file", Severity::Error);
        return result;
    }
    if (!SkipLines(reader, rec.at(slot).SkipCount)) {
        ui.message(" " + FileNameOf(d.NameIn) + " has fewer lines than the " +
                       std::to_string(rec.at(slot).SkipCount) + " lines to skip.",
                   Severity::Error);
        return result;
    }

    double smallest = 1e33, largest = -1e33;
    {
        BusyCursor busy(ui);
        std::string_view line;
        while (reader.next(line)) {
            const ClassifiedLine c = rules.classify(line);
            if (c.kind == LineKind::Ignored)
                continue;
            ++result.valueLines;
            if (c.kind == LineKind::Value) {
                smallest = std::min(smallest, c.value);
                largest = std::max(largest, c.value);
            } else if (c.kind == LineKind::MissingColumn && !result.askedWrongColumn) {
                result.askedWrongColumn = true;
                if (ui.ask(WrongColumnScan, Buttons::YesNo, Severity::Warning) != Answer::Yes)
                    return result;
            }
        }
    }
    if (smallest == 1e33 && largest == -1e33) {
        smallest = -10.0;
        largest = 10.0;
    }
    d.HighRng = largest;
    d.LowRng = smallest;
    if (!(d.HighRng > d.LowRng)) {
        d.HighRng = largest + largest / 10.0;
        d.LowRng = smallest - smallest / 10.0;
    }
    SetScaling(rec, slot);
    d.KindEqu = 'M';
    if (std::fabs(smallest) * 0.1 > std::fabs(largest))
        rec.pendingHint = HintInvertData;
    result.ok = reader.rewind();
    return result;
}

std::string ProgressText(int32_t count, int64_t valueLines)
{
    if (valueLines <= 0)
        return std::to_string(count);
    char text[32];
    std::snprintf(text, sizeof text, "%3.0f %%", static_cast<double>(count) / static_cast<double>(valueLines) * 100.0);
    return text;
}

}  // namespace

ProbeResult ProbeDataFile(const ChannelDescriptor& d, VkDialogs& ui)
{
    ProbeResult result;
    File file(d.NameIn, File::Mode::Read);
    if (!file.isOpen()) {
        ui.message("   Can't open : " + d.NameIn, Severity::Error);
        return result;
    }
    result.opened = true;

    char head[4096];
    const int64_t got = file.read(head, sizeof head);
    const std::string_view start(head, static_cast<std::size_t>(std::max<int64_t>(got, 0)));
    result.hasInfoHeader = start.substr(0, start.find('\n')).find(InfoHeaderMark) != std::string_view::npos;

    const int64_t skipped = result.hasInfoHeader ? InfoHeaderSize : 0;
    const int64_t size = file.size() - skipped;
    int64_t offset;
    if (size >= 50001)
        offset = 20000;
    else if (size >= 8001)
        offset = 7000;
    else if (size >= 2001)
        offset = 1000;
    else {
        result.verdict = ProbeVerdict::TooShortToJudge;
        return result;
    }
    unsigned char window[ProbeWindow];
    const std::size_t length = static_cast<std::size_t>(std::min<int64_t>(ProbeWindow, size - offset));
    if (!file.readAt(skipped + offset, window, length))
        return result;
    for (std::size_t k = 0; k < length; ++k) {
        const unsigned char c = window[k];
        if ((c < 32 || c > 128) && c != 9 && c != 10 && c != 13) {
            result.verdict = ProbeVerdict::NotText;
            break;
        }
    }
    return result;
}

bool LoadTextChannel(Recording& rec, int slot, const SkipStrings& skips, VkDialogs& ui)
{
    SlotData& s = rec.at(slot);
    ChannelDescriptor& d = s.desc;
    if (!s.ChannelUsed)
        return true;

    const ProbeResult probe = ProbeDataFile(d, ui);
    if (!probe.opened) {
        s.ChannelUsed = false;
        return false;
    }
    if (probe.verdict == ProbeVerdict::NotText &&
        ui.ask(FileNameOf(d.NameIn) + " is prob. not a text file. Yet continue?", Buttons::OkCancel,
               Severity::Warning) != Answer::Ok)
        return false;

    LineReader reader;
    if (!reader.open(d.NameIn)) {
        ui.message("   Can't open : " + d.NameIn, Severity::Error);
        return false;
    }
    const LineRules rules{std::max(d.ColumnValue, 1), d.InDelimiter,
                          skips.Skip1Enbld ? std::string_view(skips.Skip1Str) : std::string_view(),
                          skips.Skip2Enbld ? std::string_view(skips.Skip2Str) : std::string_view()};

    ScanResult scan;
    if (d.AutoScaling == 'Y') {
        scan = ScanRange(rec, slot, reader, rules, ui);
        if (!scan.ok)
            return false;
    }

    const double f = 1.0 / d.CoeffA;
    const double g = -d.CoeffB * f;
    const int32_t limit = std::min(SampleStore::Capacity, rec.store.capacity(slot));
    int32_t count = 0;
    const bool skippedAll = SkipLines(reader, d.HeaderText) && SkipLines(reader, s.SkipCount);

    s.HeadCmt1.clear();
    s.HeadCmt2.clear();
    ui.status("");
    if (skippedAll) {
        BusyCursor busy(ui);
        bool askedWrongColumn = scan.askedWrongColumn;
        uint16_t* block = nullptr;
        int32_t reported = -1;
        std::string_view line;
        while (count < limit) {
            if (count % ProgressEvery == 0 && count != reported) {
                reported = count;
                ui.status(ProgressText(count, scan.valueLines));
            }
            ClassifiedLine c{LineKind::Ignored, 0.0};
            while (c.kind == LineKind::Ignored && reader.next(line))
                c = rules.classify(line);
            if (c.kind == LineKind::Ignored)
                break;  // end of file
            double v;
            if (c.kind == LineKind::Value) {
                v = c.value * f + g;
            } else if (c.kind == LineKind::MissingValue) {
                if (d.IgnoreEmpLine)
                    continue;
                v = d.LowRng * f + g;  // the missing value reads back as LowRng
            } else {
                if (!askedWrongColumn) {
                    askedWrongColumn = true;
                    if (ui.ask(WrongColumnLoad, Buttons::YesNo, Severity::Warning) != Answer::Yes)
                        return false;
                }
                continue;
            }
            if ((count & SampleStore::BlockMask) == 0)
                block = rec.store.block(slot, count >> SampleStore::BlockShift);
            block[count & SampleStore::BlockMask] = ToRaw(v * d.UsrCoeffA + d.UsrCoeffB);
            ++count;
        }
    }
    const bool cut = count == limit && !reader.atEnd();
    reader.close();
    if (cut)
        ui.message(" " + FileNameOf(d.NameIn) + " holds more values than a channel can take. The first " +
                       std::to_string(count) + " values were loaded.",
                   Severity::Warning);
    d.EndTime = d.StartTime + (count - 1.0) * d.SampRate;
    d.DataCnt = d.CorrSmpDelay + count - 1;
    return true;
}

}  // namespace vk
