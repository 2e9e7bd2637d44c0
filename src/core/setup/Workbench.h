#pragma once

// Everything one program run works on: the recording, the settings and what
// Start derives from them. One object per run, passed by reference.

#include <array>
#include <string>

#include "core/setup/CalcChoices.h"
#include "core/setup/DiveState.h"
#include "core/setup/FilterChoices.h"
#include "core/setup/SectionBuffers.h"
#include "core/setup/Settings.h"
#include "core/store/Recording.h"

namespace vk {

// Result file names derived from the data file at Start (the dive result file
// of each slot and the statistics file are settings: Settings::NameOutFile,
// Settings::StatisticsFile).
struct ResultFiles {
    std::array<std::string, SlotCount> histogram;
    std::string tags;
    std::string bouts;
    std::string wiggles;
    std::string frequency;
    std::string thumbnailPrefix;
};

// The choices of the export dialogs, kept between their uses.
struct ExportChoices {
    int section = 1;   // 0 the window F1..F2, 1 the entire channel
    int channels = 0;  // 0 active channel, 1 all into one file (text) or separate files (binary), 2 separate (text)
};

// The channels of the bi-channel dialog, slot indexes kept for the run.
struct BiChannelChoice {
    int BiChnl1 = 0;  // first channel
    int BiChnl2 = 1;  // second channel
    int BiChnlResult = 1;
};

// The settings as the first Start from a setup file left them: closing
// offers to keep what was changed after it in that file.
struct SetupAsStarted {
    std::string file;    // empty until a Start from a setup file
    std::string chosen;  // the settings a user chooses, one per line
};

struct Workbench {
    Recording rec;
    Settings settings;
    ResultFiles results;
    std::string setupFile;  // the user's setup file; empty names none
    SetupAsStarted started;
    DiveState dive;  // cleared at every Start
    ExportChoices exportChoices;
    BiChannelChoice biChannel;
    FilterChoices filters;
    SectionBuffers sections;
    CalcChoices calc;
};

}  // namespace vk
