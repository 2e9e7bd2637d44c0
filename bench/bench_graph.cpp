// Full redraws of the graph window with three channels of 39,321,600 samples
// each, on an offscreen 1920 x 1080 screen: at the opening view and over the
// whole recording, with the envelopes and from every sample. Prints figures.

#include <QApplication>
#include <QKeyEvent>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "Aim.h"
#include "OffscreenScreen.h"
#include "Stopwatch.h"
#include "core/files/ChannelSource.h"
#include "core/setup/Workbench.h"
#include "core/store/ConsoleDialogs.h"
#include "core/view/Envelope.h"
#include "core/view/RedrawRequest.h"
#include "gui/graph/GraphWindow.h"
#include "gui/widgets/HelpViewer.h"

namespace {

using bench::Clock;
using bench::Ms;

// A diving-like record straight into the store: slow swings, quick noise.
void FillChannel(vk::Recording& rec, int slot, int32_t n)
{
    vk::ChannelDescriptor& d = rec.desc(slot);
    d.SampRate = 1000;
    d.LowRng = 0;
    d.HighRng = 200;
    vk::SetScaling(rec, slot);
    d.DataCnt = n - 1;
    std::vector<uint16_t> wave(static_cast<std::size_t>(20000 + 3000 * slot));
    for (std::size_t k = 0; k < wave.size(); ++k)
        wave[k] = static_cast<uint16_t>(30000 + 20000 * std::sin(6.283185307 * k / wave.size()));
    uint32_t noise = 12345u + static_cast<uint32_t>(slot);
    for (int32_t i = 0; i < n; ++i) {
        noise = noise * 1664525u + 1013904223u;
        vk::WriteRaw(rec, i, static_cast<uint16_t>(wave[static_cast<std::size_t>(i) % wave.size()] + (noise >> 21)),
                     slot);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    UseOffscreenScreen(1920, 1080);
    QApplication app(argc, argv);

    vk::ConsoleDialogs ui;
    vk::Workbench wb;
    vk::AllocateStore(wb.rec, ui);
    const int32_t n = vk::SampleStore::Capacity;
    auto start = Clock::now();
    for (int slot = 0; slot < 3; ++slot)
        FillChannel(wb.rec, slot, n);
    std::printf("channels        3 x %d samples (filled in %.0f ms)\n", n, Ms(start));
    // The yardstick of this run: one plain pass (least and greatest raw word) over every sample.
    double yardstick = 1e9;
    for (int k = 0; k < 3; ++k) {
        const auto t = Clock::now();
        vk::RawExtremes all;
        for (int slot = 0; slot < 3; ++slot)
            for (int row = 0; row < vk::SampleStore::RowsPerSlot; ++row) {
                const uint16_t* block = wb.rec.store.block(slot, row);
                uint16_t lo = all.min, hi = all.max;
                for (int32_t i = 0; i < vk::SampleStore::BlockSamples; ++i) {
                    lo = block[i] < lo ? block[i] : lo;
                    hi = block[i] > hi ? block[i] : hi;
                }
                all.min = lo;
                all.max = hi;
            }
        yardstick = std::min(yardstick, Ms(t));
        if (all.empty())
            std::printf("(no samples)\n");
    }
    std::printf("yardstick       %.1f ms: one plain pass over the 3 x %d samples (best of 3)\n", yardstick, n);
    wb.rec.time.LongestSpan = (n - 1) * 1000.0;

    vk::HelpViewer help(ui, "");
    start = Clock::now();
    auto* window = new vk::GraphWindow(wb, ui, help);
    window->showMaximized();
    QApplication::processEvents();
    std::printf("window opened   %.0f ms (envelopes built, first picture drawn)\n", Ms(start));

    auto fullRedraw = [&](int runs) {
        double best = 1e9;
        for (int k = 0; k < runs; ++k) {
            const auto t = Clock::now();
            window->executeRedraw(vk::redraw::Everything);
            const QPixmap picture = window->grab();
            best = std::min(best, Ms(t));
        }
        return best;
    };
    struct Case {
        const char* name;
        double f1, f2;
    };
    const vk::LinePositions opening = window->view().at;
    // "profile whole" or "profile border": only that, many times, for a profiler to look at.
    const std::string profile = argc > 2 && std::string(argv[1]) == "profile" ? argv[2] : "";
    if (profile == "whole") {
        window->view().at.F1 = 0;
        window->view().at.F2 = wb.rec.time.LongestSpan;
        const double whole = fullRedraw(300);
        std::printf("whole recording redraw %.1f ms (best of 300), %.2f x the yardstick\n", whole, whole / yardstick);
        delete window;
        return 0;
    }
    const Case cases[] = {{"opening view", opening.F1, opening.F2}, {"whole recording", 0, wb.rec.time.LongestSpan}};
    for (const Case& c : profile.empty() ? cases : std::span<const Case>{}) {
        window->view().at.F1 = c.f1;
        window->view().at.F2 = c.f2;
        window->setUseEnvelopes(true);
        const double with = fullRedraw(5);
        window->setUseEnvelopes(false);
        const double without = fullRedraw(1);
        std::printf("%-15s full redraw %7.1f ms with envelopes (%.2f x the yardstick), %8.1f ms from every sample "
                    "(%.0fx)\n",
                    c.name, with, with / yardstick, without, without / with);
        if (c.f1 == 0 && c.f2 == wb.rec.time.LongestSpan)
            bench::AimLine("whole-record redraw, three channels", with, 8, "ms");
    }
    // Moving around by keys: each step is a key press and the paint it causes.
    window->view().at = opening;
    QWidget* focus = window->findChild<QWidget*>("focus0");
    auto steps = [&](int modeKey, int count) {
        QKeyEvent mode(QEvent::KeyPress, modeKey, Qt::NoModifier);
        QApplication::sendEvent(focus, &mode);
        const auto t = Clock::now();
        for (int k = 0; k < count; ++k) {
            QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
            QApplication::sendEvent(focus, &right);
            window->repaint();
        }
        return Ms(t) / count;
    };
    window->setUseEnvelopes(true);
    if (profile == "border") {
        const double step = steps(Qt::Key_F3, 1000);
        std::printf("border step     %.2f ms per step (1000 steps), %.3f x the yardstick\n", step, step / yardstick);
        delete window;
        return 0;
    }
    const double cursor = steps(Qt::Key_F6, 100), border = steps(Qt::Key_F3, 100);
    std::printf("cursor step     %.2f ms per step (100 steps of both cursors, no curve drawn anew)\n", cursor);
    std::printf("border step     %.2f ms per step (100 steps of both borders, all strips drawn anew), %.3f x the "
                "yardstick\n",
                border, border / yardstick);
    bench::AimLine("border step, all strips drawn anew", border, 4, "ms");
    delete window;
    return 0;
}
