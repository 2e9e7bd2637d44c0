#include "core/calc/Histogram.h"

#include <cmath>
#include <cstdio>

#include "core/calc/SectionScan.h"
#include "core/store/FileUtil.h"
#include "core/store/TimeBase.h"
#include "core/store/VkDialogs.h"

namespace vk {

namespace {

constexpr const char* Exists = "The file where to export the histogram already exist. ";
constexpr const char* CannotWrite = " Invalid name or number. Output canceled.";

template <typename... T>
std::string Printed(const char* format, T... values)
{
    char text[160];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

}  // namespace

HistogramResult ComputeHistogram(const Recording& rec, int slot, StoredSection section, double minBin, double binSize)
{
    HistogramResult h;
    h.bins.minBin = minBin;
    h.bins.width = binSize;
    if (section.count() <= 0 || binSize == 0)
        return h;
    const SectionScan scan(rec, slot, section, {}, false);
    const ValueMoments& m = scan.moments();
    h.n = m.n;
    if (m.n == 0)
        return h;
    h.counted = true;
    scan.addTo(h.bins);
    h.mean = m.mean();
    h.stdDev = std::sqrt(m.squares() / static_cast<double>(m.n));
    h.median = h.bins.median(m.n);
    return h;
}

bool MeanInTable(const HistogramResult& h)
{
    return h.mean > h.bins.minBin && h.mean <= h.bins.lowerEdge(BinCount - 1);
}

std::string HistogramText(const HistogramResult& h, const Recording& rec, double f4, double f5, double factor,
                          char dateSep)
{
    auto when = [&](double t) { return FormatDateTime(rec.time.GlobalStart + std::trunc(t * factor), dateSep); };
    std::string text = " Begin: " + when(f4) + "      End: " + when(f5) +
                       "      Duration [sec]: " + Printed("%15.0f", (f5 - f4) * factor / 1000) + "\n";
    for (int b = 0; b < BinCount - 1; ++b)
        text += Printed("%5.2f - %5.2f  %lld\n", h.bins.lowerEdge(b), h.bins.lowerEdge(b + 1),
                        static_cast<long long>(h.bins.counts[static_cast<std::size_t>(b)]));
    text += Printed("> %5.2f      %lld\n", h.bins.lowerEdge(BinCount - 1),
                    static_cast<long long>(h.bins.counts[BinCount - 1]));
    text += "\n";
    return text + Printed(" Mean: %7.2f   Standard Dev.: %7.2f   Median: %7.2f\n", h.mean, h.stdDev, h.median);
}

HistogramExport ExportHistogram(const std::string& file, const std::string& text, VkDialogs& ui)
{
    bool append = false;
    if (FileExists(file)) {
        const Choice c = ui.confirm("Confirmation", Exists, "Append", "Overwrite", "Cancel");
        if (c == Choice::Cancel)
            return HistogramExport::Cancelled;
        append = c == Choice::First;
    }
    if (!(append ? AppendLines(file, "", text) : ReplaceFileContents(file, text))) {
        ui.message(file + CannotWrite, Severity::Error);
        return HistogramExport::Failed;
    }
    return HistogramExport::Written;
}

}  // namespace vk
