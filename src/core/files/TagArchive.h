#pragma once

// Tag archives: NetCDF files (classic or NetCDF-4) as the animal-tag tool
// suites write them. Each sensor is a variable (P depth, T temperature, A
// acceleration with an axes dimension, ...) with its sampling_rate, unit,
// full_name or description and start_offset; the deployment's start is the
// global dephist_device_datetime_start (or dephist_deploy_datetime_start),
// on the clock of dephist_device_tzone.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vk {

// One channel an archive offers: a variable, or one axis of a many-axis variable.
struct ArchiveChannel {
    std::string variable;
    int axis = 0;  // counted from 0
    int axes = 1;
    int64_t samples = 0;
    double rateHz = 0.0;
    std::string unit, fullName, description;
    double startOffsetSeconds = 0.0;

    double intervalMs() const { return 1000.0 / rateHz; }
    // "P: Depth [m], 25 Hz, 2160000 samples"; "A axis 2 of 3: ...".
    std::string label() const;
    // A caption for the channel: its full name (axis) and unit, "Depth [m]".
    std::string caption() const;
};

struct ArchiveContents {
    std::vector<ArchiveChannel> channels;  // the regularly sampled numeric variables, in file order
    std::optional<double> start;           // ms of the program's calendar, on the device's clock
    std::string zone;                      // dephist_device_tzone as written, "" when not given
    std::string error;                     // why the file could not be read; "" when it could
};

// Whether the file begins as a NetCDF file does (classic, 64-bit offsets, CDF-5 or HDF5).
bool LooksLikeNetCdf(const std::string& path);

ArchiveContents ReadArchive(const std::string& path);

// The channel that a variable name and an axis (counted from 1; 0 reads as 1) name.
const ArchiveChannel* FindChannel(const ArchiveContents& archive, const std::string& variable, int axis);

// Reads `count` samples of a channel from sample `from` on, in physical
// units (scale_factor and add_offset applied); NaN for a fill or missing
// value. Calls `take` with each chunk; false with `error` set when the file
// cannot be read.
class ArchiveReader {
public:
    ArchiveReader(const std::string& path, const ArchiveChannel& channel);
    ~ArchiveReader();
    ArchiveReader(const ArchiveReader&) = delete;
    ArchiveReader& operator=(const ArchiveReader&) = delete;

    const std::string& error() const { return error_; }
    // The next samples into `out` (at most `count`); false at a read error.
    bool read(int64_t from, int64_t count, std::vector<double>& out);

private:
    int file_ = -1, variable_ = -1;
    int sampleDimension_ = 0;  // 0 or 1: where the samples run in a two-dimensional variable
    int dimensions_ = 1;
    int axis_ = 0;
    double scale_ = 1.0, offset_ = 0.0;
    std::optional<double> fill_, missing_;
    std::string error_;
};

}  // namespace vk
