#include "core/dive/ResultStep.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <mutex>
#include <thread>

#include "core/dive/Bouts.h"
#include "core/dive/DiveFrame.h"
#include "core/dive/DivePipeline.h"
#include "core/dive/DiveTable.h"
#include "core/dive/Thumbnail.h"
#include "core/files/ChannelExport.h"
#include "core/files/PathNames.h"
#include "core/store/Channel.h"
#include "core/store/FileUtil.h"
#include "core/store/MessagesOnce.h"
#include "core/store/TimeBase.h"
#include "core/store/VkDialogs.h"
#include "core/view/RedrawRequest.h"

namespace vk {

namespace {

// Workers for one recording's analysis: past a few the framing half, which
// runs on one thread, sets the pace.
constexpr int MostAnalysisThreads = 4;

}  // namespace

std::vector<std::pair<TableTarget*, std::string>> NamedTables(Workbench& wb)
{
    ResultTargets& tables = wb.dive.tables;
    std::vector<std::pair<TableTarget*, std::string>> named;
    for (const auto& [target, file] : {std::pair{&tables.dives, wb.settings.NameOutFile[AnalysisSlot]},
                                       {&tables.wiggles, wb.results.wiggles},
                                       {&tables.bouts, wb.results.bouts}})
        if (!file.empty())
            named.emplace_back(target, file);
    return named;
}

std::string DiveImagePath(const std::string& dataFile, int number)
{
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "_%04d", number);
    return FolderOf(dataFile) + "images/" + BaseNameOf(dataFile) + suffix + ".jpg";
}

namespace {

// The image of a dive: its folder made when missing, an existing file
// replaced only after the user confirms.
void SaveDiveImage(ResultContext& rc, int number)
{
    const std::string path = DiveImagePath(rc.wb.rec.desc(AnalysisSlot).NameIn, number);
    const std::string folder = FolderOf(path);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!std::filesystem::is_directory(folder, error)) {
        rc.ui.message("Cannot create directory \r" + folder, Severity::Error);
        return;
    }
    if (FileExists(path) &&
        rc.ui.ask("already exist. Overwrite?\r" + path, Buttons::OkCancel, Severity::Question) != Answer::Ok)
        return;
    if (!rc.pictures->saveImage(path))
        rc.ui.message(" Cannot write " + path, Severity::Error);
}

// Appends a dive's result line and its wiggle lines under the dive file's
// `header`; false when they were not written.
bool AppendDiveLines(const Workbench& wb, ResultTargets& tables, const std::string& header, const DiveLines& lines,
                     VkDialogs& ui, bool hold)
{
    const Settings& s = wb.settings;
    bool ok = AppendTable(tables.dives, s.NameOutFile[AnalysisSlot], header, DiveLine(lines, wb.rec, s), ui, hold);
    if (ok && !lines.wiggles.empty())
        ok = AppendTable(tables.wiggles, wb.results.wiggles, WiggleHeader(s.OutDlmt), WiggleLines(lines, wb.rec, s), ui,
                         hold);
    return ok;
}

// After a dive's lines: the counter advances, the image and the thumbnail are saved.
void CountAndPicture(ResultContext& rc)
{
    Workbench& wb = rc.wb;
    DiveState& dive = wb.dive;
    const Settings& s = wb.settings;
    const int number = dive.record.counter;  // the counter after the write, minus 1
    CountDive(dive.record, rc.view.at.F5);
    if (!rc.pictures)
        return;
    if (s.dive.MakeImages)
        SaveDiveImage(rc, number);
    if (s.thumbnails.Thumbnail) {
        const char letter = ShapeLetter(dive.record.shape);
        rc.pictures->saveThumbnail(
            wb.results.thumbnailPrefix, number,
            ThumbnailStamp(s.thumbnails, number, wb.rec.time.GlobalStart + dive.record.onsetTime, letter));
    }
}

// The result lines of a long run, formatted and written on a thread of their
// own while the analysis goes on. The tables are checked (and the user asked)
// before it starts; the thread itself never asks anything.
class LineWriter {
public:
    LineWriter(const Workbench& wb, ResultTargets& tables, VkDialogs& ui)
            : wb_(wb), tables_(tables), ui_(ui), header_(DiveHeader(wb.rec, wb.settings))
    {
        const Settings& s = wb.settings;
        AppendTable(tables.dives, s.NameOutFile[AnalysisSlot], header_, "", ui, true);
        AppendTable(tables.wiggles, wb.results.wiggles, WiggleHeader(s.OutDlmt), "", ui, true);
        thread_ = std::thread([this] { work(); });
    }
    ~LineWriter() { finish(); }

    // Lines are handed over a few hundred at a time: waking the thread for each costs more than it saves.
    void add(DiveLines lines)
    {
        batch_.push_back(std::move(lines));
        if (batch_.size() >= 256)
            handOver();
    }
    // A write failed: the run stops, nothing more reaches the tables.
    bool failed() const { return !ok_; }
    // Every line out; false when one was not written.
    bool finish()
    {
        if (thread_.joinable()) {
            handOver();
            {
                const std::lock_guard lock(mutex_);
                done_ = true;
            }
            wake_.notify_one();
            thread_.join();
        }
        return ok_;
    }

private:
    void handOver()
    {
        {
            const std::lock_guard lock(mutex_);
            for (DiveLines& lines : batch_)
                queue_.push_back(std::move(lines));
        }
        batch_.clear();
        wake_.notify_one();
    }

    void work()
    {
        std::unique_lock lock(mutex_);
        while (true) {
            wake_.wait(lock, [this] { return done_ || !queue_.empty(); });
            if (queue_.empty())
                return;
            DiveLines lines = std::move(queue_.front());
            queue_.pop_front();
            lock.unlock();
            if (!AppendDiveLines(wb_, tables_, header_, lines, ui_, true))
                ok_ = false;
            lock.lock();
        }
    }

    const Workbench& wb_;
    ResultTargets& tables_;
    VkDialogs& ui_;  // not used once the tables are checked
    const std::string header_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<DiveLines> queue_;
    std::vector<DiveLines> batch_;  // lines of the analysing thread not yet handed over
    bool done_ = false;
    std::atomic<bool> ok_ = true;  // read by the analysing thread while the writer runs
    std::thread thread_;
};

// The error of a result line not written, with the file and the system's reason.
void TellNotWritten(ResultContext& rc)
{
    const std::string why = TablesFailure(rc.wb.dive.tables);
    rc.ui.message(" Error: Propably result file openend" + (why.empty() ? "" : "\r" + why), Severity::Error);
}

}  // namespace

bool WriteDive(ResultContext& rc, bool quiet)
{
    DiveState& dive = rc.wb.dive;
    if (!dive.tables.hold)  // a single line: an earlier failure (a disk since freed) does not hold it back
        for (TableTarget* t : {&dive.tables.dives, &dive.tables.wiggles})
            t->failure.clear();
    const bool ok = AppendDiveLines(rc.wb, dive.tables, DiveHeader(rc.wb.rec, rc.wb.settings), LinesOf(dive), rc.ui,
                                    dive.tables.hold);
    if (!ok && !quiet)
        TellNotWritten(rc);
    CountAndPicture(rc);
    return ok;
}

bool WriteBout(ResultContext& rc, const BoutSummary& bout)
{
    Workbench& wb = rc.wb;
    if (!wb.dive.tables.hold)
        wb.dive.tables.bouts.failure.clear();
    const bool ok =
        AppendTable(wb.dive.tables.bouts, wb.results.bouts, BoutHeader(wb.settings.OutDlmt),
                    BoutLine(wb.dive.boutsWritten + 1, bout, wb.rec, wb.settings), rc.ui, wb.dive.tables.hold);
    if (ok)
        ++wb.dive.boutsWritten;
    else
        TellNotWritten(rc);
    return ok;
}

void BurnishDive(ResultContext& rc)
{
    Recording& rec = rc.wb.rec;
    const double interval = ChannelView(rec, AnalysisSlot).interval();
    const DiveFrame f = FrameOf(rc.view.at, interval);
    if (f.F5 - f.F4 < 2)
        return;
    rc.undo.PushRange(UndoKind::Spline, AnalysisSlot, f.F4, f.F5 + 1, redraw::Everything);
    const double a = ReadRaw(rec, f.F4, AnalysisSlot), b = ReadRaw(rec, f.F5, AnalysisSlot);
    for (int32_t i = f.F4 + 1; i < f.F5; ++i)
        WriteRaw(rec, i, static_cast<uint16_t>(std::lround(a + (b - a) * (i - f.F4) / (f.F5 - f.F4))), AnalysisSlot);
    rec.at(AnalysisSlot).ChannelModified = true;
    if (++rc.wb.dive.burnished % 20 == 0) {
        const std::string file = FolderOf(rec.desc(AnalysisSlot).NameIn) + "TemplateBaseline$.bin";
        if (!ExportBinary(rec, file, AnalysisSlot, 0, rec.time.LongestSpan))
            rc.ui.message(" Cannot write " + file, Severity::Error);
    }
}

ResultStepOutcome WriteResults(ResultContext& rc, const DiveParameters& p)
{
    ResultStepOutcome out;
    DiveContext cx = rc.dive();
    if (!FrameHasValues(rc.wb.rec, rc.view.at, rc.ui))
        return out;
    AnalyseDive(rc.wb.rec, rc.view.at, p, rc.wb.dive, cx.setup, rc.ui);
    rc.undo.Push(UndoKind::DiveAnalysis, AnalysisSlot, redraw::Everything);
    out.written = WriteDive(rc);
    if (p.BurnishDives)
        BurnishDive(rc);
    if (!p.SearchNextOff) {
        out.search = SearchNext(cx, p);
        out.searched = true;
    }
    return out;
}

namespace {

// What the run keeps of the dive just analysed, framed by `at`.
RunDive RunDiveOf(const Workbench& wb, const LinePositions& at)
{
    const DiveRecord& r = wb.dive.record;
    const int64_t after = int64_t{FrameOf(at, ChannelView(wb.rec, AnalysisSlot).interval()).F5} + 1;
    RunDive dive{r.counter, at.F4, at.F5, at.B1, at.B2, r.duration, r.maxDepth, IsMissing(wb.rec, AnalysisSlot, after),
                 r.shape};
    MeasureSurfaceStay(wb.rec, at, wb.settings.dive.Threshold, dive);
    return dive;
}

// The dive table holds dives in the stretch the run is to analyse: it was
// probably analysed before. False when the user cancels; "New files" sends
// the run's tables to new files.
bool WriteAgain(ResultContext& rc, double from, double to)
{
    Workbench& wb = rc.wb;
    const Settings& s = wb.settings;
    ResultTargets& tables = wb.dive.tables;
    const double start = wb.rec.time.GlobalStart;
    const TableDives held = DivesOverlapping(tables.dives.path, s.OutDlmt, start + from, start + to);
    if (held.count == 0)
        return true;
    const std::string dives = held.count == 1 ? "a dive" : std::to_string(held.count) + " dives";
    const Choice c = rc.ui.confirm("Dives already written",
                                   tables.dives.path + "\r\nalready holds " + dives + " in the stretch to analyse, " +
                                       (held.count == 1 ? "beginning at " : "the first beginning at ") +
                                       DateText(held.firstOnset, s.DateSep) + " " + ClockText(held.firstOnset) +
                                       ": this stretch may have been analysed before.\r\nAppend the results anyway, "
                                       "write them to new files, or cancel?",
                                   "Append anyway", "New files", "Cancel");
    if (c == Choice::Cancel)
        return false;
    if (c == Choice::Second) {
        rc.ui.status("The results go to " + ToNewFiles(NamedTables(wb)));
    }
    return true;
}

// The dives to look at again, marked in the dive table's Check column.
void CheckRun(ResultContext& rc, const DiveParameters& p, AutomaticOutcome& out)
{
    // The end of a dive needs LenRest samples at the surface.
    out.doubts = DoubtfulDives(out.written, p.Threshold, p.LenRest * ChannelView(rc.wb.rec, AnalysisSlot).interval());
    TableTarget& dives = rc.wb.dive.tables.dives;
    if (out.doubts.doubts.empty() || dives.state != TableTarget::Ready)
        return;
    const char delimiter = rc.wb.settings.OutDlmt;
    const bool marked = dives.keepAll ? MarkCheckLines(dives.pending, out.doubts, out.written.size(), delimiter)
                                      : MarkCheckColumn(dives.written(), out.doubts, out.written.size(), delimiter);
    if (!marked)
        rc.ui.message(" Cannot mark the dives to check in " + dives.path, Severity::Warning);
}

}  // namespace

std::string StretchText(const Workbench& wb, double from, double to)
{
    constexpr double MsPerSecond = 1000.0, SecondsPerMinute = 60.0, MinutesPerHour = 60.0;
    const Settings& s = wb.settings;
    const double start = wb.rec.time.GlobalStart;
    const auto seconds = static_cast<int64_t>(std::max(0.0, to - from) / MsPerSecond);
    const int64_t minutes = seconds / static_cast<int64_t>(SecondsPerMinute);
    const int64_t hours = minutes / static_cast<int64_t>(MinutesPerHour);
    const std::string length = hours > 0     ? std::to_string(hours) + " h " + std::to_string(minutes % 60) + " min"
                               : minutes > 0 ? std::to_string(minutes) + " min " + std::to_string(seconds % 60) + " s"
                                             : std::to_string(seconds) + " s";
    const TableDives held = DivesOverlapping(wb.dive.tables.dives.path, s.OutDlmt, start + from, start + to);
    std::string text = "From " + FormatDateTime(start + from, s.DateSep) + " to " +
                       FormatDateTime(start + to, s.DateSep) + " (" + length + ", between F4 and F5); ";
    text += held.count == 0   ? "the dive table holds no dive of it."
            : held.count == 1 ? "the dive table holds 1 dive of it."
                              : "the dive table holds " + std::to_string(held.count) + " dives of it.";
    return text;
}

AutomaticOutcome AutomaticAnalysis(ResultContext& caller, const DiveParameters& p, const AutomaticHooks& hooks)
{
    // A warning of the search or the analysis would otherwise come at every dive.
    MessagesOnce once(caller.ui);
    ResultContext rc{caller.wb, caller.view, once, caller.undo, caller.pictures};
    AutomaticOutcome out;
    LinePositions& at = rc.view.at;
    const double start = at.F4, end = at.F5;
    if (hooks.askBeforeRepeating && !p.BurnishDives && !WriteAgain(rc, start, end)) {
        out.cancelled = true;
        return out;
    }
    at.F5 = at.F4;
    DiveContext cx = rc.dive();
    ResultTargets& tables = rc.wb.dive.tables;
    tables.hold = true;  // lines go out in larger pieces, and all of them at the end
    for (TableTarget* t : {&tables.dives, &tables.wiggles, &tables.bouts})
        t->failure.clear();  // a new run: the last one's failure (a disk since freed) does not stop it
    int64_t rowsBefore = 0;
    bool ok = true;
    {
        LineWriter lines(rc.wb, tables, rc.ui);
        rowsBefore = tables.dives.rowsWritten;  // of the table as the writer checked it: a new file starts at 0
        bool pending = false;                   // a dive analysed and not yet written
        auto write = [&] {
            if (pending && !p.BurnishDives) {
                out.written.push_back(RunDiveOf(rc.wb, at));
                lines.add(LinesOf(rc.wb.dive));
                CountAndPicture(rc);
            }
            pending = false;
        };
        // Each dive is searched and analysed on the workers unless the run
        // changes the samples or draws every dive as it stands.
        const bool pictures = rc.pictures && PicturesOfEveryDive(rc.wb.settings);
        const int threads = hooks.threads > 0 ? hooks.threads
                                              : std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1,
                                                           MostAnalysisThreads);
        std::unique_ptr<DivePipeline> pipeline;
        if (threads > 1 && !p.BurnishDives && !pictures)
            pipeline = std::make_unique<DivePipeline>(cx, p, end, threads);
        while (true) {
            write();
            SearchOutcome o;
            if (pipeline) {
                o = pipeline->next();
            } else {
                o = SearchNext(cx, p);
                if (o.accepted && at.F5 <= end && !p.BurnishDives)
                    AnalyseDive(rc.wb.rec, at, p, rc.wb.dive, cx.setup, rc.ui);
            }
            if (!o.accepted || at.F5 > end)
                break;
            ++out.dives;
            if (p.BurnishDives)
                BurnishDive(rc);
            else
                pending = true;
            if (hooks.framed)
                hooks.framed(o);
            if (hooks.progress)
                hooks.progress(StretchDone(start, end, at.F5), out.dives);
            if (hooks.halted && hooks.halted()) {
                out.halted = true;
                write();  // the dive in hand is not lost
                break;
            }
            // A table that cannot be written stops the run: going on would
            // only analyse dives whose lines are lost.
            if (lines.failed() || !tables.bouts.failure.empty())
                break;
        }
        ok = lines.finish();
    }
    tables.hold = false;
    ok = FlushTables(tables) && ok;
    if (!ok) {
        out.failure = TablesFailure(tables);  // a line not written always leaves its target's reason
        const int64_t kept = tables.dives.rowsWritten - rowsBefore;
        rc.ui.message(out.failure + "\r\nThe automatic analysis stopped after " + std::to_string(out.dives) +
                          " dives; the " + std::to_string(kept) + " dive lines written before are kept in " +
                          tables.dives.path + ".",
                      Severity::Error);
    } else {
        CheckRun(rc, p, out);
    }
    return out;
}

}  // namespace vk
