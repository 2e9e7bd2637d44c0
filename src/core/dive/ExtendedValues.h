#pragma once

// The extended per-dive values: up to eight rows of "Calc" [operation] "of
// channel" [channel] "at" [section], each giving one number for the dive.

#include <array>

#include "core/setup/DiveParameters.h"
#include "core/store/Recording.h"
#include "core/view/ViewState.h"

namespace vk {

class VkDialogs;

enum ExtendedOperation : int32_t {
    OpMinimum = 1,
    OpMaximum,
    OpMean,
    OpMedian,
    OpIntegral,
    OpOnsetValue,
    OpEndValue,
    OpGradient,
    OpDistance,
    OpWay
};
enum ExtendedSection : int32_t { SecDive = 0, SecDescent, SecBottom, SecAscent, SecMaxDepth, SecSurface };

// Great-circle distance in km between two positions in degrees.
double GreatCircleKm(double lat1, double lon1, double lat2, double lon2);

// The times (ms) that bound the sections.
struct DiveTimes {
    double F4 = 0, F8 = 0, F9 = 0, F5 = 0;
    double maxDepth = 0;      // time of the maximum depth
    double surfaceStart = 0;  // the previous dive's end; F4 for the first dive
};

// One value per row; rows that are off or whose channel holds no data keep
// the marker Missing.
std::array<double, ExtendedRowCount> ExtendedValues(const Recording& rec, const DiveTimes& times,
                                                    const DiveParameters& p, double commSampInterval, VkDialogs& ui);

}  // namespace vk
