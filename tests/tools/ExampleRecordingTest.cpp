#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <csignal>
#include <filesystem>
#include <fstream>
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

// A file-size limit stands for a full disk: the write fails with its reason,
// and no part of the example is left behind to look whole.
TEST(ExampleRecording, AWriteThatFailsLeavesNothing)
{
    const std::string folder = ::testing::TempDir() + "varnik-example-full-" + std::to_string(::getpid());
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64 * 1024, 64 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        try {
            WriteExample(folder, 1);
        } catch (const std::exception& e) {
            const bool named = std::string(e.what()).find("seal-example.txt: File too large") != std::string::npos;
            ::_exit(named && std::filesystem::is_empty(folder) ? 0 : 2);
        }
        ::_exit(1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    std::filesystem::remove_all(folder);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: no failure reported; 2: files left or the reason not named";

    // The setup cannot be written (a folder of the user's stands in its
    // place): the data written before it go too, the user's folder stays.
    std::filesystem::create_directories(folder + "/seal-example.cfg");
    std::ofstream(folder + "/seal-example.cfg/mine.txt") << "mine\n";
    EXPECT_THROW(WriteExample(folder, 1), std::runtime_error);
    EXPECT_FALSE(std::filesystem::exists(folder + "/seal-example.txt"));
    EXPECT_FALSE(std::filesystem::exists(folder + "/seal-example.dives"));
    EXPECT_TRUE(std::filesystem::exists(folder + "/seal-example.cfg/mine.txt"));
    std::filesystem::remove_all(folder);
}

}  // namespace vk::example
