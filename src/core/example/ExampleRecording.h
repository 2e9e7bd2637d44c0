#pragma once

// A synthetic but realistic diving record: a 1 s logger with depth (surface
// offset and sensor noise), a lagging temperature sensor and a speed sensor.
// Dives of every shape, some with stops and bottom wiggles, come in bouts
// separated by long rests. Deterministic for a seed, and it keeps the truth:
// where each dive it made begins and ends.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vk::example {

enum class Shape { V, U, Y, W, Parabola, L };
const char* ShapeLetter(Shape shape);  // "V", "U", "Y", "W", "P", "L"

struct DiveTruth {
    int64_t start = 0;  // first second below the surface
    int64_t end = 0;    // last second below the surface
    Shape shape = Shape::V;
    double maxDepth = 0.0;  // m below the surface, without the sensor's offset
    int bout = 0;
    bool descentStop = false;
    bool ascentStop = false;
    int wiggles = 0;
};

struct Sample {
    double depth;        // m, with the sensor's surface offset and noise
    double temperature;  // deg C
    double speed;        // m/s
};

class Simulator {
public:
    static constexpr double SurfaceOffset = 1.2;  // m the sensor reads at the surface

    // With `ripples`, the long rests at the surface hold shallow excursions
    // (1 to 3.5 m for 6 to 30 s, waves or the animal rolling): no dives.
    // With `shortIntervals`, the dives of a bout are 15 to 40 s apart (25 to
    // 120 s otherwise), as a fur seal's: an end rule that looks too far ahead joins them.
    explicit Simulator(uint32_t seed = 20260107, bool ripples = false, bool shortIntervals = false);
    Sample next();  // the next second
    int64_t position() const { return position_; }
    const std::vector<DiveTruth>& dives() const { return dives_; }

private:
    double uniform(double lo, double hi);
    double gauss();
    void planNext();
    void planDive(Shape shape);

    uint64_t state_;
    int64_t position_ = 0;
    std::vector<double> plan_;  // clean depths of the seconds ahead
    std::size_t planAt_ = 0;
    std::vector<DiveTruth> dives_;
    bool withRipples_ = false;
    bool shortIntervals_ = false;
    int bout_ = 0;
    int divesLeftInBout_ = 0;
    int shapeTurn_ = 0;
    double temperature_ = 15.0;
    double speedPhase_ = 0.0;
};

// Pieces of dive profiles, each appended to a series that starts at its last
// value (0 when empty): a straight stretch reaching `to` after `samples`
// samples, and a stay of `samples` more at the same depth.
void LineTo(std::vector<double>& v, double to, int samples);
void StayFor(std::vector<double>& v, int samples);

// A textbook dive of each shape ('V', 'U', 'Y', 'W', 'P', 'L') at one sample a
// metre-ish step, between `surface` samples at 0 m. `bottom` appends its flat
// stretches (from the last depth to `to` over `samples`); a straight line
// when empty.
using BottomFill = std::function<void(std::vector<double>& v, double to, int samples)>;
std::vector<double> ShapeProfile(char shape, int surface, const BottomFill& bottom = {});

struct ExampleFiles {
    std::string data, setup, truth;
};

// The example's files in `folder` (made absolute), written or not.
ExampleFiles ExampleFilesIn(const std::string& folder);

// Writes the logger text file, its setup file and the dive truth into
// `folder`, made when missing; throws with the file and the reason when a
// file cannot be written.
ExampleFiles WriteExample(const std::string& folder, int days = 2);

// A large logger file for the benchmarks: sample number, temperature, depth.
void WriteBenchFile(const std::string& path, int64_t lines);

}  // namespace vk::example
