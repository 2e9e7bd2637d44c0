#pragma once

// The least-squares line through a stretch of a channel.

#include <cstdint>

#include "core/store/ChannelSeries.h"

namespace vk {

// Least-squares line through (time s, value) pairs: gradient per second and correlation.
struct LineFit {
    double gradient = 0, correlation = 0;
};
LineFit FitLine(const ChannelSeries& series, int32_t from, int32_t to);

}  // namespace vk
