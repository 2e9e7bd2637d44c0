#include "core/calc/Binning.h"
#include "core/dive/ExtendedValues.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "core/dive/DiveAnalysis.h"
#include "core/setup/DiveRecord.h"
#include "core/store/ChannelSeries.h"
#include "core/store/VkDialogs.h"

namespace vk {

double GreatCircleKm(double lat1, double lon1, double lat2, double lon2)
{
    constexpr double rad = std::numbers::pi / 180;
    auto unit = [](double lat, double lon) {
        return std::array<double, 3>{std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
    };
    const auto a = unit(lat1 * rad, lon1 * rad), b = unit(lat2 * rad, lon2 * rad);
    const double c =
        std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]));
    const double half = c / 2 >= 1 ? std::numbers::pi / 2 : std::asin(c / 2);
    return 2 * half * 20038.5 / std::numbers::pi;
}

namespace {

struct Section {
    double start = 0, end = 0;  // ms
};

Section SectionOf(int32_t section, const DiveTimes& t)
{
    switch (section) {
    case SecDescent: return {t.F4, t.F8};
    case SecBottom: return {t.F8, t.F9};
    case SecAscent: return {t.F9, t.F5};
    case SecMaxDepth: return {t.maxDepth, t.maxDepth};
    case SecSurface: return {t.surfaceStart, t.F4};
    default: return {t.F4, t.F5};
    }
}

// Latitude from `slot`, longitude from the slot after it; false where either has no valid value.
bool PositionAt(const Recording& rec, int slot, int32_t i, double& lat, double& lon)
{
    const PhysValue a = ReadValue(rec, i, slot), b = ReadValue(rec, i, slot + 1);
    lat = a.value;
    lon = b.value;
    return a.status == 0 && b.status == 0;
}

double RowValue(const Recording& rec, const ExtendedParameterRow& row, const DiveTimes& times, double commSampInterval,
                VkDialogs& ui)
{
    const ChannelSeries ch(rec, row.channel);
    const Section s = SectionOf(row.section, times);
    const auto first = static_cast<int32_t>(std::lround(s.start / ch.interval()));
    const auto last = static_cast<int32_t>(std::lround(s.end / ch.interval()));
    std::vector<double> values;
    for (int32_t i = first; i <= last; ++i) {
        const PhysValue v = ch.read(i);
        if (v.status == 0)
            values.push_back(v.value);
    }
    double sum = 0;
    for (const double v : values)
        sum += v;
    switch (row.operation) {
    case OpMinimum: return values.empty() ? Missing : *std::min_element(values.begin(), values.end());
    case OpMaximum: return values.empty() ? Missing : *std::max_element(values.begin(), values.end());
    case OpMean: return values.empty() ? Missing : sum / static_cast<double>(values.size());
    case OpMedian: return values.empty() ? Missing : HistogramMedian(values);
    case OpIntegral: return sum / 1000 / 3600 * ch.interval();
    case OpOnsetValue: return ch(first);
    case OpEndValue: return ch(last);
    case OpGradient: {
        const double span = (s.end - s.start) * commSampInterval / 1000;
        return span != 0 ? (ch(last) - ch(first)) / span : Missing;
    }
    case OpDistance:
    case OpWay: {
        const bool secondChannel = row.channel + 1 < SlotCount && HoldsData(rec, row.channel + 1);
        double lat1 = 0, lon1 = 0, lat2 = 0, lon2 = 0;
        bool valid = secondChannel && PositionAt(rec, row.channel, first, lat1, lon1);
        double km = 0;
        if (row.operation == OpDistance) {
            valid = valid && PositionAt(rec, row.channel, last, lat2, lon2);
            if (valid)
                km = GreatCircleKm(lat1, lon1, lat2, lon2);
        } else {
            for (int32_t i = first + 1; valid && i <= last; ++i) {
                valid = PositionAt(rec, row.channel, i, lat2, lon2);
                if (valid)
                    km += GreatCircleKm(lat1, lon1, lat2, lon2);
                lat1 = lat2;
                lon1 = lon2;
            }
        }
        if (!valid) {
            ui.message("Error. Invalid longitude or latitude channel", Severity::Error);
            return 0;
        }
        return km;
    }
    default: return Missing;
    }
}

}  // namespace

std::array<double, ExtendedRowCount> ExtendedValues(const Recording& rec, const DiveTimes& times,
                                                    const DiveParameters& p, double commSampInterval, VkDialogs& ui)
{
    std::array<double, ExtendedRowCount> out;
    out.fill(Missing);
    for (std::size_t k = 0; k < out.size(); ++k) {
        const ExtendedParameterRow& row = p.ExtendedParameters[k];
        if (!row.enabled || row.operation < OpMinimum || row.operation > OpWay || row.channel < 0 ||
            row.channel >= SlotCount || row.section < SecDive || row.section > SecSurface ||
            !HoldsData(rec, row.channel))
            continue;
        out[k] = RowValue(rec, row, times, commSampInterval, ui);
    }
    return out;
}

}  // namespace vk
