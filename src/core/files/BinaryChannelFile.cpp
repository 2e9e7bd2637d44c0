#include "core/files/BinaryChannelFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "core/files/TextLoader.h"
#include "core/store/Channel.h"
#include "core/store/FileUtil.h"
#include "core/store/NumberText.h"
#include "core/store/VkDialogs.h"

namespace vk {

namespace {

constexpr int32_t ChunkWords = 1024;
constexpr std::size_t ExactIntervalLine = 11;
constexpr std::string_view ExactIntervalWord = "Interval ";
constexpr int32_t BinaryCapacity = SampleStore::Capacity - ChunkWords;

std::vector<std::string_view> HeaderLines(std::string_view bytes)
{
    bytes = bytes.substr(0, InfoHeaderBytes);
    std::vector<std::string_view> lines;
    while (!bytes.empty() && lines.size() < ExactIntervalLine) {
        const auto end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos)
            break;
        bytes.remove_prefix(end + 1);
    }
    return lines;
}

// Reads 1..maxDigits digits at text[at]; advances at.
std::optional<int> Digits(std::string_view text, std::size_t& at, std::size_t maxDigits)
{
    int value = 0;
    std::size_t n = 0;
    while (at < text.size() && n < maxDigits && text[at] >= '0' && text[at] <= '9') {
        value = value * 10 + (text[at] - '0');
        ++at;
        ++n;
    }
    return n > 0 ? std::optional<int>(value) : std::nullopt;
}

std::optional<int> TwoDigitsAt(std::string_view text, std::size_t at)
{
    if (at + 2 > text.size() || text[at] < '0' || text[at] > '9' || text[at + 1] < '0' || text[at + 1] > '9')
        return std::nullopt;
    return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

int FullYear(int twoDigits)
{
    return twoDigits >= 50 ? 1900 + twoDigits : 2000 + twoDigits;
}

std::string CommentOf(std::string_view line)
{
    const std::string_view trimmed = TrimEnds(line);
    return trimmed.empty() ? std::string(" ") : std::string(trimmed);
}

// Fills every index 0..DataCnt of a new channel with the raw value nearest to 0.
bool CreateEmptyChannel(Recording& rec, int slot, VkDialogs& ui)
{
    SlotData& s = rec.at(slot);
    ChannelDescriptor& d = s.desc;
    {
        File probe(d.NameIn, File::Mode::Truncate);
        const bool created = probe.isOpen();
        probe.close();
        if (!created || std::remove(d.NameIn.c_str()) != 0) {
            ui.message(" Error. Cannot create " + FileNameOf(d.NameIn), Severity::Error);
            return false;
        }
    }
    d.DataCnt = rec.desc(0).DataCnt;
    if (d.DataCnt < -1 || d.DataCnt >= rec.store.capacity(slot)) {
        ui.message(" Error. " + FileNameOf(d.NameIn) + " cannot be created with " +
                       std::to_string(int64_t{d.DataCnt} + 1) + " samples: a channel takes at most " +
                       std::to_string(rec.store.capacity(slot)) + ".",
                   Severity::Error);
        return false;
    }
    bool report = false;
    const uint16_t zero = PhysToRaw(rec, slot, report, 0.0);
    for (int32_t i = 0; i <= d.DataCnt; ++i)
        WriteRaw(rec, i, zero, slot);
    s.ChannelUsed = true;
    d.EndTime = d.StartTime + ChannelView(rec, slot).span();
    return true;
}

}  // namespace

std::optional<double> ParseHeaderDate(std::string_view line)
{
    std::size_t at = 0;
    while (at < line.size() && line[at] == ' ')
        ++at;
    const std::size_t start = at;
    const auto day = Digits(line, at, 2);
    if (!day || at >= line.size())
        return std::nullopt;
    ++at;
    const auto month = Digits(line, at, 2);
    if (!month || at >= line.size())
        return std::nullopt;
    ++at;
    const std::size_t yearStart = at;
    const auto year = Digits(line, at, 8);
    if (!year)
        return std::nullopt;
    if (at - yearStart != 4) {
        int f[6];
        for (int k = 0; k < 6; ++k) {
            const auto v = TwoDigitsAt(line, start + 3 * static_cast<std::size_t>(k));
            if (!v)
                return std::nullopt;
            f[k] = *v;
        }
        return EncodeTime(FullYear(f[2]), f[1], f[0], f[3], f[4], f[5]);
    }
    while (at < line.size() && (line[at] < '0' || line[at] > '9'))
        ++at;
    const auto hour = Digits(line, at, 2);
    ++at;
    const auto minute = Digits(line, at, 2);
    ++at;
    const auto second = Digits(line, at, 2);
    if (!hour || !minute || !second)
        return std::nullopt;
    double ms = EncodeTime(*year, *month, *day, *hour, *minute, *second);
    // Milliseconds after the seconds (".008") keep a start that is not on a whole second.
    if (at < line.size() && line[at] == '.') {
        ++at;
        if (const auto fraction = Digits(line, at, 3))
            ms += *fraction;
    }
    return ms;
}

std::string FormatHeaderDate(double ms)
{
    const CalendarTime t = DecodeTime(ms);
    char text[48];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d %02d:%02d:%02d", t.day, t.month, t.year, t.hour, t.minute,
                  t.second);
    std::string result = text;
    if (t.millisecond != 0) {
        std::snprintf(text, sizeof text, ".%03d", t.millisecond);
        result += text;
    }
    return result;
}

std::optional<InfoHeader> ParseInfoHeader(std::string_view bytes)
{
    const std::vector<std::string_view> lines = HeaderLines(bytes);
    if (lines.empty() || lines[0].find(InfoHeaderMarker) == std::string_view::npos)
        return std::nullopt;
    InfoHeader h;
    auto line = [&](std::size_t n) { return n <= lines.size() ? lines[n - 1] : std::string_view(); };

    std::string_view caption = line(2).substr(0, 255);
    while (caption.size() > 1 && caption.back() == ' ')
        caption.remove_suffix(1);
    h.caption = std::string(caption);

    std::string_view numbers = line(3);
    double* targets[3] = {&h.coeffB, &h.coeffA, &h.coeffC};
    const char* const names[3] = {"offset", "factor", "square factor"};
    for (std::size_t k = 0; k < 3; ++k) {
        numbers = numbers.substr(std::min(numbers.size(), numbers.find_first_not_of(' ')));
        const std::size_t end = std::min(numbers.size(), numbers.find(' '));
        double v = 0.0;
        if (ParseDecimal(numbers.substr(0, end), v) && std::isfinite(v))
            *targets[k] = v;
        else if (h.calibrationProblem.empty())
            h.calibrationProblem =
                std::string("its ") + names[k] + " is " +
                (end == 0 ? std::string("missing")
                          : "'" + std::string(numbers.substr(0, std::min<std::size_t>(end, 40))) + "'");
        numbers.remove_prefix(end);
    }
    if (h.calibrationProblem.empty() && h.coeffA == 0.0)
        h.calibrationProblem = "its factor is 0";
    h.startTime = ParseHeaderDate(line(4));
    int64_t rate = 0;
    if (ParseInteger(line(5), rate) && rate > 0 && rate <= INT32_MAX)
        h.sampRate = static_cast<int32_t>(rate);
    h.comment1 = CommentOf(line(9));
    h.comment2 = CommentOf(line(10));
    // "Interval 62.5 ms" after the comments, from this program only.
    if (std::string_view extra = TrimEnds(line(ExactIntervalLine)); extra.starts_with(ExactIntervalWord)) {
        extra.remove_prefix(ExactIntervalWord.size());
        if (extra.ends_with(" ms"))
            extra.remove_suffix(3);
        double ms = 0.0;
        if (ParseDecimal(extra, ms) && ms > 0 && h.sampRate && std::lround(ms) == *h.sampRate)
            h.exactInterval = ms;
    }
    return h;
}

std::string FormatInfoHeader(const InfoHeader& h, std::string_view notes)
{
    char numbers[96];
    std::snprintf(numbers, sizeof numbers, "%.17g %.17g %.17g", h.coeffB, h.coeffA, h.coeffC);
    std::string text = std::string(InfoHeaderMarker) + "\r\n";
    text += h.caption.substr(0, 255) + "\r\n";
    text += std::string(numbers) + "\r\n";
    text += (h.startTime ? FormatHeaderDate(*h.startTime) : std::string()) + "\r\n";
    text += std::to_string(h.sampRate.value_or(1000)) + "\r\n";
    std::string_view rest = notes;
    for (int k = 0; k < 3; ++k) {  // lines 6..8
        const auto end = std::min(rest.size(), rest.find('\n'));
        text += std::string(rest.substr(0, std::min<std::size_t>(end, 80))) + "\r\n";
        rest.remove_prefix(std::min(rest.size(), end + 1));
    }
    text += h.comment1.substr(0, 70) + "\r\n";
    text += h.comment2.substr(0, 70) + "\r\n";
    if (h.exactInterval)
        text += std::string(ExactIntervalWord) + GeneralText(*h.exactInterval) + " ms\r\n";
    text.resize(InfoHeaderBytes - 2, ' ');
    text += "\r\n";
    return text;
}

bool ReadFileInfo(Recording& rec, int slot, VkDialogs& ui)
{
    SlotData& s = rec.at(slot);
    File file(s.desc.NameIn, File::Mode::Read);
    if (!file.isOpen())
        return true;
    char bytes[InfoHeaderBytes];
    const int64_t got = file.read(bytes, sizeof bytes);
    const auto header = ParseInfoHeader(std::string_view(bytes, static_cast<std::size_t>(std::max<int64_t>(got, 0))));
    if (!header)
        return true;
    if (!header->calibrationProblem.empty()) {
        ui.message(" " + FileNameOf(s.desc.NameIn) + ": the calibration in line 3 of its header cannot be read (" +
                       header->calibrationProblem + "). The file is not loaded.",
                   Severity::Error);
        return false;
    }
    ChannelDescriptor& d = s.desc;
    d.Caption = header->caption;
    d.CoeffB = header->coeffB;
    d.CoeffA = header->coeffA;
    d.CoeffC = header->coeffC;
    if (header->startTime)
        d.StartTime = *header->startTime;
    if (header->sampRate)
        Channel(rec, slot).setInterval(header->exactInterval.value_or(*header->sampRate));
    s.HeadCmt1 = header->comment1;
    s.HeadCmt2 = header->comment2;
    // The range follows the file's calibration; a baseline shift of the previous
    // recording must not move it.
    d.yOffset = 0.0;
    SetRangeFromCoefficients(rec, slot);
    return true;
}

bool LoadBinaryChannel(Recording& rec, int slot, VkDialogs& ui)
{
    SlotData& s = rec.at(slot);
    ChannelDescriptor& d = s.desc;
    Channel channel(rec, slot);
    s.missing.clear();  // a binary file has a value at every position
    if (d.format == ChannelFormat::Created && !FileExists(d.NameIn))
        return CreateEmptyChannel(rec, slot, ui);
    if (!s.ChannelUsed)
        return true;

    const auto probe =
        ProbeForLoading(s, ui, ProbeVerdict::LooksLikeText, " is prob. not a binary file. Yet continue?");
    if (!probe)
        return false;

    File file(d.NameIn, File::Mode::Read);
    if (!file.isOpen()) {
        ui.message("   Can't open : " + d.NameIn, Severity::Error);
        s.ChannelUsed = false;
        return false;
    }
    const int64_t headerBytes = probe->hasInfoHeader ? static_cast<int64_t>(InfoHeaderBytes) : 0;
    const int64_t words = std::max<int64_t>((file.size() - headerBytes) / 2, 0);
    d.EndTime = d.StartTime + static_cast<double>(words) * ChannelView(rec, slot).interval();
    int64_t skip = 0;
    if (s.SkipCount >= 1) {
        if (words < s.SkipCount) {
            channel.setExtent(channel.firstStored(), 0);  // an empty channel
            return true;
        }
        skip = s.SkipCount;
    }

    const int32_t limit = std::min(BinaryCapacity, rec.store.capacity(slot));
    const int64_t available = words - skip;
    int64_t offset = headerBytes + skip * 2;
    int32_t loaded = 0;
    {
        BusyCursor busy(ui);
        // Straight into the blocks, one block-sized read at a time.
        while (loaded < limit && loaded < available) {
            const int32_t inBlock = SampleStore::BlockSamples - (loaded & SampleStore::BlockMask);
            const auto n = static_cast<int32_t>(std::min<int64_t>({inBlock, limit - loaded, available - loaded}));
            uint16_t* block = rec.store.block(slot, loaded >> SampleStore::BlockShift);
            if (!file.readAt(offset, block + (loaded & SampleStore::BlockMask), static_cast<std::size_t>(n) * 2)) {
                ui.message(" Error while reading " + d.NameIn, Severity::Error);
                return false;
            }
            offset += int64_t{n} * 2;
            loaded += n;
        }
    }
    if (loaded < available)
        ui.message(" " + FileNameOf(d.NameIn) + " holds more samples than a channel can take. The first " +
                       std::to_string(loaded) + " samples were loaded.",
                   Severity::Warning);
    channel.setExtent(channel.firstStored(), loaded);
    return true;
}

}  // namespace vk
