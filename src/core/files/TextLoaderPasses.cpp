#include "core/files/TextLoaderPasses.h"

#include <algorithm>

namespace vk::textload {

namespace {

constexpr int32_t ProgressEvery = 10000;  // samples between progress calls, as LoadRange has them

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

namespace {

// Calls visit(fields) for each line of the reader in turn, with the wanted
// columns (ascending) read into `fields`, or with nullptr for a line passed
// over (empty, or with a skip string); visit returns false to stop after that
// line. The whole lines in the reader's buffer are walked in place, the
// common lines the quick way, so that a line's bytes are read once.
template <typename Visit>
[[gnu::always_inline]] inline void EachLine(LineReader& reader, const LineRules& rules, const int* columns,
                                            std::size_t n, ColumnField* fields, Visit&& visit)
{
    auto fullWay = [&](std::string_view line) {
        if (rules.ignored(line))
            return visit(nullptr);
        ParseColumns(line, columns, n, rules.delimiter, fields);
        return visit(fields);
    };
    // Skip strings are searched for on every line: those files take the full way.
    const bool quick = rules.delimiter != ' ' && rules.skip1.empty() && rules.skip2.empty();
    for (;;) {
        if (const std::string_view lines = quick ? reader.waitingLines() : std::string_view(); !lines.empty()) {
            const char* p = lines.data();
            const char* const end = p + lines.size();
            bool more = true;
            while (more && p < end) {
                const char* next;
                if (QuickColumns(p, end, columns, n, rules.delimiter, reader.maxLine(), fields, next)) {
                    more = visit(fields);
                } else {
                    next = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p))) + 1;
                    more = fullWay(reader.lineAt(p, static_cast<std::size_t>(next - 1 - p)));
                }
                p = next;
            }
            reader.pass(static_cast<std::size_t>(p - lines.data()));
            if (!more)
                return;
            continue;
        }
        std::string_view line;
        if (!reader.next(line) || !fullWay(line))
            return;
    }
}

// The running figures of one column over the lines of a stretch.
struct ColumnScan {
    double smallest = Unreached, largest = -Unreached, resolution = HUGE_VAL, previous = NAN;
    int64_t smallestLine = 0, largestLine = 0, samples = 0;
    int64_t shortLines = 0;
    std::vector<int64_t> firstShort;

    [[gnu::always_inline]] void take(const ClassifiedLine c, int64_t line, bool ignoreEmpty, KeptValues* keep)
    {
        switch (c.kind) {
        case LineKind::Ignored: break;
        case LineKind::Value: {
            if (c.value < smallest) {
                smallest = c.value;
                smallestLine = line;
            }
            if (c.value > largest) {
                largest = c.value;
                largestLine = line;
            }
            const double step = std::fabs(c.value - previous);  // NaN after the first value
            if (step > 0 && step < resolution)
                resolution = step;
            previous = c.value;
            ++samples;
            if (keep)
                keep->add(c.value, c.decimals, c.digits);
            break;
        }
        case LineKind::MissingColumn:  // a short line (a truncated write): its field is missing
            if (firstShort.size() < ListedShortLines)
                firstShort.push_back(line);
            ++shortLines;
            [[fallthrough]];
        case LineKind::MissingValue:
            if (!ignoreEmpty) {
                ++samples;
                if (keep)
                    keep->addMissing();
            }
            break;
        }
    }

    RangeScan result(int64_t lines, int64_t valueLines, bool readError) const
    {
        RangeScan scan;
        scan.lines = lines;
        scan.valueLines = valueLines;
        scan.samples = samples;
        scan.smallest = smallest;
        scan.largest = largest;
        scan.smallestLine = smallestLine;
        scan.largestLine = largestLine;
        scan.resolution = resolution;
        scan.shortLines = shortLines;
        scan.firstShort = firstShort;
        scan.readError = readError;
        return scan;
    }
};

}  // namespace

RangeScan ScanRange(LineReader& reader, const LineRules& rules, bool ignoreEmpty, KeptValues* keep)
{
    // A local the compiler keeps in registers: the loop runs for every line of files of tens of millions.
    ColumnScan column;
    int64_t lines = 0, valueLines = 0;
    ColumnField field;
    EachLine(
        reader, rules, &rules.column, 1, &field, [&](const ColumnField* f) __attribute__((always_inline)) {
            if (f) {
                column.take(LineRules::of(*f), lines, ignoreEmpty, keep);
                ++valueLines;
            }
            ++lines;
            return true;
        });
    if (keep)
        keep->finish();
    return column.result(lines, valueLines, reader.failed());
}

std::vector<RangeScan> ScanColumns(LineReader& reader, const std::vector<LineRules>& rules, bool ignoreEmpty,
                                   std::vector<KeptValues>& keep)
{
    // The columns in the order they stand on the line, read in one walk along it.
    const std::size_t n = rules.size();
    std::vector<std::size_t> order(n);
    for (std::size_t k = 0; k < n; ++k)
        order[k] = k;
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return rules[a].column < rules[b].column; });
    std::vector<int> columns;
    for (const std::size_t k : order)
        columns.push_back(rules[k].column);
    std::vector<ColumnField> fields(n);
    std::vector<ColumnScan> scans(n);
    int64_t lines = 0, valueLines = 0;
    // Empty and skipped lines are the same for every column.
    EachLine(
        reader, rules[0], columns.data(), n, fields.data(), [&](const ColumnField* f) __attribute__((always_inline)) {
            if (f) {
                for (std::size_t j = 0; j < n; ++j) {
                    const std::size_t k = order[j];
                    scans[k].take(LineRules::of(f[j]), lines, ignoreEmpty, &keep[k]);
                }
                ++valueLines;
            }
            ++lines;
            return true;
        });
    for (KeptValues& k : keep)
        k.finish();
    std::vector<RangeScan> result;
    for (const ColumnScan& c : scans)
        result.push_back(c.result(lines, valueLines, reader.failed()));
    return result;
}

LoadResult LoadRange(Recording& rec, int slot, LineReader& reader, const LineRules& rules, const Conversion& conv,
                     int32_t first, int32_t limit, const LoadHooks& hooks)
{
    LoadResult result;
    int32_t position = first;
    uint16_t* block = nullptr;
    int32_t reported = -1;
    int64_t lineNumber = -1;
    auto report = [&] {
        const int32_t count = position - first;
        if (count % ProgressEvery == 0 && count != reported && hooks.progress) {
            reported = count;
            hooks.progress(count);
        }
    };
    auto store = [&](const ClassifiedLine c) {
        double v = 0;
        switch (c.kind) {
        case LineKind::Ignored: return;
        case LineKind::Value:
            if (c.value >= conv.lowest && c.value <= conv.highest) {
                v = c.value * conv.f + conv.g;
                break;
            }
            [[fallthrough]];  // an outlier taken as missing
        case LineKind::MissingColumn:
            if (c.kind == LineKind::MissingColumn) {  // a short line: its field is missing
                if (result.firstShort.size() < ListedShortLines)
                    result.firstShort.push_back(lineNumber);
                ++result.shortLines;
            }
            [[fallthrough]];
        case LineKind::MissingValue:
            if (conv.ignoreEmpty && c.kind != LineKind::Value)
                return;
            v = conv.missing;
            result.missing.add(position, position + 1);
            break;
        }
        if (!block || (position & SampleStore::BlockMask) == 0)
            block = rec.store.block(slot, position >> SampleStore::BlockShift);
        block[position & SampleStore::BlockMask] = ToRaw(v * conv.usrA + conv.usrB);
        ++position;
    };
    if (position < limit) {
        report();
        ColumnField field;
        EachLine(
            reader, rules, &rules.column, 1, &field, [&](const ColumnField* f) __attribute__((always_inline)) {
                ++lineNumber;
                if (!f)
                    return true;
                ++result.valueLines;
                store(LineRules::of(*f));
                if (position >= limit)
                    return false;
                report();
                return true;
            });
    }
    result.count = position - first;
    return result;
}

LineRules RulesOf(const ChannelDescriptor& d, const SkipStrings& skips)
{
    return {std::max(d.ColumnValue, 1), d.InDelimiter,
            skips.Skip1Enbld ? std::string_view(skips.Skip1Str) : std::string_view(),
            skips.Skip2Enbld ? std::string_view(skips.Skip2Str) : std::string_view()};
}

Conversion ConversionOf(const ChannelDescriptor& d)
{
    const double f = 1.0 / d.CoeffA;
    return {f, -d.CoeffB * f, (d.LowRng - d.CoeffB) * f, d.UsrCoeffA, d.UsrCoeffB, d.IgnoreEmpLine};
}

void ScaleToRange(Recording& rec, int slot, double smallest, double largest)
{
    ChannelDescriptor& d = rec.desc(slot);
    if (smallest == Unreached && largest == -Unreached) {
        smallest = -10.0;
        largest = 10.0;
    }
    d.HighRng = largest;
    d.LowRng = smallest;
    if (!(d.HighRng > d.LowRng)) {
        d.HighRng = largest + largest / 10.0;
        d.LowRng = smallest - smallest / 10.0;
    }
    SetScaling(rec, slot);
    d.KindEqu = 'M';
}

void StoreWords(const Conversion& c, const double* values, std::size_t n, uint16_t* words)
{
    for (std::size_t k = 0; k < n; ++k)
        words[k] = ToRaw((values[k] * c.f + c.g) * c.usrA + c.usrB);
}

uint16_t MissingStandIn(const ChannelDescriptor& d)
{
    const Conversion c = ConversionOf(d);
    return ToRaw(c.missing * c.usrA + c.usrB);
}

LoadResult StoreKept(Recording& rec, int slot, KeptValues& kept, const Conversion& conv, int32_t first, int32_t limit,
                     const LoadHooks& hooks)
{
    LoadResult result;
    const int32_t n =
        static_cast<int32_t>(std::min<int64_t>(static_cast<int64_t>(kept.size()), std::max(limit - first, 0)));
    int32_t k = 0;  // samples stored
    kept.drain([&](const double* values, uint32_t count) {
        for (uint32_t j = 0; j < count && k < n;) {
            // Block by block: the inner loop is one conversion per sample and nothing else.
            const int32_t position = first + k;
            uint16_t* block = rec.store.block(slot, position >> SampleStore::BlockShift);
            const int32_t offset = position & SampleStore::BlockMask;
            const int32_t run = std::min(
                {n - k, static_cast<int32_t>(SampleStore::BlockMask) + 1 - offset, static_cast<int32_t>(count - j)});
            for (int32_t i = 0; i < run; ++i) {
                const double x = values[j + static_cast<uint32_t>(i)];
                double v;
                if (x >= conv.lowest && x <= conv.highest) {
                    v = x * conv.f + conv.g;
                } else {  // missing (NaN), or an outlier taken as missing
                    v = conv.missing;
                    result.missing.add(position + i, position + i + 1);
                }
                block[offset + i] = ToRaw(v * conv.usrA + conv.usrB);
            }
            // Progress at each multiple of ProgressEvery passed, as the per-sample loop gave it.
            if (hooks.progress)
                for (int32_t at = (k + ProgressEvery - 1) / ProgressEvery * ProgressEvery; at < k + run;
                     at += ProgressEvery)
                    hooks.progress(at);
            k += run;
            j += static_cast<uint32_t>(run);
        }
    });
    result.count = n;
    return result;
}

}  // namespace vk::textload
