#pragma once

// The result files as tables: one header line naming every column with its
// unit, then one line per dive (per wiggle, per bout). The columns are always
// the same, so appending never makes ragged rows: a value that was not asked
// for or could not be computed is an empty field.

#include <string>
#include <utility>
#include <vector>

#include "core/setup/ResultTargets.h"

namespace vk {

class VkDialogs;

// Appends `lines` (each ending in a line feed) to the file `target` leads to,
// writing `header` first into a new or empty file. The file the settings name
// is checked once: one with other columns is only written after the user chose
// a new file for these results instead. False when the lines were not written:
// the file could not be opened or written, or the user declined.
// With `hold` the lines may wait in the target until FlushTables. Once a
// write to the target failed (its `failure` says why), nothing more is
// written there: a table never has a hole in the middle.
bool AppendTable(TableTarget& target, const std::string& file, const std::string& header, const std::string& lines,
                 VkDialogs& ui, bool hold = false);
// Writes what the targets hold back (not those that keep all their lines);
// false when a file could not be written.
bool FlushTables(ResultTargets& targets);
// Writes the lines of the targets that keep all: each file gets its lines in
// one write, and when one fails the others are cut back to where they were,
// so either every table has them or none. False with the targets' failure set.
bool CommitHeld(ResultTargets& targets);
// The first failure of the targets' writes; empty when every write went through.
std::string TablesFailure(const ResultTargets& targets);

// The file name offered for a table whose file has other columns: "_2", "_3"
// ... inserted before the extension, the first that is free or has these columns.
std::string FreeTableName(const std::string& file, const std::string& header);

// The fields of a table line split at `delimiter`, without its line end.
std::vector<std::string> SplitFields(const std::string& line, char delimiter);

// The dives of a dive table that lie, wholly or in part, in from .. to (ms of
// the calendar), by their Date, Time and Duration[s]; the onset of the first.
// Nothing for a table that is missing or lacks those columns.
struct TableDives {
    int64_t count = 0;
    double firstOnset = 0.0;
};
TableDives DivesOverlapping(const std::string& path, char delimiter, double from, double to);

// Sends each target's lines to a new file instead of the one named with it:
// "_2", "_3" ... before the extension, the first number free (missing or
// empty) for all of them. Gives the new name of the first.
std::string ToNewFiles(const std::vector<std::pair<TableTarget*, std::string>>& targets);

// One line of a table: fields joined by the delimiter; missing values (the
// markers Missing and Unreached, and anything not finite) are empty fields.
class Row {
public:
    explicit Row(char delimiter) : delimiter_(delimiter) {}
    Row& number(double v, int decimals);
    Row& count(long long v);
    Row& text(const std::string& s);  // delimiters and line breaks become blanks
    Row& empty();
    std::string line() const { return line_ + "\n"; }

private:
    void next();
    std::string line_;
    char delimiter_;
    bool first_ = true;
};

// A header line: the names joined by the delimiter.
std::string HeaderLine(const std::vector<std::string>& names, char delimiter);

}  // namespace vk
