#pragma once

// One recording of a batch run: its setup read, its channels loaded, the
// automatic analysis over the whole record, the result files written as the
// program writes them, and its rows of the study tables.

#include <functional>
#include <string>

#include "core/dive/StudyTables.h"

namespace vk {

struct RecordingOptions {
    std::string name;              // the recording's name in the study tables and the report; empty: the setup's
    bool append = false;           // add to the result files instead of starting fresh ones
    std::string report;            // the report's folder: the picture of the whole record goes there; empty for none
    bool studyLines = false;       // make the dive and bout lines of the study tables
    int loadParts = 0;             // parts a text file is read in side by side (0: by size and cores)
    int analysisThreads = 0;       // threads the dives are analysed on (0: one a core)
    bool fitBouts = false;         // bouts grouped with the criterion fitted to the recording's pauses
    bool suggest = false;          // parameters left as the program has them take the record's suggestion
    bool outliersMissing = false;  // values far beyond the bulk taken as missing; else the recording is refused
    std::function<void(double share, int dives)> progress;
};

// The toolkit, started for the first picture: a run without pictures does without it.
void StartOffscreenToolkit();

// Messages go to standard error as the run meets them, the one-line summary
// to standard output. The part's summary holds the error text of a
// recording that could not be analysed.
StudyPart RunRecording(const std::string& setup, const RecordingOptions& options);

}  // namespace vk
