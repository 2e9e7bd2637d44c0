#pragma once

// Events of the work section: stretches where the value lies above (or
// below) a threshold, counted and listed one line each.

#include <string>
#include <vector>

#include "core/store/Recording.h"

namespace vk {

struct Workbench;
class VkDialogs;

struct Event {
    int32_t onset = 0, end = 0;  // the first sample beyond the threshold, the sample ending it (or the last)
    double extreme = 0;          // the greatest (or least) value of the event
};

struct Events {
    int64_t count = 0;
    std::vector<Event> list;  // when asked for
    bool scanned = false;     // the section held two samples or more: the file is written
};

// Scans the samples at F4 .. F5 (whole parts of time / interval, cut to the
// channel's samples). An event starts at a value beyond the threshold and
// ends at one back beyond it the other way; a value equal to the threshold
// neither starts nor ends one; an event open at the end counts.
Events CountEvents(const Recording& rec, int slot, double f4, double f5, double threshold, bool below, bool listEvents);

// The file's header and a line an event: onset and end as date and clock,
// duration [sec], extreme.
std::string EventsText(const Events& events, const Recording& rec, int slot, bool below, char dateSep);

// The command after the dialog: counts, stores the events when asked (a file
// that cannot be written is said, naming it) and shows the count.
void ReportEvents(Workbench& wb, VkDialogs& ui, int slot, double f4, double f5, double threshold, bool below,
                  const std::string* file);

}  // namespace vk
