#pragma once

// What a report shows of a study, taken from its tables: per recording its
// dives (onset, duration, depth, pause, shape) and bouts, histograms, the
// dives per hour of day, and the figures that compare recordings.

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "core/dive/RecordingSummary.h"

namespace vk {

// A table as written: the header's names and the rows' cells.
struct StudyTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
    // The index of a column; -1 when the table has none of that name.
    int column(const std::string& name) const;
};
// False when the file cannot be read or is empty.
bool ReadStudyTable(const std::string& path, StudyTable& table);

struct StudyDive {
    double onset = 0;             // ms of the program's calendar
    double duration = 0;          // s
    double maxDepth = 0;          // m
    double pause = -1;            // s; -1 when not known
    bool pauseAcrossGap = false;  // the pause holds samples without a value
    char shape = 'X';
    int number = -1;    // the dive's number in its result file, as its picture's
    std::string check;  // why it deserves a second look ("long+joined"); empty when it does not
};
struct StudyBout {
    double onset = 0, duration = 0;  // ms, s
    int dives = 0;
};
struct RecordingStudy {
    std::string name;
    RecordingSummary facts;  // its recordings.tsv line (start, end, error, ...); what an earlier version lacks stays unknown
    std::vector<StudyDive> dives;
    std::vector<StudyBout> bouts;
};

// The recordings of a study folder's three tables, in the order of
// recordings.tsv. False with `error` when a table is missing or malformed.
bool ReadStudy(const std::string& folder, std::vector<RecordingStudy>& study, std::string& error);

struct Histogram {
    double start = 0, width = 1;  // the first bin's lower edge and every bin's width
    std::vector<int> counts;
};
// About `bins` bins of a round width (1, 2 or 5 times a power of ten) over the values.
Histogram HistogramOf(const std::vector<double>& values, int bins);

// Bins of log10 of the positive values, `perDecade` to each power of ten,
// from the power of ten at or below the least to the one at or above the
// greatest: `start` and `width` are in log10 units.
Histogram LogHistogramOf(const std::vector<double>& values, int perDecade);

// A round step of clock time (a quarter hour, half an hour, 1, 2, 3, 6, 12 h,
// 1, 2, 7, 14, 28, 91 days, else whole years) putting at most `most` ticks
// over `span` ms.
double RoundTimeStep(double span, int most);
// The ticks at that step within from..to (ms of the program's calendar, whose
// days begin at multiples of a day): round hours and midnights.
std::vector<double> RoundTimes(double from, double to, int most);

// Dives begun in each hour of the day (0..23).
std::array<int, 24> DielCounts(const std::vector<StudyDive>& dives);

struct Spread {
    double q1 = 0, median = 0, q3 = 0;  // quartiles; all 0 for no values
};
Spread SpreadOf(std::vector<double> values);

// The recorded time (ms): its start and end, else the dives' own span.
std::pair<double, double> RecordedSpan(const RecordingStudy& r);
// Dives per day over the recorded time.
double DivesPerDay(const RecordingStudy& r);

}  // namespace vk
