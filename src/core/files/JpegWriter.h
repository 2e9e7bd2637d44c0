#pragma once

// JPEG files through the libjpeg API.

#include <cstddef>
#include <cstdint>
#include <string>

namespace vk {

// Writes `height` rows of `width` RGB pixels (3 bytes each, rows `stride`
// bytes apart) at the given quality. A failed write leaves no file behind.
bool WriteJpeg(const std::string& path, int width, int height, const uint8_t* rgb, std::size_t stride,
               int quality = 90);

}  // namespace vk
