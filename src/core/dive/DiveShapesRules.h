#pragma once

// The shape dialog's track bars: each shape parameter has a bar and a field
// kept in step, a bar position standing for a value.

#include <array>
#include <optional>
#include <string>

#include "core/setup/DiveParameters.h"

namespace vk {

class VkDialogs;

enum ShapeBar : int { BarYFactor, BarYDivision, BarWHeight, BarParabola, BarLShape };
constexpr int ShapeBarCount = 5;

struct ShapeBarInfo {
    const char* group;
    const char* text;
    int lo, hi;
};
const ShapeBarInfo& ShapeBarOf(int bar);

double BarValue(int bar, int position);
// The position nearest to a value; a value beyond the bar's range puts it at its end.
int BarPosition(int bar, double value);
double& ShapeParameter(DiveParameters& p, int bar);

// OK: Y and W parameters from the bars, the parabola height and the L
// gradient from their fields, clamped. False (a message shown, nothing
// stored) when either field holds no number.
bool AcceptShapes(const std::array<int, ShapeBarCount>& positions, const std::array<std::string, ShapeBarCount>& fields,
                  DiveParameters& p, VkDialogs& ui);

}  // namespace vk
