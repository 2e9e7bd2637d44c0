#include "core/setup/DescribeFile.h"

#include "core/files/LowerCase.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "core/files/ArchiveSource.h"
#include "core/files/FileLayout.h"
#include "core/files/LineTimes.h"
#include "core/files/TagArchive.h"
#include "core/setup/SetupFile.h"

namespace vk {

namespace {

// The archive's sensors for depth, temperature and one more, by their names.
std::string ProposeArchive(const std::string& path, Recording& rec)
{
    const ArchiveContents archive = ReadArchive(path);
    if (archive.channels.empty())
        return path + ": " + archive.error;
    const auto named = [&](bool (*test)(const std::string&)) -> const ArchiveChannel* {
        for (const ArchiveChannel& c : archive.channels)
            if (test(LowerCase(c.variable)) || test(LowerCase(c.fullName)) || test(LowerCase(c.description)))
                return &c;
        return nullptr;
    };
    std::array<const ArchiveChannel*, SlotCount> chosen{named(NamedDepth), named(NamedTemperature), nullptr};
    for (const ArchiveChannel& c : archive.channels)
        if (std::find(chosen.begin(), chosen.end(), &c) == chosen.end() && !chosen[2])
            chosen[2] = &c;
    for (int slot = 0; slot < SlotCount; ++slot) {
        ChannelDescriptor& d = rec.desc(slot);
        const ArchiveChannel* c = chosen[static_cast<std::size_t>(slot)];
        if (!c) {
            d.NameIn.clear();
            continue;
        }
        d.NameIn = path;
        d.format = ChannelFormat::Archive;
        d.archiveVariable = c->variable;
        d.ColumnValue = c->axis + 1;
        d.Caption = c->caption();
        d.AutoScaling = true;
        d.TimeColumn = d.DateColumn = 0;
        TakeArchiveTiming(rec, slot, archive, *c);
    }
    return {};
}

std::string ProposeText(const std::string& path, Recording& rec, const SkipStrings& skips)
{
    const FileLayout layout = ReadFileLayout(path);
    if (!layout.readable)
        return path + ": cannot be read";
    bool any = false;
    for (int slot = 0; slot < SlotCount; ++slot) {
        ChannelDescriptor& d = rec.desc(slot);
        if (!ApplyLayout(layout, slot, d)) {
            d.NameIn.clear();  // no column for it: the slot stays empty
            continue;
        }
        any = true;
        d.NameIn = path;
        d.AutoScaling = true;
    }
    if (!any)
        return path + ": no column of numbers found";
    if (layout.timeColumn == 0)
        return {};
    const LineTimes times = ReadLineTimes(rec.desc(0).NameIn.empty() ? rec.desc(1) : rec.desc(0), 0, skips);
    if (!times.error.empty())
        return times.error;
    if (times.orderUnknown)
        return path + ": its dates read as well day first as month first; set DateOrder in the setup";
    for (int slot = 0; slot < SlotCount; ++slot) {
        ChannelDescriptor& d = rec.desc(slot);
        if (d.NameIn.empty())
            continue;
        d.dateOrder = times.order;
        TakeTimeGrid(rec, slot, times.grid);
    }
    return {};
}

}  // namespace

std::string ProposeReading(const std::string& dataPath, Recording& rec, const SkipStrings& skips)
{
    const std::string path = std::filesystem::absolute(dataPath).lexically_normal().string();
    return LooksLikeNetCdf(path) ? ProposeArchive(path, rec) : ProposeText(path, rec, skips);
}

DescribedSetup DescribeFile(const std::string& dataPath, const std::string& templatePath)
{
    DescribedSetup out;
    Recording rec;
    Settings settings;
    if (!templatePath.empty() && !ReadSetup(templatePath, rec, settings)) {
        out.error = templatePath + ": not a setup file that can be read";
        return out;
    }
    out.error = ProposeReading(dataPath, rec, settings.skip);
    if (out.error.empty())
        out.text = SetupText(rec, settings);
    return out;
}

}  // namespace vk
