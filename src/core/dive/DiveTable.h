#pragma once

// The dive result file and the wiggle result file: their columns, the header
// that names them with their units (and, where the settings decide what a
// column holds, with those settings), and the lines of one dive.

#include <string>
#include <vector>

#include "core/dive/ResultTables.h"
#include "core/setup/DiveState.h"
#include "core/setup/Settings.h"
#include "core/store/Recording.h"

namespace vk {

// What the result lines of a dive are made from.
struct DiveLines {
    DiveRecord record;
    StopTable stops;
    std::vector<WiggleEntry> wiggles;
    std::string comment;
};
DiveLines LinesOf(const DiveState& dive);

// The dive result file. The header names the depths of the two time columns,
// the bounds of the depth classes and what each extended value is; columns
// whose values the settings switch off (time deeper than 0 m, depth classes
// without depth frequencies, temperatures without the water temperature, ...)
// are left out of the header and the lines alike.
std::string DiveHeader(const Recording& rec, const Settings& s);
std::string DiveLine(const DiveLines& dive, const Recording& rec, const Settings& s);
// The names of the header's columns.
std::vector<std::string> DiveColumnsOn(const Recording& rec, const Settings& s);
// The columns no setting switches off, by name ("Dive", "Date", ..., "Check").
std::vector<std::string> DiveColumnsAlwaysOn();
// The place among all columns of the column a header names
// ("TimeDeeperThan10m[s]" is the place of the time deeper than); -1 for a
// name this program does not write.
int DiveColumnOf(const std::string& name);

// The wiggle result file: one line per wiggle of the dive.
std::string WiggleHeader(char delimiter);
std::string WiggleLines(const DiveLines& dive, const Recording& rec, const Settings& s);

}  // namespace vk
