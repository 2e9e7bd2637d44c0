// The study report of many small recordings: varnik-batch with and without
// --report, with -j 1 and with one process a core, in the same run. Prints
// the report's share of the run and the ratio of its time on every core to
// its time on one (aim: 0.6 or less on two cores). Asserts nothing.
//
//   bench_report <varnik-batch> [recordings] [lines per record] [folder]   (defaults: 200, 7200, $TMPDIR or /tmp)

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "Aim.h"
#include "BenchRecord.h"
#include "Stopwatch.h"

using bench::Clock;
using bench::Seconds;

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_report <varnik-batch> [recordings] [lines per record] [folder]\n");
        return 2;
    }
    const std::string batch = argv[1];
    const int recordings = argc > 2 ? std::atoi(argv[2]) : 200;
    const long lines = argc > 3 ? std::atol(argv[3]) : 7200;
    const std::string folder = bench::ScratchFolder(argc, argv, 4) + "/varnik-report-bench";
    std::filesystem::create_directories(folder);
    std::string setups;
    for (int k = 1; k <= recordings; ++k) {
        const std::string base = folder + "/record-" + std::to_string(k);
        if (!bench::WriteBenchRecord(base + ".txt", base + ".cfg", lines))
            return 1;
        setups += " '" + base + ".cfg'";
    }
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    auto run = [&](int jobs, bool report) {
        std::filesystem::remove_all(folder + "/study");
        std::filesystem::remove_all(folder + "/report");
        const std::string command = "'" + batch + "' --quiet -j " + std::to_string(jobs) + " --study '" + folder +
                                    "/study'" + (report ? " --report '" + folder + "/report'" : "") + setups +
                                    " > /dev/null 2>&1";
        const auto start = Clock::now();
        const int status = std::system(command.c_str());
        return status == 0 ? Seconds(start) : -1.0;
    };
    run(cores, false);  // the files into the page cache
    const double plain1 = run(1, false), whole1 = run(1, true);
    const double plainN = run(cores, false), wholeN = run(cores, true);
    const bool failed = plain1 < 0 || whole1 < 0 || plainN < 0 || wholeN < 0;
    const double report1 = whole1 - plain1, reportN = wholeN - plainN;
    std::printf("recordings      %d of %ld lines, %d cores\n", recordings, lines, cores);
    std::printf("-j 1            %.2f s, the report %.2f s of it (%.0f %%)\n", whole1, report1, 100 * report1 / whole1);
    std::printf("-j %d            %.2f s, the report %.2f s of it (%.2f x the report at -j 1)%s\n", cores, wholeN,
                reportN, reportN / report1, failed ? "  FAILED" : "");
    bench::AimLine("report of small recordings, every core x one", reportN / report1, 0.6, "x");
    std::filesystem::remove_all(folder);
    return failed ? 1 : 0;
}
