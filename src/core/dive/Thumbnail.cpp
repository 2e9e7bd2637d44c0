#include "core/dive/Thumbnail.h"

#include <cstdio>

#include "core/store/TimeBase.h"

namespace vk {

std::string ThumbnailStamp(const ThumbnailSettings& t, int number, double onsetMs, char shapeLetter)
{
    const CalendarTime c = DecodeTime(onsetMs);
    std::string stamp;
    char part[32];
    if (t.TN_nr)
        stamp += std::to_string(number) + "  ";
    if (t.TN_date) {
        std::snprintf(part, sizeof part, "%d/%d  ", c.day, c.month);
        stamp += part;
    }
    if (t.TN_time) {
        std::snprintf(part, sizeof part, "%02d:%02d  ", c.hour, c.minute);
        stamp += part;
    }
    if (t.TN_shape)
        stamp += shapeLetter;
    return stamp;
}

std::string ThumbnailFile(const std::string& folder, int number)
{
    std::string path = folder;
    if (!path.empty() && path.back() != '/')
        path += '/';
    return path + std::to_string(number) + ".bmp";
}

}  // namespace vk
