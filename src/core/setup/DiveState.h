#pragma once

// The state the dive analysis keeps between commands for one recording.

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "core/setup/DiveRecord.h"
#include "core/setup/ResultTargets.h"
#include "core/view/ViewState.h"

namespace vk {

// A dive as the search framed it, kept for the summary of its bout: the
// summary then analyses the dives that were framed, not a new search's.
struct FramedDive {
    LinePositions at;    // F4, F5 and the B-cursors
    DiveRecord record;   // what the search found: shape, figures, gradients, wiggles
    StopTable stops;     // empty when dive stops are off
    double yOffset = 0;  // the baseline the search left for it
};

struct DiveState {
    int32_t EventCounter = 0;  // the number the next written dive gets
    DiveRecord record;
    double recordOnset = -1;           // ms: the F4 whose dive the record's shape and depth describe
    std::vector<WiggleEntry> wiggles;  // of the current dive, at most MaxWiggles
    StopTable stops;
    bool baselineTaken = false;         // the search has levelled the surface baseline since Start
    double surfaceNoise = 1.0;          // m; shallower counts as surface in the "AND" and "only Slope" end tests
    bool cursorFollow = false;          // speed buttons may move the B-cursors
    std::string comment;                // written with every result line until replaced
    int32_t boutCounter = 0;            // bouts framed since Start
    double boutPause = 0;               // ms: the pause that ended the framed bout
    std::vector<FramedDive> boutDives;  // the dives of the framed bout
    int32_t boutsWritten = 0;
    int32_t burnished = 0;                      // dives burnished: every 20th saves the template baseline
    ResultTargets tables;                       // where the result lines go
    std::set<std::string, std::less<>> warned;  // texts the dive commands have shown in a box this run
    bool suggestionOffered = false;             // the record's parameters offered at the first analysis
};

}  // namespace vk
