#include <gtest/gtest.h>

#include "core/files/BinaryChannelFile.h"
#include "core/files/ChannelExport.h"
#include "core/store/Channel.h"
#include "core/store/FileUtil.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace vk {

namespace {

struct BinaryFile : ::testing::Test {
    test::TempDir dir;
    Recording rec;
    ScriptedDialogs ui;

    void SetUp() override { test::AllocateAll(rec); }

    // Slot 0 scaled -5..95 with n samples of a ramp, starting 05.01.2002 11:32:00 at 250 ms.
    void MakeChannel(int32_t n)
    {
        ChannelDescriptor& d = rec.desc(0);
        d.Caption = "Depth of seal 7";
        d.SampRate = 250;
        d.LowRng = -5;
        d.HighRng = 95;
        SetScaling(rec, 0);
        d.DataCnt = n - 1;
        rec.time.GlobalStart = EncodeTime(2002, 1, 5, 11, 32, 0);
        d.StartTime = rec.time.GlobalStart;
        for (int32_t i = 0; i < n; ++i)
            WriteRaw(rec, i, static_cast<uint16_t>(i * 37 % 65536), 0);
        rec.at(0).HeadCmt1 = "tag 4711";
        rec.at(0).HeadCmt2 = "second line";
    }

    // Loads `path` into slot 1 as Start would: header, scaling, samples.
    bool LoadIntoSlot1(const std::string& path, char useHeader = 'Y')
    {
        ChannelDescriptor& d = rec.desc(1);
        d.NameIn = path;
        d.format = ChannelFormat::Binary;
        d.UseFileInfo = useHeader;
        if (useHeader == 'Y' && !ReadFileInfo(rec, 1, ui))
            return false;
        SetScaling(rec, 1);
        return LoadBinaryChannel(rec, 1, ui);
    }
};

}  // namespace

TEST_F(BinaryFile, ExportedChannelLoadsBackUnchanged)
{
    MakeChannel(40000);  // more than two blocks
    const std::string path = dir.file("seal.bin");
    ASSERT_TRUE(ExportBinary(rec, path, 0, 0.0, 1e12));
    EXPECT_EQ(test::TempDir::read(path).size(), 720u + 2 * 40000);

    ASSERT_TRUE(LoadIntoSlot1(path));
    EXPECT_TRUE(ui.shown.empty());
    const ChannelDescriptor& a = rec.desc(0);
    const ChannelDescriptor& b = rec.desc(1);
    EXPECT_EQ(b.Caption, "Depth of seal 7");
    EXPECT_EQ(b.SampRate, 250);
    EXPECT_EQ(b.StartTime, a.StartTime);
    EXPECT_EQ(b.DataCnt, a.DataCnt);
    EXPECT_NEAR(b.CoeffA, a.CoeffA, 1e-15);
    EXPECT_NEAR(b.CoeffB, a.CoeffB, 1e-12);
    EXPECT_EQ(rec.at(1).HeadCmt1, "tag 4711");
    EXPECT_EQ(rec.at(1).HeadCmt2, "second line");
    for (int32_t i = 0; i < 40000; ++i)
        ASSERT_EQ(ReadRaw(rec, i, 1), ReadRaw(rec, i, 0)) << i;

    // A part of the channel: the start time is that of its first sample, also off the whole second.
    ASSERT_TRUE(ExportBinary(rec, path, 0, 1000.0 + 1, 2000.0));  // indices 5..8
    ASSERT_TRUE(LoadIntoSlot1(path));
    EXPECT_EQ(rec.desc(1).StartTime, a.StartTime + 5 * 250);
    EXPECT_EQ(rec.desc(1).DataCnt, 3);
    EXPECT_EQ(ReadRaw(rec, 0, 1), ReadRaw(rec, 5, 0));
}

// 16 Hz: the header's whole milliseconds round the interval for older
// readers, the line after the comments holds it exactly; a file of whole
// milliseconds has no such line and reads as before.
TEST_F(BinaryFile, AnIntervalOfPartMillisecondsKeepsItsExactValue)
{
    MakeChannel(100);
    Channel(rec, 0).setInterval(62.5);
    EXPECT_EQ(rec.desc(0).SampRate, 63);
    const std::string path = dir.file("fast.bin");
    ASSERT_TRUE(ExportBinary(rec, path, 0, 0.0, 1e12));
    const std::string bytes = test::TempDir::read(path);
    EXPECT_EQ(bytes.size(), 720u + 2 * 100);
    const auto header = ParseInfoHeader(bytes);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->sampRate, 63);
    EXPECT_EQ(header->exactInterval, 62.5);
    EXPECT_NE(bytes.find("\r\nsecond line\r\nInterval 62.5 ms\r\n"), std::string::npos);
    ASSERT_TRUE(LoadIntoSlot1(path));
    EXPECT_EQ(ChannelView(rec, 1).interval(), 62.5);
    EXPECT_EQ(ChannelView(rec, 1).timeOf(16), 1000.0);

    Channel(rec, 0).setInterval(250);
    ASSERT_TRUE(ExportBinary(rec, path, 0, 0.0, 1e12));
    EXPECT_EQ(test::TempDir::read(path).find("Interval"), std::string::npos);
    EXPECT_FALSE(ParseInfoHeader(test::TempDir::read(path))->exactInterval);
    // A line that does not fit the whole milliseconds is not believed.
    std::string edited = test::TempDir::read(path);
    edited.replace(edited.find("second line\r\n") + 13, 17, "Interval 99.5 ms\r\n");
    EXPECT_FALSE(ParseInfoHeader(edited)->exactInterval);
}

TEST_F(BinaryFile, FilesWithoutHeaderAndOddSizes)
{
    rec.desc(1).Caption = "kept";
    // 3 bytes, no header: one sample, the odd byte ignored; no question for so few bytes.
    ASSERT_TRUE(LoadIntoSlot1(dir.write("three.bin", std::string("\x34\x12\x99", 3))));
    EXPECT_EQ(rec.desc(1).DataCnt, 0);
    EXPECT_EQ(ReadRaw(rec, 0, 1), 0x1234);
    EXPECT_EQ(rec.desc(1).Caption, "kept");
    EXPECT_TRUE(ui.shown.empty());

    // A header and nothing else: an empty channel.
    MakeChannel(10);
    ASSERT_TRUE(ExportBinary(rec, dir.file("h.bin"), 0, 1e9, 2e9));  // nothing inside the range
    EXPECT_EQ(test::TempDir::read(dir.file("h.bin")).size(), 720u);
    ASSERT_TRUE(LoadIntoSlot1(dir.file("h.bin")));
    EXPECT_EQ(rec.desc(1).DataCnt, rec.desc(1).CorrSmpDelay - 1);

    // A header not asked for: its bytes count as samples? No: with "Read header" off the
    // header is still passed over, only its values are not taken.
    MakeChannel(10);
    ASSERT_TRUE(ExportBinary(rec, dir.file("n.bin"), 0, 0, 1e9));
    rec.desc(1).Caption = "mine";
    ASSERT_TRUE(LoadIntoSlot1(dir.file("n.bin"), 'N'));
    EXPECT_EQ(rec.desc(1).Caption, "mine");
    EXPECT_EQ(rec.desc(1).DataCnt, 9);

    // Skipped samples, and more skipped than there are.
    rec.at(1).SkipCount = 4;
    ASSERT_TRUE(LoadIntoSlot1(dir.file("n.bin"), 'N'));
    EXPECT_EQ(rec.desc(1).DataCnt, 5);
    EXPECT_EQ(ReadRaw(rec, 0, 1), ReadRaw(rec, 4, 0));
    rec.at(1).SkipCount = 11;
    ASSERT_TRUE(LoadIntoSlot1(dir.file("n.bin"), 'N'));
    EXPECT_EQ(rec.desc(1).DataCnt, -1);
    rec.at(1).SkipCount = 0;

    // More samples than the store holds: the first part is kept, and the user is told.
    ASSERT_TRUE(rec.store.Allocate({true, true, true}, 1));
    ASSERT_TRUE(LoadIntoSlot1(dir.write("big.bin", std::string(2 * 20000, '\x01')), 'N'));
    EXPECT_EQ(rec.desc(1).DataCnt, 16383);
    EXPECT_EQ(ReadRaw(rec, 16383, 1), 0x0101);
    EXPECT_EQ(ui.texts(),
              std::vector<std::string>{
                  " big.bin holds more samples than a channel can take. The first 16384 samples were loaded."});
}

TEST_F(BinaryFile, TextNamedAsBinaryAndMissingFiles)
{
    std::string text;
    while (text.size() < 3000)
        text += "12.5\t13.25\t7\r\n";
    ui.answers = {Answer::Cancel};
    EXPECT_FALSE(LoadIntoSlot1(dir.write("log.txt", text)));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"log.txt is prob. not a binary file. Yet continue?"});

    ui.shown.clear();
    EXPECT_FALSE(LoadIntoSlot1(dir.file("missing.bin")));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"   Can't open : " + dir.file("missing.bin")});
    EXPECT_FALSE(rec.at(1).ChannelUsed);

    // A channel to create when its file is missing: as long as slot 0, all at the value nearest 0.
    MakeChannel(100);
    rec.at(2).ChannelUsed = false;
    ChannelDescriptor& d = rec.desc(2);
    d.NameIn = dir.file("new.002");
    d.format = ChannelFormat::Created;
    d.LowRng = -3;
    d.HighRng = 10;
    SetScaling(rec, 2);
    ASSERT_TRUE(LoadBinaryChannel(rec, 2, ui));
    EXPECT_TRUE(rec.at(2).ChannelUsed);
    EXPECT_FALSE(FileExists(d.NameIn));  // created and deleted again as a check
    EXPECT_EQ(d.DataCnt, 99);
    EXPECT_NEAR(ReadValue(rec, 50, 2).value, 0.0, d.CoeffA / 2);
    EXPECT_EQ(d.EndTime, d.StartTime + 99 * d.SampRate);

    ui.shown.clear();
    d.NameIn = dir.file("no/folder/new.002");
    EXPECT_FALSE(LoadBinaryChannel(rec, 2, ui));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{" Error. Cannot create new.002"});
}

TEST_F(BinaryFile, HostileCountsAndHeadersAreRefusedWithTheField)
{
    // A channel to create longer than a channel can hold: refused at once, not filled for ever.
    MakeChannel(100);
    ChannelDescriptor& d = rec.desc(2);
    d.NameIn = dir.file("new.002");
    d.format = ChannelFormat::Created;
    for (const int32_t count : {INT32_MAX, 2000000000, rec.store.capacity(2)}) {
        ui.shown.clear();
        rec.desc(0).DataCnt = count;
        EXPECT_FALSE(LoadBinaryChannel(rec, 2, ui)) << count;
        ASSERT_EQ(ui.texts().size(), 1u);
        EXPECT_EQ(ui.texts()[0].rfind(" Error. new.002 cannot be created with ", 0), 0u) << ui.texts()[0];
    }
    rec.desc(0).DataCnt = 99;

    // Headers whose calibration line cannot be read are not used with a factor of 1.
    MakeChannel(100);
    const std::string good = dir.file("good.bin");
    ASSERT_TRUE(ExportBinary(rec, good, 0, 0, 99 * 1000.0));
    const std::string bytes = test::TempDir::read(good);
    const std::size_t line3 = bytes.find("\r\n", bytes.find("\r\n") + 2) + 2;
    const std::size_t end3 = bytes.find("\r\n", line3);
    auto withLine3 = [&](const std::string& line) {
        std::string b = bytes;
        std::string header = b.substr(0, line3) + line + b.substr(end3, InfoHeaderBytes - end3);
        header.resize(InfoHeaderBytes, ' ');
        return header + b.substr(InfoHeaderBytes);
    };
    const std::pair<std::string, std::string> cases[] = {
        {withLine3("0 nan 0"), "its factor is 'nan'"},
        {withLine3("0 inf 0"), "its factor is 'inf'"},
        {withLine3("0 0.5"), "its square factor is missing"},
        {withLine3("0 0 0"), "its factor is 0"},
        {bytes.substr(0, bytes.find("\r\n") + 2) + std::string(InfoHeaderBytes, 'c') + bytes.substr(InfoHeaderBytes),
         "its offset is missing"},  // an over-long caption pushes line 3 out of the header
    };
    for (const auto& [file, why] : cases) {
        ui.shown.clear();
        EXPECT_FALSE(LoadIntoSlot1(dir.write("bad.bin", file)));
        ASSERT_EQ(ui.texts().size(), 1u);
        EXPECT_NE(ui.texts()[0].find(" bad.bin: the calibration in line 3 of its header cannot be read (" + why),
                  std::string::npos)
            << ui.texts()[0];
    }
    ui.shown.clear();
    EXPECT_TRUE(LoadIntoSlot1(good));
    EXPECT_TRUE(ui.shown.empty());
}

TEST(BinaryHeader, DatesWithShortFieldsAndTwoDigitYears)
{
    EXPECT_EQ(ParseHeaderDate("05.01.2002 11:32:07"), EncodeTime(2002, 1, 5, 11, 32, 7));
    EXPECT_EQ(ParseHeaderDate("5.1.2002 9:04:05"), EncodeTime(2002, 1, 5, 9, 4, 5));
    EXPECT_EQ(ParseHeaderDate("05.01.2002  T 11:32:07"), EncodeTime(2002, 1, 5, 11, 32, 7));
    EXPECT_EQ(ParseHeaderDate("24.12.98 23:59:58"), EncodeTime(1998, 12, 24, 23, 59, 58));
    EXPECT_EQ(ParseHeaderDate("01.02.05 00:00:01"), EncodeTime(2005, 2, 1, 0, 0, 1));
    EXPECT_EQ(ParseHeaderDate("01.02.50 00:00:00"), EncodeTime(1950, 2, 1, 0, 0, 0));
    EXPECT_EQ(ParseHeaderDate("01.02.2002 10:00:00.125"), EncodeTime(2002, 2, 1, 10, 0, 0) + 125);
    EXPECT_FALSE(ParseHeaderDate("yesterday"));
    EXPECT_FALSE(ParseHeaderDate("1.2.98 3:04:05"));  // short year: fixed places, which do not fit here

    InfoHeader h;
    h.caption = "Temp";
    h.coeffB = -2.5;
    h.coeffA = 0.001;
    h.startTime = EncodeTime(1998, 12, 24, 23, 59, 58);
    h.sampRate = 8;
    h.comment1 = "a";
    const std::string bytes = FormatInfoHeader(h, "x\ny\nz");
    ASSERT_EQ(bytes.size(), InfoHeaderBytes);
    EXPECT_EQ(bytes.substr(0, 14), "Vk file info\r\n");
    const auto back = ParseInfoHeader(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->caption, "Temp");
    EXPECT_EQ(back->coeffB, -2.5);
    EXPECT_EQ(back->coeffA, 0.001);
    EXPECT_EQ(back->startTime, h.startTime);
    EXPECT_EQ(back->sampRate, 8);
    EXPECT_EQ(back->comment1, "a");
    EXPECT_EQ(back->comment2, " ");  // an empty comment line becomes one blank
    EXPECT_FALSE(ParseInfoHeader("no marker\r\n"));

    // A header written elsewhere with a two-digit year and a caption with trailing blanks.
    const auto other = ParseInfoHeader("Vk file info 3.1\r\nPressure   \r\n1 0.5 0\r\n24.12.98 10:00:00\r\n1000\r\n");
    ASSERT_TRUE(other);
    EXPECT_EQ(other->caption, "Pressure");
    EXPECT_EQ(other->startTime, EncodeTime(1998, 12, 24, 10, 0, 0));
    EXPECT_EQ(other->coeffA, 0.5);
}

}  // namespace vk
