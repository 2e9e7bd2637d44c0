#pragma once

#include <cstdint>

namespace vk {

// What the thumbnail of a written dive shows, and its size in pixels.
struct ThumbnailSettings {
    bool Thumbnail = true;
    bool TN_date = false;
    bool TN_time = false;
    bool TN_nr = true;
    bool TN_shape = true;
    int32_t ThumbnailWidth = 89;   // 0..200
    int32_t ThumbnailHeight = 49;  // 0..100

    bool operator==(const ThumbnailSettings&) const = default;
};

}  // namespace vk
