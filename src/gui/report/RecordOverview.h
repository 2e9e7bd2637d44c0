#pragma once

// The whole depth record in one picture, every dive found drawn in its
// shape's colour over the grey of the rest, depth downwards, with a time
// axis of dates and a depth axis in metres.

#include <QImage>
#include <vector>

#include "core/store/Recording.h"

namespace vk {

struct DiveMark {
    double onset = 0, end = 0;  // ms from the record's start
    char shape = 'X';
};

constexpr int OverviewWidth = 1600, OverviewHeight = 320;

QImage RecordOverview(const Recording& rec, int slot, const std::vector<DiveMark>& dives);

}  // namespace vk
