#include "core/files/TextLoader.h"
#include "core/store/Markers.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <future>
#include <thread>
#include <vector>

#include "core/files/TextLoaderPasses.h"
#include "core/store/FileUtil.h"
#include "core/store/VkDialogs.h"

namespace vk {

using namespace textload;

namespace {

constexpr std::string_view InfoHeaderMark = "Vk file info";
constexpr int64_t InfoHeaderSize = 720;
constexpr std::size_t ProbeWindow = 1024;
constexpr int64_t BytesPerPart = 16 << 20;  // smaller files are read on one thread
constexpr int MaxParts = 8;
constexpr int64_t ExpectedLineBytes = 12;  // for reserving the kept values: a guess on the short side, not a limit

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
    auto number = [](double v) {
        char text[32];
        std::snprintf(text, sizeof text, "%.6g", v);
        return std::string(text);
    };
    ui.message(" " + FileNameOf(path) + ": the values range from " + number(total.smallest) + " (line " +
                   std::to_string(total.smallestLine + 1) + ") to " + number(total.largest) + " (line " +
                   std::to_string(total.largestLine + 1) + "). Stored in 65536 steps, one step is " + number(step) +
                   ", coarser than the file's own resolution of " + number(total.resolution) +
                   ": the values lose precision. Check those lines for a wrong value.",
               Severity::Warning);
}

// The auto-scaling pass: scans every part for the range of the values, asks
// about lines without the column, and scales the slot to the range found.
// The values are kept as they are read, so that the load need not read the
// text again when they give back the numbers exactly.
bool ScanAndScale(Recording& rec, int slot, const Source& source, const LineRules& rules, VkDialogs& ui,
                  std::vector<RangeScan>& scans, RangeScan& total, std::vector<KeptValues>& kept)
{
    ChannelDescriptor& d = rec.desc(slot);
    const std::size_t n = source.parts.size();
    scans.assign(n, RangeScan{});
    kept.assign(n, KeptValues{});
    {
        BusyCursor busy(ui);
        RunParts(
            n,
            [&](std::size_t k) {
                LineReader reader;
                kept[k].values.reserve(
                    static_cast<std::size_t>((source.parts[k].end - source.parts[k].begin) / ExpectedLineBytes));
                if (reader.openRange(source.path, source.parts[k].begin, source.parts[k].end, source.eol))
                    scans[k] = ScanRange(reader, rules, d.IgnoreEmpLine, &kept[k]);
                else
                    scans[k].readError = true;
            },
            [] {});
    }
    int64_t linesBefore = int64_t{d.HeaderText} + rec.at(slot).SkipCount;  // lines of the file before a part's
    for (const RangeScan& s : scans) {
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
        total.missingColumn = total.missingColumn || s.missingColumn;
        total.readError = total.readError || s.readError;
        linesBefore += s.lines;
    }
    if (total.readError) {
        ui.message(" Error while reading " + source.path, Severity::Error);
        return false;
    }
    if (total.missingColumn && ui.ask(WrongColumnScan, Buttons::YesNo, Severity::Warning) != Answer::Yes)
        return false;

    double smallest = total.smallest, largest = total.largest;
    if (smallest == Unreached && largest == -Unreached) {
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
    if (d.CoeffA > total.resolution)
        WarnCoarseSteps(source.path, total, d.CoeffA, ui);
    if (std::fabs(smallest) * 0.1 > std::fabs(largest))
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
int64_t StoreParts(Recording& rec, int slot, const std::vector<KeptValues>& kept, const Conversion& conv, int decimals,
                   const RangeScan& total, int32_t limit, VkDialogs& ui, GapList& missing)
{
    std::vector<int64_t> samples;
    for (const KeptValues& k : kept)
        samples.push_back(static_cast<int64_t>(k.values.size()));
    const std::vector<int32_t> first = FirstSamples(samples, limit);
    const std::size_t n = first.size();
    FillParts(n, total.valueLines, ui, missing, [&](std::size_t k, const LoadHooks& hooks) {
        return StoreKept(rec, slot, kept[k], conv, decimals, first[k], k + 1 < n ? first[k + 1] : limit, hooks);
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

bool LoadTextChannel(Recording& rec, int slot, const SkipStrings& skips, VkDialogs& ui, const TextLoadOptions& options)
{
    SlotData& s = rec.at(slot);
    ChannelDescriptor& d = s.desc;
    s.missing.clear();
    if (!s.ChannelUsed)
        return true;

    if (!ProbeForLoading(s, ui, ProbeVerdict::NotText, " is prob. not a text file. Yet continue?"))
        return false;

    LineReader reader;
    if (!reader.open(d.NameIn)) {
        ui.message("   Can't open : " + d.NameIn, Severity::Error);
        return false;
    }
    const LineRules rules{std::max(d.ColumnValue, 1), d.InDelimiter,
                          skips.Skip1Enbld ? std::string_view(skips.Skip1Str) : std::string_view(),
                          skips.Skip2Enbld ? std::string_view(skips.Skip2Str) : std::string_view()};
    const bool autoScaling = d.AutoScaling == 'Y';
    if (autoScaling && (!SkipLines(reader, d.HeaderText) || reader.atEnd())) {
        ui.message("Header too large or UNIX formatted file", Severity::Error);
        return false;
    }
    const bool skippedAll = (autoScaling || SkipLines(reader, d.HeaderText)) && SkipLines(reader, s.SkipCount);
    if (autoScaling && !skippedAll) {
        ui.message(
            " " + FileNameOf(d.NameIn) + " has fewer lines than the " + std::to_string(s.SkipCount) + " lines to skip.",
            Severity::Error);
        return false;
    }

    const int32_t limit = std::min(SampleStore::Capacity, rec.store.capacity(slot));
    RangeScan total;
    std::vector<RangeScan> scans;
    std::vector<KeptValues> kept;
    Source source;
    if (autoScaling) {
        source.path = d.NameIn;
        source.eol = reader.lineEnd();
        source.parts = SplitIntoParts(d.NameIn, reader.tell(), reader.fileSize(), source.eol, options.parts);
        if (!ScanAndScale(rec, slot, source, rules, ui, scans, total, kept))
            return false;
    }

    // v * f + g maps a physical value to the raw scale; a missing value reads as LowRng.
    const double f = 1.0 / d.CoeffA;
    const Conversion conv{f, -d.CoeffB * f, (d.LowRng - d.CoeffB) * f, d.UsrCoeffA, d.UsrCoeffB, d.IgnoreEmpLine};
    s.HeadCmt1.clear();
    s.HeadCmt2.clear();
    ui.status("");

    int64_t count = 0;
    bool cut = false;
    int decimals = 0;
    if (autoScaling && options.keepValues &&
        KeptExactly(kept, std::max(std::fabs(total.smallest), std::fabs(total.largest)), decimals)) {
        count = StoreParts(rec, slot, kept, conv, decimals, total, limit, ui, s.missing);
        cut = total.samples > limit;
    } else if (autoScaling) {
        kept.clear();
        kept.shrink_to_fit();
        count = LoadParts(rec, slot, source, rules, conv, scans, total, limit, ui, s.missing);
        cut = total.samples > limit;
    } else if (skippedAll) {
        BusyCursor busy(ui);
        LoadHooks hooks;
        hooks.progress = [&](int32_t n) { ui.status(ProgressText(n, 0)); };
        hooks.missingColumn = [&] { return ui.ask(WrongColumnLoad, Buttons::YesNo, Severity::Warning) == Answer::Yes; };
        const LoadResult loaded = LoadRange(rec, slot, reader, rules, conv, 0, limit, hooks);
        if (loaded.stopped)
            return false;
        count = loaded.count;
        s.missing = loaded.missing;
        cut = count == limit && !reader.atEnd();
    }
    reader.close();
    if (cut)
        ui.message(" " + FileNameOf(d.NameIn) + " holds more values than a channel can take. The first " +
                       std::to_string(count) + " values were loaded.",
                   Severity::Warning);
    d.EndTime = d.StartTime + (static_cast<double>(count) - 1.0) * d.SampRate;
    d.DataCnt = static_cast<int32_t>(d.CorrSmpDelay + count - 1);
    return true;
}

}  // namespace vk
