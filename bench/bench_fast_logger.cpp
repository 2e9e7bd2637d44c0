// A fast logger: ten days of depth at 25 Hz (21,600,000 samples) as a tag
// archive, loaded, analysed dive by dive and drawn whole in the graph window
// on an offscreen 1920 x 1080 screen. Each figure is given with its ratio to
// a yardstick of the same run: the archive's samples read by the NetCDF
// library alone (for the load), the load (for the analysis) and one plain
// pass over the samples in memory (for the redraw). Asserts nothing.
//
//   bench_fast_logger [days] [Hz]     (default: 10 days at 25 Hz)

#include <QApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "ExampleArchive.h"
#include "OffscreenScreen.h"
#include "Stopwatch.h"
#include "core/dive/DiveSearch.h"
#include "core/files/ChannelSource.h"
#include "core/files/TagArchive.h"
#include "core/setup/SetupFile.h"
#include "core/setup/Start.h"
#include "core/store/Channel.h"
#include "core/store/ConsoleDialogs.h"
#include "core/view/RedrawRequest.h"
#include "gui/graph/GraphWindow.h"
#include "gui/widgets/HelpViewer.h"

using bench::Clock;
using bench::Ms;
using bench::Seconds;

namespace {

constexpr int Runs = 3;

template <class Work>
double MedianSeconds(Work work)
{
    std::vector<double> times;
    for (int k = 0; k < Runs; ++k) {
        const auto t = Clock::now();
        work();
        times.push_back(Seconds(t));
    }
    std::sort(times.begin(), times.end());
    return times[Runs / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    const int days = argc > 1 ? std::atoi(argv[1]) : 10;
    const double hz = argc > 2 ? std::atof(argv[2]) : 25.0;
    QTemporaryDir dir;
    UseOffscreenScreen(1920, 1080);
    QApplication app(argc, argv);

    auto start = Clock::now();
    const auto archive = vk::example::WriteExampleArchive(dir.path().toStdString(), hz, days, true);
    std::printf("archive         %d days at %g Hz written in %.1f s\n", days, hz, Seconds(start));

    // The yardstick of the load: the samples read by the library alone.
    const vk::ArchiveContents contents = vk::ReadArchive(archive.data);
    const vk::ArchiveChannel& depth = contents.channels.at(0);
    double sum = 0;
    const double read = MedianSeconds([&] {
        vk::ArchiveReader reader(archive.data, depth);
        std::vector<double> chunk;
        for (int64_t at = 0; at < depth.samples; at += 1 << 20) {
            reader.read(at, std::min<int64_t>(1 << 20, depth.samples - at), chunk);
            sum += chunk.front();
        }
    });

    vk::ConsoleDialogs ui;
    vk::Workbench wb;
    const double load = MedianSeconds([&] {
        wb = vk::Workbench{};
        vk::ReadSetup(archive.setup, wb.rec, wb.settings);
        vk::AllocateStore(wb.rec, ui);
        if (vk::StartRecording(wb, ui) != vk::StartResult::Loaded)
            std::exit(1);
    });
    const vk::ChannelView channel(wb.rec, 0);
    std::printf("samples         %lld, interval %g ms\n", static_cast<long long>(channel.storedCount()),
                channel.interval());
    std::printf("load            %.2f s = %.2f x the library's read of the samples (%.2f s)\n", load, load / read,
                read);

    // The analysis: every dive found and its values, as the automatic analysis runs it.
    int dives = 0, tooLong = 0;
    const double analysis = MedianSeconds([&] {
        vk::ViewState view;
        vk::DiveState state;
        vk::NoUndo undo;
        vk::DiveContext cx{wb.rec, view, state, ui, undo, {}};
        dives = tooLong = 0;
        while (vk::SearchNext(cx, wb.settings.dive).accepted) {
            vk::AnalyseDive(wb.rec, view.at, wb.settings.dive, state, cx.setup, ui);
            tooLong += state.record.tooLong;
            vk::CountDive(state.record, view.at.F5);
            ++dives;
        }
    });
    std::printf("analysis        %.2f s = %.2f x the load, %d dives (%d too long)\n", analysis, analysis / load, dives,
                tooLong);

    // The redraw of the whole record against one pass over its samples.
    uint64_t words = 0;
    const double pass = MedianSeconds([&] {
        const int64_t n = channel.storedCount();
        for (int64_t at = 0; at < n; at += vk::SampleStore::BlockSamples) {
            const uint16_t* block = wb.rec.store.block(0, static_cast<int32_t>(at >> vk::SampleStore::BlockShift));
            const int64_t count = std::min<int64_t>(vk::SampleStore::BlockSamples, n - at);
            for (int64_t k = 0; k < count; ++k)
                words += block[k];
        }
    });
    vk::HelpViewer help(ui, "");
    start = Clock::now();
    auto* window = new vk::GraphWindow(wb, ui, help);
    window->showMaximized();
    QApplication::processEvents();
    std::printf("window opened   %.0f ms\n", Ms(start));
    window->view().at.F1 = 0;
    window->view().at.F2 = wb.rec.time.LongestSpan;
    const double redraw = MedianSeconds([&] {
        window->executeRedraw(vk::redraw::Everything);
        const QPixmap picture = window->grab();
    });
    std::printf("whole redraw    %.1f ms = %.3f x one pass over the samples (%.1f ms)\n", redraw * 1000, redraw / pass,
                pass * 1000);
    delete window;
    return sum + static_cast<double>(words) < 0 ? 1 : 0;  // keeps the passes from being optimised away
}
