#include "core/files/ArchiveSource.h"

#include <algorithm>
#include <cmath>

#include "core/files/TagArchive.h"
#include "core/files/TextLoaderPasses.h"
#include "core/store/Channel.h"
#include "core/store/FileUtil.h"
#include "core/store/Markers.h"
#include "core/store/TimeBase.h"
#include "core/store/VkDialogs.h"

namespace vk {

namespace {

constexpr int64_t ChunkSamples = 1 << 20;  // read at a time: memory stays small whatever the sensor's length

std::string Offered(const ArchiveContents& archive)
{
    std::string list;
    for (const ArchiveChannel& c : archive.channels)
        if (c.axis == 0)
            list +=
                (list.empty() ? "" : ", ") + c.variable + (c.axes > 1 ? " (" + std::to_string(c.axes) + " axes)" : "");
    return list;
}

// The slot's sensor in the archive; nullopt after a message naming what is wrong.
std::optional<ArchiveChannel> ChannelOf(const ChannelDescriptor& d, ArchiveContents& archive, VkDialogs& ui)
{
    archive = ReadArchive(d.NameIn);
    const std::string file = " " + FileNameOf(d.NameIn) + ": ";
    if (!archive.error.empty() && archive.channels.empty()) {
        ui.message(file + archive.error + ".", Severity::Error);
        return std::nullopt;
    }
    const ArchiveChannel* c = FindChannel(archive, d.archiveVariable, d.ColumnValue);
    if (!c) {
        std::string wanted = "\"" + d.archiveVariable + "\"";
        if (d.ColumnValue > 1)
            wanted += " axis " + std::to_string(d.ColumnValue);
        ui.message(file + "the archive holds no sensor " + wanted + ". It offers " + Offered(archive) + ".",
                   Severity::Error);
        return std::nullopt;
    }
    return *c;
}

// Runs `take(first, values)` over the stretch chunk by chunk, `first` counted from its start.
template <class Take>
bool ForEachChunk(ArchiveReader& reader, int64_t from, int64_t count, Take take)
{
    std::vector<double> chunk;
    for (int64_t done = 0; done < count;) {
        const int64_t n = std::min(ChunkSamples, count - done);
        if (!reader.read(from + done, n, chunk))
            return false;
        take(done, chunk);
        done += n;
    }
    return true;
}

bool LoadSlot(Recording& rec, int slot, VkDialogs& ui)
{
    SlotData& s = rec.at(slot);
    ChannelDescriptor& d = s.desc;
    s.missing.clear();
    ArchiveContents archive;
    const auto c = ChannelOf(d, archive, ui);
    if (!c)
        return false;
    Channel channel(rec, slot);
    const int64_t skip = std::min<int64_t>(s.SkipCount, c->samples);
    const int64_t limit = rec.store.capacity(slot);
    const int64_t count = std::min(c->samples - skip, limit);
    ArchiveReader reader(d.NameIn, *c);
    const auto failed = [&] {
        ui.message(" " + FileNameOf(d.NameIn) + ": " + reader.error() + ".", Severity::Error);
        return false;
    };
    BusyCursor busy(ui);
    if (d.AutoScaling) {
        double smallest = Unreached, largest = -Unreached;
        if (!ForEachChunk(reader, skip, count, [&](int64_t, const std::vector<double>& values) {
                for (const double v : values) {  // NaN passes both tests
                    smallest = std::min(smallest, v);
                    largest = std::max(largest, v);
                }
            }))
            return failed();
        textload::ScaleToRange(rec, slot, smallest, largest);
    }
    const textload::Conversion conv = textload::ConversionOf(d);
    const uint16_t standIn = textload::MissingStandIn(d);
    const int32_t first = channel.firstStored();
    int64_t gapFrom = -1;  // stored index where the run of missing samples began
    const auto closeGap = [&](int64_t at) {
        if (gapFrom >= 0)
            s.missing.add(static_cast<int32_t>(gapFrom), static_cast<int32_t>(at));
        gapFrom = -1;
    };
    // Block by block: the inner loop converts and nothing else; missing samples are rare.
    if (!ForEachChunk(reader, skip, count, [&](int64_t at, const std::vector<double>& values) {
            const auto n = static_cast<int64_t>(values.size());
            for (int64_t j = 0; j < n;) {
                const int64_t q = at + j;
                uint16_t* block = rec.store.block(slot, static_cast<int32_t>(q >> SampleStore::BlockShift)) +
                                  (q & SampleStore::BlockMask);
                const int64_t run = std::min<int64_t>(n - j, SampleStore::BlockSamples - (q & SampleStore::BlockMask));
                textload::StoreWords(conv, values.data() + j, static_cast<std::size_t>(run), block);
                for (int64_t k = 0; k < run; ++k) {
                    if (std::isnan(values[static_cast<std::size_t>(j + k)])) {
                        block[k] = standIn;
                        if (gapFrom < 0)
                            gapFrom = q + k;
                    } else if (gapFrom >= 0) {
                        closeGap(q + k);
                    }
                }
                j += run;
            }
        }))
        return failed();
    closeGap(count);
    // Fill values are missing samples; so are the samples past the end of a
    // classic file cut short, which the library gives as fill values too.
    if (const int64_t missing = s.missing.missing(); missing > 0) {
        const GapRange& last = s.missing.ranges().back();
        std::string text = " " + FileNameOf(d.NameIn) + ": " + std::to_string(missing) + " of the " +
                           std::to_string(count) + " samples of " + c->variable + " are missing (fill values";
        text += last.to == count
                    ? ", the last " + std::to_string(last.to - last.from) + " of them at its end: is the file whole?)"
                    : ")";
        ui.message(text + "; they are kept as gaps.", Severity::Warning);
    }
    if (count < c->samples - skip)
        ui.message(" " + FileNameOf(d.NameIn) + ": the sensor holds more samples than a channel can take. The first " +
                       std::to_string(count) + " samples were loaded.",
                   Severity::Warning);
    d.EndTime = d.StartTime + static_cast<double>(c->samples - 1) * channel.interval();
    channel.setExtent(first, count);
    return true;
}

}  // namespace

void TakeArchiveTiming(Recording& rec, int slot, const ArchiveContents& archive, const ArchiveChannel& channel)
{
    ChannelDescriptor& d = rec.desc(slot);
    if (archive.start) {  // else the setup's start stays
        d.StartTime = *archive.start + channel.startOffsetSeconds * 1000.0;
        const CalendarTime t = DecodeTime(d.StartTime);
        d.StartFields = {t.year, t.month, t.day, t.hour, t.minute, t.second, t.millisecond};
    }
    Channel(rec, slot).setInterval(channel.intervalMs());
}

bool ArchiveSource::canRead(const std::string& path) const
{
    return LooksLikeNetCdf(path);
}

std::vector<std::string> ArchiveSource::channels(const ChannelDescriptor& d) const
{
    std::vector<std::string> names;
    for (const ArchiveChannel& c : ReadArchive(d.NameIn).channels)
        names.push_back(c.label());
    return names;
}

bool ArchiveSource::readInfo(Recording& rec, int slot, const SourceLoad&, VkDialogs& ui) const
{
    if (!rec.at(slot).ChannelUsed)
        return true;
    ArchiveContents archive;
    const auto c = ChannelOf(rec.desc(slot), archive, ui);
    if (!c)
        return false;
    ChannelDescriptor& d = rec.desc(slot);
    if (!archive.error.empty())
        ui.message(" " + FileNameOf(d.NameIn) + ": " + archive.error + "; the start time of the setup is kept.",
                   Severity::Warning);
    TakeArchiveTiming(rec, slot, archive, *c);
    return true;
}

bool ArchiveSource::load(Recording& rec, const std::vector<int>& slots, const SourceLoad&, VkDialogs& ui) const
{
    for (const int slot : slots)
        if (rec.at(slot).ChannelUsed && !LoadSlot(rec, slot, ui))
            return false;
    return true;
}

std::string ArchiveSource::emptyReason(const Recording& rec, int slot) const
{
    const ChannelDescriptor& d = rec.desc(slot);
    return ", sensor \"" + d.archiveVariable + "\"" +
           (d.ColumnValue > 1 ? " axis " + std::to_string(d.ColumnValue) : "");
}

void ArchiveSource::copyReading(const ChannelDescriptor& from, ChannelDescriptor& to) const
{
    to.format = ChannelFormat::Archive;
    to.archiveVariable = from.archiveVariable;
    to.ColumnValue = from.ColumnValue;
    to.AutoScaling = from.AutoScaling;
}

}  // namespace vk
