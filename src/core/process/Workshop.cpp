#include "core/process/Workshop.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/process/RawSectionPass.h"
#include "core/store/Channel.h"
#include "core/store/ChannelSeries.h"
#include "core/store/VkDialogs.h"

namespace vk {

Workshop::Workshop(Recording& rec, int slot, int32_t first, int32_t end, VkDialogs& ui)
        : rec_(rec), slot_(slot), first_(first), reachLo_(ChannelView(rec, slot).firstStored()),
          reachHi_(ChannelView(rec, slot).last())
{
    if (rec.workshop) {
        ui.message("Illegal operation at workshop.", Severity::Error);
        return;
    }
    values_.reserve(static_cast<std::size_t>(std::max(end - first, 0)));
    const ChannelSeries channel(rec, slot);
    for (int32_t i = first; i < end; ++i)
        values_.push_back(channel.channel(i).value);
    rec.workshop = this;
    active_ = true;
}

Workshop::~Workshop()
{
    if (active_)
        rec_.workshop = nullptr;
}

double Workshop::get(int32_t i) const
{
    if (i >= 0 && i < length())
        return values_[static_cast<std::size_t>(i)];
    if (!done_ || values_.empty())
        return ReadChannelValue(rec_, std::clamp(first_ + i, reachLo_, std::max(reachLo_, reachHi_)), slot_)
            .value;  // not through this workshop again
    return i < 0 ? values_.front() : values_.back();
}

bool Workshop::LowPass(int n, VkDialogs& ui)
{
    if (n < 1 || n > 200) {
        ui.message("workshop runmean: Parameter too great. ", Severity::Error);
        return false;
    }
    // The weights n cos(theta j), j = -n .. n, theta = pi / 2n, sum to `total`.
    const double theta = std::numbers::pi / (2.0 * n);
    double total = 0;
    for (int j = -n; j <= n; ++j)
        total += n * std::cos(std::numbers::pi * j / (2.0 * n));
    if (length() < 2) {
        done_ = true;
        return true;
    }
    // Sum x(i + j) e^(i theta j) over the window is a complex number S(i) whose
    // real part times n is the weighted sum; moving the window on by one is
    // S(i + 1) = e^(-i theta) (S(i) - x(i - n) e^(-i theta n) + x(i + n + 1) e^(i theta (n + 1))),
    // a few operations per position instead of 2n + 1. S is summed afresh now
    // and then, so that rounding cannot build up. The window reads the former
    // values: a ring keeps them after their position has its result.
    const int64_t ringSize = 2 * n + 2;  // the window and the value leaving it
    std::vector<double> former(static_cast<std::size_t>(ringSize));
    auto ring = [&](int64_t k) -> double& { return former[static_cast<std::size_t>((k + 2 * ringSize) % ringSize)]; };
    for (int64_t k = 1 - n - 1; k <= 1 + n; ++k)
        ring(k) = get(static_cast<int32_t>(k));
    constexpr int32_t Refresh = 4096;
    const double stepC = std::cos(theta), stepS = -std::sin(theta);                 // e^(-i theta)
    const double outC = std::cos(theta * n), outS = -std::sin(theta * n);           // e^(-i theta n)
    const double inC = std::cos(theta * (n + 1)), inS = std::sin(theta * (n + 1));  // e^(i theta (n + 1))
    double re = 0, im = 0;
    PassProgress progress(ui, length());
    for (int32_t p = 1; p < length(); ++p) {
        progress.at(p);
        if (p > 1)
            ring(int64_t{p} + n) = get(p + n);  // still the former value: only positions before p are written
        if ((p - 1) % Refresh == 0) {
            re = im = 0;
            for (int j = -n; j <= n; ++j) {
                re += ring(int64_t{p} + j) * std::cos(theta * j);
                im += ring(int64_t{p} + j) * std::sin(theta * j);
            }
        } else {
            const double leaving = ring(int64_t{p} - 1 - n), entering = ring(int64_t{p} + n);
            const double a = re - leaving * outC + entering * inC, b = im - leaving * outS + entering * inS;
            re = a * stepC - b * stepS;
            im = a * stepS + b * stepC;
        }
        values_[static_cast<std::size_t>(p)] = n * re / total;
    }
    done_ = true;
    return true;
}

void Workshop::SmoothCopy()
{
    const int32_t n = length();
    if (n <= 6)
        return;
    const std::vector<double> x = values_;
    values_[0] = (x[0] + x[1]) / 2;
    for (int32_t i = 1; i <= n - 4; ++i)
        values_[static_cast<std::size_t>(i)] =
            (x[static_cast<std::size_t>(i - 1)] + 2 * x[static_cast<std::size_t>(i)] +
             x[static_cast<std::size_t>(i + 1)]) /
            4;
}

double Workshop::Mean(int32_t from, int32_t to, VkDialogs& ui) const
{
    if (from < 0 || to >= length() || from > to) {
        ui.message("Range error at workshop mean", Severity::Error);
        return get(from);
    }
    double sum = 0;
    for (int32_t i = from; i <= to; ++i)
        sum += values_[static_cast<std::size_t>(i)];
    return sum / (to - from + 1);
}

void Workshop::RunningMean(int width)
{
    vk::RunningMean(values_, width);
    done_ = true;
}

void Workshop::Difference()
{
    vk::Difference(values_);
    done_ = true;
}

void Workshop::WriteBack()
{
    bool report = false;
    for (int32_t i = 0; i < length(); ++i)
        WriteRaw(rec_, first_ + i, PhysToRaw(rec_, slot_, report, values_[static_cast<std::size_t>(i)]), slot_);
}

}  // namespace vk
