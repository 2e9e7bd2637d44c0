#pragma once

// The result step and the automatic analysis. "Write results" analyses the
// framed dive, appends its lines to the result files, saves its image and
// thumbnail and searches the next; the automatic analysis does the same for
// every dive between the cursors. Both the window and the batch runner call
// these; pictures come through a sink that the caller draws.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/dive/DiveSearch.h"
#include "core/dive/Plausibility.h"
#include "core/setup/Workbench.h"

namespace vk {

// Draws and saves the pictures of the framed dive. The window draws itself;
// a run without a window draws offscreen.
class PictureSink {
public:
    virtual ~PictureSink() = default;
    // The picture of the graph window as JPEG (quality 90) at `path`.
    virtual bool saveImage(const std::string& path) = 0;
    // The dive thumbnail "<number>.bmp" in `folder`, with its stamp.
    virtual bool saveThumbnail(const std::string& folder, int number, const std::string& stamp) = 0;
};

// The settings ask for an image or a thumbnail of every dive written.
inline bool PicturesOfEveryDive(const Settings& s)
{
    return s.dive.MakeImages || s.thumbnails.Thumbnail;
}

struct ResultContext {
    Workbench& wb;
    ViewState& view;
    VkDialogs& ui;
    UndoSink& undo;
    PictureSink* pictures = nullptr;  // none: no images and no thumbnails
    DiveContext dive()
    {
        return {wb.rec, view, wb.dive, ui, undo, {wb.settings.CommSampInterval, wb.settings.SpeedChannel}};
    }
};

// The run's result tables with the files the settings name for them
// (dives, wiggles, bouts; a table without a file name left out).
std::vector<std::pair<TableTarget*, std::string>> NamedTables(Workbench& wb);

// "<data folder>/images/<data name>_0007.jpg" for dive 7.
std::string DiveImagePath(const std::string& dataFile, int number);

// Appends the framed dive's result line and wiggle lines, advances the dive
// counter and saves the image and the thumbnail as the settings ask. False
// when the result line could not be written (" Error: Propably result file
// openend" with the file and the system's reason is shown unless `quiet`).
bool WriteDive(ResultContext& rc, bool quiet = false);

// Appends a bout's line to the bout result file (numbered from 1); false
// when it could not be written (" Error: Propably result file openend").
struct BoutSummary;
bool WriteBout(ResultContext& rc, const BoutSummary& bout);

// The dive's raw samples strictly between F4 and F5 become the straight line
// between them; every 20th burnished dive the channel is saved whole as
// "TemplateBaseline$.bin" beside the data file. Records an undo step first.
void BurnishDive(ResultContext& rc);

// "Write results" without its window work: analyse, write, burnish, and the
// next search unless SearchNextOff.
struct ResultStepOutcome {
    bool written = false;
    bool searched = false;
    SearchOutcome search;
};
ResultStepOutcome WriteResults(ResultContext& rc, const DiveParameters& p);

// The automatic analysis over the stretch F4..F5 as it stands. Afterwards
// the dives that deserve a second look are marked in the dive table.
struct AutomaticHooks {
    std::function<void(const SearchOutcome&)> framed;       // a dive framed and analysed
    std::function<void(double share, int dives)> progress;  // share of the stretch done
    std::function<bool()> halted;                           // pending events handled; Halt pressed?
    // When the dive table holds dives in the stretch (the same stretch
    // analysed twice), ask first: append anyway, new files, or cancel.
    bool askBeforeRepeating = false;
    // Threads the dives are analysed on: 0 one a core, 1 the caller's alone.
    // The results are the same whatever the number.
    int threads = 0;
};
struct AutomaticOutcome {
    int dives = 0;
    bool halted = false;
    bool cancelled = false;        // the user chose not to write the stretch again
    std::vector<RunDive> written;  // the dives whose lines were written
    RunDoubts doubts;
    std::string failure;  // a result file that could not be written, and why; the run stopped there
};
AutomaticOutcome AutomaticAnalysis(ResultContext& rc, const DiveParameters& p, const AutomaticHooks& hooks);

// What a run over from .. to (ms since the first sample) will analyse, in
// words: from, to, how long, and how many dives the dive table holds of it.
std::string StretchText(const Workbench& wb, double from, double to);

}  // namespace vk
