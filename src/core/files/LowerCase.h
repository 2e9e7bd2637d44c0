#pragma once

// Names compared without regard to case: column headers, archive attributes.

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

namespace vk {

inline std::string LowerCase(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

}  // namespace vk
