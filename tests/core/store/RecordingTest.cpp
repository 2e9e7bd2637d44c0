#include <gtest/gtest.h>

#include "core/files/ChannelSource.h"
#include "core/store/ChannelSeries.h"
#include "core/store/Recording.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace vk {

namespace {

// Slot 0 scaled 0..65.535 (0.001 per raw step) with samples raw 1000 + position.
struct ScaledRecording : ::testing::Test {
    Recording rec;
    void SetUp() override
    {
        test::AllocateAll(rec);
        ChannelDescriptor& d = rec.desc(0);
        d.LowRng = 0.0;
        d.HighRng = 65.535;
        SetScaling(rec, 0);
        d.CorrSmpDelay = 10;
        d.DataCnt = 10 + 19999;
        for (int32_t p = 0; p < 20000; ++p)
            WriteRaw(rec, 10 + p, static_cast<uint16_t>(1000 + p), 0);
    }
};

}  // namespace

TEST_F(ScaledRecording, ReadsBeforeTheOriginAndClampsOutsideTheChannel)
{
    EXPECT_DOUBLE_EQ(ReadPhys(rec, 0, 0).value, 0.0);  // not started yet: raw 0
    EXPECT_DOUBLE_EQ(ReadPhys(rec, 9, 0).value, 0.0);
    EXPECT_EQ(ReadPhys(rec, 9, 0).status, 0);
    EXPECT_DOUBLE_EQ(ReadPhys(rec, 10, 0).value, 1.0);
    EXPECT_DOUBLE_EQ(ReadPhys(rec, 16384 + 10, 0).value, (1000 + 16384) * 0.001);  // second block

    const PhysValue before = ReadPhys(rec, -5, 0);
    EXPECT_EQ(before.status, -2);
    EXPECT_DOUBLE_EQ(before.value, ReadPhys(rec, 0, 0).value);
    const PhysValue after = ReadPhys(rec, rec.desc(0).DataCnt + 1, 0);
    EXPECT_EQ(after.status, -2);
    EXPECT_DOUBLE_EQ(after.value, ReadPhys(rec, rec.desc(0).DataCnt, 0).value);

    EXPECT_EQ(ReadRaw(rec, 10, 0), 1000);
    EXPECT_EQ(ReadRaw(rec, 9, 0), 0);
    EXPECT_EQ(ReadRaw(rec, rec.desc(0).DataCnt + 1, 0), 0);

    // Writes outside the store are dropped, never wrapped.
    WriteRaw(rec, 5, 7, 0);
    WriteRaw(rec, 10 + SampleStore::Capacity, 7, 0);
    EXPECT_EQ(ReadRaw(rec, 10, 0), 1000);

    rec.desc(0).yOffset = 0.5;
    EXPECT_DOUBLE_EQ(ReadPhys(rec, 10, 0).value, 0.5);
}

TEST_F(ScaledRecording, ReadValueAppliesDerivationPolynomialAndWorkshop)
{
    ChannelDescriptor& d = rec.desc(0);
    d.CorrSmpDelay = 0;
    d.Derivation = true;
    EXPECT_DOUBLE_EQ(ReadValue(rec, 0, 0).value, 0.0);  // index -1 clamps to the same sample
    EXPECT_NEAR(ReadValue(rec, 5, 0).value, 0.001, 1e-12);
    d.Derivation = false;

    d.bApplyPolynom = true;
    d.Poly_A = 1.0;  // (1 + 2x) / (1 + 0.5x)
    d.Poly_C = 2.0;
    d.Poly_B = 0.5;
    const double x = ReadPhys(rec, 3, 0).value;
    EXPECT_DOUBLE_EQ(ReadValue(rec, 3, 0).value, (1 + 2 * x) / (1 + 0.5 * x));
    d.Poly_B = -1.0 / x;  // a pole at x
    const PhysValue pole = ReadValue(rec, 3, 0);
    EXPECT_EQ(pole.status, -1);
    EXPECT_DOUBLE_EQ(pole.value, x);

    struct Constant : WorkshopReader {
        int slot() const override { return 0; }
        int32_t firstIndex() const override { return 100; }
        double valueAt(int32_t position) const override { return position * 10.0; }
    } workshop;
    rec.workshop = &workshop;
    EXPECT_DOUBLE_EQ(ReadValue(rec, 103, 0).value, 30.0);
    rec.workshop = nullptr;
}

TEST_F(ScaledRecording, ConversionsBetweenRawAndPhysical)
{
    EXPECT_DOUBLE_EQ(RawToPhys(rec, 1000, 0), 1.0);
    rec.desc(0).CoeffC = 1e-6;
    EXPECT_DOUBLE_EQ(RawToPhys(rec, 1000, 0), 2.0);
    rec.desc(0).KindEqu = 'X';
    EXPECT_DOUBLE_EQ(RawToPhys(rec, 1000, 0), 1000.0);
    rec.desc(0).KindEqu = 'M';
    rec.desc(0).CoeffC = 0.0;

    bool report = true;
    EXPECT_EQ(PhysToRaw(rec, 0, report, 1.0), 1000);
    rec.desc(0).CoeffA = 0.5;
    EXPECT_EQ(PhysToRaw(rec, 0, report, 1.25), 2);  // 2.5 rounds to even
    EXPECT_EQ(PhysToRaw(rec, 0, report, 1.75), 4);
    rec.desc(0).yOffset = 1.0;
    EXPECT_EQ(PhysToRaw(rec, 0, report, 0.0), 2);
    rec.desc(0).yOffset = 0.0;
    EXPECT_TRUE(report);
    EXPECT_EQ(rec.pendingHint, HintNone);
    EXPECT_EQ(PhysToRaw(rec, 0, report, 1e6), 65535);
    EXPECT_FALSE(report);
    EXPECT_EQ(rec.pendingHint, HintRangeExcess);  // not 1, the dive search's code
    rec.pendingHint = HintNone;
    EXPECT_EQ(PhysToRaw(rec, 0, report, -1.0), 0);
    EXPECT_EQ(rec.pendingHint, HintNone);  // reported once per run
    rec.desc(0).CoeffA = 0.0;
    EXPECT_EQ(PhysToRaw(rec, 0, report, 5.0), 0);
}

TEST(Recording, ScalingAndPolynomialChecks)
{
    Recording rec;
    ChannelDescriptor& d = rec.desc(1);
    d.LowRng = d.HighRng = 3.0;
    d.yOffset = 2.0;
    SetScaling(rec, 1);
    EXPECT_EQ(d.LowRng, 2.0);
    EXPECT_EQ(d.HighRng, 4.0);
    EXPECT_DOUBLE_EQ(d.CoeffA, 2.0 / 65535.0);
    EXPECT_EQ(d.CoeffB, 2.0);
    EXPECT_EQ(d.Min, 2.0);
    EXPECT_EQ(d.Max, 4.0);
    EXPECT_EQ(d.yOffset, 0.0);

    d.LowRng = 10.0;
    d.HighRng = 0.0;
    SetScaling(rec, 1);
    EXPECT_EQ(d.LowRng, 0.0);
    EXPECT_EQ(d.HighRng, 10.0);

    d.CoeffA = 0.5;
    d.CoeffB = -1.0;
    d.yOffset = 1.0;
    SetRangeFromCoefficients(rec, 1);
    EXPECT_EQ(d.Min, -2.0);
    EXPECT_EQ(d.Max, 0.5 * 65535 - 2.0);
    EXPECT_EQ(d.LowRng, d.Min);
    EXPECT_EQ(d.HighRng, d.Max);

    EXPECT_FALSE(CheckPolynomial(rec, 1));
    EXPECT_EQ(d.bSet, 0);
    d.Poly_K = 1e-9;
    EXPECT_TRUE(CheckPolynomial(rec, 1));
    EXPECT_EQ(d.bSet, 1);
}

TEST(Recording, SlotsOutsideTheRangeAreRejected)
{
    Recording rec;
    bool report = true;
    EXPECT_THROW(ReadPhys(rec, 0, 3), std::out_of_range);
    EXPECT_THROW(ReadValue(rec, 0, -1), std::out_of_range);
    EXPECT_THROW(WriteRaw(rec, 0, 1, 3), std::out_of_range);
    EXPECT_THROW(PhysToRaw(rec, -1, report, 0.0), std::out_of_range);
    EXPECT_THROW(SetScaling(rec, 4), std::out_of_range);
    EXPECT_THROW(rec.desc(3), std::out_of_range);
}

TEST(Recording, StoreHoldsBlocksOnlyForUsedSlots)
{
    Recording rec;
    rec.at(1).ChannelUsed = false;
    rec.at(2).ChannelUsed = false;
    rec.desc(2).format = ChannelFormat::Created;  // a channel to create gets its blocks too
    ScriptedDialogs ui;
    AllocateStore(rec, ui);
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(rec.store.tableCount(), SampleStore::TableEntries);
    EXPECT_EQ(rec.store.capacity(0), 39321600);
    EXPECT_EQ(rec.store.capacity(1), 0);
    EXPECT_EQ(rec.store.capacity(2), 39321600);

    rec.desc(1).DataCnt = 100;
    WriteRaw(rec, 3, 9, 1);  // no block: dropped
    EXPECT_EQ(ReadRaw(rec, 3, 1), 0);
    EXPECT_EQ(ReadPhys(rec, 3, 1).status, -1);

    ReleaseStore(rec);
    EXPECT_EQ(rec.store.tableCount(), 0);
    EXPECT_EQ(ReadPhys(rec, 3, 0).status, -1);

    // A store cut short (as after running out of memory) never hands out a missing block.
    ASSERT_TRUE(rec.store.Allocate({true, true, true}, 2));
    EXPECT_EQ(rec.store.capacity(0), 2 * 16384);
    rec.desc(0).DataCnt = 100000;
    EXPECT_EQ(ReadPhys(rec, 2 * 16384, 0).status, -1);
    WriteRaw(rec, 2 * 16384, 5, 0);
    EXPECT_EQ(ReadRaw(rec, 2 * 16384, 0), 0);
}

TEST(GapList, RangesJoinSplitAndMoveWithTheSamples)
{
    GapList g;
    g.add(5, 7);
    g.add(7, 9);    // touches: one range
    g.add(20, 20);  // empty: nothing
    g.add(20, 30);
    EXPECT_EQ(g.ranges(), (std::vector<GapRange>{{5, 9}, {20, 30}}));
    EXPECT_EQ(g.missing(), 14);
    EXPECT_EQ(g.at(4), nullptr);
    EXPECT_EQ(g.at(5)->to, 9);
    EXPECT_EQ(g.at(9), nullptr);
    EXPECT_EQ(g.after(9)->from, 20);
    EXPECT_EQ(g.after(30), nullptr);
    EXPECT_FALSE(g.overlaps(9, 20));
    EXPECT_TRUE(g.overlaps(9, 21));
    EXPECT_TRUE(g.overlaps(0, 100));

    GapList cut = g;
    cut.removed(6, 16);  // 6 .. 21 go: the ranges meet and join
    EXPECT_EQ(cut.ranges(), (std::vector<GapRange>{{5, 14}}));
    GapList split = g;
    split.inserted(25, 3);
    EXPECT_EQ(split.ranges(), (std::vector<GapRange>{{5, 9}, {20, 25}, {28, 33}}));
}

TEST_F(ScaledRecording, StretchesBetweenMissingValuesReadAsChannelsOfTheirOwn)
{
    // Indexes 10 + position; positions 100..109 and 500 have no value.
    rec.at(0).missing.add(100, 110);
    rec.at(0).missing.add(500, 501);
    EXPECT_TRUE(IsMissing(rec, 0, 110));
    EXPECT_FALSE(IsMissing(rec, 0, 109));
    EXPECT_TRUE(AnyMissing(rec, 0, 0, 111));
    EXPECT_FALSE(AnyMissing(rec, 0, 120, 510));
    EXPECT_EQ(ReadValue(rec, 115, 0).status, StatusMissing);
    EXPECT_EQ(ReadValue(rec, 120, 0).status, 0);

    const ChannelSeries s = StretchSeries(rec, 0, 300);
    EXPECT_EQ(s.first(), 120);
    EXPECT_EQ(s.count(), 510);         // indexes 120 .. 509
    EXPECT_DOUBLE_EQ(s(100), s(120));  // reads before the stretch give its first value
    EXPECT_EQ(s.read(100).status, -2);
    EXPECT_DOUBLE_EQ(s(600), s(509));
    EXPECT_EQ(StretchSeries(rec, 0, 115).first(), 120);  // from inside the gap: the stretch after it
    EXPECT_EQ(AfterMissing(rec, 0, 112), 120);
    EXPECT_EQ(BeforeMissing(rec, 0, 112), 109);
    EXPECT_EQ(AfterMissing(rec, 0, 300), 300);
    // The plain channel reads tell the missing samples, cached or not.
    const ChannelSeries whole(rec, 0);
    EXPECT_EQ(whole.read(300).status, 0);
    EXPECT_EQ(whole.read(510).status, StatusMissing);
    EXPECT_EQ(whole.read(511).status, 0);

    rec.at(0).missing.clear();
    EXPECT_EQ(StretchSeries(rec, 0, 300).first(), 0);  // no missing values: the whole channel
}

}  // namespace vk
