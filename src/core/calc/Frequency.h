#pragma once

// Frequency tags: the alternating maxima and minima of a channel's work
// section, the oscillation's frequency and amplitudes from them, tags added
// and removed by hand, and the export file.

#include <string>
#include <vector>

#include "core/calc/Extrema.h"
#include "core/store/Recording.h"

namespace vk {

class VkDialogs;

struct FrequencyResults {
    double averageMin = 0, averageMax = 0, frequency = 0, averagePeakToPeak = 0, stdDevMin = 0, stdDevMax = 0;
};

// The tags of one channel (in index order) and what they give. The list
// remembers its channel: it is drawn and edited in that strip only.
struct TagList {
    int slot = -1;
    double interval = 0;  // ms, of the channel when the tags were found
    std::vector<Extremum> tags;
    FrequencyResults results;

    bool exists() const { return slot >= 0; }
};

// Tags over F4 .. F5 (cut to the channel's samples) with the hysteresis of
// the section's standard deviation times the sensitivity, and their results.
// A long section shows its progress through `ui`, when given.
TagList CalcFrequency(const Recording& rec, int slot, double f4, double f5, double sensitivity,
                      VkDialogs* ui = nullptr);

// The results of a list: with at least one maximum and one minimum, the
// frequency (j + i - 1) / (2 T) from the time T between the first and the
// last tag (0 when T is 0), the averages, peak-to-peak and spreads.
FrequencyResults ResultsOf(const std::vector<Extremum>& tags, double intervalMs);

// A tag at sample `index` with `value`, typed against its nearest tag; false
// (after "Error at include into list") where that cannot be.
bool InsertTag(TagList& list, const Recording& rec, int32_t index, double value, VkDialogs& ui);
// The tag nearest to `index` (the earlier of two as near) goes; false after
// "Error at discard from list" when there is none.
bool DiscardTag(TagList& list, const Recording& rec, int32_t index, VkDialogs& ui);

// The memo's six lines.
std::vector<std::string> FrequencyLines(const FrequencyResults& r);

// The export file's text.
std::string FrequencyFileText(const TagList& list);

// Writes the file; "No results to export." for an empty list, a message
// naming a file that cannot be written.
bool ExportFrequency(const TagList& list, const std::string& file, VkDialogs& ui);

}  // namespace vk
