#include "core/setup/DescribeFile.h"

#include <filesystem>

#include "core/files/FileLayout.h"
#include "core/files/LineTimes.h"
#include "core/setup/SetupFile.h"

namespace vk {

DescribedSetup DescribeFile(const std::string& dataPath, const std::string& templatePath)
{
    DescribedSetup out;
    Recording rec;
    Settings settings;
    if (!templatePath.empty() && !ReadSetup(templatePath, rec, settings)) {
        out.error = templatePath + ": not a setup file that can be read";
        return out;
    }
    const FileLayout layout = ReadFileLayout(dataPath);
    if (!layout.readable) {
        out.error = dataPath + ": cannot be read";
        return out;
    }
    const std::string path = std::filesystem::absolute(dataPath).lexically_normal().string();
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
    if (!any) {
        out.error = dataPath + ": no column of numbers found";
        return out;
    }
    if (layout.timeColumn > 0) {
        const LineTimes times = ReadLineTimes(rec.desc(0).NameIn.empty() ? rec.desc(1) : rec.desc(0), 0, settings.skip);
        if (!times.error.empty()) {
            out.error = times.error;
            return out;
        }
        if (times.orderUnknown) {
            out.error = dataPath + ": its dates read as well day first as month first; set DateOrder in the setup";
            return out;
        }
        for (int slot = 0; slot < SlotCount; ++slot) {
            ChannelDescriptor& d = rec.desc(slot);
            if (d.NameIn.empty())
                continue;
            d.dateOrder = times.order;
            TakeTimeGrid(rec, slot, times.grid);
        }
    }
    out.text = SetupText(rec, settings);
    return out;
}

}  // namespace vk
