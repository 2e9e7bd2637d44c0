#pragma once

// The dive parameter set: every setting of the dive analysis, held once per
// program run and carried by the setup file.

#include <array>
#include <cstdint>

namespace vk {

enum class BottomSearchKind : uint8_t { Normal = 0, FixBottom = 1, Tamrin = 2, WiggleDefined = 3 };
enum class OnsetCriterion : int32_t { And = 0, Or = 1, OnlyLevel = 2, OnlySlope = 3, OnlyLevelAbs = 4 };
enum class WiggleMethod : int32_t { Simeone = 0, Bost = 1, None = 2 };

// "Calc" [operation] "of channel" [channel] "at" [section]; -1 where nothing is chosen.
struct ExtendedParameterRow {
    int32_t operation = -1;  // 1 Minimum .. 10 Way; 0 is the empty item
    int32_t channel = -1;
    int32_t section = -1;  // 0 Dive .. 5 Surface
    bool enabled = false;
    bool operator==(const ExtendedParameterRow&) const = default;
};

constexpr int ExtendedRowCount = 8;
constexpr int32_t MaxDepthBins = 30;

struct DiveParameters {
    double Level = 0.9;
    int32_t BoutIntermediate = 300;  // s
    int32_t BoutMinDur = 300;        // s
    double Threshold = 65.0;         // m
    int32_t WindowSize = 300;        // s
    double ThrBott = 0.66;
    double SlopBoB = 0.3;    // m/s
    double SlopEoD = 0.001;  // m/s
    double RelBottSurf = 0.5;
    double WiggAmplitude = 0.3;  // m
    int32_t WiggDuration = 3;    // s
    double WiggRelPreceding = 0.0;
    int32_t LenRest = 4;  // points
    int32_t SearchNextOff = 0;
    uint8_t AdjustYSize = 0;
    uint8_t TrekBaseline = 0;
    BottomSearchKind BottomKind = BottomSearchKind::Normal;
    uint8_t FloatWindow = 1;
    int32_t SurroundMaxDepth = 0;  // s
    uint8_t AutoGradient = 1;
    uint8_t Visualise = 1;
    uint8_t MakeImages = 0;
    uint8_t WaterTemp = 0;
    uint8_t DiveStops = 1;
    uint8_t SpeedAnalysis = 0;
    uint8_t AbsDifferences = 0;
    WiggleMethod WiggMethod = WiggleMethod::Simeone;
    int32_t NrBins = 20;
    double MinBin = 0.0;
    double MaxBin = 100.0;
    uint8_t Frequencies = 0;
    double YFormFactor = 1.6;
    double YFormDivision = 0.5;
    double WShapeHeight = 0.2;
    double LShapeParm = 0.01;
    double ParabolaHeight = 0.5;
    double WiggDefPercent = 75.0;
    OnsetCriterion Criterion = OnsetCriterion::And;
    std::array<ExtendedParameterRow, ExtendedRowCount> ExtendedParameters{};
    double NoCategoryGradient = 0.0;  // m/s, learned from manual reclassification
    double TimeBelow = 0.0;           // m, 0 = off
    double TimeAbove = 0.0;           // m, 0 = off
    uint8_t BurnishDives = 0;
    uint8_t AutoDive = 0;
    uint8_t EndDiveValid = 0;
    int32_t MinDiveDuration = 6;   // s
    double BaselineQuality = 1.0;  // m
    // Without these the stop search would divide by zero.
    double StopGradient = 0.2;  // m/s
    int32_t StopLength1 = 1;
    int32_t StopMinDuration = 5;

    bool operator==(const DiveParameters&) const = default;
};

// Switches off every extended row whose operation, channel or section is negative.
void DisableIncompleteRows(DiveParameters& p);

}  // namespace vk
