// Recordings side by side: four generated records through varnik-batch with
// -j 1 and with -j 2 in the same run, and the ratio of the two times (aim:
// 0.6 or less on two cores). Prints the figures; asserts nothing.
//
//   bench_study <varnik-batch> [lines per record] [folder]   (defaults: 5000000, $TMPDIR or /tmp)

#include <cstdio>
#include <cstdlib>
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
        std::fprintf(stderr, "usage: bench_study <varnik-batch> [lines per record] [folder]\n");
        return 2;
    }
    constexpr int Records = 4;
    const std::string batch = argv[1];
    const long lines = argc > 2 ? std::atol(argv[2]) : 5000000;
    const std::string folder = bench::ScratchFolder(argc, argv, 3);
    std::string setups;
    for (int k = 1; k <= Records; ++k) {
        const std::string base = folder + "/varnik-study-" + std::to_string(lines) + "-" + std::to_string(k);
        if (!bench::WriteBenchRecord(base + ".txt", base + ".cfg", lines))
            return 1;
        setups += " '" + base + ".cfg'";
    }
    auto run = [&](int jobs) {
        const std::string command = "'" + batch + "' --quiet -j " + std::to_string(jobs) + setups + " > /dev/null";
        const auto start = Clock::now();
        const int status = std::system(command.c_str());
        return status == 0 ? Seconds(start) : -1.0;
    };
    run(1);  // the files into the page cache
    const double one = run(1), two = run(2);
    std::printf("records         %d of %ld lines, %u cores\n", Records, lines, std::thread::hardware_concurrency());
    std::printf("-j 1            %.2f s\n", one);
    std::printf("-j 2            %.2f s (%.2f x -j 1, aim: 0.6 or less)%s\n", two, two / one,
                one < 0 || two < 0 ? "  FAILED" : "");
    bench::AimLine("four records, -j 2 x -j 1", two / one, 0.6, "x");
    return one < 0 || two < 0 ? 1 : 0;
}
