#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "core/dive/ResultStep.h"
#include "support/DiveFixture.h"
#include "support/FurSealRecord.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace vk {

namespace {

// Every undo step the run records, with the baseline it records.
struct KeptUndo : UndoSink {
    explicit KeptUndo(const Recording& rec) : rec(rec) {}
    void Push(UndoKind kind, int slot, uint32_t redraw) override
    {
        steps.push_back(std::to_string(static_cast<int>(kind)) + " " + std::to_string(slot) + " " +
                        std::to_string(redraw) + " " + std::to_string(rec.desc(slot).yOffset));
    }
    const Recording& rec;
    std::vector<std::string> steps;
};

// What a run leaves behind: its files, what it told, and where it left the
// recording, the cursors and the dive state.
struct RunTrace {
    std::string dives, wiggles;
    std::vector<std::string> told, undo;
    LinePositions at;
    double yOffset = 0, surfaceNoise = 0;
    int32_t counter = 0;
    double previousEnd = 0, previousDuration = 0, previousDepth = 0;
    int hint = 0, divesRun = 0;
    bool operator==(const RunTrace&) const = default;
};

std::string Contents(const std::string& path)
{
    std::ifstream in(path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct RunOf {
    std::function<bool(Recording&, ScriptedDialogs&)> load;
    DiveParameters p;
    double from = 0, to = 1;  // the stretch, as shares of the record
    int haltAfter = 0;        // dives; 0 runs to the end
};

RunTrace Trace(const RunOf& run, int threads)
{
    test::TempDir dir;
    Workbench wb;
    ScriptedDialogs ui;
    EXPECT_TRUE(run.load(wb.rec, ui));
    wb.rec.desc(0).NameIn = dir.file("seal.txt");
    wb.settings.NameOutFile[0] = dir.file("seal_Dve.xls");
    wb.results.wiggles = dir.file("seal_Wigg.xls");
    wb.settings.dive = run.p;
    const ChannelView depth(wb.rec, AnalysisSlot);
    ViewState view;
    view.T = depth.count() * depth.interval();
    view.at.F4 = run.from * view.T;
    view.at.F5 = run.to * view.T;
    KeptUndo undo(wb.rec);
    ResultContext rc{wb, view, ui, undo, nullptr};
    AutomaticHooks hooks;
    hooks.threads = threads;
    int dives = 0;
    if (run.haltAfter > 0)
        hooks.halted = [&] { return ++dives == run.haltAfter; };
    const AutomaticOutcome o = AutomaticAnalysis(rc, run.p, hooks);
    RunTrace t;
    t.dives = Contents(wb.settings.NameOutFile[0]);
    t.wiggles = Contents(wb.results.wiggles);
    for (const ScriptedDialogs::Entry& e : ui.shown)
        t.told.push_back(e.text);
    for (const std::string& s : ui.statusTexts)
        t.told.push_back("status " + s);
    t.undo = undo.steps;
    t.at = view.at;
    t.yOffset = wb.rec.desc(0).yOffset;
    t.surfaceNoise = wb.dive.surfaceNoise;
    t.counter = wb.dive.record.counter;
    t.previousEnd = wb.dive.record.previous.end;
    t.previousDuration = wb.dive.record.previous.duration;
    t.previousDepth = wb.dive.record.previous.maxDepth;
    t.hint = wb.rec.pendingHint;
    t.divesRun = o.dives;
    return t;
}

// The example generator's record with two stretches of missing values, one in a dive.
bool SimulatedWithGaps(Recording& rec, ScriptedDialogs&)
{
    test::Simulated s = test::Simulate(6 * 3600);
    test::FillDepth(rec, s.depth);
    const example::DiveTruth& cut = s.dives[s.dives.size() / 2];
    for (const auto& [from, to] : {std::pair{3000, 3400}, std::pair{static_cast<int32_t>(cut.start + 20),
                                                                    static_cast<int32_t>(cut.start + 40)}}) {
        for (int32_t i = from; i < to; ++i)
            WriteRaw(rec, i, 0, 0);
        rec.at(0).missing.add(from, to);
    }
    rec.time.LongestSpan = rec.desc(0).DataCnt * 1000.0;
    return true;
}

}  // namespace

TEST(DivePipeline, EveryCoreLeavesWhatOneThreadLeaves)
{
    DiveParameters seal = test::FurSealParameters();  // the surface baseline tracked after each dive
    seal.EndDiveValid = 1;
    seal.AbsDifferences = 1;
    seal.AdjustYSize = 1;
    DiveParameters coarse = seal;  // many short dives passed over
    coarse.MinDiveDuration = 60;
    coarse.WiggMethod = WiggleMethod::Bost;
    coarse.DiveStops = 0;
    DiveParameters gaps;  // a record with gaps, the bottom placed by the wiggles, the automatic edges
    gaps.Threshold = 5;
    gaps.BottomKind = BottomSearchKind::WiggleDefined;
    gaps.AutoDive = 1;
    gaps.Frequencies = 1;
    DiveParameters fixed = gaps;
    fixed.AutoDive = 0;
    fixed.TrekBaseline = 1;
    fixed.BottomKind = BottomSearchKind::FixBottom;
    fixed.WiggMethod = WiggleMethod::None;
    fixed.TimeAbove = 20;
    const std::vector<RunOf> runs{
        {test::LoadFurSeal, seal},           {test::LoadFurSeal, coarse, 0.2, 0.7},
        {test::LoadFurSeal, seal, 0, 1, 37},  // halted
        {SimulatedWithGaps, gaps},           {SimulatedWithGaps, fixed, 0.1, 0.9},
    };
    for (std::size_t k = 0; k < runs.size(); ++k) {
        SCOPED_TRACE("run " + std::to_string(k));
        const RunTrace one = Trace(runs[k], 1);
        ASSERT_GT(one.divesRun, 10);
        ASSERT_NE(one.dives.find('\n'), std::string::npos);
        for (const int threads : {2, 5}) {
            const RunTrace many = Trace(runs[k], threads);
            EXPECT_EQ(many.dives, one.dives);
            EXPECT_EQ(many.wiggles, one.wiggles);
            EXPECT_EQ(many.told, one.told);
            EXPECT_EQ(many.undo, one.undo);
            EXPECT_TRUE(many == one) << "threads " << threads;
        }
    }
}

}  // namespace vk
