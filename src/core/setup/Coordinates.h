#pragma once

// Geographic positions as decimal degrees and as degrees, minutes, seconds.

namespace vk {

struct DegreesMinutesSeconds {
    int degrees = 0, minutes = 0, seconds = 0;  // all with the sign of the position
};

DegreesMinutesSeconds ToDms(double degrees);
double FromDms(const DegreesMinutesSeconds& dms);

}  // namespace vk
