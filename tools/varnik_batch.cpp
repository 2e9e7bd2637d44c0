// varnik-batch: the automatic dive analysis over whole recordings, without a
// window. For each setup file: Start, then the automatic analysis from the
// first to the last sample with the setup's dive parameters, writing the dive,
// wiggle and bout result files as the program does (images and thumbnails
// too when the setup asks, drawn offscreen by the program's painter).
//
//   varnik-batch [--quiet] [--append] <setup file> [<setup file> ...]
//
// Each run writes fresh result files: earlier ones are kept as "<name>.1"
// ("<name>.2", ... for older ones). With --append the lines are added to them.
// Questions take the answer that changes nothing and are printed to standard
// error with every message. A recording that cannot be loaded, or whose depth
// channel holds no values, is reported and the exit status is 1; the others
// still run. The progress bar is drawn only on a terminal.

#include <unistd.h>
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "OffscreenScreen.h"
#include "core/dive/Bouts.h"
#include "core/dive/ResultStep.h"
#include "core/dive/SurfaceCheck.h"
#include "core/setup/SetupFile.h"
#include "core/setup/Start.h"
#include "core/store/ConsoleDialogs.h"
#include "core/store/FileUtil.h"
#include "core/view/ViewState.h"
#include "gui/graph/GraphWindow.h"
#include "gui/graph/WindowPicture.h"
#include "gui/widgets/HelpViewer.h"

namespace {

using namespace vk;
using Clock = std::chrono::steady_clock;

// A bar on the terminal, redrawn when the whole percentage changes.
class TerminalProgress {
public:
    explicit TerminalProgress(bool shown) : shown_(shown) {}
    void update(double share, int dives)
    {
        const int percent = static_cast<int>(share * 100);
        if (!shown_ || percent == percent_)
            return;
        percent_ = percent;
        const int filled = percent / 4;
        std::fprintf(stderr, "\r[%s%s] %3d %%  %d dives", std::string(static_cast<std::size_t>(filled), '#').c_str(),
                     std::string(static_cast<std::size_t>(25 - filled), '.').c_str(), percent, dives);
        std::fflush(stderr);
    }
    void done()
    {
        if (shown_ && percent_ >= 0)
            std::fprintf(stderr, "\n");
    }

private:
    bool shown_;
    int percent_ = -1;
};

// The toolkit, started for the first picture: a run without pictures does without it.
void Application()
{
    static int argc = 1;
    static char name[] = "varnik-batch";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            UseOffscreenScreen(1600, 900);  // the size of the dive images
        new QApplication(argc, argv);       // lives until the program ends
    }
}

// The pictures of a dive, drawn as the window would draw them: the window
// itself, offscreen, made when the first image is asked for.
class OffscreenPictures : public PictureSink {
public:
    OffscreenPictures(Workbench& wb, const ViewState& view, VkDialogs& ui) : wb_(wb), view_(view), ui_(ui) {}
    ~OffscreenPictures() override { delete window_; }

    bool saveImage(const std::string& path) override
    {
        Application();
        if (!window_) {
            help_ = std::make_unique<HelpViewer>(ui_, "");
            window_ = new TForm3(wb_, ui_, *help_);
            window_->resize(1600, 900);
        }
        window_->view().at = view_.at;
        window_->executeRedraw(0xFFFFFFFFu);
        return SavePicture(window_->picture(), path, PictureFormat::Jpeg);
    }
    bool saveThumbnail(const std::string& folder, int number, const std::string& stamp) override
    {
        Application();
        const ThumbnailSettings& t = wb_.settings.thumbnails;
        const GraphScene scene{wb_.rec, wb_.settings, view_, nullptr, CaptionPlace::Top, &wb_.dive};
        const QImage image = RenderThumbnail(
            scene, AnalysisSlot, QSize(std::max(t.ThumbnailWidth, 8), std::max(t.ThumbnailHeight, 8)), stamp);
        return SaveThumbnail(image, folder, number, ui_);
    }

private:
    Workbench& wb_;
    const ViewState& view_;
    VkDialogs& ui_;
    std::unique_ptr<HelpViewer> help_;
    TForm3* window_ = nullptr;
};

struct Options {
    bool quiet = false;   // no progress bar
    bool append = false;  // add to the result files instead of starting fresh ones
};

// The result files of the run start fresh; the earlier ones are kept aside.
bool FreshResultFiles(const Workbench& wb, VkDialogs& ui)
{
    for (const std::string& file : {wb.settings.NameOutFile[AnalysisSlot], wb.results.wiggles, wb.results.bouts}) {
        if (!FileExists(file))
            continue;
        if (!KeepAside(file)) {
            ui.message("Cannot move the earlier results " + file + " aside to " + file + ".1", Severity::Error);
            return false;
        }
        std::fprintf(stderr, "earlier results kept as %s.1\n", file.c_str());
    }
    return true;
}

// One recording: true when it was loaded and analysed.
bool Run(const std::string& setup, const Options& options)
{
    const auto started = Clock::now();
    ConsoleDialogs ui(true);
    auto wb = std::make_unique<Workbench>();
    if (!ReadSetup(setup, wb->rec, wb->settings)) {
        ui.message("Cannot read the setup file " + setup, Severity::Error);
        return false;
    }
    wb->setupFile = setup;
    AllocateStore(wb->rec, ui);
    if (StartRecording(*wb, ui) != StartResult::Loaded) {
        ui.message("Cannot load the recording of " + setup, Severity::Error);
        return false;
    }
    if (!HoldsValues(wb->rec, AnalysisSlot)) {
        ui.message("The depth channel of " + setup + " holds no values: nothing analysed", Severity::Error);
        return false;
    }
    if (const std::string note = SurfaceNote(EstimateSurface(wb->rec, AnalysisSlot), wb->settings.dive); !note.empty())
        std::fprintf(stderr, "%s: %s\n", setup.c_str(), note.c_str());
    if (!options.append && !FreshResultFiles(*wb, ui))
        return false;
    const double loaded = std::chrono::duration<double>(Clock::now() - started).count();
    // The window as the program opens it, the cursors around the whole record:
    // the search then places the window around each dive as it does on screen.
    ViewState view = InitialView(wb->rec.time.LongestSpan);
    view.at.F4 = 0;
    view.at.F5 = view.T;

    const DiveParameters p = wb->settings.dive;
    NoUndo undo;
    OffscreenPictures pictures(*wb, view, ui);
    const bool drawn = p.MakeImages || wb->settings.thumbnails.Thumbnail;
    ResultContext rc{*wb, view, ui, undo, drawn ? &pictures : nullptr};
    TerminalProgress progress(!options.quiet && isatty(fileno(stderr)));
    BoutGrouper bouts;
    const double interval = wb->rec.desc(AnalysisSlot).SampRate;
    const ChannelSeries depth(wb->rec, AnalysisSlot);
    AutomaticHooks hooks;
    hooks.progress = [&progress](double share, int dives) { progress.update(share, dives); };
    hooks.framed = [&](const SearchOutcome&) {
        const DiveState& d = wb->dive;
        if (p.BurnishDives)
            return;
        if (auto bout = bouts.add(d.record, d.stops, BottomExtrema(depth, view.at, p.WiggAmplitude), p, interval))
            WriteBout(rc, *bout);
    };
    const AutomaticOutcome o = AutomaticAnalysis(rc, p, hooks);
    if (auto bout = bouts.finish(p, interval); bout && !p.BurnishDives)
        WriteBout(rc, *bout);
    progress.done();
    for (const DiveDoubt& d : o.doubts.doubts)
        std::fprintf(stderr, "%s: check %s\n", setup.c_str(),
                     DoubtText(d, o.doubts, p.Threshold, wb->rec, wb->settings.DateSep).c_str());
    const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
    std::printf("%s: %d dives, %d bouts, %.1f s (loading %.1f s)%s\n", setup.c_str(), o.dives, wb->dive.boutsWritten,
                seconds, loaded, o.halted ? ", halted" : "");
    std::fflush(stdout);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> setups;
    Options options;
    for (int k = 1; k < argc; ++k) {
        const std::string arg = argv[k];
        if (arg == "--quiet")
            options.quiet = true;
        else if (arg == "--append")
            options.append = true;
        else
            setups.push_back(arg);
    }
    if (setups.empty()) {
        std::fprintf(stderr, "usage: varnik-batch [--quiet] [--append] <setup file> [<setup file> ...]\n");
        return 2;
    }
    int status = 0;
    for (const std::string& setup : setups)
        if (!Run(setup, options))
            status = 1;
    return status;
}
