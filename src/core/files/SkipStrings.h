#pragma once

#include <string>

namespace vk {

// Text-file lines that contain an enabled, non-empty skip string are ignored.
struct SkipStrings {
    bool Skip1Enbld = false;
    std::string Skip1Str;
    bool Skip2Enbld = false;
    std::string Skip2Str;

    bool operator==(const SkipStrings&) const = default;
};

}  // namespace vk
