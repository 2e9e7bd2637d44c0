#include "files/TextLines.h"

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
    std::string_view line;
    double previous = NAN;
    for (; reader.next(line); ++scan.lines) {
        const ClassifiedLine c = rules.classify(line);
        switch (c.kind) {
        case LineKind::Ignored: continue;
        case LineKind::Value:
            if (c.value < scan.smallest) {
                scan.smallest = c.value;
                scan.smallestLine = scan.lines;
            }
            if (c.value > scan.largest) {
                scan.largest = c.value;
                scan.largestLine = scan.lines;
            }
            if (c.value != previous && std::fabs(c.value - previous) < scan.resolution)
                scan.resolution = std::fabs(c.value - previous);
            previous = c.value;
            ++scan.samples;
            break;
        case LineKind::MissingValue: scan.samples += ignoreEmpty ? 0 : 1; break;
        case LineKind::MissingColumn: scan.missingColumn = true; break;
        }
        ++scan.valueLines;
    }
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
