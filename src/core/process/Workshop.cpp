#include "core/process/Workshop.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/store/ChannelSeries.h"
#include "core/store/VkDialogs.h"

namespace vk {


TWorkshop::TWorkshop(Recording& rec, int slot, int32_t first, int32_t end, VkDialogs& ui)
        : rec_(rec), slot_(slot), first_(first)
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

TWorkshop::~TWorkshop()
{
    if (active_)
        rec_.workshop = nullptr;
}

double TWorkshop::get(int32_t i) const
{
    if (i >= 0 && i < length())
        return values_[static_cast<std::size_t>(i)];
    if (!done_ || values_.empty())
        return ReadChannelValue(rec_, first_ + i, slot_).value;  // not through this workshop again
    return i < 0 ? values_.front() : values_.back();
}

bool TWorkshop::LowPass(int n, VkDialogs& ui)
{
    if (n < 1 || n > 200) {
        ui.message("workshop runmean: Parameter too great. ", Severity::Error);
        return false;
    }
    std::vector<double> weight(static_cast<std::size_t>(2 * n + 1));
    double total = 0;
    for (int j = -n; j <= n; ++j) {
        const double w = n * std::cos(std::numbers::pi * j / (2.0 * n));
        weight[static_cast<std::size_t>(j + n)] = w;
        total += w;
    }
    // Each result waits n steps in the ring, until no later mean reads its position.
    std::vector<double> ring(static_cast<std::size_t>(n + 1));
    std::size_t p = 0;
    for (int32_t i = 0; i < length() + n; ++i) {
        double sum = 0;
        for (int j = -n; j <= n; ++j)
            sum += get(i + j) * weight[static_cast<std::size_t>(j + n)];
        ring[p] = sum / total;
        if (i > n)
            set(i - n, ring[(p + 1) % ring.size()]);
        p = (p + 1) % ring.size();
    }
    done_ = true;
    return true;
}

void TWorkshop::RunningMean(int width)
{
    vk::RunningMean(values_, width);
    done_ = true;
}

void TWorkshop::Difference()
{
    vk::Difference(values_);
    done_ = true;
}

void TWorkshop::WriteBack()
{
    bool report = false;
    for (int32_t i = 0; i < length(); ++i)
        WriteRaw(rec_, first_ + i, PhysToRaw(rec_, slot_, report, values_[static_cast<std::size_t>(i)]), slot_);
}

}  // namespace vk
