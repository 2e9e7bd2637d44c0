#include "core/process/FlatBaseline.h"

#include <algorithm>

#include "core/process/SmoothKernel.h"

namespace vk {

int32_t FlatJump(int32_t strength)
{
    const int32_t s = std::clamp(strength, 0, FlatStrengthMax);
    return s * s * s;
}

CommandResult FlatBaseline(ViewContext& cx, int slot, const FlatBaselineSettings& s, double threshold, double f5,
                           double f4)
{
    int32_t level = NoLevel;
    if (s.FlatBelowThreshold) {
        bool inside = true;  // a threshold beyond the raw range is clamped without a hint
        level = PhysToRawOf(cx.rec.desc(slot), threshold, inside);
    }
    const int mode = Smooth121 + std::clamp(s.FlatWaves, 0, 2);
    return SmoothKernel(cx, slot, mode, {}, level, FlatJump(s.FlatStrength), f5, f4);
}

}  // namespace vk
