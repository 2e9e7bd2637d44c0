// Loading one column of a large logger text file, against `wc -l` of the same
// file. Prints the figures; asserts nothing.
//
//   bench_text_load [lines] [folder]     (defaults: 10000000, $TMPDIR or /tmp)

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "files/VkFLoad.h"
#include "store/FileUtil.h"
#include "store/VkDialogs.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// Resident memory of this process in MiB.
double ResidentMiB()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * 4096.0 / (1024 * 1024);
}

// Three TAB-separated columns: sample number, temperature, depth.
void WriteLoggerFile(const std::string& path, long lines)
{
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) {
        std::perror(path.c_str());
        std::exit(1);
    }
    std::string chunk;
    unsigned state = 12345;
    for (long i = 0; i < lines; ++i) {
        state = state * 1103515245u + 12345u;
        const double depth = (state >> 8) % 400000 / 1000.0;
        const double temp = 5 + (state >> 4) % 1300 / 100.0;
        char line[64];
        const int n = std::snprintf(line, sizeof line, "%ld\t%.2f\t%.3f\n", i, temp, depth);
        chunk.append(line, static_cast<std::size_t>(n));
        if (chunk.size() > (1 << 20)) {
            std::fwrite(chunk.data(), 1, chunk.size(), out);
            chunk.clear();
        }
    }
    std::fwrite(chunk.data(), 1, chunk.size(), out);
    std::fclose(out);
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
    const char* tmp = std::getenv("TMPDIR");
    const std::string folder = argc > 2 ? argv[2] : (tmp ? tmp : "/tmp");
    const std::string path = folder + "/varnik-bench-" + std::to_string(lines) + ".txt";

    if (!vk::FileExists(path)) {
        std::printf("writing %ld lines to %s ...\n", lines, path.c_str());
        WriteLoggerFile(path, lines);
    }
    vk::File file(path, vk::File::Mode::Read);
    const double megabytes = static_cast<double>(file.size()) / 1e6;

    const std::string wc = "wc -l '" + path + "' > /dev/null";
    (void)std::system(wc.c_str());  // warm the page cache
    const double wcSeconds = BestOf(5, [&] { (void)std::system(wc.c_str()); });

    vk::Recording rec;
    rec.at(1).ChannelUsed = rec.at(2).ChannelUsed = false;
    vk::ScriptedDialogs ui;
    vk::AllocateStore(rec, ui);
    vk::ChannelDescriptor& d = rec.desc(0);
    d.NameIn = path;
    d.ColumnValue = 3;
    d.InDelimiter = '\t';
    d.AutoScaling = 'Y';
    const vk::SkipStrings skips;

    const double rssBefore = ResidentMiB();
    bool ok = true;
    const double loadSeconds = BestOf(3, [&] { ok = ok && vk::LoadTextChannel(rec, 0, skips, ui); });
    const double rssAfter = ResidentMiB();
    const double oneThreadSeconds =
        BestOf(3, [&] { ok = ok && vk::LoadTextChannel(rec, 0, skips, ui, vk::TextLoadOptions{1}); });
    const long samples = d.DataCnt - d.CorrSmpDelay + 1;

    std::printf("file            %ld lines, %.0f MB\n", lines, megabytes);
    std::printf("wc -l           %.3f s\n", wcSeconds);
    std::printf("load column 3   %.3f s (both passes, auto-scaling)%s\n", loadSeconds, ok ? "" : "  FAILED");
    std::printf("ratio           %.1f x wc -l (aim: 15 or less)\n", loadSeconds / wcSeconds);
    std::printf("one thread      %.3f s, %.1f x wc -l\n", oneThreadSeconds, oneThreadSeconds / wcSeconds);
    std::printf("throughput      %.0f MB/s per pass, %.1f M lines/s per pass\n", 2 * megabytes / loadSeconds,
                2 * lines / loadSeconds / 1e6);
    std::printf("samples         %ld, range %.3f .. %.3f\n", samples, d.LowRng, d.HighRng);
    std::printf("resident        %.1f MiB before, %.1f MiB after (samples: %.1f MiB)\n", rssBefore, rssAfter,
                samples * 2.0 / (1024 * 1024));
    return ok ? 0 : 1;
}
