#include "core/view/ViewState.h"

#include <algorithm>

namespace vk {

ViewState InitialView(double T)
{
    ViewState v;
    v.T = T;
    LinePositions& p = v.at;
    p.F1 = 0;
    p.F2 = std::min(T / 120.0, T);
    const double s = p.F2 - p.F1;
    p.F4 = p.F1 + s / 8;
    p.F5 = p.F2 - s / 8;
    p.B1 = p.F1 + 3 * s / 8;
    p.B2 = p.F2 - 3 * s / 8;
    p.Sh1 = p.F1 + 4 * s / 8;
    p.Sh2 = p.F2 - 4 * s / 8;
    v.borderStep = std::max(1.0, s / 4);
    v.cursorStep = std::max(1.0, s / 16);
    v.saved = p;
    return v;
}

}  // namespace vk
