#include "core/files/TextLoaderPasses.h"

#include <algorithm>

namespace vk::textload {

namespace {

uint16_t ToRaw(double x)
{
    if (!(x > 0.0))  // NaN as well
        return 0;
    if (x >= 65535.0)
        return 65535;
    // Adding 2^52 leaves no fraction bits: the FPU rounds to nearest, halves to even.
    return static_cast<uint16_t>((x + 0x1p52) - 0x1p52);
}

}  // namespace

RangeScan ScanRange(LineReader& reader, const LineRules& rules, bool ignoreEmpty)
{
    RangeScan scan;
    // Kept in locals: the loop runs for every line of files of tens of millions.
    double smallest = scan.smallest, largest = scan.largest, resolution = scan.resolution;
    double previous = NAN;
    int64_t lines = 0, smallestLine = 0, largestLine = 0, samples = 0, valueLines = 0;
    bool missingColumn = false;
    std::string_view line;
    for (; reader.next(line); ++lines) {
        const ClassifiedLine c = rules.classify(line);
        switch (c.kind) {
        case LineKind::Ignored: continue;
        case LineKind::Value: {
            if (c.value < smallest) {
                smallest = c.value;
                smallestLine = lines;
            }
            if (c.value > largest) {
                largest = c.value;
                largestLine = lines;
            }
            const double step = std::fabs(c.value - previous);  // NaN after the first value
            if (step > 0 && step < resolution)
                resolution = step;
            previous = c.value;
            ++samples;
            break;
        }
        case LineKind::MissingValue: samples += ignoreEmpty ? 0 : 1; break;
        case LineKind::MissingColumn: missingColumn = true; break;
        }
        ++valueLines;
    }
    scan.lines = lines;
    scan.valueLines = valueLines;
    scan.samples = samples;
    scan.smallest = smallest;
    scan.largest = largest;
    scan.smallestLine = smallestLine;
    scan.largestLine = largestLine;
    scan.resolution = resolution;
    scan.missingColumn = missingColumn;
    scan.readError = reader.failed();
    return scan;
}

LoadResult LoadRange(Recording& rec, int slot, LineReader& reader, const LineRules& rules, const Conversion& conv,
                     int32_t first, int32_t limit, const LoadHooks& hooks)
{
    LoadResult result;
    int32_t position = first;
    uint16_t* block = nullptr;
    bool asked = false;
    int32_t reported = -1;
    std::string_view line;
    while (position < limit) {
        const int32_t count = position - first;
        if (count % 10000 == 0 && count != reported && hooks.progress) {
            reported = count;
            hooks.progress(count);
        }
        if (!reader.next(line))
            break;
        const ClassifiedLine c = rules.classify(line);
        double v;
        switch (c.kind) {
        case LineKind::Ignored: continue;
        case LineKind::Value: v = c.value * conv.f + conv.g; break;
        case LineKind::MissingValue:
            if (conv.ignoreEmpty)
                continue;
            v = conv.missing;
            result.missing.add(position, position + 1);
            break;
        case LineKind::MissingColumn:
            if (!asked && hooks.missingColumn) {
                asked = true;
                if (!hooks.missingColumn()) {
                    result.stopped = true;
                    result.count = count;
                    return result;
                }
            }
            continue;
        }
        if (!block || (position & SampleStore::BlockMask) == 0)
            block = rec.store.block(slot, position >> SampleStore::BlockShift);
        block[position & SampleStore::BlockMask] = ToRaw(v * conv.usrA + conv.usrB);
        ++position;
    }
    result.count = position - first;
    return result;
}

}  // namespace vk::textload
