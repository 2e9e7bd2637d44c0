#pragma once

// The report of a study: "index.html" in its folder (no scripts, nothing
// fetched from elsewhere) with the pictures beside it as PNG. Per recording:
// the whole depth record with its dives (drawn by the run that had the
// record, see RecordPicturePath), maximum depth against duration, histograms
// of duration, maximum depth and post-dive interval, dives per hour of day
// and the bout time line; then the recordings side by side.

#include <string>
#include <vector>

#include "core/dive/StudySummary.h"

namespace vk {

// Where the picture of a recording's whole record goes in the report folder.
std::string RecordPicturePath(const std::string& folder, const std::string& recording);

// The pictures of one recording of the study (none for one that failed);
// false with `error` when one cannot be written. Each recording's pictures
// are files of their own, so several processes may draw a study's between them.
bool DrawRecordingPictures(const std::string& folder, const RecordingStudy& r, std::string& error);

// The page, the legend's and the side-by-side pictures, and, unless they were
// drawn already, every recording's pictures. False with `error` when a
// picture or the page cannot be written.
bool WriteStudyReport(const std::string& folder, const std::vector<RecordingStudy>& study, std::string& error,
                      bool recordingPicturesDrawn = false);

}  // namespace vk
