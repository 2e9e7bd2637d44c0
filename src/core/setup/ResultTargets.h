#pragma once

// Where the result lines of a run go: for each table the file the settings
// name and the file that is written, once checked.

#include <cstdint>
#include <string>

namespace vk {

struct TableTarget {
    std::string requested;  // the name the settings give
    std::string path;       // where the lines go
    enum State { Unchecked, Ready, Declined } state = Unchecked;
    std::string header;   // the table's first line
    std::string pending;  // lines held back while a long run goes on
    bool keepAll = false;  // every line held until CommitHeld: one write at the end, or none
    std::string failure;   // why a write failed ("Cannot write ...: No space left on device"); then nothing more is written
    int64_t rowsWritten = 0;  // lines that reached the file
    std::string staging;      // when set, the lines go to this file, which becomes `path` once the run is whole
    const std::string& written() const { return staging.empty() ? path : staging; }
};

struct ResultTargets {
    TableTarget dives, bouts, wiggles;
    bool hold = false;  // a long run: lines are written in larger pieces until flushed
};

}  // namespace vk
