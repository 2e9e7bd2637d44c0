#include "batch/RecordingRun.h"

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "OffscreenScreen.h"
#include "batch/ResultFiles.h"
#include "core/dive/BoutFitRun.h"
#include "core/dive/ResultStep.h"
#include "core/dive/ResultTables.h"
#include "core/dive/SurfaceCheck.h"
#include "core/dive/Thumbnail.h"
#include "core/files/ChannelSource.h"
#include "core/setup/SetupFile.h"
#include "core/setup/Start.h"
#include "core/store/Channel.h"
#include "core/store/ConsoleDialogs.h"
#include "core/store/FileUtil.h"
#include "core/store/NumberText.h"
#include "core/view/ViewState.h"
#include "gui/graph/GraphWindow.h"
#include "gui/graph/WindowPicture.h"
#include "gui/report/RecordOverview.h"
#include "gui/report/StudyReport.h"
#include "gui/widgets/HelpViewer.h"

namespace vk {

namespace {

using Clock = std::chrono::steady_clock;

}  // namespace

void StartOffscreenToolkit()
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

namespace {

// The pictures of a dive, drawn as the window would draw them: the window
// itself, offscreen, made when the first image is asked for.
class OffscreenPictures : public PictureSink {
public:
    OffscreenPictures(Workbench& wb, const ViewState& view, VkDialogs& ui) : wb_(wb), view_(view), ui_(ui) {}
    ~OffscreenPictures() override { delete window_; }

    bool saveImage(const std::string& path) override
    {
        StartOffscreenToolkit();
        if (!window_) {
            help_ = std::make_unique<HelpViewer>(ui_, "");
            window_ = new GraphWindow(wb_, ui_, *help_);
            window_->resize(1600, 900);
        }
        window_->view().at = view_.at;
        window_->executeRedraw(0xFFFFFFFFu);
        if (SavePicture(window_->picture(), path, PictureFormat::Jpeg))
            return true;
        noteFailure("Cannot write " + path);
        return false;
    }
    bool saveThumbnail(const std::string& folder, int number, const std::string& stamp) override
    {
        StartOffscreenToolkit();
        const ThumbnailSettings& t = wb_.settings.thumbnails;
        const GraphScene scene{wb_.rec, wb_.settings, view_, nullptr, CaptionPlace::Top, &wb_.dive};
        const QImage image = RenderThumbnail(
            scene, AnalysisSlot, QSize(std::max(t.ThumbnailWidth, 8), std::max(t.ThumbnailHeight, 8)), stamp);
        if (SaveThumbnail(image, folder, number, ui_))
            return true;
        if (const std::string path = ThumbnailFile(folder, number); !FileExists(path))
            noteFailure("Cannot write " + path);
        return false;
    }
    // The first picture that could not be written; the run stops there.
    const std::string& failure() const { return failure_; }

private:
    void noteFailure(const std::string& text)
    {
        if (failure_.empty())
            failure_ = text;
    }

    Workbench& wb_;
    const ViewState& view_;
    VkDialogs& ui_;
    std::unique_ptr<HelpViewer> help_;
    GraphWindow* window_ = nullptr;
    std::string failure_;
};

// The console, keeping the first error (else warning) it printed for the study table.
class RecordingDialogs : public ConsoleDialogs {
public:
    RecordingDialogs() : ConsoleDialogs(true) {}
    void message(std::string_view text, Severity severity) override
    {
        // An error says why a recording failed better than a warning before it.
        if ((severity == Severity::Error && !anError) || (severity == Severity::Warning && firstProblem.empty())) {
            firstProblem = text;
            anError = severity == Severity::Error;
        }
        ConsoleDialogs::message(text, severity);
    }
    std::string firstProblem;
    bool anError = false;
};

// The part of a recording that was not analysed: `what` and the first error
// behind it (`ui` null when `what` says all).
StudyPart Failed(StudyPart part, const std::string& what, const RecordingDialogs* ui, double seconds)
{
    part.summary.error = what;
    const std::size_t text = ui ? ui->firstProblem.find_first_not_of(' ') : std::string::npos;
    if (text != std::string::npos && ui->firstProblem != what)
        part.summary.error += ": " + ui->firstProblem.substr(text);
    for (char& c : part.summary.error)
        if (c == '\r' || c == '\n')
            c = ' ';
    part.summary.seconds = seconds;
    std::fprintf(stderr, "%s\n", part.summary.error.c_str());
    return part;
}

// Where the depth channel's clock comes from, for a reader of the study.
const char* TimeFrom(const ChannelDescriptor& d)
{
    switch (d.format) {
    case ChannelFormat::Archive: return TimeFromWords::Archive;
    case ChannelFormat::Binary:
    case ChannelFormat::Created: return TimeFromWords::Binary;
    case ChannelFormat::Text: break;
    }
    if (d.TimeColumn > 0)
        return TimeFromWords::Column;
    return d.StartTime == ChannelDescriptor{}.StartTime ? TimeFromWords::Default : TimeFromWords::Setup;
}

void Describe(const Workbench& wb, RecordingSummary& r)
{
    const ChannelDescriptor& d = wb.rec.desc(AnalysisSlot);
    const ChannelView channel(wb.rec, AnalysisSlot);
    const DiveParameters& p = wb.settings.dive;
    r.file = d.NameIn;
    r.timeFrom = TimeFrom(d);
    r.threshold = p.Threshold;
    r.surfaceBaseline = p.TrekBaseline;
    r.endOfDive = p.LenRest;
    r.boutPause = p.BoutIntermediate;
    r.boutMinDuration = p.BoutMinDur;
    if (!HoldsData(wb.rec, AnalysisSlot))
        return;
    r.samples = channel.storedCount();
    r.interval = channel.interval() / 1000.0;
    r.start = wb.rec.time.GlobalStart + channel.timeOf(channel.firstStored());
    r.end = wb.rec.time.GlobalStart + channel.span();
    const GapList& missing = wb.rec.at(AnalysisSlot).missing;
    r.missingSamples = missing.missing();
    r.gaps = static_cast<int64_t>(missing.ranges().size());
}

}  // namespace

StudyPart RunRecording(const std::string& setup, const RecordingOptions& options)
{
    const auto started = Clock::now();
    auto since = [&started] { return std::chrono::duration<double>(Clock::now() - started).count(); };
    StudyPart part;
    part.recording = options.name.empty() ? RecordingName(setup) : options.name;
    RecordingDialogs ui;
    auto wb = std::make_unique<Workbench>();
    std::vector<std::string> unread;
    if (!ReadSetup(setup, wb->rec, wb->settings, &unread))
        return Failed(std::move(part), "Cannot read the setup file " + setup + ": it " + WhyNotASetup(setup), &ui,
                      since());
    for (const std::string& line : unread)
        std::fprintf(stderr, "%s: %s cannot be read: the program's own value is used instead\n", setup.c_str(),
                     line.c_str());
    if (!unread.empty())
        part.summary.note = std::to_string(unread.size()) + " setup line" + (unread.size() == 1 ? "" : "s") +
                            " not read (" + unread.front() + (unread.size() > 1 ? ", ..." : "") +
                            "): the program's own values used";
    wb->setupFile = setup;
    // Which file's settings this run uses, so that a parameter left behind is found.
    std::error_code absent;
    const std::filesystem::path whole = std::filesystem::absolute(setup, absent);
    std::printf("%s: setup file %s read\n", setup.c_str(), (absent ? setup : whole.string()).c_str());
    Describe(*wb, part.summary);
    AllocateStore(wb->rec, ui);
    StartHooks start;
    start.text.parts = options.loadParts;
    start.text.outliers = options.outliersMissing ? OutlierPolicy::Missing : OutlierPolicy::Refuse;
    start.text.askAboutTimes = false;  // no one to ask: a file whose times do not make a grid fails
    if (StartRecording(*wb, ui, start) != StartResult::Loaded)
        return Failed(std::move(part), "Cannot load the recording of " + setup, &ui, since());
    Describe(*wb, part.summary);
    if (!HoldsValues(wb->rec, AnalysisSlot))
        return Failed(std::move(part), "The depth channel of " + setup + " holds no values: nothing analysed", &ui,
                      since());
    const SurfaceEstimate surface = EstimateSurface(wb->rec, AnalysisSlot);
    if (options.suggest) {
        const ParameterSuggestion s =
            SuggestForDefaults(wb->rec, surface, wb->settings.dive, wb->settings.SpeedChannel);
        wb->settings.dive = s.params;
        Describe(*wb, part.summary);  // the parameters used, not the setup's
        part.summary.suggested = SuggestionText(s);
        std::printf("%s: suggested by the record: %s\n", setup.c_str(),
                    s.any() ? part.summary.suggested.c_str() : "nothing (the setup sets every suggested parameter)");
    }
    if (const std::string note = SurfaceNote(surface, wb->settings.dive); !note.empty())
        std::fprintf(stderr, "%s: %s\n", setup.c_str(), note.c_str());
    RecordingResultFiles files(*wb, options.append);
    const double loaded = since();
    // The window as the program opens it, the cursors around the whole record:
    // the search then places the window around each dive as it does on screen.
    ViewState view = InitialView(wb->rec.time.LongestSpan);
    view.at.F4 = 0;
    view.at.F5 = view.T;

    const DiveParameters p = wb->settings.dive;
    NoUndo undo;
    OffscreenPictures pictures(*wb, view, ui);
    const bool drawn = PicturesOfEveryDive(wb->settings);
    ResultContext rc{*wb, view, ui, undo, drawn ? &pictures : nullptr};
    BoutGrouper bouts;
    const double interval = ChannelView(wb->rec, AnalysisSlot).interval();
    const ChannelSeries depth(wb->rec, AnalysisSlot);
    std::string boutFailure;  // the first bout line not written: no later one may follow it
    auto writeBout = [&](const BoutSummary& bout) {
        if (!boutFailure.empty())
            return;
        if (!WriteBout(rc, bout))
            boutFailure = TablesFailure(wb->dive.tables);
        else if (options.studyLines)
            part.bouts.push_back(StudyBoutLine(wb->dive.boutsWritten, bout, wb->rec, wb->settings));
    };
    if (options.studyLines)
        part.diveColumns = DiveColumnsOn(wb->rec, wb->settings);
    std::vector<DiveMark> marks;
    // With a fitted criterion the bouts are grouped once the run's pauses are known.
    struct KeptDive {
        DiveRecord record;
        StopTable stops;
        int32_t extrema;
    };
    std::vector<KeptDive> kept;
    PauseCollector pauses;
    AutomaticHooks hooks;
    hooks.progress = options.progress;
    hooks.threads = options.analysisThreads;
    hooks.halted = [&pictures] { return !pictures.failure().empty(); };
    hooks.framed = [&](const SearchOutcome&) {
        const DiveState& d = wb->dive;
        if (p.BurnishDives)
            return;
        if (options.studyLines)
            part.dives.push_back(StudyDiveLine(LinesOf(d), wb->rec, wb->settings));
        if (!options.report.empty())
            marks.push_back({d.record.onsetTime, view.at.F5, ShapeLetter(d.record.shape)});
        const int32_t extrema = BottomExtrema(depth, view.at, p.WiggAmplitude);
        if (options.fitBouts) {
            pauses.add(d.record);
            kept.push_back({d.record, d.stops, extrema});
        } else if (auto bout = bouts.add(d.record, d.stops, extrema, p, interval)) {
            writeBout(*bout);
        }
    };
    const AutomaticOutcome o = AutomaticAnalysis(rc, p, hooks);
    // A result that could not be written fails the recording; no earlier file is touched.
    auto notWritten = [&](const std::string& failure) {
        part.dives.clear();  // the study tables hold no dive of a recording whose result files are not whole
        part.bouts.clear();
        return Failed(std::move(part),
                      failure + "; the analysis stopped after " + std::to_string(o.dives) +
                          " dives and no result file was replaced",
                      nullptr, since());
    };
    if (!o.failure.empty())
        return notWritten(o.failure);
    if (!pictures.failure().empty())
        return notWritten(pictures.failure());
    DiveParameters grouping = p;
    std::string criterion;
    if (options.fitBouts && !p.BurnishDives) {
        const BoutFit fit = FitBoutCriterion(pauses.pauses());
        RecordingSummary& r = part.summary;
        r.boutFit = BoutFitStatusWord(fit.status);
        if (fit.fitted()) {
            grouping.BoutIntermediate = BoutPauseOf(fit);
            r.fitShare = fit.p;
            r.fitFast = fit.fast;
            r.fitSlow = fit.slow;
            r.boutCriterion = fit.criterion;
            r.boutPause = grouping.BoutIntermediate;
            criterion = ", bout criterion " + BoutFitLine(fit);
        } else {
            std::fprintf(stderr, "%s: %s The bouts keep the pause of %d s.\n", setup.c_str(), fit.message.c_str(),
                         p.BoutIntermediate);
            criterion = ", bout criterion not fitted (" + r.boutFit + ")";
        }
        for (const KeptDive& k : kept)
            if (auto bout = bouts.add(k.record, k.stops, k.extrema, grouping, interval))
                writeBout(*bout);
    }
    if (auto bout = bouts.finish(grouping, interval); bout && !p.BurnishDives)
        writeBout(*bout);
    if (!boutFailure.empty())
        return notWritten(boutFailure);
    if (const std::string failure = files.commit(); !failure.empty())
        return notWritten(failure);
    for (const DiveDoubt& d : o.doubts.doubts) {
        std::fprintf(stderr, "%s: check %s\n", setup.c_str(),
                     DoubtText(d, p.Threshold, wb->rec, wb->settings.DateSep).c_str());
        if (d.index < part.dives.size())
            MarkStudyLine(part.dives[d.index], CheckMark(d.reasons));
    }
    if (!options.report.empty()) {
        StartOffscreenToolkit();
        const std::string picture = RecordPicturePath(options.report, part.recording);
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(picture).parent_path(), ec);
        if (!RecordOverview(wb->rec, AnalysisSlot, marks).save(QString::fromStdString(picture), "PNG"))
            ui.message("Cannot write " + picture, Severity::Error);
    }
    part.summary.dives = o.dives;
    part.summary.bouts = wb->dive.boutsWritten;
    part.summary.seconds = since();
    // No dive where the record goes deeper than the threshold is more likely a fault than a fact.
    if (o.dives == 0 && surface.known && surface.deepest > p.Threshold)
        part.summary.note += std::string(part.summary.note.empty() ? "" : "; ") +
                             "no dive found, though the depth reaches " + ShortText(surface.deepest) +
                             " m, past the threshold of " + ShortText(p.Threshold) +
                             " m: check the threshold, the surface baseline and the values";
    std::printf("%s: %d dives, %d bouts, %.1f s (loading %.1f s)%s%s%s\n", setup.c_str(), o.dives,
                wb->dive.boutsWritten, part.summary.seconds, loaded, o.halted ? ", halted" : "", criterion.c_str(),
                part.summary.note.empty() ? "" : (": " + part.summary.note).c_str());
    std::fflush(stdout);
    return part;
}

}  // namespace vk
