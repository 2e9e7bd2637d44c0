#pragma once

// Where the result lines of a run go: for each table the file the settings
// name and the file that is written, once checked.

#include <string>

namespace vk {

struct TableTarget {
    std::string requested;  // the name the settings give
    std::string path;       // where the lines go
    enum State { Unchecked, Ready, Declined } state = Unchecked;
    std::string header;   // the table's first line
    std::string pending;  // lines held back while a long run goes on
};

struct ResultTargets {
    TableTarget dives, bouts, wiggles;
    bool hold = false;  // a long run: lines are written in larger pieces until flushed
};

}  // namespace vk
