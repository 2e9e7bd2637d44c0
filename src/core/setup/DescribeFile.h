#pragma once

// A setup proposed for a logger text file: its layout read from its first
// lines, its start and interval from its times, the rest from a template
// setup or the defaults.

#include <string>

namespace vk {

struct DescribedSetup {
    std::string text;  // the setup file's text; empty when `error` says why not
    std::string error;
};

// `templatePath` empty: the program's defaults.
DescribedSetup DescribeFile(const std::string& dataPath, const std::string& templatePath);

}  // namespace vk
