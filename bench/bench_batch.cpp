// The batch runner on a generated record of a full slot (39,321,600 lines at
// 1 s, made by the example generator: sample number, temperature, depth),
// without images or thumbnails, against Start alone on the same record.
// Prints the figures; asserts nothing.
//
//   bench_batch <varnik-batch> [lines] [folder]   (defaults: 39321600, $TMPDIR or /tmp)

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "Aim.h"
#include "BenchRecord.h"
#include "Stopwatch.h"
#include "core/files/ChannelSource.h"
#include "core/setup/SetupFile.h"
#include "core/setup/Start.h"
#include "core/store/ConsoleDialogs.h"
#include "core/store/FileUtil.h"

using bench::Clock;
using bench::Seconds;

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_batch <varnik-batch> [lines] [folder]\n");
        return 2;
    }
    const std::string batch = argv[1];
    const long lines = argc > 2 ? std::atol(argv[2]) : 39321600;
    const std::string folder = bench::ScratchFolder(argc, argv, 3);
    const std::string data = folder + "/varnik-bench-" + std::to_string(lines) + ".txt";
    const std::string setup = folder + "/varnik-bench-" + std::to_string(lines) + ".cfg";
    if (!bench::WriteBenchRecord(data, setup, lines))
        return 1;

    // Start alone: reading the setup and loading the record.
    vk::ConsoleDialogs ui(true);
    auto start = Clock::now();
    {
        vk::Workbench wb;
        if (!vk::ReadSetup(setup, wb.rec, wb.settings))
            return 1;
        vk::AllocateStore(wb.rec, ui);
        if (vk::StartRecording(wb, ui) != vk::StartResult::Loaded)
            return 1;
    }
    const double load = Seconds(start);

    // The batch runner, results written afresh.
    for (const char* suffix : {"_Dve.xls", "_Dve_Bout.xls", "_Dve_Wigg.xls"})
        std::filesystem::remove(folder + "/varnik-bench-" + std::to_string(lines) + suffix);
    const std::string command = "'" + batch + "' --quiet '" + setup + "'";
    start = Clock::now();
    const int status = std::system(command.c_str());
    const double run = Seconds(start);
    std::printf("load alone      %.2f s\n", load);
    std::printf("batch runner    %.2f s (%.2f x the load)%s\n", run, run / load, status == 0 ? "" : "  FAILED");
    bench::AimLine("whole batch run, x the load", run / load, 1.5, "x");
    return status == 0 ? 0 : 1;
}
