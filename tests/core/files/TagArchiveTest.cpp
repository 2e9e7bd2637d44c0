#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>

#include "ExampleArchive.h"
#include "core/files/ChannelSource.h"
#include "core/files/TagArchive.h"
#include "core/setup/Start.h"
#include "core/store/Channel.h"
#include "core/store/TimeBase.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace vk {

using example::ArchiveLayout;
using example::ArchiveSensor;

namespace {

std::vector<float> Ramp(int n, float from, float step)
{
    std::vector<float> v;
    for (int k = 0; k < n; ++k)
        v.push_back(from + step * static_cast<float>(k));
    return v;
}

// A tag archive of a deployment that began on 7 January 2026 at 06:30.
ArchiveLayout Deployment(double rateHz, int samples)
{
    ArchiveLayout a;
    a.globals = {{"dephist_device_datetime_start", "07-01-2026 06:30:00"},
                 {"dephist_device_regset", "dd-mm-yyyy HH:MM:SS"},
                 {"dephist_device_tzone", "0"}};
    a.sensors.push_back({"P", Ramp(samples, 0, 0.5f), 1, rateHz, "m", "Depth", "", 0.0, std::nullopt});
    a.sensors.push_back(
        {"T", Ramp(samples, 20, -0.01f), 1, rateHz, "degrees Celsius", "", "water temperature", 2.0, std::nullopt});
    std::vector<float> xyz;
    for (int k = 0; k < samples; ++k)
        for (const float axis : {0.1f, 0.2f, -1.0f})
            xyz.push_back(axis);
    a.sensors.push_back({"A", xyz, 3, rateHz, "g", "Acceleration", "", 0.0, std::nullopt});
    return a;
}

}  // namespace

// What an archive offers, in classic and NetCDF-4 files: every sensor and
// every axis of a many-axis sensor, with its rate, unit and name; the start
// on the device's clock; metadata variables left out.
TEST(TagArchive, SensorsAxesAndStartAsTheArchiveDescribesThem)
{
    test::TempDir dir;
    for (const bool netcdf4 : {false, true}) {
        SCOPED_TRACE(netcdf4 ? "NetCDF-4" : "classic");
        ArchiveLayout layout = Deployment(1.0, 100);
        layout.netcdf4 = netcdf4;
        const std::string path = dir.file(netcdf4 ? "tag4.nc" : "tag.nc");
        example::WriteTagArchive(path, layout);
        EXPECT_TRUE(LooksLikeNetCdf(path));
        const ArchiveContents a = ReadArchive(path);
        EXPECT_EQ(a.error, "");
        ASSERT_EQ(a.channels.size(), 5u);
        EXPECT_EQ(a.channels[0].label(), "P: Depth [m], 1 Hz, 100 samples");
        EXPECT_EQ(a.channels[1].label(), "T: water temperature [degrees Celsius], 1 Hz, 100 samples");
        EXPECT_EQ(a.channels[3].label(), "A axis 2 of 3: Acceleration [g], 1 Hz, 100 samples");
        EXPECT_EQ(a.channels[3].caption(), "Acceleration 2 [g]");
        EXPECT_EQ(a.channels[1].startOffsetSeconds, 2.0);
        ASSERT_TRUE(a.start.has_value());
        EXPECT_EQ(*a.start, EncodeTime(2026, 1, 7, 6, 30, 0));
        EXPECT_EQ(a.zone, "0");
        EXPECT_EQ(FindChannel(a, "A", 3), &a.channels[4]);
        EXPECT_EQ(FindChannel(a, "P", 0), &a.channels[0]);
        EXPECT_EQ(FindChannel(a, "A", 4), nullptr);

        ArchiveReader reader(path, a.channels[3]);
        std::vector<double> values;
        ASSERT_TRUE(reader.read(10, 5, values));
        ASSERT_EQ(values.size(), 5u);
        EXPECT_NEAR(values[0], 0.2, 1e-6);
    }

    // The deployment's start where the device's is not given; an ISO stamp.
    ArchiveLayout layout = Deployment(1.0, 10);
    layout.globals = {{"dephist_deploy_datetime_start", "2026-01-07T06:30:05Z"}};
    example::WriteTagArchive(dir.file("deploy.nc"), layout);
    EXPECT_EQ(ReadArchive(dir.file("deploy.nc")).start, EncodeTime(2026, 1, 7, 6, 30, 5));

    // A text file, a damaged archive, a start that reads as no date.
    const std::string text = dir.write("log.txt", "1\t2\r\n");
    EXPECT_FALSE(LooksLikeNetCdf(text));
    EXPECT_NE(ReadArchive(text).error.find("cannot be read as a NetCDF file"), std::string::npos);
    layout.globals = {{"dephist_device_datetime_start", "sometime in January"}};
    example::WriteTagArchive(dir.file("odd.nc"), layout);
    const ArchiveContents odd = ReadArchive(dir.file("odd.nc"));
    EXPECT_FALSE(odd.start.has_value());
    EXPECT_EQ(odd.error,
              "its start (dephist_device_datetime_start \"sometime in January\") is not a date and time it can read");
    EXPECT_EQ(odd.channels.size(), 5u);
}

namespace {

struct ArchiveStart : ::testing::Test {
    test::TempDir dir;
    Workbench wb;
    ScriptedDialogs ui;

    void use(int slot, const std::string& path, const std::string& variable, int axis = 1)
    {
        ChannelDescriptor& d = wb.rec.desc(slot);
        d.NameIn = path;
        d.format = ChannelFormat::Archive;
        d.archiveVariable = variable;
        d.ColumnValue = axis;
        d.AutoScaling = true;
    }
};

}  // namespace

// A fast logger's archive at 25 Hz: each channel gets the archive's start
// (and its sensor's offset) and interval; fill values become missing samples.
TEST_F(ArchiveStart, ChannelsTakeStartIntervalAndMissingSamplesFromTheArchive)
{
    constexpr int Samples = 25 * 600;
    ArchiveLayout layout = Deployment(25.0, Samples);
    layout.netcdf4 = true;
    layout.sensors[0].fill = -999.0f;
    for (int k = 1000; k < 1050; ++k)
        layout.sensors[0].values[static_cast<size_t>(k)] = -999.0f;
    const std::string path = dir.file("tag25.nc");
    example::WriteTagArchive(path, layout);
    use(0, path, "P");
    use(1, path, "T");
    use(2, path, "A", 3);
    test::AllocateAll(wb.rec);
    ASSERT_EQ(StartRecording(wb, ui), StartResult::Loaded);
    EXPECT_EQ(ui.texts(),
              std::vector<std::string>{
                  " tag25.nc: 50 of the 15000 samples of P are missing (fill values); they are kept as gaps."});
    EXPECT_EQ(wb.rec.time.GlobalStart, EncodeTime(2026, 1, 7, 6, 30, 0));
    const ChannelView depth(wb.rec, 0), temperature(wb.rec, 1), z(wb.rec, 2);
    EXPECT_EQ(depth.interval(), 40);
    EXPECT_EQ(depth.storedCount(), Samples);
    const double step = 7499.5 / 65535;  // the depths span 0 .. 7499.5 m in 65536 words
    EXPECT_NEAR(depth.value(999).value, 499.5, step);
    EXPECT_NEAR(depth.value(1050).value, 525, step);
    EXPECT_EQ(depth.gaps().ranges(), (std::vector<GapRange>{{1000, 1050}}));
    EXPECT_TRUE(depth.missing(1000));
    EXPECT_TRUE(depth.missing(1049));
    EXPECT_FALSE(depth.missing(1050));
    // The temperature sensor began 2 s later: 50 samples into the record.
    EXPECT_EQ(wb.rec.desc(1).SmpDelay, 50);
    EXPECT_NEAR(temperature.value(50).value, 20, 0.01);
    EXPECT_NEAR(z.value(7).value, -1, 0.001);
    EXPECT_EQ(wb.rec.desc(1).EndTime, EncodeTime(2026, 1, 7, 6, 30, 2) + (Samples - 1) * 40.0);

    // 16 Hz: an interval of 62.5 ms held exactly; a record that starts a quarter second after the full second.
    layout = Deployment(16.0, 1600);
    for (ArchiveSensor& sensor : layout.sensors)
        sensor.startOffset += 0.25;
    example::WriteTagArchive(path, layout);
    ASSERT_EQ(StartRecording(wb, ui), StartResult::Loaded);
    EXPECT_EQ(wb.rec.time.GlobalStart, EncodeTime(2026, 1, 7, 6, 30, 0) + 250);
    EXPECT_EQ(ChannelView(wb.rec, 0).interval(), 62.5);
    EXPECT_EQ(ChannelView(wb.rec, 0).timeOf(1600), 100000.0);
}

// A damaged archive (cut short, as by a full disk or an interrupted copy) is
// refused with a message naming the file, or loaded with its lost end as a
// gap and a warning: nothing is loaded as if whole.
TEST_F(ArchiveStart, AnArchiveCutShortIsRefusedWithAMessage)
{
    for (const bool netcdf4 : {false, true}) {
        ArchiveLayout layout = Deployment(25.0, 25 * 600);
        layout.netcdf4 = netcdf4;
        const std::string whole = dir.file("whole.nc"), cut = dir.file("cut.nc");
        example::WriteTagArchive(whole, layout);
        for (const double share : {0.5, 0.05, 0.001}) {
            SCOPED_TRACE(std::to_string(share) + (netcdf4 ? " NetCDF-4" : " classic"));
            std::ifstream in(whole, std::ios::binary);
            std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            bytes.resize(static_cast<std::size_t>(static_cast<double>(bytes.size()) * share));
            dir.write("cut.nc", bytes);
            use(0, cut, "P");
            wb.rec.desc(1).NameIn.clear();
            wb.rec.desc(2).NameIn.clear();
            test::AllocateAll(wb.rec);
            ui.shown.clear();
            const StartResult result = StartRecording(wb, ui);
            ASSERT_FALSE(ui.shown.empty());
            const std::string& text = ui.shown.back().text;
            EXPECT_EQ(text.rfind(" cut.nc: ", 0), 0u) << text;
            // Refused, or (a classic file, whose lost end the library reads as fill values) told.
            if (result != StartResult::LoadFailed) {
                EXPECT_NE(text.find("at its end: is the file whole?"), std::string::npos) << text;
            }
        }
    }
}

// A sensor the archive does not hold is named with what it offers; the start fails.
TEST_F(ArchiveStart, AMissingSensorIsNamedWithTheSensorsOnOffer)
{
    const std::string path = dir.file("tag.nc");
    example::WriteTagArchive(path, Deployment(1.0, 100));
    use(0, path, "Depth");
    use(1, path, "A", 4);
    wb.rec.desc(2).NameIn.clear();
    test::AllocateAll(wb.rec);
    EXPECT_EQ(StartRecording(wb, ui), StartResult::LoadFailed);
    ASSERT_FALSE(ui.shown.empty());
    EXPECT_EQ(ui.shown[0].text, " tag.nc: the archive holds no sensor \"Depth\". It offers P, T, A (3 axes).");
    EXPECT_EQ(SourceFor(wb.rec.desc(0)).channels(wb.rec.desc(0)).size(), 5u);
    EXPECT_STREQ(SourceFor(wb.rec.desc(0)).name(), "tag archive");
}

}  // namespace vk
