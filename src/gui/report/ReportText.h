#pragma once

// The words of a study report: what each recording's figures rest on (its
// file and clock, the values it lacks, the parameters and bout criterion its
// dives were found and grouped with, what the record suggested), the dives
// that deserve a second look and why, and the legends. HTML pieces, escaped.

#include <string>

#include "core/dive/StudySummary.h"

namespace vk {

std::string Html(const std::string& text);

// A table of what the recording's figures rest on.
std::string FactsTable(const RecordingStudy& r);
// The dives to check with their reasons; empty when there are none.
std::string ChecksSection(const RecordingStudy& r);
// What each reason of a dive to check means.
std::string CheckLegend();

// The shapes' letters, names and what they mean, a picture of each at
// `pictureOf(letter)`.
std::string ShapeLegend(std::string (*pictureOf)(char));

}  // namespace vk
