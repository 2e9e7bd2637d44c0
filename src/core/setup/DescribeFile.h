#pragma once

// A setup proposed for a data file: a logger text file's layout read from
// its first lines, its start and interval from its times; a tag archive's
// sensors by their names; the rest from a template setup or the defaults.

#include <string>

#include "core/files/SkipStrings.h"
#include "core/store/Recording.h"

namespace vk {

// How every slot reads the data file, proposed into rec's descriptors: the
// file, its format, separator, header lines, column or sensor, time columns,
// start and interval. A slot the file has nothing for gets no file. "" when a
// proposal was made, else why not.
std::string ProposeReading(const std::string& dataPath, Recording& rec, const SkipStrings& skips);

struct DescribedSetup {
    std::string text;  // the setup file's text; empty when `error` says why not
    std::string error;
};

// `templatePath` empty: the program's defaults.
DescribedSetup DescribeFile(const std::string& dataPath, const std::string& templatePath);

}  // namespace vk
