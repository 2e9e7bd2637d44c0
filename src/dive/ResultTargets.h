#pragma once

// Where the result lines of a run go: for each table the file the settings
// name and the file that is written, once checked.

#include <string>

namespace vk {

struct TableTarget {
    std::string requested;  // the name the settings give
    std::string path;       // where the lines go
    enum State { Unchecked, Ready, Declined } state = Unchecked;
};

struct ResultTargets {
    TableTarget dives, bouts, wiggles;
};

}  // namespace vk
