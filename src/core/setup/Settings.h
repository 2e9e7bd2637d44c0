#pragma once

// Everything the setup file carries beside the channel descriptors, with the
// defaults of a fresh program run.

#include <array>
#include <cstdint>
#include <string>

#include "core/files/SkipStrings.h"
#include "core/store/Slot.h"
#include "core/setup/DiveParameters.h"
#include "core/setup/ThumbnailSettings.h"
#include "core/view/ColourTable.h"
#include "core/view/SubsidiaryLines.h"

namespace vk {

struct Coordinates {  // degrees
    double StartCoordLon = 40.0, StartCoordLat = 40.0, EndCoordLon = 0.0, EndCoordLat = 0.0;

    bool operator==(const Coordinates&) const = default;
};

struct FlatBaselineSettings {
    int32_t FlatWaves = 0;  // 0 short, 1 medium, 2 long waves
    bool FlatBelowThreshold = false;
    int32_t FlatStrength = 0;  // 0..32; raw steps below its cube are smoothed

    bool operator==(const FlatBaselineSettings&) const = default;
};

struct CompensationSettings {
    double CompAmplitude = 0.0;
    double CompThreshold = 0.0;
    double CompStartDepth = 0.0;
    bool CompSurfaceReference = false;
    bool CompZeroReference = false;
    bool CompInvertPreview = false;

    bool operator==(const CompensationSettings&) const = default;
};

struct Settings {
    std::string Cmt1, Cmt2;
    SkipStrings skip;
    ThumbnailSettings thumbnails;
    ColourTable colours;
    Coordinates coordinates;
    int32_t GraphFont = 0;
    int32_t GraphFontSize = 8;
    double FrequSensibility = 1.0;
    FlatBaselineSettings flatBaseline;
    CompensationSettings compensation;
    DiveParameters dive;
    int32_t SpeedChannel = 2;       // slot of the speed channel
    double CommSampInterval = 1.0;  // common sampling factor
    std::string StatisticsFile = "events.txt";
    bool MyVk = false;
    std::array<std::string, SlotCount> NameOutFile;  // dive result file per slot (Start names them after the data)
    char OutDlmt = '\t';                                             // column delimiter of result files
    char DateSep = '.';                                              // date separator of result files
    double AltNullmbar = 1013.2;
    std::array<SubsidiaryLines, SlotCount> subsidiaryLines{};

    bool operator==(const Settings&) const = default;
};

}  // namespace vk
