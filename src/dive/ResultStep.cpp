#include "dive/ResultStep.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "dive/Bouts.h"
#include "dive/DiveFrame.h"
#include "dive/ResultTables.h"
#include "dive/Thumbnail.h"
#include "files/ChannelExport.h"
#include "files/PathNames.h"
#include "graph/RedrawRequest.h"
#include "store/FileUtil.h"
#include "store/VkDialogs.h"

namespace vk {

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
    if (FileExists(path) && rc.ui.ask("already exist. Overwrite?\r" + path, Buttons::OkCancel, Severity::Question) !=
                                Answer::Ok)
        return;
    if (!rc.pictures->saveImage(path))
        rc.ui.message(" Cannot write " + path, Severity::Error);
}

}  // namespace

bool WriteDive(ResultContext& rc, bool quiet)
{
    Workbench& wb = rc.wb;
    DiveState& dive = wb.dive;
    const Settings& s = wb.settings;
    const char delimiter = s.OutDlmt;
    bool ok = AppendTable(dive.tables.dives, s.NameOutFile[AnalysisSlot], DiveHeader(delimiter),
                          DiveLine(dive, wb.rec, s, dive.comment), rc.ui);
    if (ok && !dive.wiggles.empty())
        ok = AppendTable(dive.tables.wiggles, wb.results.wiggles, WiggleHeader(delimiter),
                         WiggleLines(dive, wb.rec, s), rc.ui);
    if (!ok && !quiet)
        rc.ui.message(" Error: Propably result file openend", Severity::Error);
    const int number = dive.record.counter;  // the counter after the write, minus 1
    CountDive(dive.record, rc.view.at.F5);
    if (rc.pictures) {
        if (s.dive.MakeImages)
            SaveDiveImage(rc, number);
        if (s.thumbnails.Thumbnail) {
            static const char letters[] = "VUYWPLX";
            const int code = dive.record.shape;
            const char letter = code >= 0 && code <= 6 ? letters[code] : ' ';
            rc.pictures->saveThumbnail(wb.results.thumbnailPrefix, number,
                                       ThumbnailStamp(s.thumbnails, number, wb.rec.time.GlobalStart + dive.record.onsetTime,
                                                      letter));
        }
    }
    return ok;
}

bool WriteBout(ResultContext& rc, const BoutSummary& bout)
{
    Workbench& wb = rc.wb;
    const bool ok = AppendTable(wb.dive.tables.bouts, wb.results.bouts, BoutHeader(wb.settings.OutDlmt),
                                BoutLine(wb.dive.boutsWritten + 1, bout, wb.rec, wb.settings), rc.ui);
    if (ok)
        ++wb.dive.boutsWritten;
    else
        rc.ui.message(" Error: Propably result file openend", Severity::Error);
    return ok;
}

void BurnishDive(ResultContext& rc)
{
    Recording& rec = rc.wb.rec;
    const double interval = rec.desc(AnalysisSlot).SampRate;
    const DiveFrame f = FrameOf(rc.view.at, interval);
    if (f.F5 - f.F4 < 2)
        return;
    rc.undo.PushRange(f.F4, f.F5 + 1, redraw::Everything, UndoSpline, AnalysisSlot);
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
    AnalyseDive(rc.wb.rec, rc.view.at, p, rc.wb.dive, cx.setup, rc.ui);
    rc.undo.Push(UndoDiveAnalysis, redraw::Everything, AnalysisSlot);
    out.written = WriteDive(rc);
    if (p.BurnishDives)
        BurnishDive(rc);
    if (!p.SearchNextOff) {
        out.search = SearchNext(cx, p);
        out.searched = true;
    }
    return out;
}

AutomaticOutcome AutomaticAnalysis(ResultContext& rc, const DiveParameters& p, const AutomaticHooks& hooks)
{
    AutomaticOutcome out;
    LinePositions& at = rc.view.at;
    const double start = at.F4, end = at.F5;
    at.F5 = at.F4;
    DiveContext cx = rc.dive();
    bool pending = false;  // a dive analysed and not yet written
    bool failed = false;   // a result line could not be written: said once
    auto write = [&] {
        if (pending && !p.BurnishDives)
            failed = !WriteDive(rc, failed) || failed;
        pending = false;
    };
    while (true) {
        write();
        const SearchOutcome o = SearchNext(cx, p);
        if (!o.accepted || at.F5 > end)
            break;
        ++out.dives;
        if (p.BurnishDives) {
            BurnishDive(rc);
        } else {
            AnalyseDive(rc.wb.rec, at, p, rc.wb.dive, cx.setup, rc.ui);
            pending = true;
        }
        if (hooks.framed)
            hooks.framed(o);
        if (hooks.progress)
            hooks.progress(end > start ? std::clamp((at.F5 - start) / (end - start), 0.0, 1.0) : 1.0, out.dives);
        if (hooks.halted && hooks.halted()) {
            out.halted = true;
            write();  // the dive in hand is not lost
            break;
        }
    }
    return out;
}

}  // namespace vk
