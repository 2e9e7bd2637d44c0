#pragma once

// The study tables: the dives, the bouts and a line per recording of many
// recordings in three files, "dives.tsv", "bouts.tsv" and "recordings.tsv".
// One header line, TAB between cells, an empty cell for a value not known,
// UTF-8, a leading "Recording" column naming the setup: R's read.delim and
// pandas' read_csv(sep="\t") read them as they are.

#include <cstdint>
#include <string>
#include <vector>

#include "core/dive/Bouts.h"
#include "core/dive/RecordingSummary.h"
#include "core/dive/DiveTable.h"
#include "core/dive/StudyManifest.h"
#include "core/store/Markers.h"

namespace vk {

// One recording's rows.
struct StudyPart {
    std::string recording;  // the setup's name
    RecordingSummary summary;
    std::vector<std::string> dives, bouts;  // TAB-separated lines without the Recording cell, each ending "\n"
    std::vector<std::string> diveColumns;   // the names of the dive lines' cells (DiveColumnsOn)
};

// The dive and bout lines of the study tables, made as the result files
// make theirs, with TAB between cells. A part's dive lines have the columns of
// its dive result file (DiveColumnsOn), by the same names; the study's dive
// table holds every column that one of its recordings has, and a recording
// without a column leaves its cells empty.
std::string StudyDiveLine(const DiveLines& dive, const Recording& rec, const Settings& s);
std::string StudyBoutLine(int32_t number, const BoutSummary& bout, const Recording& rec, const Settings& s);
// The Check cell (the last) of a study dive line filled with `mark`.
void MarkStudyLine(std::string& line, const std::string& mark);

// "setups/seal-07.cfg" is "seal-07".
std::string RecordingName(const std::string& setupFile);
// The names of a study's setups in their order, each told apart from those
// before it: a second "setup" (from another folder) is "setup-2".
std::vector<std::string> RecordingNames(const std::vector<std::string>& setupFiles);

// The three tables of `parts`, in their order, in `folder` (made when
// missing), with the manifest after them (naming `task` when given): the
// files replace the earlier ones together or not at all. False with `error`
// saying why.
bool WriteStudyTables(const std::string& folder, const std::vector<StudyPart>& parts, std::string& error,
                      TaskNumber task = {});

// A part's tables (dives, bouts, recordings) against its manifest's text:
// empty when whole, with `bodies` the tables below their headers and
// `diveColumns` the dive table's columns after "Recording"; else why not
// (`part` names the folder in the text).
std::string CheckStudyPart(const std::string& part, const std::string (&texts)[3], const std::string& manifestText,
                           std::string (&bodies)[3], std::vector<std::string>& diveColumns, TaskNumber& task);

struct MergeOptions {
    bool partial = false;            // join the whole parts; the others get a recordings.tsv line saying why
    std::vector<std::string> names;  // what to call each part in messages and lines (default: its folder)
};

// The tables of the study folders `parts` (each holding the three files and
// their manifest) joined, in this order, into `folder`. A part that is
// missing, has no manifest or differs from it, or holds rows that do not fit
// the header refuses the merge (`error` names each) unless `partial`.
bool MergeStudyTables(const std::string& folder, const std::vector<std::string>& parts, std::string& error,
                      const MergeOptions& options = {});

}  // namespace vk
