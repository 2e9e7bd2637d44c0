#include <cmath>
#include <functional>

#include "ProcessFixture.h"
#include "core/store/FileUtil.h"

namespace vk {

namespace {

using test::ProcessFixture;

// After an operation on first .. last: every sample there is expected(i, former
// raw word), every other one as it was.
void ExpectSection(const std::vector<uint16_t>& before, const std::vector<uint16_t>& after, int32_t first,
                   int32_t last, const std::function<uint16_t(int32_t, uint16_t)>& expected)
{
    ASSERT_EQ(before.size(), after.size());
    for (int32_t i = 0; i < static_cast<int32_t>(after.size()); ++i) {
        const auto k = static_cast<std::size_t>(i);
        const uint16_t want = i >= first && i <= last ? expected(i, before[k]) : before[k];
        ASSERT_EQ(after[k], want) << "index " << i;
    }
}

// Round half to even, clamped to the raw range.
uint16_t Word(double r)
{
    const double n = std::nearbyint(r);
    return static_cast<uint16_t>(std::clamp(n, 0.0, 65535.0));
}

TEST_F(ProcessFixture, EveryOperationGivesTheRawValuesComputedByHand)
{
    auto run = [&](int code, std::optional<std::string> input, int32_t first, int32_t last, int variant,
                   double height, const std::function<uint16_t(int32_t, uint16_t)>& expected) {
        SCOPED_TRACE(code);
        const std::vector<uint16_t> before = words(0);
        if (input)
            ui.inputs.push_back(input);
        const CommandResult r = section(code, first, last, variant, height);
        ExpectSection(before, words(0), first, last, expected);
        EXPECT_EQ(r.changed.bySlot[0].from, first);
        EXPECT_EQ(r.changed.bySlot[0].to, last + 1);  // the last sample belongs to the change
        EXPECT_TRUE(rec.at(0).ChannelModified);
        ASSERT_TRUE(undo->Pop().undone);
        EXPECT_EQ(words(0), before);  // the last sample is restored too
        rec.at(0).ChannelModified = false;
    };
    const double z = 10000;  // raw position of physical zero
    run(SectionAdd, "2,5", 100, 200, RampNone, 0, [](int32_t, uint16_t r) { return Word(r + 250.0); });
    run(SectionDivide, "4", 100, 200, RampNone, 0, [z](int32_t, uint16_t r) { return Word(z + (r - z) / 4); });
    run(SectionConstant, "12.5", 100, 200, RampNone, 0, [](int32_t, uint16_t) { return uint16_t{11250}; });
    run(SectionSine, std::nullopt, 100, 200, RampNone, 0,
        [](int32_t, uint16_t r) { return Word((std::sin(r * 0.01 - 100) + 100) / 0.01); });
    run(SectionCosine, std::nullopt, 100, 200, RampNone, 0,
        [](int32_t, uint16_t r) { return Word((std::cos(r * 0.01 - 100) + 100) / 0.01); });
    run(SectionNegativeToZero, std::nullopt, 100, 200, RampNone, 0,
        [](int32_t, uint16_t r) { return r < 10000 ? uint16_t{10000} : r; });

    // A ramp of 10 is 0 at the anchored cursor and 10 (1000 raw steps) at the other.
    run(SectionRamp, std::nullopt, 100, 200, RampZeroAtF4, 10,
        [](int32_t i, uint16_t r) { return Word(r + (i - 100) * 10.0); });
    run(SectionRamp, std::nullopt, 100, 200, RampZeroAtF5, 10,
        [](int32_t i, uint16_t r) { return Word(r + (200 - i) * 10.0); });
    // From F4 = 0 the first sample takes part: with the ramp 0 at F5 it rises by the whole height.
    run(SectionRamp, std::nullopt, 0, 100, RampZeroAtF5, 10,
        [](int32_t i, uint16_t r) { return Word(r + (100 - i) * 10.0); });

    // Equalize: tilted about F4 the value at F5 becomes the one at F4, about F5 the reverse.
    const double rise = static_cast<double>(raw(200)) - raw(100);
    for (int variant : {RampZeroAtF4, RampZeroAtF5}) {
        const std::vector<uint16_t> before = words(0);
        section(SectionEqualize, 100, 200, variant);
        const std::vector<uint16_t> after = words(0);
        if (variant == RampZeroAtF4) {
            EXPECT_EQ(after[200], before[100]);
            EXPECT_EQ(after[100], before[100]);
        } else {
            EXPECT_EQ(after[100], before[200]);
            EXPECT_EQ(after[200], before[200]);
        }
        for (int32_t i = 100; i <= 200; ++i) {
            const double k = i - 100;
            const double want = variant == RampZeroAtF4 ? before[i] - k * rise / 100 : before[i] + (100 - k) * rise / 100;
            EXPECT_NEAR(after[static_cast<std::size_t>(i)], std::clamp(want, 0.0, 65535.0), 0.5 + 1e-9) << i;
        }
        undo->Pop();
    }
    rec.pendingHint = HintNone;  // the tilt went below the raw range

    // Multiply by 3 leaves the raw range at both ends: clamped, and the hint left.
    EXPECT_EQ(rec.pendingHint, HintNone);
    run(SectionMultiply, "3", 1, 999, RampNone, 0, [z](int32_t, uint16_t r) { return Word(z + (r - z) * 3); });
    EXPECT_EQ(rec.pendingHint, HintRangeExcess);
}

TEST_F(ProcessFixture, TheWholeChannelChangesOnlyItsCalibration)
{
    const std::vector<uint16_t> before = words(0);
    ui.inputs.push_back("-1");
    const CommandResult r = sectionAt(SectionMultiply, 0, end());
    EXPECT_EQ(words(0), before);
    EXPECT_FALSE(r.changed.bySlot[0].any());
    const ChannelDescriptor& d = rec.desc(0);
    EXPECT_EQ(d.CoeffA, -0.01);
    EXPECT_EQ(d.CoeffB, 100);
    EXPECT_TRUE(rec.at(0).ChannelModified);
    EXPECT_EQ(undo->MenuCaption(), "Undo Arithm.");

    // Now the values are 100 - raw / 100: "Del. < 0" zeroes those above raw 10000 and keeps the positive ones.
    section(SectionNegativeToZero, 0, 999);
    ExpectSection(before, words(0), 0, 999, [](int32_t, uint16_t w) { return w > 10000 ? uint16_t{10000} : w; });

    ui.inputs.push_back("4");
    sectionAt(SectionDivide, 0, end());
    EXPECT_DOUBLE_EQ(rec.desc(0).CoeffA, -0.0025);
    ui.inputs.push_back("7");
    sectionAt(SectionAdd, 0, end());
    EXPECT_DOUBLE_EQ(rec.desc(0).CoeffB, 32);
    for (int i = 0; i < 4; ++i)
        undo->Pop();
    EXPECT_EQ(words(0), before);
    EXPECT_EQ(rec.desc(0).CoeffA, 0.01);
    EXPECT_EQ(rec.desc(0).CoeffB, -100);
}

TEST_F(ProcessFixture, NothingIsWrittenOutsideTheStoredChannelNorWhereValuesAreMissing)
{
    // Slot 1 ends at 299; its block holds sentinels beyond.
    rec.desc(1).DataCnt = 299;
    uint16_t* block = rec.store.block(1, 0);
    for (int32_t i = 300; i < 1000; ++i)
        block[i] = 7;
    ui.inputs.push_back("1");
    const CommandResult r = section(SectionAdd, 250, 900, RampNone, 0, 1);
    EXPECT_EQ(r.changed.bySlot[1].to, 300);
    for (int32_t i = 250; i < 300; ++i)
        EXPECT_EQ(block[i], raw(i) + 100);
    for (int32_t i = 300; i < 1000; ++i)
        ASSERT_EQ(block[i], 7);

    // Missing values keep their stand-ins; equalizing to a missing end is refused.
    rec.at(0).missing.add(400, 410);
    for (int32_t i = 400; i < 410; ++i)
        WriteRaw(rec, i, 0, 0);
    ui.inputs.push_back("1");
    section(SectionAdd, 350, 450);
    for (int32_t i = 350; i <= 450; ++i)
        EXPECT_EQ(ReadRaw(rec, i, 0), i >= 400 && i < 410 ? 0 : raw(i) + 100) << i;
    const int steps = undo->top();
    section(SectionEqualize, 300, 405, RampZeroAtF4);
    EXPECT_EQ(undo->top(), steps);
    EXPECT_EQ(ui.texts().back(), "There is no value at F4 or at F5: the ends cannot be equalized.");
}

TEST_F(ProcessFixture, RefusalsAndCancelLeaveEverythingAsItWas)
{
    const std::vector<uint16_t> before = words(0);
    const DescriptorImage image = EncodeDescriptor(rec.desc(0));
    auto unchanged = [&](const char* what) {
        SCOPED_TRACE(what);
        EXPECT_EQ(words(0), before);
        EXPECT_EQ(EncodeDescriptor(rec.desc(0)), image);
        EXPECT_EQ(undo->top(), 0);
        EXPECT_FALSE(rec.at(0).ChannelModified);
        EXPECT_EQ(rec.pendingHint, HintNone);
    };
    auto lastText = [&] { return ui.shown.empty() ? std::string() : ui.shown.back().text; };

    ui.inputs.push_back(std::nullopt);  // Cancel
    section(SectionMultiply, 100, 200);
    unchanged("cancel");
    EXPECT_EQ(lastText(), "Multiply |Multiply work. section with");
    ui.inputs.push_back(std::nullopt);
    section(SectionConstant, 100, 200);
    unchanged("cancel set constant");
    EXPECT_EQ(lastText(), "Set constant|Set values = ");

    ui.inputs.push_back("zwei");
    section(SectionAdd, 100, 200);
    unchanged("not a number");
    EXPECT_EQ(lastText(), "'zwei' is not a valid floating point value");
    ui.inputs.push_back("");
    section(SectionConstant, 100, 200);
    EXPECT_EQ(lastText(), "'' is not a valid floating point value");

    for (const char* tiny : {"0", "-0.0000009"}) {
        ui.inputs.push_back(tiny);
        section(SectionDivide, 100, 200);
        unchanged(tiny);
        EXPECT_EQ(lastText(), "invalid operator");
    }
    ui.inputs.push_back("1e307");  // a calibration that would overflow
    sectionAt(SectionMultiply, 0, end());
    unchanged("overflow");
    EXPECT_EQ(lastText(), "invalid operator");

    ui.inputs.push_back("0");
    section(SectionAdd, 100, 200);
    unchanged("add 0");
    section(SectionRamp, 100, 200, RampZeroAtF4, 0);
    unchanged("ramp 0");

    // One sample is no section: nothing is even asked.
    const std::size_t shown = ui.shown.size();
    section(SectionAdd, 150, 150);
    sectionAt(SectionAdd, 150500, 151400);
    EXPECT_EQ(ui.shown.size(), shown);
    unchanged("one sample");

    // A polynomial applied: the help page says why, nothing is asked.
    rec.desc(0).bApplyPolynom = true;
    rec.desc(0).Poly_E = 0.5;
    section(SectionAdd, 100, 200);
    EXPECT_EQ(ui.helpPages, std::vector<std::string>{"ErrPoly.rtf"});
    EXPECT_EQ(ui.shown.size(), shown);
    rec.desc(0).bApplyPolynom = false;
    rec.desc(0).Poly_E = 0;
    rec.desc(0).bSet = false;
    unchanged("polynomial");
}

}  // namespace

}  // namespace vk
