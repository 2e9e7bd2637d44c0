#include "core/files/TimedTextSource.h"

#include "core/files/LineTimes.h"
#include "core/files/TextLoaderPasses.h"
#include "core/files/TimeSpread.h"
#include "core/store/Channel.h"
#include "core/store/FileUtil.h"
#include "core/store/VkDialogs.h"

namespace vk {

namespace {

// The lines' times with the questions they raise: which way slashed dates
// read, and whether to go on past a line whose time leaves the grid (the
// lines from there follow one after another). nullopt when the load must stop.
std::optional<LineTimes> AskedTimes(Recording& rec, int slot, const SourceLoad& how, VkDialogs& ui)
{
    ChannelDescriptor& d = rec.desc(slot);
    LineTimes times = ReadLineTimes(d, 0, how.skips);
    const std::string file = FileNameOf(d.NameIn);
    if (times.orderUnknown) {
        const std::string question = " The dates of " + file +
                                     " read as well day first (05/01/2002 the 5th of January) as month first (the 1st "
                                     "of May).";
        if (!how.text.askAboutTimes) {
            ui.message(question + " Set the date order in the setup.", Severity::Error);
            return std::nullopt;
        }
        const Answer a = ui.ask(question + "\r\nRead them day first? (No: month first)", Buttons::YesNoCancel);
        if (a == Answer::Cancel)
            return std::nullopt;
        d.dateOrder = a == Answer::Yes ? DateOrder::DayFirst : DateOrder::MonthFirst;
        times = ReadLineTimes(d, 0, how.skips);
    }
    if (!times.error.empty()) {
        ui.message(times.error, Severity::Error);
        return std::nullopt;
    }
    if (times.grid.problem) {
        const std::string problem = " " + file + ": " + ProblemText(*times.grid.problem);
        if (!how.text.askAboutTimes) {
            ui.message(problem, Severity::Error);
            return std::nullopt;
        }
        if (ui.ask(problem + "\r\nGo on, placing the lines from there one after another?", Buttons::YesNo,
                   Severity::Warning) != Answer::Yes)
            return std::nullopt;
    }
    return times;
}

}  // namespace

bool TimedTextSource::readInfo(Recording& rec, int slot, const SourceLoad& how, VkDialogs& ui) const
{
    if (!rec.at(slot).ChannelUsed)
        return true;
    const auto times = AskedTimes(rec, slot, how, ui);
    if (!times)
        return false;
    TakeTimeGrid(rec, slot, times->grid);  // without a line with a value the setup's start stays
    return true;
}

bool TimedTextSource::load(Recording& rec, const std::vector<int>& slots, const SourceLoad& how, VkDialogs& ui) const
{
    for (const int slot : slots) {
        if (!TextSource::load(rec, {slot}, how, ui))
            return false;
        ChannelDescriptor& d = rec.desc(slot);
        // The questions were answered before the common start: the times only place the lines now.
        const LineTimes times = ReadLineTimes(d, rec.at(slot).SkipCount, how.skips);
        if (!SpreadToTimes(rec, slot, times.grid.gaps, textload::MissingStandIn(d))) {
            ui.message(" " + FileNameOf(d.NameIn) +
                           ": its lines with the pauses between them need more samples than "
                           "the channel can take.",
                       Severity::Error);
            return false;
        }
        const ChannelView channel(rec, slot);
        d.EndTime = d.StartTime + channel.timeOf(channel.storedCount() - 1);
    }
    return true;
}

}  // namespace vk
