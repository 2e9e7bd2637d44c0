#pragma once

// The two passes of the text loader over one stretch of a file: the range
// scan and the sample load. Both run on worker threads for large files, so
// they touch nothing but their own reader, their result and their samples.

#include <atomic>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string_view>

#include "core/files/LineReader.h"
#include "core/files/ParseColumn.h"
#include "core/store/GapList.h"
#include "core/store/Markers.h"
#include "core/store/Recording.h"

namespace vk::textload {

enum class LineKind { Ignored, Value, MissingValue, MissingColumn };

struct ClassifiedLine {
    LineKind kind;
    double value;
};

// How the lines of one file are read: the column, its delimiter and the skip strings.
struct LineRules {
    int column;
    char delimiter;
    std::string_view skip1, skip2;  // empty when not in use

    ClassifiedLine classify(std::string_view line) const
    {
        if (line.empty() || (!skip1.empty() && line.find(skip1) != std::string_view::npos) ||
            (!skip2.empty() && line.find(skip2) != std::string_view::npos))
            return {LineKind::Ignored, 0.0};
        const ColumnField f = ParseColumn(line, column, delimiter);
        switch (f.kind) {
        case ColumnKind::Value: return {LineKind::Value, f.value};
        case ColumnKind::MissingValue: return {LineKind::MissingValue, 0.0};
        case ColumnKind::MissingColumn: break;
        }
        return {LineKind::MissingColumn, 0.0};
    }
};

struct RangeScan {
    int64_t lines = 0;       // every line read
    int64_t valueLines = 0;  // lines that are neither empty nor skipped
    int64_t samples = 0;     // samples the load pass will store from them
    double smallest = Unreached, largest = -Unreached;
    int64_t smallestLine = 0, largestLine = 0;  // where they are, counted from 0 in the stretch read
    double resolution = HUGE_VAL;               // the smallest change between values one after another
    bool missingColumn = false;
    bool readError = false;
};

// The range scan over the reader's lines.
RangeScan ScanRange(LineReader& reader, const LineRules& rules, bool ignoreEmpty);

// Physical value v becomes raw (v * f + g) * UsrCoeffA + UsrCoeffB.
struct Conversion {
    double f, g, missing, usrA, usrB;
    bool ignoreEmpty;
};

struct LoadHooks {
    // Called at every sample count that is a multiple of 10000.
    std::function<void(int32_t count)> progress;
    // Called at the first line without the column; false stops the load.
    std::function<bool()> missingColumn;
};

struct LoadResult {
    int32_t count = 0;
    bool stopped = false;
    GapList missing;  // positions that got the stand-in for a missing value
};

// The sample load: stores samples at positions first, first + 1, ... below limit.
LoadResult LoadRange(Recording& rec, int slot, LineReader& reader, const LineRules& rules, const Conversion& conv,
                     int32_t first, int32_t limit, const LoadHooks& hooks);

}  // namespace vk::textload
