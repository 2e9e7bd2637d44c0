#pragma once

// The frequency distribution of the work section in 256 bins of one width,
// with mean, standard deviation and median, and its export file.

#include <string>

#include "core/calc/Binning.h"
#include "core/store/Stretches.h"

namespace vk {

struct Workbench;
class VkDialogs;

struct HistogramResult {
    Bins bins;
    int64_t n = 0;  // the section's samples with a value, counted in a bin or not
    double mean = 0, stdDev = 0, median = 0;
    bool counted = false;  // false for a width of 0 or no sample
};

// The histogram of the samples of `section` from `minBin` in bins of `binSize`.
HistogramResult ComputeHistogram(const Recording& rec, int slot, StoredSection section, double minBin, double binSize);

// The mean lies inside the table (above min bin, at most 255 widths above it).
bool MeanInTable(const HistogramResult& h);

// The export file's text: the section's begin, end and duration, a line a
// bin, the mean, standard deviation and median.
std::string HistogramText(const HistogramResult& h, const Recording& rec, double f4, double f5, double factor,
                          char dateSep);

enum class HistogramExport { Written, Cancelled, Failed };
// Writes the text to `file`, asking first whether to append to or overwrite
// a file that exists; a failure is said, naming the file.
HistogramExport ExportHistogram(const std::string& file, const std::string& text, VkDialogs& ui);

}  // namespace vk
