#include "core/files/TextLoader.h"
#include "core/store/Channel.h"
#include "core/store/Markers.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <future>
#include <thread>
#include <vector>

#include "core/files/Outliers.h"
#include "core/files/TextLoaderPasses.h"
#include "core/store/FileUtil.h"
#include "core/store/NumberText.h"
#include "core/store/VkDialogs.h"

namespace vk {

using namespace textload;

namespace {

constexpr std::string_view InfoHeaderMark = "Vk file info";
constexpr int64_t InfoHeaderSize = 720;
constexpr std::size_t ProbeWindow = 1024;
constexpr int64_t BytesPerPart = 16 << 20;  // smaller files are read on one thread
constexpr int MaxParts = 8;

const char* const WrongColumnScan = " Probably wrong column, header,.. . Continue anyway?";
const char* const WrongColumnLoad = " Propably wrong column, header,.. . Continue anyway?";

// Passes over n lines; false when the file ends first.
bool SkipLines(LineReader& reader, int64_t n)
{
    std::string_view line;
    for (int64_t k = 0; k < n; ++k)
        if (!reader.next(line))
            return false;
    return true;
}

std::string ProgressText(int64_t count, int64_t valueLines)
{
    if (valueLines <= 0)
        return std::to_string(count);
    char text[32];
    std::snprintf(text, sizeof text, "%3.0f %%", static_cast<double>(count) / static_cast<double>(valueLines) * 100.0);
    return text;
}

struct Part {
    int64_t begin, end;
};

// Splits the data of the file into parts that begin at line starts.
std::vector<Part> SplitIntoParts(const std::string& path, int64_t begin, int64_t end, char eol, int wanted)
{
    int count = wanted;
    if (count <= 0)
        count = static_cast<int>(std::clamp<int64_t>((end - begin) / BytesPerPart, 1,
                                                     std::min<int64_t>(MaxParts, std::thread::hardware_concurrency())));
    std::vector<Part> parts;
    int64_t start = begin;
    for (int k = 1; k < count && start < end; ++k) {
        const int64_t cut = NextLineStart(path, std::max(start, begin + (end - begin) * k / count), end, eol);
        if (cut > start)
            parts.push_back({start, cut});
        start = cut;
    }
    parts.push_back({start, end});
    return parts;
}

// Runs work(k) for every part, each on a thread of its own when there are
// several, and calls poll() on the calling thread until all are done.
template <typename Work>
void RunParts(std::size_t parts, Work&& work, const std::function<void()>& poll)
{
    if (parts == 1) {
        work(0);
        return;
    }
    std::vector<std::future<void>> running;
    for (std::size_t k = 0; k < parts; ++k)
        running.push_back(std::async(std::launch::async, [&work, k] { work(k); }));
    for (auto& r : running) {
        while (r.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready)
            poll();
        r.get();
    }
}

struct Source {
    std::string path;
    char eol;
    std::vector<Part> parts;
};

// A range so wide that one raw step is coarser than the steps between the
// file's own values: mostly one absurd value, named with its line.
void WarnCoarseSteps(const std::string& path, const RangeScan& total, double step, VkDialogs& ui)
{
    ui.message(" " + FileNameOf(path) + ": the values range from " + ShortText(total.smallest) + " (line " +
                   std::to_string(total.smallestLine + 1) + ") to " + ShortText(total.largest) + " (line " +
                   std::to_string(total.largestLine + 1) + "). Stored in 65536 steps, one step is " + ShortText(step) +
                   ", coarser than the file's own resolution of " + ShortText(total.resolution) +
                   ": the values lose precision. Check those lines for a wrong value.",
               Severity::Warning);
}

// The range scans of every part, side by side, for one column or several
// (scans[c][k] of column c in part k); the values are kept as they are read,
// so that the load need not read the text again when they give back the
// numbers exactly.
void ScanParts(const Source& source, const std::vector<LineRules>& rules, bool ignoreEmpty, VkDialogs& ui,
               std::vector<std::vector<RangeScan>>& scans, std::vector<std::vector<KeptValues>>& kept)
{
    const std::size_t n = source.parts.size(), columns = rules.size();
    scans.assign(columns, std::vector<RangeScan>(n));
    kept.clear();
    kept.resize(columns);
    for (std::vector<KeptValues>& k : kept)
        k.resize(n);
    BusyCursor busy(ui);
    RunParts(
        n,
        [&](std::size_t k) {
            std::vector<KeptValues> values(columns);
            LineReader reader;
            std::vector<RangeScan> found(columns);
            if (!reader.openRange(source.path, source.parts[k].begin, source.parts[k].end, source.eol))
                found[0].readError = true;
            else if (columns == 1)
                found[0] = ScanRange(reader, rules[0], ignoreEmpty, &values[0]);
            else
                found = ScanColumns(reader, rules, ignoreEmpty, values);
            for (std::size_t c = 0; c < columns; ++c) {
                scans[c][k] = found[c];
                scans[c][k].readError = found[0].readError || found[c].readError;
                kept[c][k] = std::move(values[c]);
            }
        },
        [] {});
}

// Lines that end before the column (`first`: the first of them, counted
// from 1 in the file). When every value line does, the column is probably
// wrong: `question` decides. Otherwise their values are missing, as an empty
// field's is, and that is told once.
bool TellShortLines(const std::string& path, int column, int64_t shortLines, int64_t valueLines,
                    const std::vector<int64_t>& first, const char* question, VkDialogs& ui)
{
    if (shortLines == 0)
        return true;
    if (shortLines >= valueLines)
        return ui.ask(question, Buttons::YesNo, Severity::Warning) == Answer::Yes;
    const bool one = shortLines == 1;
    ui.message(" " + FileNameOf(path) + ": " + std::to_string(shortLines) + (one ? " line ends" : " lines end") +
                   " before column " + std::to_string(column) + ": " + (one ? "its value is" : "their values are") +
                   " taken as missing (line" + (one ? " " : "s ") + LineList(first, shortLines) + ").",
               Severity::Warning);
    return true;
}

// Values far beyond the bulk found by the scan: told, and taken as missing
// as the policy or the user says. True when they are taken as missing, false
// when kept; `refused` when the load must fail.
bool TakeOutliers(const Source& source, int64_t linesBefore, const LineRules& rules, const RangeScan& total,
                  const OutlierBounds& b, OutlierPolicy policy, bool& refused, VkDialogs& ui)
{
    constexpr std::size_t ListedLines = 5;
    const bool high = total.largest > b.high;
    const OutlierLines lines = FindOutlierLines(source.path, linesBefore, rules, b, ListedLines);
    const std::string text =
        " " + FileNameOf(source.path) + ": line " +
        std::to_string((high ? total.largestLine : total.smallestLine) + 1) + " holds " +
        ShortText(high ? total.largest : total.smallest) + ", far beyond the bulk of the values (" +
        ShortText(b.bulkLow) + " to " + ShortText(b.bulkHigh) + "). " + std::to_string(lines.count) + " value" +
        (lines.count == 1 ? " lies" : "s lie") + " outside " + ShortText(b.low) + " to " + ShortText(b.high) +
        " (line" + (lines.count == 1 ? " " : "s ") + LineList(lines.first, lines.count) + ").";
    switch (policy) {
    case OutlierPolicy::Missing: ui.message(text + " They are taken as missing.", Severity::Warning); return true;
    case OutlierPolicy::Refuse:
        ui.message(text +
                       " They would leave every other value in a few of the 65536 steps: the file is "
                       "refused. Mend those lines, or take such values as missing.",
                   Severity::Error);
        refused = true;
        return false;
    case OutlierPolicy::Ask: break;
    }
    return ui.ask(text +
                      "\r\nKept, they leave every other value in a few of the 65536 steps.\r\nTake them as "
                      "missing?",
                  Buttons::YesNo, Severity::Warning) == Answer::Yes;
}

// The auto-scaling after the scan: the parts' figures joined, the question
// about lines without the column, values far beyond the bulk dealt with, the
// slot scaled to the range found. `dropped` gets the bounds outside which
// values were taken as missing.
bool ScaleFromScans(Recording& rec, int slot, const Source& source, const LineRules& rules,
                    const std::vector<RangeScan>& scans, std::vector<KeptValues>& kept, OutlierPolicy policy,
                    RangeScan& total, std::optional<OutlierBounds>& dropped, VkDialogs& ui)
{
    ChannelDescriptor& d = rec.desc(slot);
    const int64_t firstLine = int64_t{d.HeaderText} + rec.at(slot).SkipCount;  // lines of the file before the values
    int64_t linesBefore = firstLine;                                           // lines of the file before a part's
    std::vector<int64_t> firstShort;
    for (const RangeScan& s : scans) {
        for (const int64_t line : s.firstShort)
            if (firstShort.size() < ListedShortLines)
                firstShort.push_back(linesBefore + line + 1);
        total.shortLines += s.shortLines;
        total.valueLines += s.valueLines;
        total.samples += s.samples;
        if (s.smallest < total.smallest) {
            total.smallest = s.smallest;
            total.smallestLine = linesBefore + s.smallestLine;
        }
        if (s.largest > total.largest) {
            total.largest = s.largest;
            total.largestLine = linesBefore + s.largestLine;
        }
        total.resolution = std::min(total.resolution, s.resolution);
        total.readError = total.readError || s.readError;
        linesBefore += s.lines;
    }
    if (total.readError) {
        ui.message(" Error while reading " + source.path, Severity::Error);
        return false;
    }
    if (!TellShortLines(source.path, rules.column, total.shortLines, total.valueLines, firstShort, WrongColumnScan, ui))
        return false;

    textload::ScaleToRange(rec, slot, total.smallest, total.largest);
    if (d.CoeffA > total.resolution) {
        const std::optional<OutlierBounds> outliers = FindOutliers(kept);
        bool refused = false;
        if (!outliers) {
            WarnCoarseSteps(source.path, total, d.CoeffA, ui);
        } else if (TakeOutliers(source, firstLine, rules, total, *outliers, policy, refused, ui)) {
            RangeWithout(kept, *outliers, total.smallest, total.largest);
            textload::ScaleToRange(rec, slot, total.smallest, total.largest);
            dropped = outliers;
        } else if (refused) {
            return false;
        }
    }
    if (std::fabs(d.LowRng) * 0.1 > std::fabs(d.HighRng))
        SetHint(rec, HintInvertData);
    return true;
}

// Where each part's samples begin: after the samples of the parts before it.
std::vector<int32_t> FirstSamples(const std::vector<int64_t>& samples, int32_t limit)
{
    std::vector<int32_t> first(samples.size());
    int64_t position = 0;
    for (std::size_t k = 0; k < samples.size(); ++k) {
        first[k] = static_cast<int32_t>(std::min<int64_t>(position, limit));
        position += samples[k];
    }
    return first;
}

// Fills the store part by part, side by side: fill(k, hooks) stores part k
// and calls the hooks' progress with its count. The status line shows the
// share of the `valueLines` done; the missing values of the parts are joined.
template <typename Fill>
void FillParts(std::size_t n, int64_t valueLines, VkDialogs& ui, GapList& missing, Fill&& fill)
{
    std::vector<LoadResult> results(n);
    std::vector<std::atomic<int32_t>> done(n);
    int64_t reported = -1;
    auto report = [&](int64_t count) {
        const int64_t step = count / 10000 * 10000;
        if (step != reported) {
            reported = step;
            ui.status(ProgressText(step, valueLines));
        }
    };
    BusyCursor busy(ui);
    RunParts(
        n,
        [&](std::size_t k) {
            LoadHooks hooks;
            if (n == 1)
                hooks.progress = [&](int32_t count) { report(count); };
            else
                hooks.progress = [&done, k](int32_t count) { done[k].store(count, std::memory_order_relaxed); };
            results[k] = fill(k, hooks);
        },
        [&] {
            int64_t sum = 0;
            for (const auto& d : done)
                sum += d.load(std::memory_order_relaxed);
            report(sum);
        });
    for (const LoadResult& r : results)  // the parts follow one another
        for (const GapRange& g : r.missing.ranges())
            missing.add(g.from, g.to);
}

// The load pass after the scan, reading the text again: every part knows
// from the scan where its samples begin.
int64_t LoadParts(Recording& rec, int slot, const Source& source, const LineRules& rules, const Conversion& conv,
                  const std::vector<RangeScan>& scans, const RangeScan& total, int32_t limit, VkDialogs& ui,
                  GapList& missing)
{
    std::vector<int64_t> samples;
    for (const RangeScan& scan : scans)
        samples.push_back(scan.samples);
    const std::vector<int32_t> first = FirstSamples(samples, limit);
    const std::size_t n = first.size();
    FillParts(n, total.valueLines, ui, missing, [&](std::size_t k, const LoadHooks& hooks) {
        LineReader reader;
        if (!reader.openRange(source.path, source.parts[k].begin, source.parts[k].end, source.eol))
            return LoadResult{};
        return LoadRange(rec, slot, reader, rules, conv, first[k], k + 1 < n ? first[k + 1] : limit, hooks);
    });
    return std::min<int64_t>(total.samples, limit);
}

// The same from the values the scan kept.
int64_t StoreParts(Recording& rec, int slot, std::vector<KeptValues>& kept, const Conversion& conv,
                   const RangeScan& total, int32_t limit, VkDialogs& ui, GapList& missing)
{
    std::vector<int64_t> samples;
    for (const KeptValues& k : kept)
        samples.push_back(static_cast<int64_t>(k.size()));
    const std::vector<int32_t> first = FirstSamples(samples, limit);
    const std::size_t n = first.size();
    FillParts(n, total.valueLines, ui, missing, [&](std::size_t k, const LoadHooks& hooks) {
        return StoreKept(rec, slot, kept[k], conv, first[k], k + 1 < n ? first[k + 1] : limit, hooks);
    });
    return std::min<int64_t>(total.samples, limit);
}

}  // namespace

std::string FirstDataLine(const std::string& path, int skipped)
{
    LineReader reader(4096, 64 * 1024);
    std::string_view line;
    if (!reader.open(path) || !SkipLines(reader, skipped) || !reader.next(line))
        return {};
    return std::string(line.substr(0, line.find('\r')));
}

std::string PreviewLine(const std::string& path, int headerLines)
{
    return FirstDataLine(path, headerLines).substr(0, 100);
}

ProbeResult ProbeDataFile(const ChannelDescriptor& d, VkDialogs& ui)
{
    const ProbeResult result = ProbeFile(d.NameIn);
    if (!result.opened)
        ui.message("   Can't open : " + d.NameIn, Severity::Error);
    return result;
}

ProbeResult ProbeFile(const std::string& path)
{
    ProbeResult result;
    File file(path, File::Mode::Read);
    if (!file.isOpen())
        return result;
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

std::optional<ProbeResult> ProbeForLoading(SlotData& slot, VkDialogs& ui, ProbeVerdict doubtful,
                                           std::string_view question)
{
    const ProbeResult probe = ProbeDataFile(slot.desc, ui);
    if (!probe.opened) {
        slot.ChannelUsed = false;
        return std::nullopt;
    }
    if (probe.verdict == doubtful && ui.ask(FileNameOf(slot.desc.NameIn) + std::string(question), Buttons::OkCancel,
                                            Severity::Warning) != Answer::Ok)
        return std::nullopt;
    return probe;
}

namespace {

// The end of every load: the note when the channel could not take every value, and its extent.
void Finish(Recording& rec, int slot, int64_t count, bool cut, VkDialogs& ui)
{
    ChannelDescriptor& d = rec.desc(slot);
    if (cut)
        ui.message(" " + FileNameOf(d.NameIn) + " holds more values than a channel can take. The first " +
                       std::to_string(count) + " values were loaded.",
                   Severity::Warning);
    Channel channel(rec, slot);
    d.EndTime = d.StartTime + (static_cast<double>(count) - 1.0) * channel.interval();
    channel.setExtent(channel.firstStored(), count);
}

// An auto-scaled slot once its parts are scanned: scaled, stored from the
// kept values (or the text read again where they cannot give the numbers back).
bool StoreScanned(Recording& rec, int slot, const Source& source, const LineRules& rules,
                  const std::vector<RangeScan>& scans, std::vector<KeptValues>& kept, const TextLoadOptions& options,
                  VkDialogs& ui)
{
    SlotData& s = rec.at(slot);
    RangeScan total;
    std::optional<OutlierBounds> dropped;
    if (!ScaleFromScans(rec, slot, source, rules, scans, kept, options.outliers, total, dropped, ui))
        return false;
    Conversion conv = ConversionOf(s.desc);
    if (dropped) {
        conv.lowest = dropped->low;
        conv.highest = dropped->high;
    }
    s.HeadCmt1.clear();
    s.HeadCmt2.clear();
    ui.status("");
    const int32_t limit = std::min(SampleStore::Capacity, rec.store.capacity(slot));
    int64_t count = 0;
    if (options.keepValues && std::all_of(kept.begin(), kept.end(), [](const KeptValues& k) { return k.exact(); })) {
        count = StoreParts(rec, slot, kept, conv, total, limit, ui, s.missing);
    } else {
        kept.clear();
        kept.shrink_to_fit();
        count = LoadParts(rec, slot, source, rules, conv, scans, total, limit, ui, s.missing);
    }
    Finish(rec, slot, count, total.samples > limit, ui);
    return true;
}

// The checks before a slot's file is read, with their messages; the reader
// stands after the header and the lines to skip. False when the load must fail.
bool OpenForLoading(SlotData& s, LineReader& reader, bool& skippedAll, VkDialogs& ui)
{
    ChannelDescriptor& d = s.desc;
    if (!ProbeForLoading(s, ui, ProbeVerdict::NotText, " is prob. not a text file. Yet continue?"))
        return false;
    if (!reader.open(d.NameIn)) {
        ui.message("   Can't open : " + d.NameIn, Severity::Error);
        return false;
    }
    const bool autoScaling = d.AutoScaling;
    if (autoScaling) {
        const bool pastHeader = SkipLines(reader, d.HeaderText);
        if (pastHeader && reader.atEnd()) {
            const std::string header = d.HeaderText == 0
                                           ? std::string()
                                           : ": only the " + std::to_string(d.HeaderText) + " header line" +
                                                 (d.HeaderText == 1 ? "" : "s") + " the setup names";
            ui.message(" " + FileNameOf(d.NameIn) + " holds no data lines" + header + ".", Severity::Error);
            return false;
        }
        if (!pastHeader) {
            ui.message("Header too large or UNIX formatted file", Severity::Error);
            return false;
        }
    }
    skippedAll = (autoScaling || SkipLines(reader, d.HeaderText)) && SkipLines(reader, s.SkipCount);
    if (autoScaling && !skippedAll) {
        ui.message(
            " " + FileNameOf(d.NameIn) + " has fewer lines than the " + std::to_string(s.SkipCount) + " lines to skip.",
            Severity::Error);
        return false;
    }
    return true;
}

Source SourceAfter(LineReader& reader, const std::string& path, const TextLoadOptions& options)
{
    Source source;
    source.path = path;
    source.eol = reader.lineEnd();
    source.parts = SplitIntoParts(path, reader.tell(), reader.fileSize(), source.eol, options.parts);
    return source;
}

}  // namespace

bool LoadTextChannel(Recording& rec, int slot, const SkipStrings& skips, VkDialogs& ui, const TextLoadOptions& options)
{
    SlotData& s = rec.at(slot);
    ChannelDescriptor& d = s.desc;
    s.missing.clear();
    if (!s.ChannelUsed)
        return true;
    LineReader reader;
    bool skippedAll = false;
    if (!OpenForLoading(s, reader, skippedAll, ui))
        return false;
    const LineRules rules = RulesOf(d, skips);
    if (d.AutoScaling) {
        const Source source = SourceAfter(reader, d.NameIn, options);
        reader.close();
        std::vector<std::vector<RangeScan>> scans;
        std::vector<std::vector<KeptValues>> kept;
        ScanParts(source, {rules}, d.IgnoreEmpLine, ui, scans, kept);
        return StoreScanned(rec, slot, source, rules, scans[0], kept[0], options, ui);
    }

    const Conversion conv = ConversionOf(d);
    s.HeadCmt1.clear();
    s.HeadCmt2.clear();
    ui.status("");
    int64_t count = 0;
    bool cut = false;
    if (skippedAll) {
        const int32_t limit = std::min(SampleStore::Capacity, rec.store.capacity(slot));
        BusyCursor busy(ui);
        LoadHooks hooks;
        hooks.progress = [&](int32_t n) { ui.status(ProgressText(n, 0)); };
        const LoadResult loaded = LoadRange(rec, slot, reader, rules, conv, 0, limit, hooks);
        std::vector<int64_t> firstShort;
        for (const int64_t line : loaded.firstShort)
            firstShort.push_back(int64_t{d.HeaderText} + s.SkipCount + line + 1);
        if (!TellShortLines(d.NameIn, rules.column, loaded.shortLines, loaded.valueLines, firstShort, WrongColumnLoad,
                            ui))
            return false;
        count = loaded.count;
        s.missing = loaded.missing;
        cut = count == limit && !reader.atEnd();
    }
    reader.close();
    Finish(rec, slot, count, cut, ui);
    return true;
}

bool ShareOneReading(const Recording& rec, int a, int b)
{
    const SlotData &x = rec.at(a), &y = rec.at(b);
    const ChannelDescriptor &p = x.desc, &q = y.desc;
    if (!x.ChannelUsed || !y.ChannelUsed || p.format != ChannelFormat::Text || q.format != ChannelFormat::Text ||
        !p.AutoScaling || !q.AutoScaling || p.NameIn != q.NameIn || p.HeaderText != q.HeaderText ||
        x.SkipCount != y.SkipCount || p.InDelimiter != q.InDelimiter || p.IgnoreEmpLine != q.IgnoreEmpLine)
        return false;
    // A file each slot would question is loaded slot by slot, so that each asks as it always did.
    const ProbeResult probe = ProbeFile(p.NameIn);
    return probe.opened && probe.verdict != ProbeVerdict::NotText;
}

bool LoadTextChannels(Recording& rec, const std::vector<int>& slots, const SkipStrings& skips, VkDialogs& ui,
                      const std::function<void(int slot)>& starting, const TextLoadOptions& options)
{
    if (slots.size() == 1)
        return LoadTextChannel(rec, slots[0], skips, ui, options);
    // The checks and their messages as the first slot's load has them: the others would repeat them.
    SlotData& first = rec.at(slots[0]);
    LineReader reader;
    bool skippedAll = false;
    for (const int slot : slots)
        rec.at(slot).missing.clear();
    if (!OpenForLoading(first, reader, skippedAll, ui))
        return false;
    const Source source = SourceAfter(reader, first.desc.NameIn, options);
    reader.close();
    std::vector<LineRules> rules;
    for (const int slot : slots)
        rules.push_back(RulesOf(rec.desc(slot), skips));
    std::vector<std::vector<RangeScan>> scans;
    std::vector<std::vector<KeptValues>> kept;
    ScanParts(source, rules, first.desc.IgnoreEmpLine, ui, scans, kept);
    for (std::size_t k = 0; k < slots.size(); ++k) {
        if (k > 0 && starting)
            starting(slots[k]);
        if (!StoreScanned(rec, slots[k], source, rules[k], scans[k], kept[k], options, ui))
            return false;
        kept[k].clear();  // its memory back before the next slot's store
        kept[k].shrink_to_fit();
    }
    return true;
}

}  // namespace vk
