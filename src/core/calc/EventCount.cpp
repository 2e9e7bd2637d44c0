#include "core/calc/EventCount.h"

#include <cmath>
#include <cstdio>

#include "core/calc/SectionScan.h"
#include "core/calc/WorkSection.h"
#include "core/setup/Workbench.h"
#include "core/store/ChannelSeries.h"
#include "core/store/FileUtil.h"
#include "core/store/TimeBase.h"
#include "core/store/VkDialogs.h"
#include "core/view/Readouts.h"

namespace vk {

namespace {

constexpr const char* CannotWrite = " Invalid name or number. Output canceled.";
constexpr int32_t Run = 4096;

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
    const StoredSection section = EventSamples(rec.desc(slot), f4, f5);
    if (section.first >= section.last)
        return events;
    EventScan scan(threshold, below, listEvents, events);
    const std::vector<double> values = RawValueTable(rec, slot);
    const ChannelSeries series(rec, slot);
    ForEachStretch(rec, slot, section, [&](int32_t lo, int32_t hi) {
        lo = std::max(lo, section.first);
        hi = std::min(hi, section.last);
        if (values.empty()) {
            for (int32_t i = lo; i <= hi; ++i)
                if (const PhysValue v = series.read(i); v.status == 0)
                    scan.at(i, v.value);
            return;
        }
        ForEachRun(rec, slot, lo, hi, Run, [&](int32_t i0, const uint16_t* w, int32_t count) {
            for (int32_t k = 0; k < count; ++k)
                scan.at(i0 + k, values[w[k]]);
        });
    });
    scan.finish(section.last);
    return events;
}

std::string EventsText(const Events& events, const Recording& rec, int slot, bool below, char dateSep)
{
    const double interval = rec.desc(slot).SampRate, start = rec.time.GlobalStart;
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
    const bool scanned = EventSamples(wb.rec.desc(slot), f4, f5).count() > 1;
    if (file && scanned && !ReplaceFileContents(*file, EventsText(events, wb.rec, slot, below, wb.settings.DateSep)))
        ui.message(*file + CannotWrite, Severity::Error);
    ui.message(" Nr of events between F4 and F5 : " + std::to_string(events.count));
}

}  // namespace vk
