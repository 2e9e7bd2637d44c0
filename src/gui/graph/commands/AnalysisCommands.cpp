// The Analysis menu, the shape buttons and Shift+E: the dive commands of the
// core, with what only the window has (its dialogs, its pictures, progress
// and Halt for the automatic analysis).

#include <QDialog>
#include <QLabel>

#include "core/dive/DiveCommands.h"
#include "core/dive/DiveSearch.h"
#include "core/dive/SurfaceCheck.h"
#include "core/view/RedrawRequest.h"
#include "gui/dive/DiveChecksWindow.h"
#include "gui/dive/DiveParamsDialog.h"
#include "gui/dive/DiveStopsDialog.h"
#include "gui/graph/CommandTable.h"
#include "gui/graph/GraphWindow.h"
#include "gui/graph/WindowPictures.h"
#include "gui/graph/commands/Commands.h"
#include "gui/widgets/ModalDialog.h"

namespace vk {

namespace {

// The first analysis of a run with the parameters as they come: the record's
// suggestion when the user wants it (asked once a run, and only when the
// record suggests something).
std::optional<ParameterSuggestion> WantedSuggestion(CommandContext& cx)
{
    DiveState& state = cx.wb.dive;
    if (state.suggestionOffered || !(cx.settings().dive == DiveParameters{}) || cx.view.active != AnalysisSlot)
        return std::nullopt;
    state.suggestionOffered = true;
    const ParameterSuggestion s = SuggestParameters(cx.rec, EstimateSurface(cx.rec, AnalysisSlot), cx.settings().dive,
                                                    cx.settings().SpeedChannel);
    const bool wanted = s.any() && cx.ui.ask(
                                       "The dive parameters are still as they come with the program. Let this record "
                                       "suggest a threshold, the surface baseline and the rest?",
                                       Buttons::YesNo) == Answer::Yes;
    return wanted ? std::optional(s) : std::nullopt;
}

// The parameter dialog fits the bout criterion to the window's stretch F4..F5.
void OfferBoutFit(DiveParamsDialog& dialog, CommandContext& cx)
{
    dialog.setBoutFitter([&cx](const DiveParameters& p, const std::function<bool(double)>& halted) {
        return FitBoutsOfStretch(cx, p, halted);
    });
}

// Q, A and W: the suggestion first, once, in the parameter dialog.
CommandFunction OfferingSuggestion(CommandFunction command, GraphWindow& w)
{
    return [command, &w](CommandContext& cx) {
        if (const std::optional<ParameterSuggestion> s = WantedSuggestion(cx)) {
            DiveParamsDialog dialog(cx.wb, cx.view.active, false, cx.ui, w.help(), &w);
            OfferBoutFit(dialog, cx);
            dialog.suggest(*s);
            ExecDialog(dialog);
        }
        return command(cx);
    };
}

// After a run, the dives to check beside the graph window; "Go to" frames one.
void ShowDiveChecks(CommandContext& cx, GraphWindow& w, const AutomaticOutcome& outcome)
{
    const Workbench& wb = cx.wb;
    const RunDoubts& run = outcome.doubts;
    const double threshold = wb.settings.dive.Threshold;
    std::vector<DiveCheckRow> rows;
    for (const DiveDoubt& d : run.doubts)
        rows.push_back(
            {d.dive, DoubtBegin(d, wb.rec, wb.settings.DateSep), DoubtWhy(d, threshold, wb.rec, wb.settings.DateSep)});
    const std::string intro = std::to_string(rows.size()) + " of the " + std::to_string(outcome.written.size()) +
                              " dives just written may be wrong. Each is marked in the Check column of\n" +
                              wb.dive.tables.dives.path;
    DiveChecksWindow::ShowFor(w, rows, intro, w.help(), [&w](const RunDive& dive) {
        w.runCommand([dive](CommandContext& c) { return GoToDiveCommand(c, dive); });
    });
}

// "&Automatic Anal. ...": the parameters with a Start button, then the run,
// in which only Halt takes input.
CommandResult Automatic(CommandContext& cx, GraphWindow& w)
{
    if (!AnalysisChannelReady(cx.rec, cx.view.active, cx.ui))
        return {};
    DiveParamsDialog dialog(cx.wb, cx.view.active, true, cx.ui, w.help(), &w);
    OfferBoutFit(dialog, cx);
    LinePositions& at = cx.view.at;
    dialog.showStretch([&cx, &at] { return QString::fromStdString(StretchText(cx.wb, at.F4, at.F5)); },
                       [&cx, &at, &w] {
                           at.F4 = 0;
                           at.F5 = cx.rec.time.LongestSpan;
                           w.executeRedraw(redraw::Everything);
                       });
    if (const std::optional<ParameterSuggestion> s = WantedSuggestion(cx))
        dialog.suggest(*s);
    if (ExecDialog(dialog) != QDialog::Accepted)
        return {};
    const DiveParameters& p = cx.settings().dive;
    WindowPictures pictures(w, cx.ui, cx.settings().thumbnails, !p.Visualise);
    AutomaticHooks hooks;
    hooks.framed = [&w, &p](const SearchOutcome& o) {
        if (p.Visualise)
            w.executeRedraw(o.windowMoved || o.baselineShifted || p.AdjustYSize ? redraw::Everything : DiveRedraw);
    };
    hooks.progress = [&w](double share, int dives) { w.showProgress(share, dives); };
    hooks.halted = [&w] { return w.pollHalt(); };
    hooks.askBeforeRepeating = true;
    if (p.Visualise)
        w.executeRedraw(redraw::Everything);
    CommandResult result;
    AutomaticOutcome outcome;
    w.runLong([&] { result = AutomaticCommand(cx, &pictures, hooks, outcome); });
    w.endProgress(outcome.dives, outcome.halted);
    ShowDiveChecks(cx, w, outcome);
    return result;
}

}  // namespace

void RegisterAnalysisCommands(CommandTable& t, GraphWindow& w)
{
    t.add("analysis.search-next", OfferingSuggestion(SearchNextCommand, w));
    t.add("analysis.analyse", OfferingSuggestion(AnalyseCommand, w));
    t.add("analysis.write-results", OfferingSuggestion(
                                        [&w](CommandContext& cx) {
                                            WindowPictures pictures(w, cx.ui, cx.settings().thumbnails);
                                            return WriteResultsCommand(cx, &pictures);
                                        },
                                        w));
    t.add("analysis.comment", CommentCommand);
    t.add("analysis.analyse-bout", [](CommandContext& cx) { return BoutCommand(cx, true); });
    t.add("analysis.skip-bout", [](CommandContext& cx) { return BoutCommand(cx, false); });
    t.add("analysis.automatic", [&w](CommandContext& cx) { return Automatic(cx, w); });
    t.add("analysis.parameters", [&w](CommandContext& cx) {
        DiveParamsDialog dialog(cx.wb, cx.view.active, false, cx.ui, w.help(), &w);
        OfferBoutFit(dialog, cx);
        ExecDialog(dialog);
        w.resizeThumbnail();
        return CommandResult{redraw::Everything};
    });
    t.add("analysis.dive-stops", [&w](CommandContext& cx) {
        DiveStopsDialog dialog(cx.wb.dive.stops, cx.view.at, cx.ui, w.help(), &w);
        return ExecDialog(dialog) == QDialog::Accepted ? CommandResult{redraw::StripCursors} : CommandResult{};
    });
    for (int tag = 0; tag < ShapeButtonCount; ++tag)
        t.addKey(ShapeButtonName(tag), [tag](CommandContext& cx) { return ShapeCommand(cx, tag); });
    t.addKey("key.event-counter", EventCounterCommand);
}

}  // namespace vk
