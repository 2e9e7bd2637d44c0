#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "core/store/RawRuns.h"
#include "core/store/Recording.h"

namespace vk {

namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// Values round the edges of the raw range and the ties, then odd lengths, so
// that both the vector body and the scalar tail see each of them.
std::vector<double> EdgeValues()
{
    std::vector<double> v{NaN,     Inf,     -Inf,    -0.5, -0.49, -0.51, 0.5,    1.5,   2.5,  65534.5,
                          65535.4, 65535.5, 65535.6, -0.0, 0.0,   1e300, -1e300, 12.25, 3.75, 40000.5};
    for (int i = 0; i < 37; ++i)
        v.push_back(i * 1771.37 - 300.0);
    return v;
}

void CheckKernels()
{
    const std::vector<double> values = EdgeValues();
    for (std::size_t n = 0; n <= values.size(); n += n < 20 ? 1 : 7) {
        // Values to words, with and without a rescale.
        for (const Rescale to : {Rescale{}, Rescale{2.5, -3.0, 0.75}}) {
            std::vector<uint16_t> out(n);
            bool expectInside = true;
            std::vector<uint16_t> expected(n);
            for (std::size_t i = 0; i < n; ++i)
                expected[i] = RoundRaw(((values[i] + to.lift) - to.least) * to.perStep, expectInside);
            EXPECT_EQ(RawOfValues(values.data(), static_cast<int32_t>(n), out.data(), to), expectInside) << n;
            EXPECT_EQ(out, expected) << n;
        }

        // Range: NaN passed over and reported.
        double least = 1e33, most = -1e33, l = least, m = most;
        bool nan = false;
        for (std::size_t i = 0; i < n; ++i) {
            l = values[i] < l ? values[i] : l;
            m = values[i] > m ? values[i] : m;
            nan |= std::isnan(values[i]);
        }
        EXPECT_EQ(WidenRange(values.data(), static_cast<int32_t>(n), least, most), nan) << n;
        EXPECT_EQ(least, l);
        EXPECT_EQ(most, m);
    }

    // Words to values as a reader sees them, and ramps on words either way.
    std::vector<uint16_t> words;
    for (int i = 0; i < 53; ++i)
        words.push_back(static_cast<uint16_t>(i * 1237 + (i % 3 == 0 ? 65000 : 0)));
    ChannelDescriptor d;
    d.CoeffA = 0.0137;
    d.CoeffB = -12.5;
    d.yOffset = 0.3;
    d.DataCnt = static_cast<int32_t>(words.size()) - 1;
    SampleStore store;
    ASSERT_TRUE(store.Allocate({true, false, false}, 1));
    std::copy(words.begin(), words.end(), store.block(0, 0));
    std::vector<double> y(words.size());
    ValuesOfRaw(words.data(), static_cast<int32_t>(words.size()), d.CoeffA, d.CoeffB, d.yOffset, y.data());
    for (std::size_t i = 0; i < words.size(); ++i)
        EXPECT_EQ(y[i], ReadPhysOf(store, d, 0, static_cast<int32_t>(i)).value) << i;

    for (const double direction : {1.0, -1.0})
        for (const double step : {0.5, -700.25, 3.0e4}) {
            std::vector<uint16_t> ramp = words, expected = words;
            bool expectInside = true;
            const double first = direction > 0 ? 7 : 60;
            for (std::size_t i = 0; i < words.size(); ++i)
                expected[i] = RoundRaw(words[i] + (first + static_cast<double>(i) * direction) * step, expectInside);
            EXPECT_EQ(AddRampToRaw(ramp.data(), static_cast<int32_t>(ramp.size()), first, direction, step),
                      expectInside);
            EXPECT_EQ(ramp, expected) << direction << " " << step;
        }
}

}  // namespace

// Four lanes where the processor has them, and two lanes on any.
TEST(RawRuns, KernelsAgreeWithTheSampleBySampleFormulas)
{
    for (const bool wide : {true, false}) {
        SCOPED_TRACE(wide ? "wide" : "two lanes");
        UseWideKernels(wide);
        CheckKernels();
    }
    UseWideKernels(true);
}

}  // namespace vk
