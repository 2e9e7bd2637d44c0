#include <cmath>
#include <random>

#include "ProcessFixture.h"
#include "core/process/PointEditing.h"
#include "core/process/Resampling.h"

namespace vk {

namespace {

using test::ProcessFixture;

// A channel of random words across the first block border, starting at index
// `origin`; compared as stored words with the descriptor.
struct PointFixture : ProcessFixture {
    static constexpr int32_t Stored = SampleStore::BlockSamples + 3000;

    void channel(int32_t origin, uint32_t seed)
    {
        ChannelDescriptor& d = rec.desc(0);
        d.CorrSmpDelay = origin;
        d.DataCnt = origin + Stored - 1;
        std::mt19937 random(seed);
        std::uniform_int_distribution<int> word(0, 65535);
        for (int32_t i = origin; i <= d.DataCnt; ++i)
            WriteRaw(rec, i, static_cast<uint16_t>(word(random)), 0);
        rec.time.LongestSpan = double{Interval} * d.DataCnt;
    }
    std::vector<uint16_t> stored() const
    {
        std::vector<uint16_t> w;
        const ChannelDescriptor& d = rec.desc(0);
        for (int32_t i = d.CorrSmpDelay; i <= d.DataCnt; ++i)
            w.push_back(ReadRaw(rec, i, 0));
        return w;
    }
    struct State {
        std::vector<uint16_t> words;
        int32_t DataCnt, SampRate, CorrSmpDelay;
        bool operator==(const State&) const = default;
    };
    State state() const { return {stored(), rec.desc(0).DataCnt, rec.desc(0).SampRate, rec.desc(0).CorrSmpDelay}; }
    template <typename F>
    CommandResult command(F f)
    {
        CommandSteps steps(*undo);
        ViewContext cx{rec, view, ui, steps};
        return f(cx);
    }
    void undoTo(const State& s, const char* caption)
    {
        EXPECT_EQ(undo->MenuCaption(), std::string("Undo") + caption);
        ASSERT_TRUE(undo->Pop().undone);
        EXPECT_TRUE(state() == s) << caption;
    }
};

TEST_F(PointFixture, InsertAndDeleteMoveTheRestAndUndoBringsItBack)
{
    for (const int32_t origin : {0, 10}) {
        SCOPED_TRACE(origin);
        channel(origin, 7u + static_cast<uint32_t>(origin));
        const State start = state();
        const double t = Interval;

        // Three copies of the sample at F4 (index 10 + origin), just before the block border, and across it.
        for (const int32_t at : {origin + 10, origin + SampleStore::BlockSamples - 2}) {
            ui.inputs.push_back("3");
            command([&](ViewContext& cx) { return InsertPoints(cx, 0, 0, at * t); });
            std::vector<uint16_t> want = start.words;
            const auto p = static_cast<std::size_t>(at - origin);
            want.insert(want.begin() + static_cast<std::ptrdiff_t>(p) + 1, 3, want[p]);
            EXPECT_EQ(stored(), want);
            EXPECT_EQ(rec.desc(0).DataCnt, start.DataCnt + 3);
            undoTo(start, " Ins. pnt");
        }

        // Delete F4 .. F5 - 1 across the border: the F5 sample takes F4's place.
        const int32_t p = origin + SampleStore::BlockSamples - 100, q = p + 250;
        command([&](ViewContext& cx) { return DeletePoints(cx, 0, q * t, p * t); });
        std::vector<uint16_t> want = start.words;
        want.erase(want.begin() + (p - origin), want.begin() + (q - origin));
        EXPECT_EQ(stored(), want);
        // Then up to the last sample: F5 past the end stops there.
        const int32_t p2 = rec.desc(0).DataCnt - 40;
        command([&](ViewContext& cx) { return DeletePoints(cx, 0, (p2 + 500) * t, p2 * t); });
        want.erase(want.begin() + (p2 - origin), want.end() - 1);  // the last sample takes F4's place
        EXPECT_EQ(stored(), want);
        EXPECT_EQ(rec.desc(0).DataCnt, p2);
        ASSERT_TRUE(undo->Pop().undone);
        ASSERT_TRUE(undo->Pop().undone);
        EXPECT_TRUE(state() == start);
        EXPECT_EQ(undo->top(), 0);

        // Refusals: a negative count, F4 past the end, beyond the capacity, Cancel; F4 = F5.
        ui.inputs = {std::string("-2"), std::string("5"), std::string("100000")};
        command([&](ViewContext& cx) { return InsertPoints(cx, 0, 0, 100 * t); });
        command([&](ViewContext& cx) { return InsertPoints(cx, 0, 0, (start.DataCnt + 5) * t); });
        command([&](ViewContext& cx) { return InsertPoints(cx, 0, 0, 100 * t); });
        EXPECT_EQ(ui.texts().back(), " Rejected! Size exceeds limit.");
        ui.answers = {Answer::Cancel};
        command([&](ViewContext& cx) { return DeletePoints(cx, 0, 900 * t, 100 * t); });
        command([&](ViewContext& cx) { return DeletePoints(cx, 0, 100 * t, 100 * t); });
        EXPECT_TRUE(state() == start);
        EXPECT_EQ(undo->top(), 0);
    }
}

TEST_F(PointFixture, ReduceExpandAndDoubleFollowTheirFormulas)
{
    for (const int32_t origin : {0, 10}) {
        SCOPED_TRACE(origin);
        channel(origin, 11u + static_cast<uint32_t>(origin));
        // A slow wave, so that doubling bends.
        for (int32_t i = origin; i <= rec.desc(0).DataCnt; ++i)
            WriteRaw(rec, i, static_cast<uint16_t>(30000 + 20000 * std::sin(i / 300.0) + (i % 7) * 40), 0);
        const State start = state();
        const std::vector<uint16_t>& w = start.words;

        for (const int32_t n : {2, 3}) {
            ui.inputs.push_back(std::to_string(n));
            command([&](ViewContext& cx) { return ReduceCommand(cx, 0); });
            std::vector<uint16_t> want;
            for (std::size_t i = 0;
                 i * n < w.size() && want.size() <= static_cast<std::size_t>(start.DataCnt / n - origin / n); ++i)
                want.push_back(w[i * n]);
            EXPECT_EQ(stored(), want);
            EXPECT_EQ(rec.desc(0).SampRate, Interval * n);
            EXPECT_EQ(rec.desc(0).CorrSmpDelay, origin / n);
            undoTo(start, " Reduce");
        }

        // Expand by 2 of a channel half as long (the store holds two blocks).
        ChannelDescriptor& d = rec.desc(0);
        d.DataCnt = origin + 9000;
        const State half = state();
        ui.inputs.push_back("2");
        command([&](ViewContext& cx) { return ExpandCommand(cx, 0, {}); });
        std::vector<uint16_t> want(2 * 9000 + 1);
        for (std::size_t f = 0; f <= 9000; ++f) {
            want[2 * f] = half.words[f];
            if (f < 9000)
                want[2 * f + 1] = static_cast<uint16_t>(
                    half.words[f] + std::nearbyint((static_cast<double>(half.words[f + 1]) - half.words[f]) / 2));
        }
        EXPECT_EQ(stored(), want);
        EXPECT_EQ(d.SampRate, Interval / 2);
        EXPECT_EQ(d.CorrSmpDelay, 2 * origin);
        undoTo(half, " Expand");
        // By 3: the interval is asked about (1000 / 3 is no whole number) and rounded.
        ui.inputs.push_back("3");
        ui.answers = {Answer::Yes};
        command([&](ViewContext& cx) { return ExpandCommand(cx, 0, {}); });
        const std::vector<uint16_t> thrice = stored();
        for (std::size_t f = 0; f < 9000; ++f)
            for (int i = 0; i < 3; ++i)
                ASSERT_EQ(thrice[3 * f + static_cast<std::size_t>(i)],
                          static_cast<uint16_t>(
                              half.words[f] +
                              std::nearbyint((static_cast<double>(half.words[f + 1]) - half.words[f]) * i / 3.0)))
                    << f;
        EXPECT_EQ(d.SampRate, 333);
        undoTo(half, " Expand");

        // Double points: the spread, and each new word bent by the neighbours' curvature.
        ui.answers = {Answer::Yes};
        command([&](ViewContext& cx) { return DoublePointsCommand(cx, 0, {}); });
        const auto c = static_cast<int64_t>(half.words.size()) - 1;
        std::vector<uint16_t> doubled(static_cast<std::size_t>(2 * c + 1));
        for (int64_t m = 0; m <= c; ++m) {
            doubled[static_cast<std::size_t>(2 * m)] = half.words[static_cast<std::size_t>(m)];
            if (m >= 1)
                doubled[static_cast<std::size_t>(2 * m - 1)] = half.words[static_cast<std::size_t>(m)];
        }
        auto y = [&](int64_t k) { return static_cast<int64_t>(half.words[static_cast<std::size_t>(k)]); };
        for (int64_t i = 1; i <= c - 2; ++i) {
            const int64_t d1 = y(i) - y(i - 1), d2 = y(i + 1) - y(i), d3 = y(i + 2) - y(i + 1);
            const int64_t mid = (y(i) + static_cast<int64_t>(std::nearbyint(d2 * 0.5))) % 65536;
            const int64_t r = d2 - d1, u = d3 - d2;
            int64_t v = 0;
            if (r != 0 && u != 0) {
                const int64_t g = (r > 0 && u > 0) ? std::min(r, u) : (r < 0 && u < 0) ? std::max(r, u) : (r + u) / 8;
                v = g / 4;
                if (std::llabs(v) > std::llabs(d2 / 2))
                    v = v < 0 ? -std::llabs(d2 / 2) : std::llabs(d2 / 2);
            }
            doubled[static_cast<std::size_t>(2 * i + 1)] =
                static_cast<uint16_t>(std::clamp<int64_t>(mid - v, 0, 65535));
        }
        EXPECT_EQ(stored(), doubled);
        undoTo(half, " Expand");

        // A straight line doubles into its exact midpoints.
        for (int32_t i = origin; i <= d.DataCnt; ++i)
            WriteRaw(rec, i, static_cast<uint16_t>(1000 + 4 * (i - origin)), 0);
        ui.answers = {Answer::Yes};
        command([&](ViewContext& cx) { return DoublePointsCommand(cx, 0, {}); });
        for (int32_t k = 2; k < 2 * 9000 - 2; ++k)
            ASSERT_EQ(ReadRaw(rec, d.CorrSmpDelay + k, 0), 1000 + 2 * k) << k;
        ASSERT_TRUE(undo->Pop().undone);
        channel(origin, 11u);
    }

    // Refusals: an interval below the factor, no room, an odd interval's warning answered No.
    rec.desc(0).SampRate = 2;
    ui.inputs = {std::string("3")};
    ui.answers = {Answer::Yes};
    command([&](ViewContext& cx) { return ExpandCommand(cx, 0, {}); });
    EXPECT_EQ(ui.texts().back(), "Command rejected. Sampl. int. too small.");
    rec.desc(0).SampRate = 1000;
    ui.inputs = {std::string("3")};
    command([&](ViewContext& cx) { return ExpandCommand(cx, 0, {}); });
    EXPECT_EQ(ui.texts().back(), "Not enough capacity for this operation.");
    rec.desc(0).SampRate = 1001;
    ui.answers = {Answer::Yes, Answer::No};
    command([&](ViewContext& cx) { return DoublePointsCommand(cx, 0, {}); });
    EXPECT_EQ(ui.texts().back().rfind("Warning: This expand factor leads to corruption of time. ", 0), 0u);
    // The warning names the interval that is set: 1001 / 2 sets 500 (the doubling above halves the interval).
    EXPECT_NE(ui.texts().back().find("will be rounded to 500\n"), std::string::npos) << ui.texts().back();
    // A thin-out factor whose interval would pass the largest a channel keeps: refused, nothing changed.
    rec.desc(0).SampRate = 1000;
    const int32_t count = rec.desc(0).DataCnt;
    ui.inputs = {std::string("3000000")};
    command([&](ViewContext& cx) { return ReduceCommand(cx, 0); });
    EXPECT_EQ(ui.texts().back(), "Command rejected. Sampl. int. too large.");
    EXPECT_EQ(rec.desc(0).SampRate, 1000);
    EXPECT_EQ(rec.desc(0).DataCnt, count);
    rec.desc(0).SampRate = 1;
    ui.answers = {Answer::Yes};
    command([&](ViewContext& cx) { return DoublePointsCommand(cx, 0, {}); });
    EXPECT_EQ(ui.texts().back(), "Command rejected. Sampl. int. too small.");
    EXPECT_EQ(undo->top(), 0);
}

}  // namespace

}  // namespace vk
