#pragma once

// What a logger text file looks like from its first lines: the separator,
// the header lines, the columns and their names, which columns hold the
// date and time, and which hold depth, temperature and the other sensors.
// The main dialog's "Read layout" and `varnik-batch --describe` propose a
// setup from it.

#include <array>
#include <string>
#include <vector>

#include "core/store/ChannelDescriptor.h"
#include "core/store/Slot.h"

namespace vk {

struct FileLayout {
    bool readable = false;
    char separator = '\t';
    int headerLines = 0;
    int columns = 0;
    std::vector<std::string> names;      // the last header line's fields, per column, as written
    int timeColumn = 0, dateColumn = 0;  // 0: none
    // The column proposed for each slot: depth, temperature, one more sensor (0: none).
    std::array<int, SlotCount> slotColumns{};
    std::vector<std::string> firstLines;  // as they stand in the file, for the user to see
};

// A sensor by its name in lower case (a column's header, an archive's variable
// or full name): depth or pressure ("depth [m]", "p"), temperature ("t", "temp").
bool NamedDepth(const std::string& name);
bool NamedTemperature(const std::string& name);

// Looks at the first lines of the file (up to `lines` of them).
FileLayout ReadFileLayout(const std::string& path, int lines = 200);

// The slot's reading settings from a layout: file, separator, header lines,
// its column and the time columns. False when the layout has no column for it.
bool ApplyLayout(const FileLayout& layout, int slot, ChannelDescriptor& d);

}  // namespace vk
