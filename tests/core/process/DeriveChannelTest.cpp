#include <cmath>
#include <functional>
#include <random>

#include "ProcessFixture.h"
#include "core/process/PolynomialSetting.h"
#include "core/store/FileUtil.h"

namespace vk {

namespace {

using test::ProcessFixture;

// Every stored value of the slot lies within half a raw step of want(j).
void ExpectFitted(const Recording& rec, int slot, const std::vector<double>& want)
{
    const ChannelDescriptor& d = rec.desc(slot);
    EXPECT_EQ(d.CoeffC, 0);
    EXPECT_EQ(d.yOffset, 0);
    EXPECT_EQ(d.Min, d.CoeffB);  // the shown range is the fitted one
    EXPECT_NEAR(d.Max, d.CoeffB + 65535 * d.CoeffA, 1e-9 * std::fabs(d.Max) + 1e-12);
    for (int32_t j = 0; j < static_cast<int32_t>(want.size()); ++j)
        ASSERT_NEAR(ReadValue(rec, j, slot).value, want[static_cast<std::size_t>(j)], d.CoeffA / 2 * (1 + 1e-9))
            << "index " << j;
}

std::vector<double> Expected(int code, const std::vector<double>& y)
{
    const auto n = static_cast<int32_t>(y.size());
    auto at = [&](int32_t i) { return y[static_cast<std::size_t>(std::clamp(i, 0, n - 1))]; };
    std::vector<double> v;
    double sum = 0;
    for (int32_t j = 0; j < n; ++j) {
        if (code == DeriveIntegrate) {
            sum += at(j);
            v.push_back(sum);
        } else if (code == DeriveDifferentiate) {
            v.push_back((at(j + 1) - at(j - 1)) / 2);
        } else {
            double d = j == 0 ? at(0) : at(j) - at(j - 1);
            if (j > 0)
                d = d > 180 ? d - 360 : d < -180 ? d + 360 : d;
            v.push_back(d);
        }
    }
    return v;
}

TEST_F(ProcessFixture, OneChannelDerivationsAreTheSameInPlaceAndIntoAnotherSlot)
{
    // Headings for the compass difference: 350 -> 10 is +20, 10 -> 350 is -20.
    for (int32_t i = 0; i < Samples; ++i) {
        const double heading = i < 300 ? 350 : i < 600 ? 10 : 350 - (i - 600) % 7;
        WriteRaw(rec, i, static_cast<uint16_t>((heading + 100) * 100), 0);
    }
    const std::vector<double> y = values(0);
    const std::vector<uint16_t> source = words(0);
    for (int code : {DeriveIntegrate, DeriveDifferentiate, DeriveCompass}) {
        SCOPED_TRACE(code);
        const int lag = code == DeriveDifferentiate ? 0 : 1;
        derive(code, 0, 2, 0, lag);
        EXPECT_EQ(words(0), source);
        const std::vector<uint16_t> elsewhere = words(2);
        const ChannelDescriptor fitted = rec.desc(2);
        ExpectFitted(rec, 2, Expected(code, y));

        const CommandResult r = derive(code, 0, 0, 0, lag);
        EXPECT_EQ(words(0), elsewhere);
        EXPECT_EQ(rec.desc(0).CoeffA, fitted.CoeffA);
        EXPECT_EQ(rec.desc(0).CoeffB, fitted.CoeffB);
        EXPECT_EQ(r.changed.bySlot[0].from, 0);
        EXPECT_EQ(r.changed.bySlot[0].to, Samples);
        EXPECT_EQ(undo->MenuCaption(), "Undo Bi-Chnl");
        undo->Pop();
        undo->Pop();
        EXPECT_EQ(words(0), source);
    }
    derive(DeriveCompass, 0, 0);
    EXPECT_NEAR(ReadValue(rec, 300, 0).value, 20, rec.desc(0).CoeffA);
    EXPECT_NEAR(ReadValue(rec, 600, 0).value, -20, rec.desc(0).CoeffA);
}

TEST_F(ProcessFixture, ConstantChannelsGiveALineAndZeros)
{
    for (int32_t i = 0; i < Samples; ++i)
        WriteRaw(rec, i, 12000, 0);  // 20 everywhere
    derive(DeriveIntegrate, 0, 1);
    for (int32_t i = 0; i < Samples; ++i)
        ASSERT_NEAR(ReadValue(rec, i, 1).value, 20.0 * (i + 1), rec.desc(1).CoeffA / 2 + 1e-9) << i;
    derive(DeriveDifferentiate, 0, 0, 0, 0);
    EXPECT_EQ(rec.desc(0).CoeffB, 0);  // the range of a constant series: 0 .. 1024
    EXPECT_DOUBLE_EQ(rec.desc(0).CoeffA, 1024.0 / 65535);
    for (int32_t i = 0; i < Samples; ++i)
        ASSERT_EQ(ReadRaw(rec, i, 0), 0);
}

TEST_F(ProcessFixture, BiChannelIntoEachResultSlotAndItsRefusals)
{
    for (int32_t i = 0; i < Samples; ++i)
        WriteRaw(rec, i, static_cast<uint16_t>(20000 + (i * 7919) % 9000), 2);
    const std::vector<double> a = values(0), b = values(2);
    std::vector<double> difference, sum;
    for (std::size_t j = 0; j < a.size(); ++j) {
        difference.push_back(b[j] - a[j]);  // the second field's channel minus the first's
        sum.push_back(a[j] + b[j]);
    }
    for (int result = 0; result < SlotCount; ++result) {
        SCOPED_TRACE(result);
        derive(DeriveSubtract, 0, result, 2);
        ExpectFitted(rec, result, difference);
        EXPECT_TRUE(rec.at(result).ChannelModified);
        undo->Pop();
        derive(DeriveAbsSum, 0, result, 2);
        ExpectFitted(rec, result, sum);  // every sum is positive here
        undo->Pop();
    }
    EXPECT_EQ(values(0), a);
    EXPECT_EQ(values(2), b);
    EXPECT_FALSE(FileExists(undo->stackFile()));

    const std::array<std::vector<uint16_t>, 3> stored{words(0), words(1), words(2)};
    auto refused = [&](const char* what) {
        SCOPED_TRACE(what);
        for (int k = 0; k < SlotCount; ++k)
            EXPECT_EQ(words(k), stored[static_cast<std::size_t>(k)]);
        EXPECT_EQ(undo->top(), 0);
    };
    rec.desc(2).SampRate = 2000;
    derive(DeriveSubtract, 0, 1, 2);
    refused("interval");
    EXPECT_EQ(ui.texts().back(),
              "Channel 1 is sampled every 1000 ms, channel 3 every 2000 ms. Channels can only be combined with the "
              "same sampling interval and start time; ESIdiff.txt in the help explains why.");
    EXPECT_EQ(ui.helpPages.back(), "ESIdiff.txt");
    rec.desc(2).SampRate = 1000;
    rec.desc(1).StartTime += 1000;  // the result slot too must share the time base
    derive(DeriveAdd, 0, 1, 2);
    refused("start time");
    EXPECT_NE(ui.texts().back().find("channel 2 at "), std::string::npos);
    rec.desc(1).StartTime -= 1000;

    rec.at(1).ChannelUsed = false;
    derive(DeriveAdd, 0, 1, 2);
    refused("unused result");
    EXPECT_EQ(ui.texts().back(), "Error. One of the channels does not exist");
    rec.at(1).ChannelUsed = true;

    // A polynomial on any slot involved, the result included, is refused.
    rec.desc(1).bApplyPolynom = true;
    rec.desc(1).Poly_A = 3;
    derive(DeriveAdd, 0, 1, 2);
    refused("polynomial");
    EXPECT_EQ(ui.helpPages.back(), "ErrPoly.rtf");
    rec.desc(0).bApplyPolynom = true;
    rec.desc(0).Poly_A = 3;
    derive(DeriveIntegrate, 0, 0);
    refused("polynomial in place");
}

TEST_F(ProcessFixture, MissingValuesStayMissingAndOutsideTheFit)
{
    // Positions 400..409 had no value; their stand-in reads as -100, far below the rest.
    rec.at(0).missing.add(400, 410);
    for (int32_t i = 400; i < 410; ++i)
        WriteRaw(rec, i, 0, 0);
    std::vector<double> y = values(0);
    derive(DeriveIntegrate, 0, 1);
    double sum = 0, least = 0;
    for (int32_t j = 0; j < Samples; ++j) {
        const bool missing = j >= 400 && j < 410;
        EXPECT_EQ(IsMissing(rec, 1, j), missing) << j;
        if (missing)
            continue;
        sum += y[static_cast<std::size_t>(j)];
        least = std::min(least, sum);
        ASSERT_NEAR(ReadValue(rec, j, 1).value, sum, rec.desc(1).CoeffA / 2 * (1 + 1e-9)) << j;
    }
    EXPECT_NEAR(rec.desc(1).Min, least, 1e-6);  // the stand-ins are not in the fit

    // The centred difference needs both neighbours.
    const CommandResult r = derive(DeriveDifferentiate, 0, 0, 0, 0);
    EXPECT_TRUE(r.changed.bySlot[0].length);
    ASSERT_EQ(rec.at(0).missing.ranges().size(), 1u);
    EXPECT_EQ(rec.at(0).missing.ranges()[0], (GapRange{399, 411}));
    const UndoStack::PopResult back = undo->Pop();
    EXPECT_TRUE(back.changed.bySlot[0].length);
    EXPECT_EQ(rec.at(0).missing.ranges()[0], (GapRange{400, 410}));
}

TEST_F(ProcessFixture, RandomCommandsOnThreeChannelsAreUndoneToTheLastWord)
{
    rec.at(2).missing.add(700, 720);
    struct Snapshot {
        std::array<std::vector<uint16_t>, 3> samples;
        std::array<DescriptorImage, 3> images;
        std::array<GapList, 3> gaps;
        bool operator==(const Snapshot&) const = default;
    };
    auto take = [&] {
        Snapshot s;
        for (int k = 0; k < SlotCount; ++k) {
            const auto i = static_cast<std::size_t>(k);
            s.samples[i] = words(k, 8);
            s.images[i] = EncodeDescriptor(rec.desc(k));
            s.gaps[i] = rec.at(k).missing;
        }
        return s;
    };
    std::mt19937 random(15);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    std::vector<Snapshot> history;
    for (int round = 0; round < 300; ++round) {
        if (!history.empty() && pick(4) == 0) {
            ASSERT_TRUE(undo->Pop().undone);
            ASSERT_TRUE(take() == history.back()) << "round " << round;
            history.pop_back();
            continue;
        }
        const Snapshot before = take();
        const int steps = undo->top();
        const int slot = pick(3);
        const int32_t first = pick(Samples), last = first + pick(Samples);
        switch (pick(5)) {
        case 0: {
            static const int codes[] = {SectionNegativeToZero, SectionAdd,      SectionDivide,   SectionMultiply,
                                        SectionRamp,           SectionEqualize, SectionConstant, SectionSine};
            const int code = codes[pick(8)];
            ui.inputs.push_back(std::to_string(pick(7) - 3) + ".5");
            section(code, first, last, 1 + pick(2), pick(20) - 10.0, slot);
            break;
        }
        case 1:
            ui.inputs.push_back(pick(2) ? "-2" : "0.5");
            sectionAt(SectionAdd + pick(3), 0, end(), RampNone, 0, slot);
            break;
        case 2: derive(1 + pick(3), pick(3), slot, pick(3)); break;
        case 3: derive(DeriveIntegrate + pick(3), slot, slot, slot, pick(2)); break;
        default: {
            PolynomialSetting p = pick(2) ? IdentityPolynomial() : PolynomialOf(rec.desc(slot));
            p.coeff[static_cast<std::size_t>(pick(11))] += pick(3) * 0.25;
            p.apply = pick(3) == 0;
            CommandSteps one(*undo);
            ViewContext cx{rec, view, ui, one};
            SetPolynomial(cx, slot, p);
            break;
        }
        }
        ui.inputs.clear();
        if (undo->top() != steps)
            history.push_back(before);
        else
            ASSERT_TRUE(take() == before) << "a refused command changed something, round " << round;
    }
    while (!history.empty()) {
        ASSERT_TRUE(undo->Pop().undone);
        ASSERT_TRUE(take() == history.back());
        history.pop_back();
    }
    EXPECT_FALSE(undo->broken());
    EXPECT_FALSE(FileExists(undo->stackFile()));
}

}  // namespace

}  // namespace vk

namespace vk::test {

// Channels longer than a block: the derivations work chunk by chunk, with
// runs side by side in full chunks; gaps fall in some chunks and across the
// block border.
TEST_F(ProcessFixture, LongChannelsGiveTheSameValuesChunkByChunk)
{
    constexpr int32_t Long = SampleStore::BlockSamples + 3700;
    fill(Long);
    for (int32_t i = 0; i < Long; ++i)
        WriteRaw(rec, i, raw(3 * i + 11), 2);
    const GapRange holes[] = {{5000, 5010}, {SampleStore::BlockSamples - 4, SampleStore::BlockSamples + 6}};
    for (const GapRange& g : holes)
        rec.at(0).missing.add(g.from, g.to);
    auto missing = [&](int32_t j) {
        for (const GapRange& g : holes)
            if (j >= g.from && j < g.to)
                return true;
        return false;
    };
    const std::vector<double> y = values(0), z = values(2);

    // The running sum, checked to the raw step of the result.
    derive(DeriveIntegrate, 0, 1);
    double sum = 0;
    for (int32_t j = 0; j < Long; ++j) {
        ASSERT_EQ(IsMissing(rec, 1, j), missing(j)) << j;
        if (missing(j))
            continue;
        sum += y[static_cast<std::size_t>(j)];
        ASSERT_NEAR(ReadValue(rec, j, 1).value, sum, rec.desc(1).CoeffA * 0.51) << j;
    }

    // Channel 3 less channel 1, and the centred difference.
    derive(DeriveSubtract, 0, 1, 2);
    double least = 1e300, most = -1e300;
    for (int32_t j = 0; j < Long; ++j) {
        ASSERT_EQ(IsMissing(rec, 1, j), missing(j)) << j;
        if (missing(j))
            continue;
        const double d = z[static_cast<std::size_t>(j)] - y[static_cast<std::size_t>(j)];
        least = std::min(least, d);
        most = std::max(most, d);
        ASSERT_NEAR(ReadValue(rec, j, 1).value, d, rec.desc(1).CoeffA * 0.51) << j;
    }
    EXPECT_EQ(rec.desc(1).Min, least);
    EXPECT_EQ(rec.desc(1).Max, most);

    derive(DeriveDifferentiate, 2, 1, 2, 0);
    for (int32_t j = 1; j + 1 < Long; ++j) {
        const double d = (z[static_cast<std::size_t>(j) + 1] - z[static_cast<std::size_t>(j) - 1]) / 2;
        ASSERT_NEAR(ReadValue(rec, j, 1).value, d, rec.desc(1).CoeffA * 0.51) << j;
    }
}

}  // namespace vk::test
