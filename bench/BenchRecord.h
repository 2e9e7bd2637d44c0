#pragma once

// A generated record for the batch benchmarks: the data file made once (it is
// kept between runs), and its setup: depth in column 3 at 1 s, the example's
// dive parameters, no pictures.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/example/ExampleRecording.h"
#include "core/setup/SetupFile.h"
#include "core/store/FileUtil.h"

namespace bench {

// The folder for the generated files: argv[index] when given, else $TMPDIR or /tmp.
inline std::string ScratchFolder(int argc, char** argv, int index)
{
    const char* tmp = std::getenv("TMPDIR");
    return argc > index ? argv[index] : (tmp ? tmp : "/tmp");
}

// The generated logger file of `lines` lines, written once and kept between runs.
inline void EnsureBenchFile(const std::string& data, long lines)
{
    if (!vk::FileExists(data)) {
        std::printf("writing %ld lines to %s ...\n", lines, data.c_str());
        vk::example::WriteBenchFile(data, lines);
    }
}

inline bool WriteBenchRecord(const std::string& data, const std::string& setup, long lines)
{
    EnsureBenchFile(data, lines);
    vk::Recording rec;
    vk::Settings settings;
    vk::ChannelDescriptor& d = rec.desc(0);
    d.NameIn = data;
    d.Caption = "Depth [m]";
    d.ColumnValue = 3;
    d.InDelimiter = '\t';
    d.SampRate = 1000;
    d.AutoScaling = true;
    d.format = vk::ChannelFormat::Text;
    for (int slot = 1; slot < vk::SlotCount; ++slot)
        rec.desc(slot).NameIn = "";
    settings.dive.Threshold = 5;
    settings.dive.TrekBaseline = 1;
    settings.thumbnails.Thumbnail = false;
    return vk::WriteSetup(setup, rec, settings) == vk::SetupWriteResult::Written;
}

}  // namespace bench
