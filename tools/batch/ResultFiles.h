#pragma once

// The result files of one recording in a batch run are whole or not there.
// Fresh files (the default): each table is written under a name of its own
// beside the final one ("<name>.partial-<pid>"), and only when the recording
// has finished is an earlier file kept aside as "<name>.1" and the new one
// renamed into place. With --append every line is held until the end and
// appended in one write per table, or not at all.

#include <string>
#include <vector>

namespace vk {

struct Workbench;

class RecordingResultFiles {
public:
    RecordingResultFiles(Workbench& wb, bool append);
    // Anything not committed is removed; the earlier files stay as they were.
    ~RecordingResultFiles();
    RecordingResultFiles(const RecordingResultFiles&) = delete;
    RecordingResultFiles& operator=(const RecordingResultFiles&) = delete;

    // Puts the recording's tables in place; empty when done, else why not
    // (and the earlier files are as they were).
    std::string commit();

private:
    struct Table {
        std::string final, staging;
    };
    Workbench& wb_;
    bool append_;
    std::vector<Table> tables_;
    bool committed_ = false;
};

// For each setup of a run, empty, or why it is refused: its result files are
// those of an earlier setup of the run (the same data file), so their dives
// would mix in one table. A setup that cannot be read is not refused here.
std::vector<std::string> ResultFileClashes(const std::vector<std::string>& setups);

}  // namespace vk
