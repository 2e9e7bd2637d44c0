#pragma once

// What the Filter menu's dialogs remember for the run: the running mean, peak
// elimination and the envelope. (The flat baseline and the compensation keep
// theirs in the setup file.)

#include <cstdint>

namespace vk {

// Which words the running mean may replace.
enum RunMeanDirection : int {
    RunMeanNone = 0,    // not chosen yet: the dialog proposes Down
    RunMeanUp = 3,      // where the mean is greater; the least words are left out of it
    RunMeanDown = 4,    // where the mean is less; the greatest words are left out
    RunMeanMiddle = 5,  // everywhere; nothing left out
};

struct RunningMeanSetting {
    int32_t n = 0;       // half width, 0..500
    int32_t ignore = 0;  // percentage left out by Up and Down, 0..50
    int direction = RunMeanNone;
};
inline constexpr int32_t RunMeanMaxN = 500;
inline constexpr int32_t RunMeanMaxIgnore = 50;

// The envelope: lines between neighbouring maxima (above) or minima (below)
// closer than maxPeriod samples, extrema found with the hysteresis minAmplitude.
inline constexpr int32_t MantleAbove = 1;
inline constexpr int32_t MantleBelow = -1;
struct MantleSetting {
    int32_t maxPeriod = 16;
    double minAmplitude = 0.1;
    int32_t side = 4;  // MantleAbove, any other value below
};

enum class Relation { Less, Greater, Equal };

// The peak dialog: its three options and their fields.
enum class PeakOption { Extremes, Peaks, Replace };
struct PeakChoices {
    PeakOption option = PeakOption::Extremes;
    double PeakAmplitude = 0;  // also the comparison value of the last replacement
    int32_t PeakLength = 0;    // points
    Relation relation = Relation::Less;
    double threshold = 5;
    double replacement = 0;
    bool interpolate = false;
};

struct FilterChoices {
    RunningMeanSetting runningMean;
    PeakChoices peaks;
    MantleSetting mantle;
};

}  // namespace vk
