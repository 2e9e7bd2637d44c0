// Calc. frequency over a whole slot (39,321,600 samples of a sine with
// noise, about 1.5 million tags) against a plain memory pass over the same
// samples, and the strip drawn with all its tags. Aims: 100x the pass; the
// strip under 50 ms. Prints figures.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdio>

#include "ChannelBench.h"
#include "core/calc/Frequency.h"
#include "core/setup/Workbench.h"
#include "core/view/ViewState.h"
#include "gui/calc/ClickTools.h"
#include "gui/graph/OverlayPainter.h"

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    vk::Workbench wb;
    bench::Answers ui;
    bench::AllocateOneChannel(wb.rec, ui);
    const int32_t n = vk::SampleStore::Capacity;
    vk::ChannelDescriptor& d = wb.rec.desc(0);
    d.SampRate = 100;
    d.LowRng = -100;
    d.HighRng = 100;
    vk::SetScaling(wb.rec, 0);
    d.DataCnt = n - 1;
    uint32_t noise = 99;
    for (int32_t i = 0; i < n; ++i) {  // a period of 52 samples
        noise = noise * 1664525u + 1013904223u;
        vk::WriteRaw(wb.rec, i, static_cast<uint16_t>(32768 + 20000 * std::sin(i * 0.1208304) + (noise >> 24)), 0);
    }
    wb.rec.time.LongestSpan = 100.0 * (n - 1);
    const double pass = bench::PlainPass(wb.rec, 0);
    vk::ClickTools tools;
    const double ms =
        bench::Best(1, [&] { tools.tags = vk::CalcFrequency(wb.rec, 0, 0, wb.rec.time.LongestSpan, 1.0); });
    std::printf("samples          %d, tags %zu\n", n, tools.tags.tags.size());
    std::printf("plain pass       %7.1f ms\n", pass);
    std::printf("calc. frequency  %7.1f ms = %5.1f x the pass (aim: 100 or less)\n", ms, ms / pass);

    vk::ViewState view = vk::InitialView(wb.rec.time.LongestSpan);
    view.at.F1 = 0;
    view.at.F2 = wb.rec.time.LongestSpan;
    vk::GraphScene scene{wb.rec, wb.settings, view};
    scene.tools = &tools;
    QImage strip(1600, 200, QImage::Format_RGB32);
    const double draw = bench::Best(3, [&] {
        QPainter p(&strip);
        vk::PaintTags(p, strip.size(), scene, 0);
    });
    std::printf("strip with tags  %7.1f ms (aim: under 50)\n", draw);
    return 0;
}
