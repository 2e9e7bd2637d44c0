#pragma once

// What a study says of one recording besides its dives and bouts: its file,
// samples and clock, the values it lacks, the parameters its dives were found
// with, the bout criterion and its fit, and what went wrong.

#include <cstdint>
#include <string>

#include "core/store/Markers.h"

namespace vk {

struct RecordingSummary {
    std::string file;                       // the depth channel's data file
    int64_t samples = 0;                    // of the depth channel
    double interval = Missing;              // s
    double start = Missing, end = Missing;  // ms of the program's calendar
    int32_t dives = 0, bouts = 0;
    int64_t missingSamples = 0;                             // samples without a value
    int64_t gaps = 0;                                       // runs of them
    std::string timeFrom;  // where the record's clock comes from (TimeFromWords); empty when not known
    double threshold = Missing;                             // m
    int32_t surfaceBaseline = -1;                           // 1 on, 0 off, -1 not known
    int32_t endOfDive = -1;                                 // samples of the end rule; -1 not known
    double boutPause = Missing, boutMinDuration = Missing;  // s
    std::string boutFit;  // the bout criterion's fit: its status word; empty when the bout pause was fixed
    double fitShare = Missing, fitFast = Missing, fitSlow = Missing, boutCriterion = Missing;  // p, 1/s, 1/s, s
    std::string suggested;  // what the record's suggestion set, in words; empty without one
    double seconds = 0;     // the time the recording took
    std::string note;       // what looks wrong in a recording that was analysed (no dive found, say)
    std::string error;      // empty when it was analysed
};

// Where a record's clock comes from, as recordings.tsv's TimeFrom says it.
namespace TimeFromWords {
inline constexpr const char* Column = "time column";     // each line's time in the data file
inline constexpr const char* Archive = "tag archive";    // the archive's start and sampling rate
inline constexpr const char* Binary = "binary file";     // the binary channel file's header
inline constexpr const char* Setup = "setup";            // start and interval typed in the setup
inline constexpr const char* Default = "default start";  // typed, but the start left at the program's
}  // namespace TimeFromWords

}  // namespace vk
