#include "core/calc/EventCount.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "core/calc/SectionScan.h"
#include "core/calc/WorkSection.h"
#include "core/setup/Workbench.h"
#include "core/store/Channel.h"
#include "core/store/ChannelSeries.h"
#include "core/store/FileUtil.h"
#include "core/store/TimeBase.h"
#include "core/store/VkDialogs.h"
#include "core/view/Readouts.h"

namespace vk {

namespace {

constexpr const char* CannotWrite = " Invalid name or number. Output canceled.";
constexpr int32_t Run = 4096;

// The first of the words k .. count - 1 within lo .. hi, or count; sixteen
// words are looked at together until one of them is.
int32_t FirstInRange(const uint16_t* w, int32_t k, int32_t count, uint16_t lo, uint16_t hi)
{
    using Words = uint16_t __attribute__((vector_size(16)));
    using Signed = int16_t __attribute__((vector_size(16)));
    constexpr int32_t Lanes = sizeof(Words) / sizeof(uint16_t);
    constexpr uint16_t Flip = 0x8000;  // unsigned order as signed order, which SSE2 compares
    const Words low = Words{} + lo;
    const Signed span = Signed{} + static_cast<int16_t>(static_cast<uint16_t>(hi - lo) ^ Flip);
    for (; k + 2 * Lanes <= count; k += 2 * Lanes) {
        Words a, b;
        std::memcpy(&a, w + k, sizeof a);
        std::memcpy(&b, w + k + Lanes, sizeof b);
        // Every lane beyond the span (below lo wraps above it): all bits set.
        const Signed outside =
            (reinterpret_cast<Signed>((a - low) ^ Flip) > span) & (reinterpret_cast<Signed>((b - low) ^ Flip) > span);
        uint64_t lanes[2];
        std::memcpy(lanes, &outside, sizeof lanes);
        if ((lanes[0] & lanes[1]) != ~uint64_t{0})
            break;
    }
    while (k<count&& static_cast<uint16_t>(w[k] - lo)> static_cast<uint16_t>(hi - lo))
        ++k;
    return k;
}

// What each raw word is to the threshold, and how the extreme of a run of
// words is found: from its greatest or least word where the values rise or
// fall with the words, else word by word.
struct WordClasses {
    enum : uint8_t { Beyond = 1, Back = 2 };  // starts an event, ends one
    std::vector<uint8_t> of;
    const std::vector<double>& values;
    bool below;
    int order = 0;  // 1 values rise with the words, -1 fall, 0 neither
    struct Range {
        uint16_t lo = 0, hi = 0;
        bool empty = true;
    };
    Range beyond, back;  // the words of each class, when order is not 0

    WordClasses(const std::vector<double>& v, double threshold, bool below_) : of(v.size()), values(v), below(below_)
    {
        bool rising = true, falling = true;
        for (std::size_t r = 0; r < v.size(); ++r) {
            const bool over = v[r] > threshold, under = v[r] < threshold;
            of[r] = static_cast<uint8_t>(((below ? under : over) ? Beyond : 0) | ((below ? over : under) ? Back : 0));
            if (r > 0) {
                rising = rising && v[r] >= v[r - 1];
                falling = falling && v[r] <= v[r - 1];
            }
        }
        order = rising ? 1 : falling ? -1 : 0;
        // Where the values follow the words, each class is one run of words.
        for (const uint8_t bit : {Beyond, Back}) {
            Range& range = bit == Beyond ? beyond : back;
            for (std::size_t r = 0; r < of.size(); ++r)
                if (of[r] & bit) {
                    if (range.empty)
                        range.lo = static_cast<uint16_t>(r);
                    range.hi = static_cast<uint16_t>(r);
                    range.empty = false;
                }
        }
    }
    // The first of the words k .. count - 1 of the class `bit`, or count.
    int32_t next(const uint16_t* w, int32_t k, int32_t count, uint8_t bit) const
    {
        if (order == 0) {
            while (k < count && !(of[w[k]] & bit))
                ++k;
            return k;
        }
        const Range& range = bit == Beyond ? beyond : back;
        return range.empty ? count : FirstInRange(w, k, count, range.lo, range.hi);
    }
    // The extreme of the values of n words (n > 0): the greatest, or the least when below.
    double extreme(const uint16_t* w, int32_t n) const
    {
        const bool greatestWord = (order == 1) != below;
        if (order != 0) {
            uint16_t pick = w[0];
            if (greatestWord)
                for (int32_t k = 1; k < n; ++k)
                    pick = std::max(pick, w[k]);
            else
                for (int32_t k = 1; k < n; ++k)
                    pick = std::min(pick, w[k]);
            return values[pick];
        }
        double e = values[w[0]];
        for (int32_t k = 1; k < n; ++k)
            e = below ? std::min(e, values[w[k]]) : std::max(e, values[w[k]]);
        return e;
    }
};

// The scan's state between samples: outside or inside an event.
class EventScan {
public:
    EventScan(double threshold, bool below, bool list, Events& out)
            : threshold_(threshold), below_(below), list_(list), out_(out)
    {
    }
    // The sample i of value y, in order.
    void at(int32_t i, double y)
    {
        const bool beyond = below_ ? y < threshold_ : y > threshold_;
        if (!inside_) {
            if (!beyond)
                return;
            inside_ = true;
            ++out_.count;
            current_ = {i, i, y};
            return;
        }
        const bool back = below_ ? y > threshold_ : y < threshold_;
        if (back) {
            current_.end = i;
            close();
            return;
        }
        current_.extreme = below_ ? std::min(current_.extreme, y) : std::max(current_.extreme, y);
    }
    // The words of samples i0 .. i0 + count - 1, in order, by their classes:
    // what at() does word by word, a stretch between two changes at a time.
    void words(int32_t i0, const uint16_t* w, int32_t count, const WordClasses& c)
    {
        int32_t k = 0;
        while (k < count) {
            if (!inside_) {
                k = c.next(w, k, count, WordClasses::Beyond);
                if (k == count)
                    return;
                inside_ = true;
                ++out_.count;
                current_ = {i0 + k, i0 + k, c.values[w[k]]};
                ++k;
                continue;
            }
            const int32_t j = c.next(w, k, count, WordClasses::Back);
            if (j > k) {
                const double e = c.extreme(w + k, j - k);
                current_.extreme = below_ ? std::min(current_.extreme, e) : std::max(current_.extreme, e);
            }
            if (j == count)
                return;
            current_.end = i0 + j;
            close();
            k = j + 1;
        }
    }
    // The section ends at sample `last`: an open event ends there.
    void finish(int32_t last)
    {
        if (inside_) {
            current_.end = last;
            close();
        }
    }

private:
    void close()
    {
        inside_ = false;
        if (list_)
            out_.list.push_back(current_);
    }
    double threshold_;
    bool below_, list_, inside_ = false;
    Events& out_;
    Event current_;
};

std::string DateAndClock(double ms, char dateSep)
{
    return DateText(ms, dateSep) + '\t' + FormatClock(ms);
}

}  // namespace

Events CountEvents(const Recording& rec, int slot, double f4, double f5, double threshold, bool below, bool listEvents)
{
    Events events;
    const StoredSection section = EventSamples(ChannelView(rec, slot), f4, f5);
    if (section.first >= section.last)
        return events;
    events.scanned = true;
    EventScan scan(threshold, below, listEvents, events);
    const std::vector<double> values = RawValueTable(rec, slot);
    if (values.empty()) {  // value by value
        const ChannelSeries series(rec, slot);
        ForEachStretch(rec, slot, section, [&](int32_t lo, int32_t hi) {
            for (int32_t i = std::max(lo, section.first), last = std::min(hi, section.last); i <= last; ++i)
                if (const PhysValue v = series.read(i); v.status == 0)
                    scan.at(i, v.value);
        });
    } else {
        const WordClasses classes(values, threshold, below);
        ForEachStretch(rec, slot, section, [&](int32_t lo, int32_t hi) {
            ForEachRun(rec, slot, std::max(lo, section.first), std::min(hi, section.last), Run,
                       [&](int32_t i0, const uint16_t* w, int32_t count) { scan.words(i0, w, count, classes); });
        });
    }
    scan.finish(section.last);
    return events;
}

std::string EventsText(const Events& events, const Recording& rec, int slot, bool below, char dateSep)
{
    const double interval = ChannelView(rec, slot).interval(), start = rec.time.GlobalStart;
    std::string text = std::string("Onset\t\tEnd\t\tDuration [sec]\t") + (below ? "MinValue" : "MaxValue") + "\n";
    for (const Event& e : events.list) {
        char duration[48];
        std::snprintf(duration, sizeof duration, "%.3f", (e.end - e.onset) * interval / 1000);
        text += DateAndClock(start + e.onset * interval, dateSep) + '\t' +
                DateAndClock(start + e.end * interval, dateSep) + '\t' + duration + '\t' + FormatReadout(e.extreme) +
                "\n";
    }
    return text;
}

void ReportEvents(Workbench& wb, VkDialogs& ui, int slot, double f4, double f5, double threshold, bool below,
                  const std::string* file)
{
    BusyCursor busy(ui);
    const Events events = CountEvents(wb.rec, slot, f4, f5, threshold, below, file != nullptr);
    if (file && events.scanned &&
        !ReplaceFileContents(*file, EventsText(events, wb.rec, slot, below, wb.settings.DateSep)))
        ui.message(*file + CannotWrite, Severity::Error);
    ui.message(" Nr of events between F4 and F5 : " + std::to_string(events.count));
}

}  // namespace vk
