#pragma once

// Tag archives written with the NetCDF library, laid out as the animal-tag
// tool suites lay them out: for the tests and as an example beside the text
// example.

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vk::example {

struct ArchiveSensor {
    std::string name;           // "P", "T", "A"
    std::vector<float> values;  // sample after sample; for several axes the axes of a sample together
    int axes = 1;
    double rateHz = 1.0;
    std::string unit, fullName, description;
    double startOffset = 0.0;   // seconds after the deployment's start
    std::optional<float> fill;  // _FillValue, where samples are missing
};

struct ArchiveLayout {
    std::vector<ArchiveSensor> sensors;
    std::vector<std::pair<std::string, std::string>> globals;  // text attributes of the file
    bool netcdf4 = false;                                      // else the classic format
};

// Writes the archive; throws std::runtime_error naming the file when it cannot.
void WriteTagArchive(const std::string& path, const ArchiveLayout& layout);

struct ExampleArchive {
    std::string data, setup;
};
// The simulated seal as a tag archive at `rateHz`, `days` long (depth,
// temperature and three axes of acceleration; depth alone with
// `depthOnly`), with a setup reading depth and temperature: seal-tag.nc and
// seal-tag.cfg in `folder`.
ExampleArchive WriteExampleArchive(const std::string& folder, double rateHz = 1.0, int days = 1,
                                   bool depthOnly = false);

}  // namespace vk::example
