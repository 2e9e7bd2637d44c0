#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "core/files/Outliers.h"
#include "core/files/TextLoader.h"
#include "core/files/TextLoaderPasses.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace vk {

namespace {

struct TextLoader : ::testing::Test {
    test::TempDir dir;
    Recording rec;
    ScriptedDialogs ui;
    SkipStrings skips;

    void SetUp() override { test::AllocateAll(rec); }

    ChannelDescriptor& d() { return rec.desc(0); }

    // Loads `text` into slot 0, column 2, TAB-separated, auto-scaling unless told.
    bool Load(std::string_view text, std::string_view name = "log.txt")
    {
        d().NameIn = dir.write(name, text);
        if (d().ColumnValue == 0)
            d().ColumnValue = 2;
        return LoadTextChannel(rec, 0, skips, ui);
    }

    int32_t Count() const { return rec.desc(0).DataCnt - rec.desc(0).CorrSmpDelay + 1; }
    double Value(int32_t i) const { return ReadValue(rec, i, 0).value; }
};

}  // namespace

TEST_F(TextLoader, AutoScalingFindsTheRangeOfTheColumn)
{
    ASSERT_TRUE(Load("time\tdepth\n0\t1.5\n1\t-2\n2\t8\n3\t4,25\n"));
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(d().LowRng, -2.0);
    EXPECT_EQ(d().HighRng, 8.0);
    EXPECT_EQ(d().Min, -2.0);
    EXPECT_EQ(d().KindEqu, 'M');
    EXPECT_EQ(Count(), 5);  // the header line is a missing value and stored as the low end
    EXPECT_NEAR(Value(0), -2.0, d().CoeffA / 2);
    EXPECT_NEAR(Value(1), 1.5, d().CoeffA / 2);
    EXPECT_NEAR(Value(4), 4.25, d().CoeffA / 2);
    EXPECT_EQ(d().DataCnt, 4);
    EXPECT_EQ(d().EndTime, d().StartTime + 4 * d().SampRate);
    EXPECT_EQ(rec.at(0).HeadCmt1, "");
    EXPECT_EQ(ui.busyDepth, 0);
    EXPECT_EQ(ui.statusTexts, (std::vector<std::string>{"", "  0 %"}));

    d().HeaderText = 1;
    d().ColumnValue = 2;
    ASSERT_TRUE(Load("time\tdepth\n0\t5\n1\t5\n"));
    EXPECT_EQ(d().LowRng, 4.5);  // all values equal: widened by a tenth
    EXPECT_EQ(d().HighRng, 5.5);
    ASSERT_TRUE(Load("time\tdepth\n0\t0\n1\t0\n"));
    EXPECT_EQ(d().LowRng, -1.0);
    EXPECT_EQ(d().HighRng, 1.0);
    EXPECT_EQ(rec.pendingHint, HintNone);
    ASSERT_TRUE(Load("h\n0\t-50\n1\t2\n"));
    EXPECT_EQ(rec.pendingHint, HintInvertData);  // mostly below zero
}

TEST_F(TextLoader, SkipStringsHeaderAndSkipCountPassLinesOver)
{
    skips.Skip1Enbld = true;
    skips.Skip1Str = "EVENT";
    skips.Skip2Enbld = false;
    skips.Skip2Str = "3";  // not enabled: has no effect
    d().HeaderText = 2;
    rec.at(0).SkipCount = 1;
    ASSERT_TRUE(Load("head 1\nhead 2\n0\t100\n1\t1\nEVENT\t999\n\n2\t2\n3\t3\n"));
    EXPECT_EQ(Count(), 3);
    EXPECT_EQ(d().LowRng, 1.0);
    EXPECT_EQ(d().HighRng, 3.0);  // 100 was skipped, 999 was an event line
    EXPECT_NEAR(Value(2), 3.0, d().CoeffA);

    // A file of skip-string lines only: range -10..10 and an empty channel.
    d().HeaderText = 0;
    rec.at(0).SkipCount = 0;
    ASSERT_TRUE(Load("EVENT 1\nEVENT 2\n"));
    EXPECT_EQ(d().LowRng, -10.0);
    EXPECT_EQ(d().HighRng, 10.0);
    EXPECT_EQ(d().DataCnt, d().CorrSmpDelay - 1);
}

TEST_F(TextLoader, MissingValuesAndColumns)
{
    ASSERT_TRUE(Load("0\t4\n1\tabc\n2\t\t9\n3\t8\n"));
    EXPECT_EQ(Count(), 4);
    EXPECT_NEAR(Value(1), 4.0, 1e-9);  // missing values read back as the low end
    EXPECT_NEAR(Value(2), 4.0, 1e-9);
    d().IgnoreEmpLine = true;
    ASSERT_TRUE(Load("0\t4\n1\tabc\n2\t\t9\n3\t8\n"));
    EXPECT_EQ(Count(), 2);
    EXPECT_NEAR(Value(1), 8.0, d().CoeffA);

    // A line that ends before the column (a logger's truncated write) is a
    // missing value, as an empty field is, told once with its line; only
    // when every line is short is the column asked about.
    d().ColumnValue = 3;
    ASSERT_TRUE(Load("0\t1\t4\n1\t2\n2\t3\t8\n3\n"));
    EXPECT_EQ(ui.texts(),
              std::vector<std::string>{
                  " log.txt: 2 lines end before column 3: their values are taken as missing (lines 2, 4)."});
    EXPECT_EQ(Count(), 2);  // void lines ignored: short ones too
    d().IgnoreEmpLine = false;
    ui.shown.clear();
    std::string many;
    for (int k = 0; k < 10; ++k)
        many += k % 3 ? "1\t2\t5\n" : "1\t2\n";
    ASSERT_TRUE(Load(many));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{" log.txt: 4 lines end before column 3: their values are taken "
                                                   "as missing (lines 1, 4, 7, 10)."});
    EXPECT_EQ(Count(), 10);
    EXPECT_EQ(rec.at(0).missing.missing(), 4);
    ui.shown.clear();
    ui.answers = {Answer::No};
    EXPECT_FALSE(Load("0\t1\n1\t2\n"));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{" Probably wrong column, header,.. . Continue anyway?"});
    EXPECT_EQ(ui.busyDepth, 0);
    d().IgnoreEmpLine = true;

    d().AutoScaling = false;
    d().LowRng = 0.0;
    d().HighRng = 10.0;
    SetScaling(rec, 0);
    ui.shown.clear();
    ASSERT_TRUE(Load("0\t1\t4\n1\t2\n2\t3\t12\n3\t3\t-1\n"));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{
                              " log.txt: 1 line ends before column 3: its value is taken as missing (line 2)."});
    EXPECT_EQ(ReadRaw(rec, 1, 0), 65535);  // above the range
    EXPECT_EQ(ReadRaw(rec, 2, 0), 0);      // below it
    ui.shown.clear();
    ui.answers = {Answer::No};
    EXPECT_FALSE(Load("0\t1\n1\t2\n"));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{" Propably wrong column, header,.. . Continue anyway?"});
}

TEST_F(TextLoader, FilesThatCannotBeReadEndInAMessage)
{
    d().NameIn = dir.file("absent.txt");
    EXPECT_FALSE(LoadTextChannel(rec, 0, skips, ui));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"   Can't open : " + dir.file("absent.txt")});
    EXPECT_FALSE(rec.at(0).ChannelUsed);
    EXPECT_TRUE(LoadTextChannel(rec, 0, skips, ui));  // a slot not used loads as nothing

    rec.at(0).ChannelUsed = true;
    ui.shown.clear();
    d().NameIn = dir.path();
    EXPECT_FALSE(LoadTextChannel(rec, 0, skips, ui));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"   Can't open : " + dir.path()});

    rec.at(0).ChannelUsed = true;
    ui.shown.clear();
    EXPECT_FALSE(Load(""));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{" log.txt holds no data lines."});
    ui.shown.clear();
    d().HeaderText = 2;
    EXPECT_FALSE(Load("Depth logger 7\nm\n"));
    EXPECT_EQ(ui.texts(),
              std::vector<std::string>{" log.txt holds no data lines: only the 2 header lines the setup names."});

    ui.shown.clear();
    d().HeaderText = 5;
    EXPECT_FALSE(Load("1\n2\n"));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Header too large or UNIX formatted file"});
    d().HeaderText = 0;

    if (::geteuid() != 0) {  // root reads any file
        ui.shown.clear();
        const std::string locked = dir.write("locked.txt", "1\t2\n");
        ::chmod(locked.c_str(), 0);
        d().NameIn = locked;
        EXPECT_FALSE(LoadTextChannel(rec, 0, skips, ui));
        EXPECT_EQ(ui.texts(), std::vector<std::string>{"   Can't open : " + locked});
        rec.at(0).ChannelUsed = true;
    }
}

TEST_F(TextLoader, BinaryJunkIsQuestionedAndNeverCrashes)
{
    std::string junk(60000, '\0');
    for (std::size_t k = 0; k < junk.size(); ++k)
        junk[k] = static_cast<char>((k * 7919 + 13) % 256);
    ui.answers = {Answer::Cancel};
    EXPECT_FALSE(Load(junk, "junk.bin"));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"junk.bin is prob. not a text file. Yet continue?"});

    ui.shown.clear();
    ui.answers = {Answer::Ok, Answer::Yes, Answer::Yes};
    EXPECT_TRUE(Load(junk, "junk.bin"));
    EXPECT_EQ(ui.busyDepth, 0);

    // 1500 bytes are too few to judge: loaded as text without a question.
    std::string small;
    while (small.size() < 1500)
        small += "1\t\x01\n";
    d().NameIn = dir.write("small.txt", small.substr(0, 1500));
    ProbeResult probe = ProbeDataFile(d(), ui);
    EXPECT_EQ(probe.verdict, ProbeVerdict::TooShortToJudge);
    d().NameIn = dir.write("info.bin", "Vk file info\n" + std::string(20000, 'a'));
    probe = ProbeDataFile(d(), ui);
    EXPECT_TRUE(probe.hasInfoHeader);
    EXPECT_EQ(probe.verdict, ProbeVerdict::LooksLikeText);
}

TEST_F(TextLoader, ProgressAndTheCapacityStop)
{
    ASSERT_TRUE(rec.store.Allocate({true, true, true}, 1));  // room for 16384 samples
    std::string text;
    for (int k = 0; k < 20000; ++k)
        text += "0\t" + std::to_string(k % 100) + "\n";
    ASSERT_TRUE(Load(text));
    EXPECT_EQ(Count(), 16384);
    EXPECT_NEAR(Value(16383), 16383 % 100, d().CoeffA);
    EXPECT_EQ(ui.statusTexts, (std::vector<std::string>{"", "  0 %", " 50 %"}));
    ASSERT_EQ(ui.texts().size(), 1u);
    EXPECT_EQ(ui.texts()[0], " log.txt holds more values than a channel can take. The first 16384 values were loaded.");

    // Without auto-scaling the progress is the plain count.
    d().AutoScaling = false;
    ui.statusTexts.clear();
    ui.shown.clear();
    ASSERT_TRUE(Load(text.substr(0, 12 * 1000)));
    EXPECT_EQ(ui.statusTexts, (std::vector<std::string>{"", "0"}));
    EXPECT_TRUE(ui.shown.empty());
}

}  // namespace vk

namespace vk {

TEST_F(TextLoader, PartsSplitAtLineEndsOfEveryConvention)
{
    skips.Skip1Enbld = true;
    skips.Skip1Str = "#";
    d().HeaderText = 3;
    d().ColumnValue = 2;
    for (const char* eol : {"\n", "\r\n", "\r"}) {
        std::string text;
        for (int k = 0; k < 3000; ++k) {
            if (k % 97 == 5)
                text += "# event";
            else if (k % 89 == 7)
                text += std::to_string(k) + ";";  // a missing value
            else
                text += std::to_string(k) + ";" + std::to_string((k * 37) % 1000) + "," + std::to_string(k % 10);
            text += eol;
        }
        d().InDelimiter = ';';
        ASSERT_TRUE(Load(text));
        const int32_t count = Count();
        std::vector<uint16_t> one;
        for (int32_t i = 0; i < count; ++i)
            one.push_back(ReadRaw(rec, i, 0));
        for (int parts : {2, 5, 64}) {
            ASSERT_TRUE(LoadTextChannel(rec, 0, skips, ui, TextLoadOptions{parts}));
            ASSERT_EQ(Count(), count) << parts;
            for (int32_t i = 0; i < count; ++i)
                ASSERT_EQ(ReadRaw(rec, i, 0), one[static_cast<std::size_t>(i)]) << parts << " " << i;
        }
    }
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(TextLoader, MissingValuesAreKeptWhereTheyAre)
{
    // Empty fields, words and numbers that are not finite: the low end is
    // stored as before, and the positions are remembered as missing.
    ASSERT_TRUE(Load("0\t3\t.\n1\t\t.\n2\tnan\t.\n3\t5\t.\n4\tinf\t.\n5\t-inf\t.\n6\t1e999\t.\n7\tfoo\t.\n8\t4\t.\n"));
    EXPECT_EQ(Count(), 9);
    const GapList& missing = rec.at(0).missing;
    ASSERT_EQ(missing.ranges().size(), 2u);
    EXPECT_EQ(missing.ranges()[0], (GapRange{1, 3}));
    EXPECT_EQ(missing.ranges()[1], (GapRange{4, 8}));
    EXPECT_EQ(d().LowRng, 3.0);  // the range from the values alone
    EXPECT_EQ(d().HighRng, 5.0);
    EXPECT_NEAR(ReadRaw(rec, 1, 0), 0, 0.5);  // the stand-in, as the loader always wrote it
    EXPECT_EQ(ReadValue(rec, 1, 0).status, StatusMissing);
    EXPECT_EQ(ReadValue(rec, 3, 0).status, 0);
    EXPECT_TRUE(IsMissing(rec, 0, 7));
    EXPECT_FALSE(IsMissing(rec, 0, 8));
    EXPECT_TRUE(HoldsValues(rec, 0));

    // Read in parts side by side, the same list.
    std::string big;
    for (int k = 0; k < 400000; ++k)
        big += k % 1000 < 3 ? "1\t\t.\n" : "1\t" + std::to_string(k % 97) + "\t.\n";
    ASSERT_TRUE(Load(big, "big.txt"));
    const GapList whole = rec.at(0).missing;
    EXPECT_EQ(whole.ranges().size(), 400u);
    EXPECT_EQ(whole.missing(), 1200);
    d().NameIn = dir.file("big.txt");
    ASSERT_TRUE(LoadTextChannel(rec, 0, skips, ui, TextLoadOptions{4}));
    EXPECT_EQ(rec.at(0).missing, whole);

    // Skipped void lines leave no sample and so nothing missing; a reload starts afresh.
    d().IgnoreEmpLine = true;
    ASSERT_TRUE(Load("0\t3\t.\n1\t\t.\n2\t4\t.\n"));
    EXPECT_EQ(Count(), 2);
    EXPECT_TRUE(rec.at(0).missing.empty());

    // Nothing but words: no value at all.
    d().IgnoreEmpLine = false;
    ASSERT_TRUE(Load("a\tb\nc\td\n"));
    EXPECT_FALSE(HoldsValues(rec, 0));
}

TEST_F(TextLoader, AnAbsurdValueIsNamedWithItsLineAndMayBeTakenAsMissing)
{
    // Whole metres, and one value that would make a raw step coarser than a metre.
    std::string text = "t\tdepth\n";
    for (int k = 0; k < 50; ++k)
        text += std::to_string(k) + "\t" + std::to_string(k % 90) + "\n";
    text += "50\t1e308\n51\t12\n";
    d().HeaderText = 1;
    // Kept (No): the value, its line and the bound are named.
    ui.answers = {Answer::No};
    ASSERT_TRUE(Load(text));
    ASSERT_EQ(ui.texts().size(), 1u);
    const std::string question = ui.texts()[0];
    EXPECT_EQ(question.rfind(" log.txt: line 52 holds 1e+308, far beyond the bulk of the values (1 to 49). 1 value "
                             "lies outside -479 to 529 (line 52).",
                             0),
              0u)
        << question;
    EXPECT_GT(d().CoeffA, 1.0);
    // Taken as missing (Yes): the range and the steps those of the other values.
    ui.shown.clear();
    ui.answers = {Answer::Yes};
    ASSERT_TRUE(Load(text));
    EXPECT_EQ(Count(), 52);
    EXPECT_EQ(rec.at(0).missing.missing(), 1);
    EXPECT_TRUE(IsMissing(rec, 0, 50));
    EXPECT_NEAR(Value(49), 49, d().CoeffA);
    EXPECT_NEAR(Value(51), 12, d().CoeffA);
    EXPECT_LT(d().CoeffA, 0.001);
    EXPECT_LE(d().HighRng, 49);
    // Without a question, as the batch runner loads: refused, or taken as missing with a word.
    for (const OutlierPolicy policy : {OutlierPolicy::Refuse, OutlierPolicy::Missing}) {
        ui.shown.clear();
        const std::string file = dir.write("log.txt", text);
        d().NameIn = file;
        rec.at(0).ChannelUsed = true;
        TextLoadOptions options;
        options.outliers = policy;
        EXPECT_EQ(LoadTextChannel(rec, 0, skips, ui, options), policy == OutlierPolicy::Missing);
        ASSERT_EQ(ui.shown.size(), 1u);
        EXPECT_EQ(ui.shown[0].kind, ScriptedDialogs::Entry::Kind::Message);
        EXPECT_NE(ui.texts()[0].find(policy == OutlierPolicy::Missing ? "taken as missing" : "refused"),
                  std::string::npos)
            << ui.texts()[0];
    }

    // Without the outlier nothing is said.
    ui.shown.clear();
    ASSERT_TRUE(Load(text.substr(0, text.find("50\t1e308"))));
    EXPECT_TRUE(ui.shown.empty());
}

}  // namespace vk

namespace vk {

TEST_F(TextLoader, KeptValuesGiveWhatASecondReadingGives)
{
    // Raw words and missing positions, loaded from the kept values and by
    // reading the text a second time, in one part and in several.
    auto compare = [&](const std::string& text, const char* what, bool kept) {
        d().NameIn = dir.write("kept.txt", text);
        // Whether the kept values stand for the text: plain decimals whose digits a double holds.
        LineReader reader;
        ASSERT_TRUE(reader.open(d().NameIn));
        textload::KeptValues values;
        textload::ScanRange(reader, {2, '\t', {}, {}}, false, &values);
        EXPECT_EQ(values.exact(), kept) << what;
        d().ColumnValue = 2;
        ASSERT_TRUE(LoadTextChannel(rec, 0, skips, ui, TextLoadOptions{1, false})) << what;
        std::vector<uint16_t> reread;
        for (int32_t i = 0; i < Count(); ++i)
            reread.push_back(ReadRaw(rec, i, 0));
        const GapList missing = rec.at(0).missing;
        const double low = d().LowRng, high = d().HighRng;
        for (int parts : {1, 3}) {
            ASSERT_TRUE(LoadTextChannel(rec, 0, skips, ui, TextLoadOptions{parts, true})) << what;
            ASSERT_EQ(static_cast<std::size_t>(Count()), reread.size()) << what;
            for (int32_t i = 0; i < Count(); ++i)
                ASSERT_EQ(ReadRaw(rec, i, 0), reread[static_cast<std::size_t>(i)]) << what << " sample " << i;
            EXPECT_EQ(rec.at(0).missing, missing) << what;
            EXPECT_EQ(d().LowRng, low);
            EXPECT_EQ(d().HighRng, high);
        }
    };
    // Depths with three decimals over a wide range: many values lie near a
    // rounding boundary of the raw scale, where a float alone would go astray.
    std::string depths, mixed, signs, large, beyond, exponents;
    uint32_t state = 12345;
    auto next = [&state] { return state = state * 1664525u + 1013904223u; };
    for (int k = 0; k < 60000; ++k) {
        const uint32_t r = next();
        depths += std::to_string(k) + "\t" + std::to_string(r % 111359 / 1000) + "." +
                  std::to_string(1000 + r % 1000).substr(1) + "\n";
        // Missing values and numbers with one to four decimals, some with a comma.
        if (k % 500 == 7)
            mixed += std::to_string(k) + "\t\n";
        else
            mixed += std::to_string(k) + "\t" + std::to_string(r % 300) + (k % 3 ? "." : ",") +
                     std::to_string(r % 10000).substr(0, 1 + k % 4) + "\n";
        signs += std::to_string(k) + "\t" + (k % 2 ? "-" : "") + std::to_string(r % 50) + "." +
                 std::to_string(100 + r % 100).substr(1) + (k % 1000 == 0 ? "\n0\t-0.000\n" : "\n");
        // Many digits: kept as digits all the same.
        large += std::to_string(k) + "\t" + std::to_string(1000000 + r % 9000000) + "." + std::to_string(r % 10) + "\n";
        // Digits that over the most decimals of the values before would need
        // more than a double holds, from the middle on: the text is read again.
        beyond +=
            std::to_string(k) + "\t" +
            (k < 30000 || k % 7 ? std::to_string(r % 100) + ".125" : "900719925474" + std::to_string(r % 100) + ".9") +
            "\n";
        exponents += std::to_string(k) + "\t" + std::to_string(r % 100) + "e-1\n";
    }
    compare(depths, "depths", true);
    compare(mixed, "mixed decimals", true);
    compare(signs, "signs", true);
    compare(large, "large numbers", true);
    compare(beyond, "beyond a double", false);
    compare(exponents, "exponents", false);
}

}  // namespace vk

namespace vk {

TEST_F(TextLoader, SlotsOfOneFileShareOneReading)
{
    // Depth, temperature and a third column that some lines lack, in one file;
    // a wide absurd value in the third makes its steps coarse.
    std::string text = "logger\nsample;depth;temperature;light\n";
    for (int k = 0; k < 50000; ++k) {
        text += std::to_string(k) + ";" + std::to_string(k % 700 / 10) + "." + std::to_string(k % 10) + ";" +
                std::to_string(12 + k % 300 / 100) + "," + std::to_string(k % 100);
        if (k % 997 != 3)
            text += ";" + std::to_string(k == 777 ? 900000 : k % 50);
        text += k % 4000 == 9 ? "\n\n" : "\n";
    }
    const std::string file = dir.write("logger.csv", text);
    for (int slot = 0; slot < SlotCount; ++slot) {
        ChannelDescriptor& c = rec.desc(slot);
        c.NameIn = file;
        c.ColumnValue = 2 + slot;
        c.InDelimiter = ';';
        c.HeaderText = 2;
        c.AutoScaling = true;
    }
    ASSERT_TRUE(ShareOneReading(rec, 0, 1));
    ASSERT_TRUE(ShareOneReading(rec, 1, 2));

    // Slot by slot, as before.
    struct Loaded {
        std::vector<std::vector<uint16_t>> raw;
        std::vector<GapList> missing;
        std::vector<std::string> texts, statuses;
    };
    auto collect = [&] {
        Loaded l;
        for (int slot = 0; slot < SlotCount; ++slot) {
            std::vector<uint16_t> words;
            for (int32_t i = 0; i <= rec.desc(slot).DataCnt; ++i)
                words.push_back(ReadRaw(rec, i, slot));
            l.raw.push_back(words);
            l.missing.push_back(rec.at(slot).missing);
        }
        l.texts = ui.texts();
        l.statuses = ui.statusTexts;
        ui.shown.clear();
        ui.statusTexts.clear();
        return l;
    };
    ui.answers = {Answer::Yes};  // the third column's absurd value: taken as missing
    for (int slot = 0; slot < SlotCount; ++slot)
        ASSERT_TRUE(LoadTextChannel(rec, slot, skips, ui));
    const Loaded apart = collect();
    ASSERT_EQ(apart.texts.size(), 2u);  // the short lines told, then the question on the absurd value

    std::vector<int> told;
    for (int parts : {1, 3}) {
        ui.answers = {Answer::Yes};
        told.clear();
        ASSERT_TRUE(LoadTextChannels(
            rec, {0, 1, 2}, skips, ui, [&](int slot) { told.push_back(slot); }, TextLoadOptions{parts}));
        const Loaded together = collect();
        EXPECT_EQ(together.raw, apart.raw) << parts;
        EXPECT_EQ(together.missing, apart.missing);
        EXPECT_EQ(together.texts, apart.texts);
        if (parts == 1) {
            EXPECT_EQ(together.statuses, apart.statuses);
        }
        EXPECT_EQ(told, (std::vector<int>{1, 2}));
    }
    // Answered No, the absurd value is kept, as alone.
    ui.answers = {Answer::No};
    EXPECT_TRUE(LoadTextChannels(rec, {0, 1, 2}, skips, ui, {}));
    EXPECT_EQ(rec.at(2).missing.missing(), apart.missing[2].missing() - 1);

    // Other lines to skip, another delimiter or a slot not auto-scaled: a reading each.
    rec.at(1).SkipCount = 5;
    EXPECT_FALSE(ShareOneReading(rec, 0, 1));
    rec.at(1).SkipCount = 0;
    rec.desc(2).AutoScaling = false;
    EXPECT_FALSE(ShareOneReading(rec, 1, 2));
    rec.desc(1).InDelimiter = ',';
    EXPECT_FALSE(ShareOneReading(rec, 0, 1));
}

}  // namespace vk

namespace vk {

// The bulk's quantiles are found without a copy of the values, and exactly
// as a sort finds them: negative, zero of either sign, repeated and infinite
// values, values spread across parts, missing ones passed over.
TEST(Outliers, TheBulkIsTheSortedValuesQuantiles)
{
    // FindOutliers against the floats of the values sorted.
    auto check = [](std::vector<textload::KeptValues>& kept, std::vector<float> all, const std::string& what) {
        for (textload::KeptValues& k : kept)
            k.finish();
        const std::optional<OutlierBounds> b = FindOutliers(kept);
        if (all.empty()) {
            EXPECT_FALSE(b);
            return;
        }
        std::sort(all.begin(), all.end());
        const std::size_t trimmed =
            std::min(std::max<std::size_t>(1, static_cast<std::size_t>(0.001 * all.size())), (all.size() - 1) / 2);
        const double low = all[trimmed], high = all[all.size() - 1 - trimmed];
        if (!std::isfinite(low) || !std::isfinite(high)) {
            EXPECT_FALSE(b);
            return;
        }
        const double span = high > low ? high - low : std::max(std::fabs(high), 1.0);
        const bool any = std::any_of(all.begin(), all.end(),
                                     [&](float v) { return !(v >= low - 10 * span && v <= high + 10 * span); });
        ASSERT_EQ(b.has_value(), any) << what;
        if (b) {
            EXPECT_EQ(b->bulkLow, low) << what;
            EXPECT_EQ(b->bulkHigh, high) << what;
        }
    };
    std::mt19937 random(11);
    for (int round = 0; round < 40; ++round) {
        // Values kept as floats.
        std::vector<textload::KeptValues> kept(1 + round % 3);
        std::vector<float> all;
        const int n = 1 + static_cast<int>(random() % (round < 20 ? 50 : 20000));
        for (int i = 0; i < n; ++i) {
            float v = 0;
            switch (random() % 8) {
            case 0: v = NAN; break;
            case 1: v = -0.0f; break;
            case 2: v = 1.25f; break;
            case 3: v = round % 5 == 0 ? INFINITY : 3.0f; break;
            default: v = std::uniform_real_distribution<float>(-200, 300)(random);
            }
            kept[static_cast<std::size_t>(i) % kept.size()].add(v, -1, 0);
            if (!std::isnan(v))
                all.push_back(v);
        }
        check(kept, all, "floats, round " + std::to_string(round));
    }
    for (int round = 0; round < 40; ++round) {
        // Values kept as digits with zero to four decimals, spikes among them;
        // in some rounds digits that over the most decimals would pass a double.
        std::vector<textload::KeptValues> kept(1 + round % 3);
        std::vector<float> all;
        const int n = 1 + static_cast<int>(random() % (round < 20 ? 50 : 40000));
        for (int i = 0; i < n; ++i) {
            const auto k = static_cast<std::size_t>(i) % kept.size();
            if (random() % 50 == 0) {
                kept[k].addMissing();
                continue;
            }
            // A whole number early, in a chunk of its own decimals.
            const bool whole = round % 4 == 3 && i < n / 2;
            const int decimals = whole ? 0 : static_cast<int>(random() % 5);
            int64_t digits = static_cast<int64_t>(random() % 600001) - 200000;
            if (random() % 1000 == 0)
                digits *= 100000;  // far beyond the bulk
            if (whole && i == n / 4)
                digits = int64_t{1} << 50;  // 10^4 times it passes a double
            const double value = static_cast<double>(digits) / std::pow(10.0, decimals);
            kept[k].add(value, decimals, digits);
            all.push_back(static_cast<float>(value));
        }
        check(kept, all, "digits, round " + std::to_string(round));
    }
    // Chunks whose decimals lie further apart than a whole number's powers of ten reach.
    std::vector<textload::KeptValues> apart(1);
    std::vector<float> all;
    for (int i = 0; i < 30000; ++i) {
        const bool tiny = static_cast<uint32_t>(i) >= textload::KeptValues::ChunkValues;
        const int64_t digits = 1 + i % 1000;
        const double value = tiny ? static_cast<double>(digits) / 1e20 : static_cast<double>(digits);
        apart[0].add(value, tiny ? 20 : 0, digits);
        all.push_back(static_cast<float>(value));
    }
    check(apart, all, "decimals 0 and 20");
    // An absurd value among ordinary ones: found, with the bulk as the sort gives it.
    std::vector<textload::KeptValues> one(1);
    for (int i = 0; i < 5000; ++i)
        one[0].add(static_cast<float>(i % 100) / 10, -1, 0);
    one[0].add(1e30f, -1, 0);
    one[0].finish();
    const std::optional<OutlierBounds> found = FindOutliers(one);
    ASSERT_TRUE(found);
    EXPECT_FLOAT_EQ(found->bulkLow, 0.0f);
    EXPECT_FLOAT_EQ(found->bulkHigh, 9.9f);
}

}  // namespace vk

namespace vk {

TEST_F(TextLoader, LinesReadInPlaceGiveWhatReadingEachLineAloneGives)
{
    // Lines of every shape, through small buffers (lines cut at the limit,
    // lines across fills) and a usual one. The same passes with a skip string
    // that never occurs read each line alone: every figure must agree.
    const std::string pieces[] = {"12.5",
                                  "-3",
                                  "",
                                  " 7",
                                  "abc",
                                  "1e3",
                                  "0,25",
                                  "4 ",
                                  "7.",
                                  ".5",
                                  "+2",
                                  "-0.000",
                                  "1.2.3",
                                  "-",
                                  "123456789.5",
                                  "x1",
                                  "9\r",
                                  "1234.56",
                                  ",",
                                  "  ",
                                  "5\t6",
                                  "-1.5",
                                  std::string(60, '7')};
    uint32_t state = 99;
    auto next = [&state] { return (state = state * 1103515245u + 12345u) >> 8; };
    for (const char delimiter : {';', '\t', ','}) {
        std::string text;
        for (int n = 0; n < 3000; ++n) {
            const uint32_t shape = next() % 20;
            if (shape == 0) {
                text += shape % 2 ? "\n" : "\r\n";  // empty
                continue;
            }
            if (shape == 1)
                text += ' ';  // blanks before the first column
            const int fields = 1 + static_cast<int>(next() % 5);
            for (int f = 0; f < fields; ++f) {
                if (f)
                    text += delimiter;
                // Mostly plain decimals, as real files have them.
                text += next() % 3 ? std::to_string(next() % 2000) + "." + std::to_string(next() % 100)
                                   : pieces[next() % std::size(pieces)];
            }
            text += next() % 4 ? "\n" : "\r\n";
        }
        text += "1;2;3";  // no line end at the file's end
        const std::string path = dir.write("shapes.txt", text);
        for (const std::size_t buffer : {std::size_t{96}, std::size_t{1} << 20}) {
            auto reader = [&] {
                auto r = std::make_unique<LineReader>(48, buffer);
                EXPECT_TRUE(r->open(path));
                return r;
            };
            const std::string what = std::string("delimiter ") + delimiter + ", buffer " + std::to_string(buffer);
            for (const int column : {1, 2, 4}) {
                const textload::LineRules inPlace{column, delimiter, {}, {}}, alone{column, delimiter, "\x01", {}};
                textload::KeptValues keptInPlace, keptAlone;
                const textload::RangeScan a = textload::ScanRange(*reader(), inPlace, false, &keptInPlace);
                const textload::RangeScan b = textload::ScanRange(*reader(), alone, false, &keptAlone);
                EXPECT_EQ(std::tie(a.lines, a.valueLines, a.samples, a.smallestLine, a.largestLine, a.shortLines,
                                   a.firstShort),
                          std::tie(b.lines, b.valueLines, b.samples, b.smallestLine, b.largestLine, b.shortLines,
                                   b.firstShort))
                    << what;
                EXPECT_EQ(std::tie(a.smallest, a.largest, a.resolution), std::tie(b.smallest, b.largest, b.resolution))
                    << what;
                std::vector<double> inPlaceValues, aloneValues;
                keptInPlace.forEach([&](double v) { inPlaceValues.push_back(v); });
                keptAlone.forEach([&](double v) { aloneValues.push_back(v); });
                ASSERT_EQ(inPlaceValues.size(), aloneValues.size()) << what;
                for (std::size_t k = 0; k < aloneValues.size(); ++k)
                    ASSERT_TRUE(std::memcmp(&inPlaceValues[k], &aloneValues[k], sizeof(double)) == 0)
                        << what << " value " << k;

                // The sample load, whole and stopped halfway: the next line read is the same.
                for (const bool ignoreEmpty : {false, true}) {
                    const textload::Conversion conv{1.0, 0.0, -10.0, 1.0, 100.0, ignoreEmpty};
                    for (const int32_t limit : {int32_t{1} << 20, static_cast<int32_t>(b.samples / 2)}) {
                        std::vector<std::vector<uint16_t>> words;
                        std::vector<std::string> after;
                        std::vector<textload::LoadResult> results;
                        for (const textload::LineRules* rules : {&inPlace, &alone}) {
                            auto r = reader();
                            results.push_back(textload::LoadRange(rec, 0, *r, *rules, conv, 0, limit, {}));
                            std::vector<uint16_t>& w = words.emplace_back();
                            for (int32_t i = 0; i < results.back().count; ++i)
                                w.push_back(
                                    rec.store.block(0, i >> SampleStore::BlockShift)[i & SampleStore::BlockMask]);
                            std::string_view line;
                            after.emplace_back(r->next(line) ? line : "(end)");
                        }
                        EXPECT_EQ(words[0], words[1]) << what << ", limit " << limit;
                        EXPECT_EQ(after[0], after[1]) << what << ", limit " << limit;
                        EXPECT_EQ(std::tie(results[0].count, results[0].valueLines, results[0].shortLines,
                                           results[0].firstShort, results[0].missing),
                                  std::tie(results[1].count, results[1].valueLines, results[1].shortLines,
                                           results[1].firstShort, results[1].missing))
                            << what << ", limit " << limit;
                    }
                }
            }
            // Several columns in one walk.
            std::vector<textload::KeptValues> keptInPlace(3), keptAlone(3);
            const std::vector<textload::LineRules> inPlace{
                {3, delimiter, {}, {}}, {1, delimiter, {}, {}}, {2, delimiter, {}, {}}},
                alone{{3, delimiter, "\x01", {}}, {1, delimiter, "\x01", {}}, {2, delimiter, "\x01", {}}};
            const auto a = textload::ScanColumns(*reader(), inPlace, false, keptInPlace);
            const auto b = textload::ScanColumns(*reader(), alone, false, keptAlone);
            for (std::size_t k = 0; k < 3; ++k) {
                EXPECT_EQ(std::tie(a[k].samples, a[k].smallest, a[k].largest, a[k].resolution, a[k].firstShort),
                          std::tie(b[k].samples, b[k].smallest, b[k].largest, b[k].resolution, b[k].firstShort))
                    << what << " column " << k;
                std::vector<double> x, y;
                keptInPlace[k].forEach([&](double v) { x.push_back(v); });
                keptAlone[k].forEach([&](double v) { y.push_back(v); });
                EXPECT_EQ(std::memcmp(x.data(), y.data(), x.size() * sizeof(double)), 0) << what;
                EXPECT_EQ(x.size(), y.size());
            }
        }
    }
}

}  // namespace vk
