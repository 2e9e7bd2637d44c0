#pragma once

// What the dive parameter dialog holds and the rules it follows, apart from
// the widgets: the fields as the user types them, which controls are enabled,
// and what OK does with them. The dialog (gui/dive/DiveParamsDialog) shows an entry and hands
// it back; the tests drive the rules directly.

#include <optional>
#include <string>

#include "core/setup/Settings.h"
#include "core/setup/Workbench.h"

namespace vk {

class VkDialogs;

struct DiveParmsEntry {
    // "Dive duration (F4 F5)"
    std::string level, slopEoD;
    int criterion = 0;
    bool automatic = false;
    // "Bottom phase/ V-shape"
    std::string slimness, thrBott, limitGradient;
    bool autoGradient = true;
    std::string threshold, windowSize, baselineQuality, timeBelow, timeAbove;
    bool searchNextAtW = true, trekBaseline = false, adjustSize = false, noVisualisation = false, makeImages = false,
         absDifferences = false, burnishDives = false, pauseRelating = false;
    std::string skipDives;  // "Skip Dives < n sec"
    int bottomKind = 0;
    std::string wiggDefPercent;
    // "Thumbnails"
    bool thumbnail = true, tnNumber = true, tnDate = false, tnTime = false, tnShape = true;
    std::string tnWidth, tnHeight;
    // "Dive Stops"
    bool diveStops = true;
    std::string stopGradient, stopLength1, stopMinDuration;
    // "Wiggles"
    int wiggMethod = 0;
    std::string wiggAmplitude, wiggDuration, wiggRelPreceding;
    // "Bouts", "Water Temp", "Frequencies"
    std::string boutIntermediate, boutMinDur;
    bool waterTemp = false;
    std::string surroundMaxDepth;
    std::string nrBins, minBin, maxBin;
    bool frequencies = false;
    // Result files
    std::string diveFile, boutFile, wiggleFile;
};

// The entry as the dialog opens on the current settings.
DiveParmsEntry EntryOf(const Workbench& wb);

// Which controls the enabling rules switch on, and the texts they set.
struct DiveParmsState {
    bool slimness = true, thrBott = true, limitGradient = true, autoGradient = true;
    bool wiggDefPercent = false;  // only for the wiggle-defined bottom
    bool thumbnailParts = true;
    std::string wiggButton, wiggAmplitudeLabel, wiggDurationLabel, wiggGroup;
    bool wiggAmplitude = true, wiggDuration = true, wiggRelative = true;
    bool timeBelowLabel = true, timeAboveLabel = true, skipLabel = true;
    bool level = true, slope = true, criterion = true;
    std::string levelLabel;
};

// Applies the enabling rules; "only Level abs." may copy the threshold into the level field.
DiveParmsState EnablingOf(DiveParmsEntry& e);

// A result-file group's caption: "Result File Dive", or with " Already exist.
// Append results." (shown in red) when the file is there.
struct GroupCaption {
    std::string text;
    bool exists = false;
};
GroupCaption ResultCaption(const std::string& base, const std::string& file);

// Leaving the baseline field: a warning for a value below 0.1, nothing else.
void BaselineFieldLeft(const std::string& text, VkDialogs& ui);

// OK. Every field is read first: one that holds no number is named in a
// message and nothing is stored. Then the rules in their order; `close` false
// keeps the dialog open (the entry shows what was corrected).
struct AcceptResult {
    bool close = false;
    std::string badField;  // the label of a field without a number
};
AcceptResult AcceptDiveParms(DiveParmsEntry& e, Workbench& wb, int activeSlot, VkDialogs& ui);

// The dive parameters the entry holds, as OK would store them, without storing
// anything; none when a field holds no number (named in a message).
std::optional<DiveParameters> EnteredDiveParameters(DiveParmsEntry e, const Settings& s, VkDialogs& ui);

}  // namespace vk
