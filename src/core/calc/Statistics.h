#pragma once

// The statistics of the work section: extremes, sums, mean, spread, median,
// the regression line, differences between the cursors and the time beyond
// two levels; the window's lines and the export file's row.

#include <cstdint>
#include <string>
#include <vector>

#include "core/calc/SectionScan.h"

namespace vk {

struct Workbench;
class VkDialogs;

struct StatisticsRequest {
    double f4 = 0, f5 = 0;  // ms
    double factor = 1;      // the setup's common sampling factor
    Levels levels;          // upper: the time-above depth, lower: the time-below depth
};

struct Statistics {
    bool any = false;  // the section has a sample with a value; else no numbers
    StoredSection section;
    int64_t n = 0;
    double a = 0, b = 0, cc = 0;  // y = a x + b, x in seconds from one interval before the first sample
    double dy = 0, dx = 0, gradient = 0, increase = 0;
    double sum = 0, absSum = 0, min = 0, max = 0, mean = 0, stdDev = 0, median = 0;
    double base = 0, integralToBase = 0, integralToZero = 0;
    int64_t countAbove = 0, countBelow = 0;
    double durationAbove = 0, durationBelow = 0;  // s
    double upperLevel = 0, lowerLevel = 0;
    double interval = 0;  // ms, of the channel
};

Statistics ComputeStatistics(const Recording& rec, int slot, const StatisticsRequest& request);

// The regression line's value at sample i of the section.
double LineValueAt(const Statistics& s, int32_t i);

// How the window names the channel's values: its unit (from the caption's
// "[m]"), and whether larger values are deeper (a channel drawn downwards).
struct StatisticsWords {
    std::string unit;
    bool depth = false;
};
StatisticsWords StatisticsWordsOf(const Recording& rec, int slot);

// The window's text lines, by line number (0 .. 14; line 4 is empty).
std::vector<std::string> StatisticsLines(const Statistics& s, const StatisticsWords& words = {});

// The export file's header (no line break) and a row (starting with one).
std::string StatisticsHeader(char sep);
std::string StatisticsRow(const Statistics& s, const Recording& rec, const StatisticsRequest& request, char sep,
                          char dateSep, const std::string& comment);

enum class ExportOutcome { Written, Cancelled, Failed };
// Asks for the file (the run's last, first the setup's), appends the row and
// clears the analysis comment; a failure is said, naming the file.
ExportOutcome ExportStatistics(Workbench& wb, VkDialogs& ui, const Statistics& s, const StatisticsRequest& request);

}  // namespace vk
