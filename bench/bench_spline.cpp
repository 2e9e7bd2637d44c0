// "Replace" by the spline over a million samples, its undo step included,
// and the undo. Aim: under 20 ms each. Prints figures.

#include <cstdio>
#include <filesystem>

#include "ChannelBench.h"
#include "core/calc/SplineNodes.h"
#include "core/process/UndoStack.h"

int main()
{
    vk::Recording rec;
    bench::Answers ui;
    bench::AllocateOneChannel(rec, ui);
    bench::Fill(rec, 0, 2000000);
    rec.time.LongestSpan = 1000.0 * rec.desc(0).DataCnt;
    vk::ViewState view = vk::InitialView(rec.time.LongestSpan);
    const std::string stack = (std::filesystem::temp_directory_path() / "varnik-bench-spline-Undo.bin").string();
    vk::UndoStack undo(rec, view, stack);
    vk::NodeList nodes;
    vk::AkimaSpline spline;
    for (int k = 0; k <= 10; ++k)  // 500,000 s .. 1,500,000 s: a million samples
        vk::AddNode(nodes, 0, (500000.0 + k * 100000.0) * 1000, 100 + 50 * std::sin(k), ui);
    view.active = 0;
    double replace = 0;
    {
        vk::CommandSteps steps(undo);
        vk::ViewContext cx{rec, view, ui, steps};
        const auto start = bench::Clock::now();
        vk::ReplaceBySpline(cx, nodes, spline);
        replace = bench::Ms(start);
    }
    const auto start = bench::Clock::now();
    undo.Pop();
    const double back = bench::Ms(start);
    std::printf("replace 1e6 samples with its undo step %6.1f ms (aim: under 20)\n", replace);
    std::printf("undo                                   %6.1f ms (aim: under 20)\n", back);
    std::filesystem::remove(stack);
    return 0;
}
