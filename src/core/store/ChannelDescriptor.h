#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/store/DateOrder.h"

namespace vk {

// What a strip shows besides the curve (the descriptor's DisplayFlags).
enum DisplayFlag : uint8_t {
    ShowBCursors = 1,   // the B-cursors and the wiggle marks
    ShowShCursors = 2,  // the Sh-cursors
};

// Where a channel's samples come from: the setup's ToCreate 0, 1 and 2.
// Only the channel sources (core/files/ChannelSource.h) tell them apart.
enum class ChannelFormat : uint8_t {
    Text = 0,     // a column of a logger text file
    Created = 1,  // made by the program while its binary file does not exist; read without its header after
    Binary = 2,   // a binary channel file, with its information header
    Archive = 3,  // a sensor of a tag archive (NetCDF): the variable archiveVariable, axis ColumnValue
};

// What a channel is, where it came from, how its raw words become physical
// values and where it lies in time. Field names are the setup-file keys.
struct ChannelDescriptor {
    std::string NameIn;                // data file; empty (or a name ending in a separator, as "c:\") names none
    std::string Caption;               // at most 255 characters survive the image
    int32_t SampRate = 1000;           // sampling interval in ms, rounded where it is not whole
    double exactInterval = 0.0;        // the interval where SampRate does not hold it (62.5 ms); 0: SampRate is exact
    int32_t DataCnt = 0;               // index of the last sample
    double StartTime = 31622400000.0;  // 1 January 1982 00:00:00
    double EndTime = 0.0;
    // Calendar fields of StartTime as entered: year, month, day, hour, minute, second, ms.
    std::array<int32_t, 7> StartFields{};
    int32_t SmpDelay = 0;      // start after the common start, in samples of this channel
    int32_t CorrSmpDelay = 0;  // index of the first stored sample (the origin)
    int32_t GrRepr = 1;        // drawing style of the graph window
    bool styleChosen = false;  // the user chose GrRepr in Chart Style: it wins over the depth rule at Start
    double Min = 0.0;          // displayed value range
    double Max = 65535.0;
    double UsrCoeffA = 1.0;  // applied to the raw value while a text file is read
    double UsrCoeffB = 0.0;
    double CoeffA = 1.0;  // physical units per raw step
    double CoeffB = 0.0;  // physical value of raw 0
    double CoeffC = 0.0;  // quadratic term, RawToPhys only
    double LowRng = 0.0;  // range used for scaling
    double HighRng = 65535.0;
    double SectionMin = 0.0;  // extremes over the work section, for channel plots
    double SectionMax = 0.0;
    double yOffset = 0.0;  // baseline shift subtracted from every value
    uint8_t WndSze = 1;
    uint8_t LenF8F9 = 4;
    uint8_t PosF8F9 = 5;
    ChannelFormat format = ChannelFormat::Text;  // stored as ToCreate
    uint8_t DisplayFlags = ShowBCursors;         // DisplayFlag bits
    double Reserved432 = 0.0;                    // carried in the image, no meaning here
    double Reserved440 = 65535.0;
    char KindEqu = 'M';
    int32_t ColumnValue = 0;
    int32_t HeaderText = 0;
    bool IgnoreEmpLine = false;
    bool AutoScaling = true;  // the range is taken from the file's values
    bool UseFileInfo = true;  // a binary file's information header is read
    char InDelimiter = '\t';
    bool Derivation = false;  // read as the difference of consecutive samples
    double GridDist = 0.0;
    int32_t RunMean = 0;
    // Rational calibration polynomial (A + C x + E x^2 ...) / (1 + B x + D x^2 ...).
    double Poly_A = 0.0, Poly_B = 0.0, Poly_C = 1.0, Poly_D = 0.0, Poly_E = 0.0, Poly_F = 0.0;
    double Poly_G = 0.0, Poly_H = 0.0, Poly_I = 0.0, Poly_J = 0.0, Poly_K = 0.0;
    bool bSet = false;  // the polynomial differs from the identity
    bool bApplyPolynom = false;
    // Lines that carry their times: the column of a date and time, of a time
    // of day (the date in DateColumn) or of seconds since StartTime. 0: the
    // time follows from the line's place, StartTime and SampRate.
    int32_t TimeColumn = 0;
    int32_t DateColumn = 0;
    DateOrder dateOrder = DateOrder::Unknown;  // of slashed dates; Unknown: told by the lines
    std::string archiveVariable;               // the sensor of a tag archive ("P", "A")

    bool operator==(const ChannelDescriptor&) const = default;
};

// The defaults of a slot, with its default caption.
ChannelDescriptor DefaultDescriptor(int slot);

constexpr std::size_t DescriptorImageSize = 584;
constexpr std::size_t CaptionMaxLength = 255;
using DescriptorImage = std::array<uint8_t, DescriptorImageSize>;

// The fixed 584-byte little-endian image. NameIn is not in it: its four bytes
// are a placeholder, and decoding keeps the descriptor's current NameIn.
DescriptorImage EncodeDescriptor(const ChannelDescriptor& d);
void DecodeDescriptor(const DescriptorImage& image, ChannelDescriptor& d);

// Appends the image to the file (created when missing). False on an I/O error.
bool AppendDescriptor(const std::string& path, const ChannelDescriptor& d);

// Reads the file's last image into d and cuts it off; deletes the file when that
// was its only image. A file shorter than one image is left alone (false).
bool PopDescriptor(const std::string& path, ChannelDescriptor& d);

}  // namespace vk
