#include "core/setup/Start.h"

#include <algorithm>
#include <cctype>

#include "core/files/ChannelSource.h"
#include "core/files/PathNames.h"
#include "core/setup/DiveRecord.h"
#include "core/setup/SaveSettings.h"
#include "core/store/Channel.h"
#include "core/store/CommonStart.h"
#include "core/store/FileUtil.h"
#include "core/store/NumberText.h"
#include "core/store/TimeBase.h"
#include "core/store/VkDialogs.h"

namespace vk {

void NameResultFiles(Workbench& wb, const std::string& dataFile)
{
    Settings& s = wb.settings;
    s.NameOutFile[0] = ChangeExtension(InsertBeforeExtension(ChangeExtension(dataFile, ".ex1"), "_Dve"), ".xls");
    s.NameOutFile[1] = ChangeExtension(dataFile, ".ex2");
    s.NameOutFile[2] = ChangeExtension(dataFile, ".ex3");
    wb.results.bouts = ChangeExtension(InsertBeforeExtension(s.NameOutFile[0], "_Bout"), ".xls");
    wb.results.wiggles = ChangeExtension(InsertBeforeExtension(s.NameOutFile[0], "_Wigg"), ".xls");
    wb.results.frequency = ChangeExtension(InsertBeforeExtension(dataFile, "_Frequ"), ".xls");
    wb.results.thumbnailPrefix = FolderOf(dataFile) + "Thumbnails/" + BaseNameOf(dataFile);
}

namespace {

// " Channel 1 (Depth)"
std::string ChannelName(const Recording& rec, int slot)
{
    return " Channel " + std::to_string(slot + 1) + " (" + rec.desc(slot).Caption + ")";
}

}  // namespace

std::string ChannelProblems(const Recording& rec)
{
    std::string problems;
    for (int slot = 0; slot < SlotCount; ++slot) {
        const SlotData& s = rec.at(slot);
        const ChannelDescriptor& d = s.desc;
        if (!s.ChannelUsed) {
            if (!NamesNoFile(d.NameIn))
                problems += "\r\n" + ChannelName(rec, slot) + ": no file " + d.NameIn;
            continue;
        }
        const ChannelSource& source = SourceFor(d);
        if (HoldsValues(rec, slot) || source.createsChannel(d))
            continue;
        problems += "\r\n" + ChannelName(rec, slot) + " holds no value: " + d.NameIn + source.emptyReason(rec, slot);
    }
    return problems;
}

void DrawDepthDownwards(ChannelDescriptor& d)
{
    std::string caption = d.Caption;
    std::transform(caption.begin(), caption.end(), caption.begin(), [](unsigned char c) { return std::tolower(c); });
    if (!d.styleChosen && caption.find("depth") != std::string::npos && d.GrRepr > 0)
        d.GrRepr = -d.GrRepr;
}

StartResult StartRecording(Workbench& wb, VkDialogs& ui, const StartHooks& hooks)
{
    Recording& rec = wb.rec;
    wb.dive = DiveState{};
    wb.settings.OutDlmt = '\t';
    rec.time.TimeOffset = 0.0;
    for (int slot = 0; slot < SlotCount; ++slot) {
        SlotData& s = rec.at(slot);
        s.missing.clear();
        s.ChannelModified = false;
        Channel(rec, slot).setFirstStored(0);
        if (s.desc.GrRepr == 0 || s.desc.GrRepr == 5)
            s.desc.GrRepr = 1;
    }
    DrawDepthDownwards(rec.desc(AnalysisSlot));

    double earliest = 1e16;
    int firstUsed = -1;
    int firstExisting = -1;
    for (int slot = 0; slot < SlotCount; ++slot) {
        SlotData& s = rec.at(slot);
        const bool exists = FileExists(s.desc.NameIn);
        s.ChannelUsed = SourceFor(s.desc).used(s.desc);
        if (exists && firstExisting < 0)
            firstExisting = slot;
        if (s.ChannelUsed) {
            earliest = std::min(earliest, s.desc.StartTime);
            if (firstUsed < 0)
                firstUsed = slot;
        }
    }
    rec.time.Start = DecodeTime(earliest);
    if (firstUsed < 0) {
        std::string text = " Invalid filename(s)";
        for (int slot = 0; slot < SlotCount; ++slot)
            if (const std::string& name = rec.desc(slot).NameIn; !NamesNoFile(name))
                text += "\r\nChannel " + std::to_string(slot + 1) + ": no file " + name;
        ui.message(text, Severity::Error);
        return StartResult::NoChannel;
    }

    for (int slot = 0; slot < SlotCount; ++slot)
        if (!SourceFor(rec.desc(slot)).readInfo(rec, slot, {wb.settings.skip, hooks.text, hooks.loadingSlot}, ui))
            return StartResult::LoadFailed;
    if (!SettleCommonStart(rec, ui))
        return StartResult::Stopped;
    for (int slot = 0; slot < SlotCount; ++slot)
        SetScaling(rec, slot);

    if (firstExisting >= 0) {
        const std::string& name = rec.desc(firstExisting).NameIn;
        wb.settings.StatisticsFile = ChangeExtension(name, ".sta");
        wb.results.histogram.fill(ChangeExtension(name, ".his"));
        wb.results.tags = ChangeExtension(name, ".tag");
    }
    NameResultFiles(wb, rec.desc(firstUsed).NameIn);

    for (int slot = 0; slot < SlotCount; ++slot) {
        const SlotData& s = rec.at(slot);
        if (!s.ChannelUsed)  // nothing to load, nor to create (a blanked name)
            continue;
        if (hooks.loadingSlot)
            hooks.loadingSlot(slot);
        // The next slots the same source reads from the same file in the same way
        // share its one reading (a logger file holds depth, temperature and speed).
        const ChannelSource& source = SourceFor(s.desc);
        std::vector<int> group{slot};
        for (int next = slot + 1; next < SlotCount; ++next) {
            if (!rec.at(next).ChannelUsed)
                continue;
            if (&SourceFor(rec.desc(next)) != &source || !source.sharesReading(rec, slot, next))
                break;
            group.push_back(next);
        }
        if (!source.load(rec, group, {wb.settings.skip, hooks.text, hooks.loadingSlot}, ui))
            return StartResult::LoadFailed;
        slot = group.back();
    }

    for (int slot = 0; slot < SlotCount; ++slot) {
        const ChannelDescriptor& d = rec.desc(slot);
        if (rec.at(slot).ChannelUsed && !(ShownInCalendar(d.StartTime) && ShownInCalendar(d.EndTime))) {
            ui.message(" Channel " + std::to_string(slot + 1) + " (" + FileNameOf(d.NameIn) + "): its start time " +
                           ShortText(d.StartTime) + " ms and sampling interval of " +
                           GeneralText(ChannelView(rec, slot).interval()) + " ms give dates outside the years " +
                           std::to_string(FirstCalendarYear) + " to " + std::to_string(LastCalendarYear) +
                           ". Mend the start date or the interval in the setup.",
                       Severity::Error);
            return StartResult::LoadFailed;
        }
    }
    rec.time.LongestSpan = 0.0;
    for (int slot = 0; slot < SlotCount; ++slot)
        if (rec.at(slot).ChannelUsed)
            rec.time.LongestSpan = std::max(rec.time.LongestSpan, ChannelView(rec, slot).span());
    if (const std::string problems = ChannelProblems(rec); !problems.empty())
        ui.message(" Not every channel could be loaded:" + problems, Severity::Warning);
    NoteSetupAtStart(wb);
    return StartResult::Loaded;
}

}  // namespace vk
