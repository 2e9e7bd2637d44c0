#pragma once

// The dives of an automatic run that deserve a second look: one far longer
// than the rest (usually two dives run together over an offset surface), one
// that after the baseline shift never reaches the threshold, one that ends
// where the record has a gap. The window lists them with a way to go to each;
// the batch runner prints them; both mark them in the dive table's last
// column, "Check".

#include <cstdint>
#include <string>
#include <vector>

#include "core/store/Recording.h"
#include "core/view/ViewState.h"

namespace vk {

// What the run kept of each dive it wrote.
struct RunDive {
    int32_t number = 0;                     // as in the dive table
    double onset = 0, end = 0;              // ms from the record's start (F4, F5)
    double bottomStart = 0, bottomEnd = 0;  // ms (the B-cursors)
    double duration = 0;                    // ms
    double maxDepth = 0;                    // m, after the baseline shift
    bool endsAtGap = false;                 // the sample after the end holds no value
    int32_t shape = -1;                     // as classified (ShapeV ..)
    double surfaceStay = 0;                 // ms: the longest stay at the surface between its deeper parts
    double surfaceStayAt = 0;               // ms from the record's start: where that stay begins
};

enum DoubtReason : unsigned { DoubtLong = 1, DoubtShallow = 2, DoubtGap = 4, DoubtJoined = 8 };

// A dive is long when it lasts more than this many times the median of the
// dives of similar depth in the run (within SimilarDepthRatio of its maximum
// depth, the nearest MostSimilarDives of them; at least LeastSimilarDives,
// the nearest in depth when fewer are that close). Against the median of all
// dives, many short ripples would make every real dive look long.
constexpr double LongDiveFactor = 3.0;
constexpr double SimilarDepthRatio = 1.5;
constexpr std::size_t LeastSimilarDives = 5;
constexpr std::size_t MostSimilarDives = 200;

struct DiveDoubt {
    std::size_t index = 0;  // among the run's dives
    RunDive dive;
    unsigned reasons = 0;
    double usual = 0;                       // ms: the median duration of the dives of similar depth
    double similarFrom = 0, similarTo = 0;  // m: the depths of those dives
};

struct RunDoubts {
    std::vector<DiveDoubt> doubts;
};

// `endRule` (ms): how long the surface must hold for a dive to end; a dive
// that stays at the surface (shallower than the threshold) longer than that
// between its deeper parts is likely two dives joined.
RunDoubts DoubtfulDives(const std::vector<RunDive>& dives, double threshold, double endRule);

// The longest stay shallower than the threshold between the first and the
// last sample deeper than it, in the frame F4..F5 of the analysis channel.
void MeasureSurfaceStay(const Recording& rec, const LinePositions& at, double threshold, RunDive& dive);

// "long", "shallow", "gap", "joined", joined by "+": the mark in the Check column.
std::string CheckMark(unsigned reasons);
// Why a dive is doubtful: "48.3 min, long for its depth: dives of 40-90 m last 2.5 min (median)".
std::string DoubtWhy(const DiveDoubt& d, double threshold, const Recording& rec, char dateSeparator);
// Where it begins: "03.01.2020 12:34:56".
std::string DoubtBegin(const DiveDoubt& d, const Recording& rec, char dateSeparator);
// "Dive 12 at 03.01.2020 12:34:56: " and why.
std::string DoubtText(const DiveDoubt& d, double threshold, const Recording& rec, char dateSeparator);

// Writes the marks into the Check column (the last, left empty when written)
// of the run's `dives` lines, the last lines of the dive table. The file is
// replaced only whole; false (and the file untouched) when it cannot be read
// or written or its lines do not end in an empty field there.
bool MarkCheckColumn(const std::string& file, const RunDoubts& run, std::size_t dives, char delimiter);
// The same on table text in memory whose last `dives` lines are the run's.
bool MarkCheckLines(std::string& text, const RunDoubts& run, std::size_t dives, char delimiter);

}  // namespace vk
