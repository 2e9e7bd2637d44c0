#include "ExampleArchive.h"

#include <netcdf.h>

#include <cmath>
#include <filesystem>
#include <stdexcept>

#include "core/example/ExampleRecording.h"
#include "core/setup/SetupFile.h"
#include "core/store/TimeBase.h"

namespace vk::example {

namespace {

void Check(int status, const std::string& path)
{
    if (status != NC_NOERR)
        throw std::runtime_error("cannot write " + path + ": " + nc_strerror(status));
}

void PutText(int file, int variable, const std::string& name, const std::string& text, const std::string& path)
{
    if (!text.empty())
        Check(nc_put_att_text(file, variable, name.c_str(), text.size(), text.c_str()), path);
}

}  // namespace

void WriteTagArchive(const std::string& path, const ArchiveLayout& layout)
{
    int file = -1;
    Check(nc_create(path.c_str(), NC_CLOBBER | (layout.netcdf4 ? NC_NETCDF4 : 0), &file), path);
    struct Closer {
        int id;
        ~Closer() { nc_close(id); }
    } closer{file};
    for (const auto& [name, text] : layout.globals)
        PutText(file, NC_GLOBAL, name, text, path);
    std::vector<int> ids;
    for (const ArchiveSensor& s : layout.sensors) {
        const size_t samples = s.values.size() / static_cast<size_t>(s.axes);
        int dims[2];
        Check(nc_def_dim(file, (s.name + "_samples").c_str(), samples, &dims[0]), path);
        if (s.axes > 1)
            Check(nc_def_dim(file, (s.name + "_axis").c_str(), static_cast<size_t>(s.axes), &dims[1]), path);
        int id = -1;
        Check(nc_def_var(file, s.name.c_str(), NC_FLOAT, s.axes > 1 ? 2 : 1, dims, &id), path);
        if (s.fill)
            Check(nc_put_att_float(file, id, "_FillValue", NC_FLOAT, 1, &*s.fill), path);
        Check(nc_put_att_double(file, id, "sampling_rate", NC_DOUBLE, 1, &s.rateHz), path);
        PutText(file, id, "sampling", "regular", path);
        PutText(file, id, "sampling_rate_unit", "Hz", path);
        PutText(file, id, "unit", s.unit, path);
        PutText(file, id, "full_name", s.fullName, path);
        PutText(file, id, "description", s.description, path);
        Check(nc_put_att_double(file, id, "start_offset", NC_DOUBLE, 1, &s.startOffset), path);
        PutText(file, id, "start_offset_units", "second", path);
        ids.push_back(id);
    }
    // The deployment's own record, as the tag tools keep one: text, no samples.
    int info = -1;
    Check(nc_def_var(file, "info", NC_INT, 0, nullptr, &info), path);
    PutText(file, info, "description", "deployment information", path);
    Check(nc_enddef(file), path);
    for (size_t k = 0; k < ids.size(); ++k)
        Check(nc_put_var_float(file, ids[k], layout.sensors[k].values.data()), path);
    const int none = 0;
    Check(nc_put_var_int(file, info, &none), path);
}

ExampleArchive WriteExampleArchive(const std::string& where, double rateHz, int days, bool depthOnly)
{
    std::filesystem::create_directories(where);
    const std::string folder = std::filesystem::absolute(where).lexically_normal().string();
    ExampleArchive files{folder + "/seal-tag.nc", folder + "/seal-tag.cfg"};
    ArchiveLayout layout;
    layout.netcdf4 = true;
    layout.globals = {{"depid", "sim26_007a"},
                      {"dephist_device_datetime_start", "07-01-2026 06:00:00"},
                      {"dephist_device_regset", "dd-mm-yyyy HH:MM:SS"},
                      {"dephist_device_tzone", "0"},
                      {"creator", "Varnik example generator"}};
    ArchiveSensor depth{"P", {}, 1, rateHz, "m", "Depth", "sensor depth below the surface", 0.0, std::nullopt};
    ArchiveSensor temperature{"T", {},          1, rateHz, "degrees Celsius", "Temperature", "water temperature",
                              0.0, std::nullopt};
    ArchiveSensor acceleration{"A", {},          3, rateHz, "g", "Acceleration", "triaxial acceleration (x, y, z)",
                               0.0, std::nullopt};
    Simulator sim;
    const auto perSecond = static_cast<int64_t>(std::max(1.0, std::round(rateHz)));
    double previous = Simulator::SurfaceOffset;
    for (int64_t second = 0; second < int64_t{days} * 86400; ++second) {
        const Sample s = sim.next();
        for (int64_t k = 0; k < perSecond; ++k) {
            const double f = static_cast<double>(k + 1) / static_cast<double>(perSecond);
            const double d = previous + (s.depth - previous) * f;  // the second's depth reached by its end
            const double t = static_cast<double>(second * perSecond + k) / rateHz;
            depth.values.push_back(static_cast<float>(d));
            if (depthOnly)
                continue;
            temperature.values.push_back(static_cast<float>(s.temperature));
            acceleration.values.push_back(static_cast<float>(0.2 * std::sin(t / 1.7)));
            acceleration.values.push_back(static_cast<float>(0.1 * std::cos(t / 2.3)));
            acceleration.values.push_back(static_cast<float>(-1.0 + 0.05 * std::sin(t / 0.9)));
        }
        previous = s.depth;
    }
    layout.sensors = {depth};
    if (!depthOnly)
        layout.sensors.insert(layout.sensors.end(), {temperature, acceleration});
    WriteTagArchive(files.data, layout);

    Recording rec;
    Settings settings;
    static const char* const variables[] = {"P", "T"};
    static const char* const captions[] = {"Depth [m]", "Temperature [C]"};
    for (int slot = 0; slot < SlotCount; ++slot) {
        ChannelDescriptor& d = rec.desc(slot);
        if (slot >= (depthOnly ? 1 : 2)) {
            d.NameIn.clear();
            continue;
        }
        d.NameIn = files.data;
        d.Caption = captions[slot];
        d.format = ChannelFormat::Archive;
        d.archiveVariable = variables[slot];
        d.ColumnValue = 1;
        d.AutoScaling = true;
    }
    rec.desc(0).GrRepr = -1;  // depth grows downwards
    settings.Cmt1 = "Synthetic fur seal record as a tag archive, made by tools/make_example";
    settings.Cmt2 = "The same dives as seal-example.txt, first day";
    settings.dive.Threshold = 5.0;
    settings.dive.WindowSize = 600;
    settings.dive.TrekBaseline = 1;
    settings.dive.AdjustYSize = 1;
    settings.dive.WiggAmplitude = 0.15;
    if (WriteSetup(files.setup, rec, settings) != SetupWriteResult::Written)
        throw std::runtime_error("cannot write " + files.setup);
    return files;
}

}  // namespace vk::example
