#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <map>

#include "core/example/ExampleRecording.h"

namespace vk::example {

TEST(ExampleRecording, DivesOfEveryShapeAndTheirTruth)
{
    Simulator a, b;
    std::vector<double> depth;
    for (int k = 0; k < 86400; ++k) {
        const Sample s = a.next();
        const Sample t = b.next();
        ASSERT_EQ(s.depth, t.depth);  // the same numbers every time
        depth.push_back(s.depth);
        ASSERT_GE(s.speed, 0.0);
        ASSERT_GT(s.temperature, 3.0);
        ASSERT_LT(s.temperature, 16.0);
    }
    std::map<Shape, int> shapes;
    bool stops = false, wiggles = false;
    int bouts = 0;
    for (const DiveTruth& d : a.dives()) {
        if (d.end >= 86400)
            break;
        ++shapes[d.shape];
        stops = stops || d.descentStop || d.ascentStop;
        wiggles = wiggles || d.wiggles > 0;
        bouts = d.bout;
        // At the surface just outside the dive, at its deepest inside.
        EXPECT_LT(depth[static_cast<std::size_t>(d.start - 1)], Simulator::SurfaceOffset + 0.5);
        EXPECT_LT(depth[static_cast<std::size_t>(d.end + 1)], Simulator::SurfaceOffset + 0.5);
        double deepest = 0.0;
        for (int64_t k = d.start; k <= d.end; ++k)
            deepest = std::max(deepest, depth[static_cast<std::size_t>(k)]);
        EXPECT_NEAR(deepest, d.maxDepth + Simulator::SurfaceOffset, 0.5);
    }
    EXPECT_EQ(shapes.size(), 6u);
    EXPECT_TRUE(stops);
    EXPECT_TRUE(wiggles);
    EXPECT_GE(bouts, 3);
}

}  // namespace vk::example

namespace vk::example {

TEST(ExampleRecording, WritesIntoAFolderItMakes)
{
    const std::string folder = ::testing::TempDir() + "varnik-example-" + std::to_string(::getpid()) + "/new/deeper";
    const ExampleFiles files = WriteExample(folder, 1);
    EXPECT_TRUE(std::filesystem::is_regular_file(files.data));
    EXPECT_TRUE(std::filesystem::is_regular_file(files.setup));
    std::filesystem::remove_all(::testing::TempDir() + "varnik-example-" + std::to_string(::getpid()));
}

}  // namespace vk::example
