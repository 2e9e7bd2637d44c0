#include <random>

#include "ProcessFixture.h"
#include "core/process/SectionCopy.h"

namespace vk {

namespace {

using test::ProcessFixture;

}  // namespace

TEST_F(ProcessFixture, OverwriteCopiesTheStoredSectionAsItWas)
{
    std::mt19937 random(3);
    std::uniform_int_distribution<int> word(0, 65535);
    for (int slot = 0; slot < 2; ++slot)
        for (int32_t i = 0; i < Samples; ++i)
            WriteRaw(rec, i, static_cast<uint16_t>(word(random)), slot);
    const std::vector<uint16_t> zero = words(0), one = words(1);
    SectionBuffer b{100.0 * Interval, 199.0 * Interval, 0, false, true};
    auto fix = [&](const SectionOverwrite& plan) {
        CommandSteps steps(*undo);
        ViewContext cx{rec, view, ui, steps};
        return FixOverwrite(cx, plan);
    };

    // Onto its own channel, overlapping: the stretch as it was stored, then Undo.
    const SectionOverwrite plan = PlanOverwrite(rec, b, false, 0, 150.0 * Interval);
    ASSERT_EQ(plan.words.size(), 100u);
    EXPECT_EQ(plan.first, 150);
    const CommandResult r = fix(plan);
    EXPECT_EQ(r.changed.bySlot[0].to, 250);
    std::vector<uint16_t> want = zero;
    std::copy(zero.begin() + 100, zero.begin() + 200, want.begin() + 150);
    EXPECT_EQ(words(0), want);
    EXPECT_EQ(undo->MenuCaption(), "Undo SecOvwr.");
    ASSERT_TRUE(undo->Pop().undone);
    EXPECT_EQ(words(0), zero);

    // Onto another channel near its end: cut at its last sample. Merge keeps the greater.
    EXPECT_EQ(PlanOverwrite(rec, b, false, 1, 960.0 * Interval).words.size(), 40u);
    const SectionOverwrite merged = PlanOverwrite(rec, b, true, 1, 500.0 * Interval);
    for (std::size_t k = 0; k < merged.words.size(); ++k) {
        const uint16_t source = zero[100 + k], here = one[500 + k];  // one calibration: words order as values
        ASSERT_EQ(merged.words[k], source > here ? source : here) << k;
    }
    fix(merged);
    ASSERT_TRUE(undo->Pop().undone);
    EXPECT_EQ(words(1), one);

    // Missing values are neither copied nor overwritten; an unused buffer writes nothing.
    rec.at(0).missing.add(120, 125);
    const SectionOverwrite gaps = PlanOverwrite(rec, b, false, 1, 300.0 * Interval);
    for (int k = 20; k < 25; ++k)
        EXPECT_EQ(gaps.words[static_cast<std::size_t>(k)], one[static_cast<std::size_t>(300 + k)]);
    b.SecUsed = false;
    EXPECT_TRUE(PlanOverwrite(rec, b, false, 1, 0).empty());
}

}  // namespace vk
