// Runs the dive search over a record and prints one line per dive found:
//   dive_report sim [days [auto]]          the example generator, with its truth
//   dive_report csv FILE COLUMN MS THRESHOLD [trek]   a logger text file (';')
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/dive/DiveSearch.h"
#include "core/example/ExampleRecording.h"
#include "core/files/TextLoader.h"
#include "core/help/ProgramHelp.h"
#include "core/store/Channel.h"
#include "core/store/ConsoleDialogs.h"

using namespace vk;

namespace {

void FillFromSimulator(Recording& rec, int days, example::Simulator& sim)
{
    ChannelDescriptor& d = rec.desc(0);
    Channel channel(rec, 0);
    channel.setInterval(1000);
    d.LowRng = -5;
    d.HighRng = 200;
    SetScaling(rec, 0);
    const int32_t n = days * 86400;
    channel.setExtent(0, n);
    bool report = false;
    for (int32_t i = 0; i < n; ++i)
        WriteRaw(rec, i, PhysToRaw(rec, 0, report, sim.next().depth), 0);
}

const char* Letter(int32_t code)
{
    static const char* const letters[] = {"V", "U", "Y", "W", "P", "L", "X"};
    return code >= 0 && code <= 6 ? letters[code] : "?";
}

}  // namespace

int main(int argc, char** argv)
{
    static const ProgramHelp help{"dive_report",
                                  "the dives the search finds, against the truth of a simulated record",
                                  {"sim [days]", "csv FILE COLUMN MS THRESHOLD [trek]"},
                                  {"Runs the dive search over a simulated record (and compares it with the "
                                   "simulator's dives) or over a column of a text file sampled every MS "
                                   "milliseconds, and prints a line per dive."},
                                  {},
                                  {},
                                  {}};
    if (argc == 2 && AnswerHelpOrVersion(help, argv[1]))
        return 0;
    if (argc < 2) {
        return RefuseCommandLine(help);
    }
    Recording rec;
    ConsoleDialogs ui;
    rec.store.Allocate({true, false, false});
    rec.at(1).ChannelUsed = rec.at(2).ChannelUsed = false;
    DiveParameters p;
    example::Simulator sim;
    const bool simulated = std::string(argv[1]) == "sim";
    if (simulated) {
        FillFromSimulator(rec, argc > 2 ? std::atoi(argv[2]) : 1, sim);
        p.Threshold = 5;
        p.TrekBaseline = 1;
        p.AutoDive = argc > 3 && std::string(argv[3]) == "auto";
    } else {
        if (argc < 6)
            return 2;
        ChannelDescriptor& d = rec.desc(0);
        d.NameIn = argv[2];
        d.ColumnValue = std::atoi(argv[3]);
        d.SampRate = std::atoi(argv[4]);
        d.HeaderText = 1;
        d.InDelimiter = ';';
        if (!LoadTextChannel(rec, 0, SkipStrings{}, ui))
            return 1;
        p.Threshold = std::atof(argv[5]);
        p.TrekBaseline = argc > 6;
    }
    ViewState view;
    NoUndo undo;
    DiveState state;
    DiveContext cx{rec, view, state, ui, undo, {}};
    std::size_t t = 0;
    const auto& truth = sim.dives();
    int found = 0;
    while (true) {
        const SearchOutcome o = SearchNext(cx, p);
        if (!o.accepted)
            break;
        AnalyseDive(rec, view.at, p, state, cx.setup, ui);
        const DiveRecord& r = state.record;
        const double s = view.at.F4 / 1000, e = view.at.F5 / 1000;
        std::printf("%5d %9.0f %9.0f %6.1f %s b=%.0f-%.0f w=%d st=%d/%d", ++found, s, e, r.maxDepth, Letter(r.shape),
                    view.at.B1 / 1000 - s, view.at.B2 / 1000 - s, r.wiggles.count, state.stops.count[0],
                    state.stops.count[1]);
        if (simulated) {
            while (t < truth.size() && truth[t].end < (s + e) / 2)
                ++t;
            if (t < truth.size()) {
                const auto& d = truth[t];
                std::printf("  | %7lld %7lld %6.1f %s st=%d/%d w=%d d=%+lld/%+lld", static_cast<long long>(d.start),
                            static_cast<long long>(d.end), d.maxDepth, example::ShapeLetter(d.shape), d.descentStop,
                            d.ascentStop, d.wiggles, static_cast<long long>(s - d.start),
                            static_cast<long long>(e - d.end));
            }
        }
        std::printf(" y0=%.2f\n", rec.desc(0).yOffset);
        CountDive(state.record, view.at.F5);
    }
    std::printf("%d dives\n", found);
}
