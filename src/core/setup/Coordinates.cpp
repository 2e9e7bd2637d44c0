#include "core/setup/Coordinates.h"

#include <cmath>

namespace vk {

DegreesMinutesSeconds ToDms(double x)
{
    DegreesMinutesSeconds d;
    d.degrees = static_cast<int>(std::trunc(x));
    const double minutes = (x - d.degrees) * 60.0;
    d.minutes = static_cast<int>(std::trunc(minutes));
    // Rounded first so that 30.5' is 30' 30", not 30' 29" from the float error.
    d.seconds = static_cast<int>(std::trunc(std::round((minutes - d.minutes) * 60.0 * 1e6) / 1e6));
    return d;
}

double FromDms(const DegreesMinutesSeconds& dms)
{
    return dms.degrees + dms.minutes / 60.0 + dms.seconds / 3600.0;
}

}  // namespace vk
