#pragma once

// The two passes of the text loader over one stretch of a file: the range
// scan and the sample load. Both run on worker threads for large files, so
// they touch nothing but their own reader, their result and their samples.

#include <atomic>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "core/files/KeptValues.h"
#include "core/files/LineReader.h"
#include "core/files/ParseColumn.h"
#include "core/files/SkipStrings.h"
#include "core/store/GapList.h"
#include "core/store/Markers.h"
#include "core/store/Recording.h"

namespace vk::textload {

enum class LineKind { Ignored, Value, MissingValue, MissingColumn };

struct ClassifiedLine {
    LineKind kind;
    double value;
    int decimals = -1;  // of a plain decimal, as ColumnField has them
    int64_t digits = 0;
};

// How the lines of one file are read: the column, its delimiter and the skip strings.
struct LineRules {
    int column;
    char delimiter;
    std::string_view skip1, skip2;  // empty when not in use

    // An empty line, or one with a skip string, is passed over whatever its columns.
    bool ignored(std::string_view line) const
    {
        return line.empty() || (!skip1.empty() && line.find(skip1) != std::string_view::npos) ||
               (!skip2.empty() && line.find(skip2) != std::string_view::npos);
    }
    static ClassifiedLine of(const ColumnField& f)
    {
        switch (f.kind) {
        case ColumnKind::Value: return {LineKind::Value, f.value, f.decimals, f.digits};
        case ColumnKind::MissingValue: return {LineKind::MissingValue, 0.0};
        case ColumnKind::MissingColumn: break;
        }
        return {LineKind::MissingColumn, 0.0};
    }
    ClassifiedLine classify(std::string_view line) const
    {
        if (ignored(line))
            return {LineKind::Ignored, 0.0};
        return of(ParseColumn(line, column, delimiter));
    }
};

struct RangeScan {
    int64_t lines = 0;       // every line read
    int64_t valueLines = 0;  // lines that are neither empty nor skipped
    int64_t samples = 0;     // samples the load pass will store from them
    double smallest = Unreached, largest = -Unreached;
    int64_t smallestLine = 0, largestLine = 0;  // where they are, counted from 0 in the stretch read
    double resolution = HUGE_VAL;               // the smallest change between values one after another
    int64_t shortLines = 0;                     // lines that end before the column: taken as missing values
    std::vector<int64_t> firstShort;            // the first ListedShortLines of them, counted as smallestLine is
    bool readError = false;
};

// How many of the short lines a scan or a load keeps the numbers of.
inline constexpr std::size_t ListedShortLines = 5;

// The range scan over the reader's lines; with `keep` the values are kept as well (and finished).
RangeScan ScanRange(LineReader& reader, const LineRules& rules, bool ignoreEmpty, KeptValues* keep = nullptr);
// The same for several columns of each line at once (their rules differ only
// in the column), keeping the values of column k in keep[k].
std::vector<RangeScan> ScanColumns(LineReader& reader, const std::vector<LineRules>& rules, bool ignoreEmpty,
                                   std::vector<KeptValues>& keep);

// Physical value v becomes raw (v * f + g) * UsrCoeffA + UsrCoeffB.
struct Conversion {
    double f, g, missing, usrA, usrB;
    bool ignoreEmpty;
    double lowest = -HUGE_VAL, highest = HUGE_VAL;  // values outside are taken as missing
};

// The rules a slot's lines are read by: its column, separator and the skip strings in use.
LineRules RulesOf(const ChannelDescriptor& d, const SkipStrings& skips);
// v * f + g maps a physical value to the raw scale; a missing value reads as LowRng.
Conversion ConversionOf(const ChannelDescriptor& d);
// The raw word a load stores for a missing value.
uint16_t MissingStandIn(const ChannelDescriptor& d);
// The raw words a load stores for n physical values (0 for a NaN).
void StoreWords(const Conversion& c, const double* values, std::size_t n, uint16_t* words);
// The slot scaled to the range of its values (a range of one value widened by a tenth).
void ScaleToRange(Recording& rec, int slot, double smallest, double largest);

struct LoadHooks {
    // Called at every sample count that is a multiple of 10000.
    std::function<void(int32_t count)> progress;
};

struct LoadResult {
    int32_t count = 0;
    GapList missing;                  // positions that got the stand-in for a missing value
    int64_t valueLines = 0;           // lines neither empty nor skipped
    int64_t shortLines = 0;           // lines that end before the column: taken as missing values
    std::vector<int64_t> firstShort;  // the first of them, counted from 0 in the stretch read
};

// The sample load: stores samples at positions first, first + 1, ... below limit.
LoadResult LoadRange(Recording& rec, int slot, LineReader& reader, const LineRules& rules, const Conversion& conv,
                     int32_t first, int32_t limit, const LoadHooks& hooks);

// The kept values (every one exact) as samples from `first` (up to `limit`),
// converted as LoadRange converts the numbers it reads; their memory is given
// back chunk by chunk as they are stored.
LoadResult StoreKept(Recording& rec, int slot, KeptValues& kept, const Conversion& conv, int32_t first, int32_t limit,
                     const LoadHooks& hooks);

}  // namespace vk::textload
