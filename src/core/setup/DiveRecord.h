#pragma once

// The current dive: what the search, the per-dive analysis, the wiggles and
// the dive stops found for the dive the cursors frame. One for the program run.

#include <array>
#include <cstdint>
#include <vector>

#include "core/setup/DiveParameters.h"
#include "core/store/Markers.h"

namespace vk {

constexpr int AnalysisSlot = 0;     // the depth channel the dive analysis works on
constexpr int TemperatureSlot = 1;  // its water-temperature channel

enum DiveShape : int32_t {
    ShapeV = 0,
    ShapeU = 1,
    ShapeY = 2,
    ShapeW = 3,
    ShapeParabola = 4,
    ShapeL = 5,
    ShapeNone = 6
};

// The letter of a shape code in the tables and on thumbnails: "VUYWPLX"; ' ' for no code.
inline char ShapeLetter(int32_t code)
{
    constexpr char letters[] = "VUYWPLX";
    return code >= ShapeV && code <= ShapeNone ? letters[code] : ' ';
}

struct WiggleSummary {
    int32_t count = 0;
    double meanAmplitude = Missing, totalAmplitude = Missing;
    double meanDuration = Missing, totalDuration = Missing;  // s
};

struct SpeedValues {  // distances in m, angles in degrees
    double descentDistance = Missing, bottomDistance = Missing, ascentDistance = Missing;
    double descentAngle = Missing, ascentAngle = Missing;
    double horizontalDistance = Missing;
};

struct WaterTemperature {
    double diveMean = Missing, bottomMean = Missing, bottomMin = Missing, bottomMax = Missing;
    double atMaxDepth = Missing, aroundMaxDepth = Missing;
};

// The figures of a dive the bottom searches go by.
struct DiveFigures {
    double maxDepth = 0;
    double modalDepth = 0;                            // the maximum depth unless one depth class dominates
    int32_t modalCount = 0;                           // samples in the modal depth class
    double descentRate90 = 0, ascentRate90 = 0;       // to 90 % of the modal depth, m/s; ascending is negative
    int32_t descentPoints90 = 0, ascentPoints90 = 0;  // 0: the rate next to it is not known
    int32_t f4 = -1, f5 = -1;                         // the onset and end they were found for
};

// The dive written before, for the pause and the differences.
struct PreviousDive {
    double end = 0, duration = 0, maxDepth = 0;
};

// Times in ms, depths in m, rates in m/s. A value that could not be computed
// (no previous dive, a phase of no length, no bottom samples, a dive too long,
// a depth switched off) holds Missing and is written as an empty cell.
struct DiveRecord {
    int32_t counter = 0;  // dives written since Start
    PreviousDive previous;
    int32_t onsetIndex = 0;
    double onsetTime = 0;
    double pause = Missing, duration = 0;
    bool pauseAcrossGap = false;  // the pause holds samples without a value (the animal may have dived there)
    double descentDuration = 0, bottomDuration = 0, ascentDuration = 0;
    double durationDifference = Missing, maxDepthDifference = Missing;
    double timeAbove = Missing, timeBelow = Missing;  // deeper than TimeAbove, not deeper than TimeBelow
    double descentRate = Missing, bottomRate = Missing, ascentRate = Missing;
    double meanDepth = 0;
    int32_t maxDepthIndex = 0;
    double maxDepth = 0;
    double depthSum = 0, depthIntegral = Missing;  // integral in metre-hours
    double bottomMedian = Missing, bottomMinimum = Missing, bottomMean = Missing, bottomDepthSum = Missing;
    double bottomStdDev = Missing, bottomSpread = Missing, bottomVerticalDistance = Missing;
    double bottomFraction = Missing, relativeBottomRange = Missing, bottomShareOfCycle = Missing;
    double maxPositionInBottom = Missing, bottomRoughness = Missing;
    DiveFigures figures;
    int32_t shape = ShapeV;
    double descentGradient = Missing, ascentGradient = Missing;  // least-squares fits, absolute values
    SpeedValues speed;
    WaterTemperature temperature;
    std::vector<int32_t> depthClasses;  // when depth frequencies are on
    std::array<double, ExtendedRowCount> extended{Missing, Missing, Missing, Missing,
                                                  Missing, Missing, Missing, Missing};
    WiggleSummary wiggles;
    bool analysed = false;
    bool tooLong = false;
};

struct WiggleEntry {
    int32_t index = 0;
    double depth = 0, amplitude = 0;
    double duration = 0;  // s
    int32_t type = 0;     // 1 maximum, -1 minimum
};

constexpr int MaxWiggles = 100;

struct DiveStop {
    double onset = 0, end = 0;  // ms
    double depth = 0;           // at the onset
    int32_t samples = 0;
    bool enabled = true;
};

constexpr int MaxStopsPerPhase = 4;
enum StopPhase : int { PhaseDescent = 0, PhaseAscent = 1 };

struct StopTable {
    std::array<std::array<DiveStop, MaxStopsPerPhase>, 2> stop{};
    std::array<int, 2> count{0, 0};
    int total() const { return count[0] + count[1]; }
};

}  // namespace vk
