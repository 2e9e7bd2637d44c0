#pragma once

// The stamp text and the file of a dive thumbnail.

#include <string>

#include "core/setup/ThumbnailSettings.h"

namespace vk {

// The selected parts, each followed by two blanks: dive number, the onset's
// date as day/month and time as hours:minutes; then the shape letter.
std::string ThumbnailStamp(const ThumbnailSettings& t, int number, double onsetMs, char shapeLetter);

// "<folder>/<number>.bmp".
std::string ThumbnailFile(const std::string& folder, int number);

}  // namespace vk
