#include "core/example/ExampleRecording.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <system_error>

#include "core/setup/SetupFile.h"

namespace vk::example {

namespace {

constexpr double Pi = 3.14159265358979323846;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

FilePtr OpenForWriting(const std::string& path)
{
    FilePtr file(std::fopen(path.c_str(), "wb"));
    if (!file)
        throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
    errno = 0;  // from here on a reason is a failed write's
    return file;
}

// A full disk shows only when the buffered rest is written: a file cut short
// is removed and named, never left to look whole.
void CloseWritten(FilePtr& file, const std::string& path)
{
    const int writeError = errno;
    const bool failed = std::ferror(file.get()) != 0;
    errno = 0;
    const bool closeFailed = std::fclose(file.release()) != 0;
    if (failed || closeFailed) {
        const int error = closeFailed && errno != 0 ? errno : writeError;
        const std::string reason = error != 0 ? std::strerror(error) : "the disk may be full";
        std::remove(path.c_str());
        throw std::runtime_error("cannot write " + path + ": " + reason);
    }
}

// Appends a straight stretch from `from` to `to` over `seconds` seconds.
void Ramp(std::vector<double>& plan, double from, double to, int seconds)
{
    for (int k = 1; k <= seconds; ++k)
        plan.push_back(from + (to - from) * k / seconds);
}

}  // namespace

void LineTo(std::vector<double>& v, double to, int samples)
{
    Ramp(v, v.empty() ? 0.0 : v.back(), to, samples);
}

void StayFor(std::vector<double>& v, int samples)
{
    v.insert(v.end(), static_cast<std::size_t>(std::max(samples, 0)), v.empty() ? 0.0 : v.back());
}

std::vector<double> ShapeProfile(char shape, int surface, const BottomFill& bottom)
{
    const BottomFill flat = bottom ? bottom : BottomFill(LineTo);
    std::vector<double> v(static_cast<std::size_t>(std::max(surface, 0)), 0.0);
    switch (shape) {
    case 'V':
        LineTo(v, 150, 100);
        LineTo(v, 0, 100);
        break;
    case 'U':
        LineTo(v, 150, 100);
        flat(v, 150, 120);
        LineTo(v, 0, 100);
        break;
    case 'Y':
        LineTo(v, 60, 40);
        flat(v, 60, 200);
        LineTo(v, 150, 60);
        flat(v, 150, 10);
        LineTo(v, 60, 60);
        flat(v, 60, 200);
        LineTo(v, 0, 40);
        break;
    case 'W':
        LineTo(v, 150, 100);
        for (int k = 1; k <= 120; ++k)
            v.push_back(150 - 50 * std::pow(std::sin(3.14159265358979323846 * k / 120), 2));
        LineTo(v, 0, 100);
        break;
    case 'P':
        for (int k = 1; k < 200; ++k) {
            const double u = 2.0 * k / 200 - 1;
            v.push_back(150 * (1 - u * u));
        }
        v.push_back(0);
        break;
    case 'L':
        LineTo(v, 130, 90);
        flat(v, 150, 100);  // the sinking bottom of an L
        LineTo(v, 0, 100);
        break;
    }
    StayFor(v, surface);
    return v;
}

const char* ShapeLetter(Shape shape)
{
    static const char* const letters[] = {"V", "U", "Y", "W", "P", "L"};
    return letters[static_cast<int>(shape)];
}

Simulator::Simulator(uint32_t seed, bool ripples, bool shortIntervals)
        : state_(seed * 2654435761u + 1), withRipples_(ripples), shortIntervals_(shortIntervals)
{
}

double Simulator::uniform(double lo, double hi)
{
    // xorshift64*: the same numbers on every platform.
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    const uint64_t r = state_ * 2685821657736338717ull;
    return lo + (hi - lo) * static_cast<double>(r >> 11) / 9007199254740992.0;
}

double Simulator::gauss()
{
    const double u = uniform(1e-12, 1.0), v = uniform(0.0, 1.0);
    return std::sqrt(-2.0 * std::log(u)) * std::cos(2 * Pi * v);
}

void Simulator::planDive(Shape shape)
{
    DiveTruth dive;
    dive.shape = shape;
    dive.bout = bout_;
    dive.start = position_ + static_cast<int64_t>(plan_.size() - planAt_);
    const double m = uniform(20.0, 110.0);
    const double down = uniform(1.2, 1.8), up = uniform(1.0, 1.5);  // m/s
    std::vector<double> p;
    auto descend = [&](double to) {
        if (uniform(0, 1) < 0.3 && to > 15) {  // a stop on the way down
            const double at = to * uniform(0.4, 0.7);
            Ramp(p, 0.0, at, static_cast<int>(at / down) + 1);
            Ramp(p, at, at + 0.3, static_cast<int>(uniform(8, 15)));
            Ramp(p, at + 0.3, to, static_cast<int>((to - at) / down) + 1);
            dive.descentStop = true;
        } else {
            Ramp(p, 0.0, to, static_cast<int>(to / down) + 1);
        }
    };
    auto ascend = [&](double from) {
        if (uniform(0, 1) < 0.3 && from > 15) {
            const double at = from * uniform(0.3, 0.6);
            Ramp(p, from, at, static_cast<int>((from - at) / up) + 1);
            Ramp(p, at, at - 0.3, static_cast<int>(uniform(8, 15)));
            Ramp(p, at - 0.3, 0.0, static_cast<int>(at / up) + 1);
            dive.ascentStop = true;
        } else {
            Ramp(p, from, 0.0, static_cast<int>(from / up) + 1);
        }
    };
    // Wiggles: small undulations of the bottom, 1 to 3 m over 8 to 20 s.
    auto bottom = [&](double depth, int seconds, double slopeTo, double largest = 3.0) {
        const double amplitude = uniform(1.0, largest), period = uniform(8.0, 20.0);
        for (int k = 1; k <= seconds; ++k) {
            const double base = depth + (slopeTo - depth) * k / seconds;
            p.push_back(base - amplitude * 0.5 * (1 - std::cos(2 * Pi * k / period)));
        }
        dive.wiggles += static_cast<int>(seconds / period);
    };

    switch (shape) {
    case Shape::V:
        descend(m);
        ascend(m);
        break;
    case Shape::U:
        descend(m);
        bottom(m, static_cast<int>(uniform(40, 120)), m);
        ascend(m);
        break;
    case Shape::W: {
        // Two troughs around a shallower middle, with small undulations.
        descend(m);
        const int seconds = static_cast<int>(uniform(60, 120));
        const double amplitude = uniform(0.5, 1.5), period = uniform(8.0, 20.0);
        for (int k = 1; k <= seconds; ++k)
            p.push_back(m - 0.35 * m * std::pow(std::sin(Pi * k / seconds), 2) -
                        amplitude * 0.5 * (1 - std::cos(2 * Pi * k / period)));
        dive.wiggles += static_cast<int>(seconds / period);
        ascend(m);
        break;
    }
    case Shape::Y: {
        // A long stay at a shallower depth around a narrow deep peak.
        const double plateau = 0.4 * m;
        descend(plateau);
        const int half = static_cast<int>(uniform(30, 60) + uniform(0.6, 1.0) * m);
        bottom(plateau, half, plateau);
        // The peak: down, a short stay at depth, up again.
        Ramp(p, p.back(), m, static_cast<int>((m - plateau) / down) + 1);
        p.insert(p.end(), static_cast<std::size_t>(uniform(8, 15)), m);
        Ramp(p, m, plateau, static_cast<int>((m - plateau) / up) + 1);
        bottom(plateau, half, plateau);
        ascend(p.back());
        break;
    }
    case Shape::Parabola: {
        const int seconds = static_cast<int>(2.2 * m / down) + 10;
        for (int k = 1; k < seconds; ++k) {
            const double u = 2.0 * k / seconds - 1.0;
            p.push_back(m * (1 - u * u));
        }
        p.push_back(0.0);
        break;
    }
    case Shape::L: {
        // A bottom that keeps sinking, slower than the descent.
        const int seconds = static_cast<int>(uniform(60, 100));
        const double top = m - std::min(uniform(0.04, 0.1) * seconds, 0.3 * m);
        descend(top);
        bottom(top, seconds, m, 1.2);
        ascend(p.back());
        break;
    }
    }
    dive.maxDepth = *std::max_element(p.begin(), p.end());
    dive.end = dive.start + static_cast<int64_t>(p.size()) - 1;
    plan_.insert(plan_.end(), p.begin(), p.end());
    dives_.push_back(dive);
}

void Simulator::planNext()
{
    plan_.erase(plan_.begin(), plan_.begin() + static_cast<std::ptrdiff_t>(planAt_));
    planAt_ = 0;
    if (divesLeftInBout_ == 0) {
        // A long rest at the surface, then a new bout.
        const int rest = static_cast<int>(uniform(20 * 60, 70 * 60));
        const std::size_t from = plan_.size();
        plan_.insert(plan_.end(), static_cast<std::size_t>(rest), 0.0);
        // Ripples a minute or more apart, clear of the rest's ends (drawn
        // only when asked for, so that the record without them stays as it was).
        for (int at = withRipples_ ? static_cast<int>(uniform(60, 240)) : rest; at + 90 < rest;
             at += static_cast<int>(uniform(60, 240))) {
            const int seconds = static_cast<int>(uniform(6, 30));
            const double height = uniform(1.0, 3.5);
            for (int k = 1; k < seconds; ++k)
                plan_[from + static_cast<std::size_t>(at + k)] = height * std::sin(Pi * k / seconds);
        }
        divesLeftInBout_ = static_cast<int>(uniform(4, 13));
        ++bout_;
        return;
    }
    static const Shape order[] = {Shape::U,        Shape::V, Shape::W, Shape::U, Shape::Y,
                                  Shape::Parabola, Shape::U, Shape::L, Shape::V};
    planDive(order[shapeTurn_++ % (sizeof order / sizeof order[0])]);
    --divesLeftInBout_;
    // One draw either way, so that the record with the usual intervals stays as it was.
    plan_.insert(plan_.end(), static_cast<std::size_t>(shortIntervals_ ? uniform(15, 40) : uniform(25, 120)), 0.0);
}

Sample Simulator::next()
{
    if (planAt_ >= plan_.size())
        planNext();
    const double clean = plan_[planAt_];
    const double previous = planAt_ > 0 ? plan_[planAt_ - 1] : clean;
    ++planAt_;
    ++position_;

    Sample s;
    s.depth = clean + SurfaceOffset + 0.08 * gauss();
    // The temperature sensor lags the water it is in by about 8 s.
    const double water = 4.0 + 11.0 * std::exp(-clean / 25.0);
    temperature_ += (water - temperature_) * (1 - std::exp(-1.0 / 8.0));
    s.temperature = temperature_ + 0.02 * gauss();
    speedPhase_ += 0.3;
    if (clean > 0.5)
        s.speed = std::max(0.0, 1.6 + 0.6 * std::fabs(clean - previous) + 0.3 * std::sin(speedPhase_) + 0.08 * gauss());
    else
        s.speed = std::max(0.0, 0.3 + 0.1 * gauss());
    return s;
}

ExampleFiles ExampleFilesIn(const std::string& where)
{
    // The setup file names the data file with its full path.
    std::string folder = std::filesystem::absolute(where).lexically_normal().string();
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return {folder + "/seal-example.txt", folder + "/seal-example.cfg", folder + "/seal-example.dives"};
}

namespace {

void WriteExampleFiles(const ExampleFiles& files, int days)
{
    const CalendarTime start{2026, 1, 7, 6, 0, 0, 0};
    const double startMs = EncodeTime(start);
    {
        FilePtr out = OpenForWriting(files.data);
        std::fprintf(out.get(), "Varnik example logger: synthetic fur seal record, 1 s interval\r\n");
        std::fprintf(out.get(), "date\ttime\tdepth [m]\ttemperature [C]\tspeed [m/s]\r\n");
        Simulator sim;
        for (int64_t k = 0; k < int64_t{days} * 86400; ++k) {
            const CalendarTime t = DecodeTime(startMs + static_cast<double>(k) * 1000.0);
            const Sample s = sim.next();
            std::fprintf(out.get(), "%02d.%02d.%04d\t%02d:%02d:%02d\t%.2f\t%.2f\t%.2f\r\n", t.day, t.month, t.year,
                         t.hour, t.minute, t.second, s.depth, s.temperature, s.speed);
        }
        CloseWritten(out, files.data);
        FilePtr truth = OpenForWriting(files.truth);
        std::fprintf(truth.get(), "start\tend\tshape\tmax depth [m]\tbout\tdescent stop\tascent stop\twiggles\n");
        for (const DiveTruth& d : sim.dives())
            if (d.end < int64_t{days} * 86400)
                std::fprintf(truth.get(), "%lld\t%lld\t%s\t%.2f\t%d\t%d\t%d\t%d\n", static_cast<long long>(d.start),
                             static_cast<long long>(d.end), ShapeLetter(d.shape), d.maxDepth, d.bout,
                             d.descentStop ? 1 : 0, d.ascentStop ? 1 : 0, d.wiggles);
        CloseWritten(truth, files.truth);
    }

    Recording rec;
    Settings settings;
    static const char* const captions[] = {"Depth [m]", "Temperature [C]", "Speed [m/s]"};
    for (int slot = 0; slot < 3; ++slot) {
        ChannelDescriptor& d = rec.desc(slot);
        d.NameIn = files.data;
        d.Caption = captions[slot];
        d.SampRate = 1000;
        d.StartTime = startMs;
        d.StartFields = {start.year, start.month, start.day, start.hour, start.minute, start.second, 0};
        d.ColumnValue = 3 + slot;
        d.HeaderText = 2;
        d.InDelimiter = '\t';
        d.AutoScaling = true;
        d.format = ChannelFormat::Text;
    }
    rec.desc(0).GrRepr = -1;  // depth grows downwards
    settings.Cmt1 = "Synthetic fur seal record: the example of Varnik";
    settings.Cmt2 = "Dives of every shape in bouts; truth in seal-example.dives";
    settings.dive.Threshold = 5.0;
    settings.dive.WindowSize = 600;
    settings.dive.TrekBaseline = 1;      // the sensor reads 1.2 m at the surface
    settings.dive.AdjustYSize = 1;       // each dive found fills its strip
    settings.dive.WiggAmplitude = 0.15;  // the bottom undulations are gentle
    if (WriteSetup(files.setup, rec, settings) != SetupWriteResult::Written)
        throw std::runtime_error("cannot write " + files.setup);
}

}  // namespace

ExampleFiles WriteExample(const std::string& where, int days)
{
    std::error_code error;  // a folder that is not there yet is made
    std::filesystem::create_directories(where, error);
    if (error)
        throw std::runtime_error("cannot make the folder " + where + ": " + error.message());
    const ExampleFiles files = ExampleFilesIn(where);
    try {
        WriteExampleFiles(files, days);
    } catch (...) {
        // No part of an example is left to look like the whole.
        for (const std::string& path : {files.data, files.truth, files.setup})
            std::remove(path.c_str());
        throw;
    }
    return files;
}

void WriteBenchFile(const std::string& path, int64_t lines)
{
    FilePtr out = OpenForWriting(path);
    Simulator sim;
    for (int64_t k = 0; k < lines; ++k) {
        const Sample s = sim.next();
        std::fprintf(out.get(), "%lld\t%.2f\t%.3f\n", static_cast<long long>(k), s.temperature, s.depth);
    }
    CloseWritten(out, path);
}

}  // namespace vk::example
