#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "core/calc/BoutCriterion.h"

namespace vk {

namespace {

// Pauses of a two-process animal: share p from the fast process, the rest from the slow one.
std::vector<double> Pauses(int n, double p, double fast, double slow, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    std::exponential_distribution<double> f(fast), s(slow);
    std::vector<double> pauses;
    for (int k = 0; k < n; ++k)
        pauses.push_back(uniform(random) < p ? f(random) : s(random));
    return pauses;
}

double Crossing(double p, double fast, double slow)
{
    return std::log(p * fast / ((1 - p) * slow)) / (fast - slow);
}

}  // namespace

TEST(BoutCriterion, TwoProcessesAreFoundWhereTheyCross)
{
    const double p = 0.8, fast = 1.0 / 30, slow = 1.0 / 1800;
    std::vector<double> pauses = Pauses(2000, p, fast, slow, 20070101);
    const BoutFit fit = FitBoutCriterion(pauses);
    ASSERT_TRUE(fit.fitted()) << fit.message;
    EXPECT_EQ(fit.pauses, 2000);
    const double truth = Crossing(p, fast, slow);
    EXPECT_NEAR(fit.criterion, truth, 0.10 * truth);
    EXPECT_NEAR(fit.fast, fast, 0.15 * fast);
    EXPECT_NEAR(fit.slow, slow, 0.15 * slow);
    EXPECT_NEAR(fit.p, p, 0.05);
    // Standard errors exist and are small against the values, and the truth lies within a few of them.
    ASSERT_TRUE(std::isfinite(fit.fastError) && std::isfinite(fit.slowError) && std::isfinite(fit.pError));
    EXPECT_LT(std::fabs(fit.fast - fast), 4 * fit.fastError);
    EXPECT_LT(std::fabs(fit.slow - slow), 4 * fit.slowError);
    EXPECT_LT(fit.slowError, 0.2 * fit.slow);
    // The criterion is where the two fitted processes meet.
    EXPECT_NEAR(fit.logFast(fit.criterion), fit.logSlow(fit.criterion), 1e-9);
    EXPECT_EQ(BoutPauseOf(fit), static_cast<int>(std::lround(fit.criterion)));
    // The broken stick it started from saw both processes.
    EXPECT_GT(fit.stickFast, 2 * fit.stickSlow);
    // The picture's classes hold every pause and fall from short to long pauses.
    int counted = 0;
    for (const PauseClass& c : fit.classes)
        counted += c.count;
    EXPECT_EQ(counted, 2000);
    EXPECT_GT(fit.classes.front().logDensity, fit.classes.back().logDensity);

    // The same pauses in another order give the very same fit.
    std::mt19937 random(7);
    std::shuffle(pauses.begin(), pauses.end(), random);
    const BoutFit again = FitBoutCriterion(pauses);
    EXPECT_EQ(again.criterion, fit.criterion);
    EXPECT_EQ(again.p, fit.p);
    EXPECT_EQ(again.fast, fit.fast);
    EXPECT_EQ(again.slow, fit.slow);
}

TEST(BoutCriterion, OtherAnimalsAndSeedsStayClose)
{
    // A seal-like mix and a penguin-like one, a few seeds each.
    struct Case {
        double p, fast, slow;
    };
    for (const Case c :
         {Case{0.8, 1.0 / 30, 1.0 / 1800}, Case{0.6, 1.0 / 60, 1.0 / 3600}, Case{0.9, 1.0 / 20, 1.0 / 900}})
        for (unsigned seed : {1u, 2u, 3u}) {
            const BoutFit fit = FitBoutCriterion(Pauses(2000, c.p, c.fast, c.slow, seed));
            ASSERT_TRUE(fit.fitted()) << fit.message;
            const double truth = Crossing(c.p, c.fast, c.slow);
            EXPECT_NEAR(fit.criterion, truth, 0.15 * truth) << "p " << c.p << " seed " << seed;
        }
}

TEST(BoutCriterion, NoNumberWithoutTwoProcesses)
{
    // Too few pauses.
    const BoutFit few = FitBoutCriterion(Pauses(19, 0.8, 1.0 / 30, 1.0 / 1800, 1));
    EXPECT_EQ(few.status, BoutFitStatus::TooFew);
    EXPECT_NE(few.message.find("Only 19 pauses"), std::string::npos) << few.message;
    EXPECT_EQ(few.criterion, 0);
    EXPECT_EQ(FitBoutCriterion({}).status, BoutFitStatus::TooFew);

    // One process only, short or long pauses.
    for (const double rate : {1.0 / 30, 1.0 / 1800}) {
        const BoutFit one = FitBoutCriterion(Pauses(2000, 1.0, rate, rate, 5));
        EXPECT_EQ(one.status, BoutFitStatus::OneProcess) << one.message << " BEC " << one.criterion;
        EXPECT_NE(one.message.find("No second process"), std::string::npos);
        EXPECT_STREQ(BoutFitStatusWord(one.status), "one process");
    }
    // Pauses all alike, or all zero: a reason, not a number.
    for (const double pause : {60.0, 0.0}) {
        const BoutFit alike = FitBoutCriterion(std::vector<double>(50, pause));
        EXPECT_FALSE(alike.fitted());
        EXPECT_FALSE(alike.message.empty());
        EXPECT_EQ(alike.criterion, 0);
    }
}

}  // namespace vk
