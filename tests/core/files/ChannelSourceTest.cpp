#include <gtest/gtest.h>

#include <fstream>
#include <stdexcept>

#include "core/files/ChannelSource.h"
#include "core/setup/SetupFile.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace vk {

// Each format has its one source; the setup's ToCreate numbers name them.
TEST(ChannelSource, TheRegistryGivesEachFormatItsSourceAndRefusesAnUnknownOne)
{
    for (ChannelFormat f : {ChannelFormat::Text, ChannelFormat::Created, ChannelFormat::Binary})
        EXPECT_EQ(SourceFor(f).format(), f);
    EXPECT_EQ(AllSources().size(), 5u);
    // A text file whose lines carry their times has a source of its own.
    ChannelDescriptor timed;
    timed.TimeColumn = 2;
    EXPECT_STREQ(SourceFor(timed).name(), "text file with times");
    EXPECT_STREQ(SourceFor(ChannelDescriptor{}).name(), "text file");
    EXPECT_THROW(SourceFor(static_cast<ChannelFormat>(7)), std::invalid_argument);

    test::TempDir dir;
    Recording rec;
    Settings settings;
    rec.desc(0).format = ChannelFormat::Text;
    rec.desc(1).format = ChannelFormat::Created;
    rec.desc(2).format = ChannelFormat::Binary;
    ASSERT_EQ(WriteSetup(dir.file("a.cfg"), rec, settings), SetupWriteResult::Written);
    const std::string text = SetupText(rec, settings);
    EXPECT_NE(text.find("ToCreate\t0\t0\r\n"), std::string::npos);
    EXPECT_NE(text.find("ToCreate\t1\t1\r\n"), std::string::npos);
    EXPECT_NE(text.find("ToCreate\t2\t2\r\n"), std::string::npos);
    Recording back;
    ASSERT_TRUE(ReadSetup(dir.file("a.cfg"), back, settings));
    EXPECT_EQ(back.desc(1).format, ChannelFormat::Created);
    EXPECT_EQ(back.desc(2).format, ChannelFormat::Binary);
}

// What a source answers of a file before anything is loaded.
TEST(ChannelSource, SourcesTellTheirFilesAndTheChannelsTheyOffer)
{
    test::TempDir dir;
    {
        std::ofstream text(dir.file("log.txt"));
        text << "date\ttime\tdepth\ttemp\n";
        for (int i = 0; i < 200; ++i)  // long enough to be judged by its bytes
            text << "07.01.2026\t06:00:0" << i % 10 << "\t1.5\t12.0\n";
        std::ofstream binary(dir.file("raw.bin"), std::ios::binary);
        for (int i = 0; i < 6000; ++i)
            binary.put(static_cast<char>(i % 7 == 0 ? 0 : 200 + i % 50));
    }
    const ChannelSource& text = SourceFor(ChannelFormat::Text);
    const ChannelSource& binary = SourceFor(ChannelFormat::Binary);
    EXPECT_TRUE(text.canRead(dir.file("log.txt")));
    EXPECT_FALSE(binary.canRead(dir.file("log.txt")));
    EXPECT_TRUE(binary.canRead(dir.file("raw.bin")));
    EXPECT_FALSE(text.canRead(dir.file("raw.bin")));
    EXPECT_FALSE(text.canRead(dir.file("none.txt")));

    ChannelDescriptor d;
    d.NameIn = dir.file("log.txt");
    d.HeaderText = 1;
    EXPECT_EQ(text.channels(d), (std::vector<std::string>{"column 1", "column 2", "column 3", "column 4"}));
    d.NameIn = dir.file("none.txt");
    EXPECT_TRUE(text.channels(d).empty());

    // A channel the program makes is used, and made, while its file does not exist.
    const ChannelSource& created = SourceFor(ChannelFormat::Created);
    EXPECT_TRUE(created.used(d));
    EXPECT_TRUE(created.createsChannel(d));
    EXPECT_FALSE(text.used(d));
    d.NameIn = dir.file("raw.bin");
    EXPECT_FALSE(created.createsChannel(d));
    d.NameIn = "";
    EXPECT_FALSE(created.used(d));

    // Copying the reading of a file: a channel to create is copied as text.
    ChannelDescriptor from, to;
    from.format = ChannelFormat::Created;
    from.HeaderText = 3;
    from.InDelimiter = ';';
    to.format = ChannelFormat::Binary;
    SourceFor(from).copyReading(from, to);
    EXPECT_EQ(to.format, ChannelFormat::Text);
    EXPECT_EQ(to.HeaderText, 3);
    EXPECT_EQ(to.InDelimiter, ';');
    from.format = ChannelFormat::Binary;
    from.HeaderText = 9;
    SourceFor(from).copyReading(from, to);
    EXPECT_EQ(to.format, ChannelFormat::Binary);
    EXPECT_EQ(to.HeaderText, 3);  // a binary file has no header lines to copy
}

}  // namespace vk
