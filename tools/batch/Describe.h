#pragma once

// varnik-batch --describe: a setup proposed for each data file, printed or
// written to a folder as <name>.cfg.

#include <string>
#include <vector>

namespace vk {

// The exit status: 0 when every file was described, 1 when one was not.
int DescribeFiles(const std::vector<std::string>& files, const std::string& templatePath, const std::string& outDir);

}  // namespace vk
