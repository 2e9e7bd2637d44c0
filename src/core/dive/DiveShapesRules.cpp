#include "core/dive/DiveShapesRules.h"

#include <algorithm>
#include <cmath>

#include "core/store/NumberInput.h"
#include "core/store/NumberText.h"
#include "core/store/VkDialogs.h"

namespace vk {

namespace {

constexpr double LStep = 0.0004975, LLeast = 0.001;

constexpr std::array<ShapeBarInfo, ShapeBarCount> Bars{{
    {"Y-Shape", "Identify peak dive by max. required integral size.", 10, 20},
    {"Y-Shape", "Identify peak dive by min. required max depth.", 25, 75},
    {"W-Shape", "Identify W-dives by min. required local extremum.  ", 0, 8},
    {"Parabolic-Shape", "Identify parabolic shape", 0, 40},
    {"L-Shape", "Identify L-shape dive by min. required gradient", 0, 20},
}};

}  // namespace

const ShapeBarInfo& ShapeBarOf(int bar)
{
    return Bars.at(static_cast<std::size_t>(bar));
}

double BarValue(int bar, int position)
{
    switch (bar) {
    case BarYFactor: return position / 10.0;
    case BarYDivision: return position / 100.0;
    case BarWHeight: return position / 10.0;
    case BarParabola: return position / 40.0;
    default: return position * position * LStep + LLeast;
    }
}

int BarPosition(int bar, double value)
{
    const ShapeBarInfo& b = ShapeBarOf(bar);
    double x = 0;
    switch (bar) {
    case BarYFactor: x = value * 10; break;
    case BarYDivision: x = value * 100; break;
    case BarWHeight: x = value * 10; break;
    case BarParabola: x = value * 40; break;
    default: x = value > LLeast ? std::sqrt((value - LLeast) / LStep) : 0; break;
    }
    if (!(x > b.lo))  // NaN too
        return b.lo;
    return x >= b.hi ? b.hi : static_cast<int>(std::lround(x));
}

double& ShapeParameter(DiveParameters& p, int bar)
{
    switch (bar) {
    case BarYFactor: return p.YFormFactor;
    case BarYDivision: return p.YFormDivision;
    case BarWHeight: return p.WShapeHeight;
    case BarParabola: return p.ParabolaHeight;
    default: return p.LShapeParm;
    }
}

bool AcceptShapes(const std::array<int, ShapeBarCount>& positions, const std::array<std::string, ShapeBarCount>& fields,
                  DiveParameters& p, VkDialogs& ui)
{
    double parabola = 0, l = 0;
    for (const auto& [bar, value] : {std::pair{BarParabola, &parabola}, std::pair{BarLShape, &l}})
        if (!ParseDecimal(fields[static_cast<std::size_t>(bar)], *value)) {
            ui.message(NotANumberText(fields[static_cast<std::size_t>(bar)]), Severity::Error);
            return false;
        }
    for (const int bar : {BarYFactor, BarYDivision, BarWHeight})
        ShapeParameter(p, bar) = BarValue(bar, positions[static_cast<std::size_t>(bar)]);
    p.ParabolaHeight = std::clamp(parabola, 0.0, 1.0);
    p.LShapeParm = std::clamp(l, 0.001, 0.2);
    return true;
}

}  // namespace vk
