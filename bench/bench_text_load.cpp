// Loading one column of a large logger text file (made by the example
// generator: sample number, temperature, depth), against `wc -l` of the same
// file. Prints the figures; asserts nothing.
//
//   bench_text_load [lines] [folder]     (defaults: 10000000, $TMPDIR or /tmp)

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "Aim.h"
#include "BenchRecord.h"
#include "Stopwatch.h"
#include "core/files/ChannelSource.h"
#include "core/files/TextLoader.h"
#include "core/store/ConsoleDialogs.h"
#include "core/store/FileUtil.h"

namespace {

using bench::Clock;
using bench::Seconds;

// Resident memory of this process in MiB.
double ResidentMiB()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * 4096.0 / (1024 * 1024);
}

// The peak resident memory in MiB since the last reset (NaN where the system does not tell).
double PeakMiB()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            double kib = 0;
            status >> kib;
            return kib / 1024;
        }
        status.ignore(1 << 10, '\n');
    }
    return NAN;
}

// From here on the peak counts anew.
void ResetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

double BestOf(int runs, const auto& work)
{
    double best = 1e9;
    for (int k = 0; k < runs; ++k) {
        const auto start = Clock::now();
        work();
        best = std::min(best, Seconds(start));
    }
    return best;
}

}  // namespace

int main(int argc, char** argv)
{
    const long lines = argc > 1 ? std::atol(argv[1]) : 10000000;
    const std::string path = bench::ScratchFolder(argc, argv, 2) + "/varnik-bench-" + std::to_string(lines) + ".txt";
    bench::EnsureBenchFile(path, lines);
    vk::File file(path, vk::File::Mode::Read);
    const double megabytes = static_cast<double>(file.size()) / 1e6;

    // A yardstick that failed would make every ratio a lie.
    const std::string wc = "wc -l '" + path + "' > /dev/null";
    const auto runWc = [&] {
        if (std::system(wc.c_str()) != 0) {
            std::fprintf(stderr, "bench_text_load: %s failed\n", wc.c_str());
            std::exit(1);
        }
    };
    runWc();  // warm the page cache
    const double wcSeconds = BestOf(5, runWc);

    vk::Recording rec;
    rec.at(1).ChannelUsed = rec.at(2).ChannelUsed = false;
    vk::ConsoleDialogs ui;
    vk::AllocateStore(rec, ui);
    vk::ChannelDescriptor& d = rec.desc(0);
    d.NameIn = path;
    d.ColumnValue = 3;
    d.InDelimiter = '\t';
    d.AutoScaling = true;
    const vk::SkipStrings skips;

    const double rssBefore = ResidentMiB();
    bool ok = true;
    const double loadSeconds = BestOf(3, [&] { ok = ok && vk::LoadTextChannel(rec, 0, skips, ui); });
    const double rssAfter = ResidentMiB();
    const double oneThreadSeconds =
        BestOf(3, [&] { ok = ok && vk::LoadTextChannel(rec, 0, skips, ui, vk::TextLoadOptions{1}); });
    const double twiceSeconds = BestOf(3, [&] {
        ok = ok && vk::LoadTextChannel(rec, 0, skips, ui, vk::TextLoadOptions{0, false});
    });
    const long samples = d.DataCnt - d.CorrSmpDelay + 1;

    // Three slots on the file's columns of decimals (temperature, depth, temperature
    // again): one reading for all, and a reading each.
    vk::Recording three;
    vk::AllocateStore(three, ui);
    for (int slot = 0; slot < vk::SlotCount; ++slot) {
        vk::ChannelDescriptor& c = three.desc(slot);
        c.NameIn = path;
        c.ColumnValue = slot == 1 ? 3 : 2;
        c.InDelimiter = '\t';
        c.AutoScaling = true;
    }
    // The first load also gives the peak memory: the store's pages are untouched before it.
    const double threeBefore = ResidentMiB();
    ResetPeak();
    ok = ok && vk::LoadTextChannels(three, {0, 1, 2}, skips, ui, {});
    const double threePeak = PeakMiB() - threeBefore;
    const double threeSamples = 3.0 * static_cast<double>(three.desc(0).DataCnt) * 2.0 / (1024 * 1024);
    const double sharedSeconds = BestOf(2, [&] { ok = ok && vk::LoadTextChannels(three, {0, 1, 2}, skips, ui, {}); });
    const double eachSeconds = BestOf(2, [&] {
        for (int slot = 0; slot < vk::SlotCount; ++slot)
            ok = ok && vk::LoadTextChannel(three, slot, skips, ui);
    });

    std::printf("file            %ld lines, %.0f MB\n", lines, megabytes);
    std::printf("wc -l           %.3f s\n", wcSeconds);
    std::printf("load column 3   %.3f s (auto-scaling, the text read once)%s\n", loadSeconds, ok ? "" : "  FAILED");
    std::printf("ratio           %.1f x wc -l (aim: 4 or less)\n", loadSeconds / wcSeconds);
    bench::AimLine("load one column, x wc -l", loadSeconds / wcSeconds, 4, "x");
    std::printf("one thread      %.3f s, %.1f x wc -l\n", oneThreadSeconds, oneThreadSeconds / wcSeconds);
    std::printf("read twice      %.3f s, %.1f x wc -l (range, then the text again)\n", twiceSeconds,
                twiceSeconds / wcSeconds);
    std::printf("three columns   %.3f s read once for all, %.3f s read for each (%.2f x)\n", sharedSeconds, eachSeconds,
                sharedSeconds / eachSeconds);
    std::printf("three columns   peak %.1f MiB over the %.1f MiB before, samples %.1f MiB: %.2f x\n", threePeak,
                threeBefore, threeSamples, threePeak / threeSamples);
    bench::AimLine("load three columns, peak memory x samples", threePeak / threeSamples, 1.25, "x");
    std::printf("throughput      %.0f MB/s, %.1f M lines/s\n", megabytes / loadSeconds, lines / loadSeconds / 1e6);
    std::printf("samples         %ld, range %.3f .. %.3f\n", samples, d.LowRng, d.HighRng);
    std::printf("resident        %.1f MiB before, %.1f MiB after (samples: %.1f MiB)\n", rssBefore, rssAfter,
                samples * 2.0 / (1024 * 1024));
    return ok ? 0 : 1;
}
