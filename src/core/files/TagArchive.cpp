#include "core/files/TagArchive.h"

#include "core/files/LowerCase.h"

#include <netcdf.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "core/files/TimeStamp.h"
#include "core/store/FileUtil.h"
#include "core/store/NumberText.h"

namespace vk {

namespace {

constexpr int MaxDimensions = 2;  // samples, and axes where a sensor has several

bool Numeric(nc_type type)
{
    switch (type) {
    case NC_BYTE:
    case NC_UBYTE:
    case NC_SHORT:
    case NC_USHORT:
    case NC_INT:
    case NC_UINT:
    case NC_INT64:
    case NC_UINT64:
    case NC_FLOAT:
    case NC_DOUBLE: return true;
    default: return false;
    }
}

std::string Trimmed(const std::string& s)
{
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

// An attribute as text (a number as the program writes numbers); nullopt when missing.
std::optional<std::string> TextAttribute(int file, int variable, const char* name)
{
    nc_type type = NC_NAT;
    size_t length = 0;
    if (nc_inq_att(file, variable, name, &type, &length) != NC_NOERR)
        return std::nullopt;
    if (type == NC_CHAR) {
        std::string text(length, '\0');
        if (length > 0 && nc_get_att_text(file, variable, name, text.data()) != NC_NOERR)
            return std::nullopt;
        text.resize(std::strlen(text.c_str()));  // a C writer may count the closing zero
        return Trimmed(text);
    }
    if (type == NC_STRING) {
        std::vector<char*> parts(length, nullptr);
        if (length == 0 || nc_get_att_string(file, variable, name, parts.data()) != NC_NOERR)
            return std::nullopt;
        std::string text = parts[0] ? parts[0] : "";
        nc_free_string(length, parts.data());
        return Trimmed(text);
    }
    if (Numeric(type) && length >= 1) {
        std::vector<double> values(length);
        if (nc_get_att_double(file, variable, name, values.data()) != NC_NOERR)
            return std::nullopt;
        return GeneralText(values[0]);
    }
    return std::nullopt;
}

// A numeric attribute, or a text attribute that holds one number.
std::optional<double> NumberAttribute(int file, int variable, const char* name)
{
    nc_type type = NC_NAT;
    size_t length = 0;
    if (nc_inq_att(file, variable, name, &type, &length) != NC_NOERR || length == 0)
        return std::nullopt;
    if (Numeric(type)) {
        std::vector<double> values(length);
        if (nc_get_att_double(file, variable, name, values.data()) != NC_NOERR)
            return std::nullopt;
        return values[0];
    }
    const auto text = TextAttribute(file, variable, name);
    double v = 0.0;
    if (text && ParseDecimal(*text, v))
        return v;
    return std::nullopt;
}

// The order of the date in a start stamp, from the archive's own word on it
// ("dd-mm-yyyy HH:MM:SS") or from the date itself; day first as the tag tools write it.
DateOrder OrderOfStart(int file, const WrittenDate& date)
{
    if (date.order != DateOrder::Unknown)
        return date.order;
    const std::string format = LowerCase(TextAttribute(file, NC_GLOBAL, "dephist_device_regset").value_or(""));
    if (format.rfind("mm", 0) == 0)
        return DateOrder::MonthFirst;
    if (format.rfind("yy", 0) == 0)
        return DateOrder::YearFirst;
    return DateOrder::DayFirst;
}

std::optional<double> StartOf(int file, std::string& problem)
{
    for (const char* name : {"dephist_device_datetime_start", "dephist_deploy_datetime_start"}) {
        const auto text = TextAttribute(file, NC_GLOBAL, name);
        if (!text || text->empty())
            continue;
        const auto stamp = ReadStamp(*text);
        std::optional<double> ms;
        if (stamp && stamp->date)
            ms = TimeOfStamp(*stamp, OrderOfStart(file, *stamp->date));
        if (!ms)
            problem = std::string("its start (") + name + " \"" + *text + "\") is not a date and time it can read";
        return ms;
    }
    return std::nullopt;
}

// Where the samples run in a variable of these dimension lengths: the longer
// dimension (the first of equal ones).
int SampleDimension(const std::array<size_t, MaxDimensions>& lengths, int dimensions)
{
    return dimensions == 2 && lengths[1] > lengths[0] ? 1 : 0;
}

// The bytes the variables of a classic-format file need (each padded to four
// bytes): a file shorter than that was cut short, and the library would read
// its lost end as fill values without a word.
uint64_t ClassicDataBytes(int file)
{
    int variables = 0, unlimited = -1;
    nc_inq_nvars(file, &variables);
    nc_inq_unlimdim(file, &unlimited);
    uint64_t total = 0;
    for (int v = 0; v < variables; ++v) {
        nc_type type = NC_NAT;
        int dimensions = 0;
        std::array<int, NC_MAX_VAR_DIMS> ids{};
        size_t size = 0;
        if (nc_inq_var(file, v, nullptr, &type, &dimensions, ids.data(), nullptr) != NC_NOERR ||
            nc_inq_type(file, type, nullptr, &size) != NC_NOERR)
            continue;
        uint64_t bytes = size;
        for (int k = 0; k < dimensions; ++k) {
            size_t length = 0;
            nc_inq_dimlen(file, ids[static_cast<size_t>(k)], &length);
            bytes *= length;
        }
        total += (bytes + 3) / 4 * 4;
    }
    return total;
}

bool ClassicFormat(int file)
{
    int format = 0;
    return nc_inq_format(file, &format) == NC_NOERR &&
           (format == NC_FORMAT_CLASSIC || format == NC_FORMAT_64BIT_OFFSET || format == NC_FORMAT_CDF5);
}

struct OpenFile {
    int id = -1;
    int status = NC_NOERR;
    explicit OpenFile(const std::string& path) { status = nc_open(path.c_str(), NC_NOWRITE, &id); }
    ~OpenFile()
    {
        if (status == NC_NOERR)
            nc_close(id);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
};

}  // namespace

std::string ArchiveChannel::label() const
{
    std::string text = variable;
    if (axes > 1)
        text += " axis " + std::to_string(axis + 1) + " of " + std::to_string(axes);
    const std::string what = !fullName.empty() ? fullName : description;
    text += ":";
    if (!what.empty())
        text += " " + what;
    if (!unit.empty())
        text += " [" + unit + "]";
    return text + ", " + GeneralText(rateHz) + " Hz, " + std::to_string(samples) + " samples";
}

std::string ArchiveChannel::caption() const
{
    std::string text = !fullName.empty() ? fullName : !description.empty() ? description : variable;
    if (axes > 1)
        text += " " + std::to_string(axis + 1);
    if (!unit.empty())
        text += " [" + unit + "]";
    return text;
}

bool LooksLikeNetCdf(const std::string& path)
{
    File file(path, File::Mode::Read);
    std::array<char, 8> head{};
    if (!file.isOpen() || !file.readAt(0, head.data(), head.size()))
        return false;
    static constexpr std::array<char, 8> Hdf5{'\x89', 'H', 'D', 'F', '\r', '\n', '\x1a', '\n'};
    return (head[0] == 'C' && head[1] == 'D' && head[2] == 'F' && (head[3] == 1 || head[3] == 2 || head[3] == 5)) ||
           head == Hdf5;
}

ArchiveContents ReadArchive(const std::string& path)
{
    ArchiveContents out;
    const OpenFile file(path);
    if (file.status != NC_NOERR) {
        out.error = std::string("it cannot be read as a NetCDF file (") + nc_strerror(file.status) + ")";
        return out;
    }
    std::error_code failed;
    const uint64_t size = std::filesystem::file_size(path, failed);
    if (ClassicFormat(file.id) && !failed && size < ClassicDataBytes(file.id)) {
        out.error = "it is shorter than its variables need (" + std::to_string(size) + " of at least " +
                    std::to_string(ClassicDataBytes(file.id)) + " bytes): the file was cut short";
        return out;
    }
    int variables = 0;
    nc_inq_nvars(file.id, &variables);
    for (int v = 0; v < variables; ++v) {
        std::array<char, NC_MAX_NAME + 1> name{};
        nc_type type = NC_NAT;
        int dimensions = 0;
        std::array<int, NC_MAX_VAR_DIMS> ids{};
        if (nc_inq_var(file.id, v, name.data(), &type, &dimensions, ids.data(), nullptr) != NC_NOERR ||
            !Numeric(type) || dimensions < 1 || dimensions > MaxDimensions)
            continue;
        const auto rate = NumberAttribute(file.id, v, "sampling_rate");
        const std::string sampling = LowerCase(TextAttribute(file.id, v, "sampling").value_or("regular"));
        if (!rate || !(*rate > 0) || !std::isfinite(*rate) || sampling != "regular")
            continue;  // metadata, or a sensor without a steady rate
        std::array<size_t, MaxDimensions> lengths{};
        for (int k = 0; k < dimensions; ++k)
            nc_inq_dimlen(file.id, ids[static_cast<size_t>(k)], &lengths[static_cast<size_t>(k)]);
        const int along = SampleDimension(lengths, dimensions);
        ArchiveChannel c;
        c.variable = name.data();
        c.samples = static_cast<int64_t>(lengths[static_cast<size_t>(along)]);
        c.axes = dimensions == 2 ? static_cast<int>(lengths[static_cast<size_t>(1 - along)]) : 1;
        c.rateHz = *rate;
        c.unit = TextAttribute(file.id, v, "unit").value_or(TextAttribute(file.id, v, "units").value_or(""));
        c.fullName = TextAttribute(file.id, v, "full_name").value_or("");
        c.description = TextAttribute(file.id, v, "description").value_or("");
        c.startOffsetSeconds = NumberAttribute(file.id, v, "start_offset").value_or(0.0);
        if (c.samples == 0 || c.axes < 1)
            continue;
        for (int a = 0; a < c.axes; ++a) {
            c.axis = a;
            out.channels.push_back(c);
        }
    }
    std::string problem;
    out.start = StartOf(file.id, problem);
    if (!problem.empty())
        out.error = problem;
    out.zone = TextAttribute(file.id, NC_GLOBAL, "dephist_device_tzone").value_or("");
    if (out.error.empty() && out.channels.empty())
        out.error = "it holds no sensor variable with a sampling_rate";
    return out;
}

const ArchiveChannel* FindChannel(const ArchiveContents& archive, const std::string& variable, int axis)
{
    const int wanted = std::max(axis, 1) - 1;
    for (const ArchiveChannel& c : archive.channels)
        if (c.variable == variable && c.axis == wanted)
            return &c;
    return nullptr;
}

ArchiveReader::ArchiveReader(const std::string& path, const ArchiveChannel& channel) : axis_(channel.axis)
{
    int status = nc_open(path.c_str(), NC_NOWRITE, &file_);
    if (status == NC_NOERR)
        status = nc_inq_varid(file_, channel.variable.c_str(), &variable_);
    std::array<int, NC_MAX_VAR_DIMS> ids{};
    nc_type type = NC_NAT;
    if (status == NC_NOERR)
        status = nc_inq_var(file_, variable_, nullptr, &type, &dimensions_, ids.data(), nullptr);
    if (status != NC_NOERR) {
        error_ = std::string("it cannot be read as a NetCDF file (") + nc_strerror(status) + ")";
        return;
    }
    if (dimensions_ < 1 || dimensions_ > MaxDimensions) {
        error_ = "its variable " + channel.variable + " is not a sensor's series";
        return;
    }
    std::array<size_t, MaxDimensions> lengths{};
    for (int k = 0; k < dimensions_; ++k)
        nc_inq_dimlen(file_, ids[static_cast<size_t>(k)], &lengths[static_cast<size_t>(k)]);
    sampleDimension_ = SampleDimension(lengths, dimensions_);
    scale_ = NumberAttribute(file_, variable_, "scale_factor").value_or(1.0);
    offset_ = NumberAttribute(file_, variable_, "add_offset").value_or(0.0);
    fill_ = NumberAttribute(file_, variable_, "_FillValue");
    // Samples never written read as the library's fill value where the file names none.
    if (!fill_ && type == NC_FLOAT)
        fill_ = static_cast<double>(NC_FILL_FLOAT);
    if (!fill_ && type == NC_DOUBLE)
        fill_ = NC_FILL_DOUBLE;
    missing_ = NumberAttribute(file_, variable_, "missing_value");
}

ArchiveReader::~ArchiveReader()
{
    if (file_ >= 0)
        nc_close(file_);
}

bool ArchiveReader::read(int64_t from, int64_t count, std::vector<double>& out)
{
    if (!error_.empty())
        return false;
    out.resize(static_cast<size_t>(std::max<int64_t>(count, 0)));
    if (out.empty())
        return true;
    std::array<size_t, MaxDimensions> start{}, counts{1, 1};
    start[static_cast<size_t>(sampleDimension_)] = static_cast<size_t>(from);
    counts[static_cast<size_t>(sampleDimension_)] = out.size();
    if (dimensions_ == 2)
        start[static_cast<size_t>(1 - sampleDimension_)] = static_cast<size_t>(axis_);
    const int status = nc_get_vara_double(file_, variable_, start.data(), counts.data(), out.data());
    if (status != NC_NOERR) {
        error_ = std::string("its samples cannot be read (") + nc_strerror(status) + ")";
        return false;
    }
    for (double& v : out) {
        if ((fill_ && v == *fill_) || (missing_ && v == *missing_) || !std::isfinite(v))
            v = NAN;
        else
            v = v * scale_ + offset_;
    }
    return true;
}

}  // namespace vk
