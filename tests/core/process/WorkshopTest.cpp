#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "core/process/Workshop.h"
#include "support/DiveFixture.h"

namespace vk {

namespace {

std::vector<double> Ramp(int n)
{
    std::vector<double> v;
    for (int i = 0; i < n; ++i)
        v.push_back(i);
    return v;
}

}  // namespace

TEST(Workshop, ValuesInsideAndOutsideTheStretch)
{
    test::DiveBench b(Ramp(100));
    b.fill(1, std::vector<double>(100, 7.0), 1000, 0, 10);
    Workshop ws(b.rec, 0, 10, 20, b.ui);
    ASSERT_TRUE(ws.active());
    EXPECT_EQ(ws.length(), 10);
    EXPECT_NEAR(ws.get(0), 10, 0.01);
    EXPECT_NEAR(ws.get(-3), 7, 0.01);  // outside: the channel
    EXPECT_NEAR(ws.get(12), 22, 0.01);
    ws.set(2, 100);
    // The workshop answers its own slot's reads, and only those.
    EXPECT_DOUBLE_EQ(ReadValue(b.rec, 12, 0).value, 100);
    EXPECT_NEAR(ReadValue(b.rec, 12, 1).value, 7, 0.01);
    EXPECT_NEAR(ReadValue(b.rec, 30, 0).value, 30, 0.01);  // outside: the channel, not the workshop again

    // After a pass, outside reads give the nearer end.
    ws.RunningMean(1);
    EXPECT_DOUBLE_EQ(ws.get(-3), ws.get(0));
    EXPECT_DOUBLE_EQ(ws.get(50), ws.get(9));
}

TEST(Workshop, OneAtATimeAndGoneWithItsScope)
{
    test::DiveBench b(Ramp(100));
    {
        Workshop first(b.rec, 0, 0, 10, b.ui);
        Workshop second(b.rec, 0, 20, 30, b.ui);
        EXPECT_FALSE(second.active());
        EXPECT_EQ(b.ui.texts(), std::vector<std::string>{"Illegal operation at workshop."});
        EXPECT_EQ(b.rec.workshop, &first);  // the refused one leaves the first in place
    }
    EXPECT_EQ(b.rec.workshop, nullptr);
    try {
        Workshop ws(b.rec, 0, 0, 10, b.ui);
        throw std::runtime_error("out");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(b.rec.workshop, nullptr);
    Workshop again(b.rec, 0, 0, 10, b.ui);
    EXPECT_TRUE(again.active());
}

TEST(Workshop, RunningMeanAndDifferences)
{
    std::vector<double> v{1, 2, 6, 2, 1};
    RunningMean(v, 3);  // the window shrinks evenly at the ends
    EXPECT_DOUBLE_EQ(v[0], 1);
    EXPECT_DOUBLE_EQ(v[1], 3);
    EXPECT_DOUBLE_EQ(v[2], 10.0 / 3);
    EXPECT_DOUBLE_EQ(v[4], 1);

    std::vector<double> q{0, 1, 4, 9, 16};
    Difference(q);
    Difference(q);
    EXPECT_EQ(q, (std::vector<double>{2, 2, 2}));
}

TEST(Workshop, LowPassAndWriteBack)
{
    std::vector<double> v(60, 10.0);
    v[30] = 40;  // a spike
    test::DiveBench b(v);
    {
        Workshop ws(b.rec, 0, 20, 40, b.ui);
        EXPECT_FALSE(ws.LowPass(201, b.ui));
        EXPECT_EQ(b.ui.texts(), std::vector<std::string>{"workshop runmean: Parameter too great. "});
        ASSERT_TRUE(ws.LowPass(3, b.ui));
        EXPECT_NEAR(ws.get(0), 10, 0.01);  // the first position keeps its value
        EXPECT_LT(ws.get(10), 30);
        EXPECT_GT(ws.get(9), 10.5);  // the spike spreads to its neighbours
        double sum = 0;
        for (const double x : ws.values())
            sum += x;
        EXPECT_NEAR(sum, 20 * 10 + 30, 0.1);  // the weights add up to one
        ws.WriteBack();
    }
    EXPECT_NEAR(ReadValue(b.rec, 30, 0).value,
                10 + 30 * 3.0 / (3 + 2 * 3 * std::cos(M_PI / 6) + 2 * 3 * std::cos(M_PI / 3)), 0.01);
    EXPECT_NEAR(ReadValue(b.rec, 45, 0).value, 10, 0.01);
}

}  // namespace vk
