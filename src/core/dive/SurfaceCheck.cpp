#include "core/dive/SurfaceCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "core/calc/Binning.h"
#include "core/calc/SectionScan.h"
#include "core/store/Channel.h"
#include "core/store/ChannelSeries.h"
#include "core/store/NumberText.h"
#include "core/store/VkDialogs.h"

namespace vk {

namespace {

constexpr double ShallowShare = 1.0 / 3;  // the surface lies among the shallowest third
constexpr double DeepShare = 0.99;        // the threshold should lie above this share of readings
constexpr double NearSurface =
    1.5;                           // m either side of the level that count as its noise (whole-metre loggers included)
constexpr double FineStep = 0.01;  // m: no finer bins for the surface
constexpr double NoticedOffset = 0.5;  // m: a surface reading less is left unsaid

// The value below which `share` of the counted values lie, by bins.
double ValueAtShare(const Bins& bins, int64_t total, double share)
{
    const auto wanted = static_cast<int64_t>(std::ceil(share * static_cast<double>(total)));
    int64_t running = 0;
    for (int b = 0; b < BinCount; ++b) {
        running += bins.counts[static_cast<std::size_t>(b)];
        if (running >= wanted)
            return bins.lowerEdge(b + 1);
    }
    return bins.lowerEdge(BinCount);
}

// The deepest reading of each stay deeper than `base`, as the search sees
// the depth (less `surface`); a missing value ends a stay.
std::vector<double> StayPeaks(const Recording& rec, int slot, double surface, double base)
{
    const ChannelView channel(rec, slot);
    const ChannelSeries depth(rec, slot);
    std::vector<double> peaks;
    double peak = 0;
    bool in = false;
    for (int64_t p = channel.firstStored(); p <= channel.last(); ++p) {
        const double v = channel.missing(p) ? -HUGE_VAL : depth(static_cast<int32_t>(p)) - surface;
        if (v > base) {
            peak = in ? std::max(peak, v) : v;
            in = true;
        } else if (in) {
            peaks.push_back(peak);
            in = false;
        }
    }
    if (in)
        peaks.push_back(peak);
    return peaks;
}

// Shallow ripples (waves, the animal rolling at the surface) are many and
// their peaks thin out fast with depth; dives spread over the whole range.
// When the first metre past `from` is crowded with peaks, the threshold goes
// to the first metre holding few of them, at most to `cap`.
double ThresholdAboveRipples(const std::vector<double>& peaks, double from, double cap)
{
    constexpr double Crowded = 2.0;      // the first metre holds more than this many times the median metre
    constexpr double RippleShare = 0.4;  // a metre with less than this share of the first metre's peaks is past them
    const int metres = static_cast<int>(std::ceil(cap - from));
    if (metres < 1)
        return from;
    std::vector<int64_t> perMetre(static_cast<std::size_t>(metres), 0);
    for (const double v : peaks)
        if (v >= from && v < from + metres)
            ++perMetre[static_cast<std::size_t>(v - from)];
    std::vector<int64_t> sorted = perMetre;
    std::nth_element(sorted.begin(), sorted.begin() + metres / 2, sorted.end());
    const double median = std::max<double>(1, static_cast<double>(sorted[static_cast<std::size_t>(metres / 2)]));
    if (static_cast<double>(perMetre[0]) <= Crowded * median)
        return from;
    for (int k = 1; k < metres; ++k)
        if (static_cast<double>(perMetre[static_cast<std::size_t>(k)]) < RippleShare * static_cast<double>(perMetre[0]))
            return from + k;
    return cap;
}

std::string Metres(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f m", v);
    return text;
}

}  // namespace

SurfaceEstimate EstimateSurface(const Recording& rec, int slot)
{
    SurfaceEstimate s;
    if (!HoldsValues(rec, slot))
        return s;
    const ChannelView channel(rec, slot);
    const SectionScan scan(rec, slot, StoredPart(channel, channel.firstStored(), channel.last()), Levels{}, false);
    const ValueMoments& m = scan.moments();
    if (m.n == 0)
        return s;
    s.known = true;
    s.deepest = m.max;
    if (!(m.max > m.min)) {
        s.level = s.deep = m.min;
        return s;
    }
    // Coarse bins over everything: the shallow third and the deep end.
    Bins all;
    all.minBin = m.min;
    all.width = (m.max - m.min) / (BinCount - 2);
    scan.addTo(all);
    const double shallow = ValueAtShare(all, m.n, ShallowShare);
    s.deep = std::min(m.max, ValueAtShare(all, m.n, DeepShare));
    // Fine bins over the shallow third: the most frequent reading there.
    Bins fine;
    fine.minBin = m.min;
    fine.width = std::max(FineStep, (shallow - m.min) / (BinCount - 6));
    scan.addTo(fine);
    int mode = 0;
    for (int b = 0; b < BinCount - 1; ++b)
        if (fine.lowerEdge(b) < shallow &&
            fine.counts[static_cast<std::size_t>(b)] > fine.counts[static_cast<std::size_t>(mode)])
            mode = b;
    s.level = fine.lowerEdge(mode) + fine.width / 2;
    // The noise: the spread of the readings within a metre of the level.
    double n = 0, sum = 0, squares = 0;
    for (int b = 0; b < BinCount - 1; ++b) {
        const double centre = fine.lowerEdge(b) + fine.width / 2,
                     c = static_cast<double>(fine.counts[static_cast<std::size_t>(b)]);
        if (std::fabs(centre - s.level) <= NearSurface) {
            n += c;
            sum += c * centre;
            squares += c * centre * centre;
        }
    }
    s.noise = n > 1 ? std::sqrt(std::max(0.0, squares / n - (sum / n) * (sum / n))) : 0;
    return s;
}

std::string SurfaceNote(const SurfaceEstimate& s, const DiveParameters& p)
{
    if (!s.known)
        return {};
    const bool offsetSpoils = p.TrekBaseline == 0 && std::fabs(s.level) > p.Threshold / 3;
    const bool tooDeep = p.Threshold > s.deep, inNoise = p.Threshold < s.level + 2 * s.noise;
    if (!offsetSpoils && !tooDeep && !inNoise)
        return {};
    // Once something is said, an offset surface is named with it: it decides the threshold to choose.
    std::string note;
    if (p.TrekBaseline == 0 && std::fabs(s.level) > std::max(NoticedOffset, 2 * s.noise))
        note =
            "The surface reads " + Metres(s.level) + ": turn on the surface baseline, or flatten the baseline first.";
    const auto add = [&note](const std::string& text) { note += (note.empty() ? "" : " ") + text; };
    if (tooDeep)
        add("The threshold of " + Metres(p.Threshold) + " is deeper than 99 % of the record (which reaches " +
            Metres(s.deepest) + "): most dives will be missed.");
    else if (inNoise)
        add("The threshold of " + Metres(p.Threshold) +
            " lies within the surface noise: waves and ripples will count as dives.");
    return note;
}

ParameterSuggestion SuggestParameters(const Recording& rec, const SurfaceEstimate& s, const DiveParameters& given,
                                      int speedSlot)
{
    constexpr double LeastThreshold = 1.0;  // m
    constexpr double NoiseFactor = 4.0;     // the threshold clears the surface scatter this many times
    constexpr double RangeShare = 0.03;     // and this share of the depth range
    constexpr double ThresholdStep = 0.5;   // m: rounded up to this
    // m: ripples are told from dives by how their peaks thin out over this
    // many metres past the least threshold (nor past this share of the depth
    // range); the threshold goes at most half as far, so that a dive to
    // twice that depth still shows a descending sample above it at coarse
    // sampling.
    constexpr double RippleSpan = 8.0;
    constexpr double RippleSpanShare = 0.15;
    constexpr int WiggleSamples = 2;
    ParameterSuggestion out{given};
    DiveParameters& p = out.params;
    if (!s.known)
        return out;
    if (std::fabs(s.level) > std::max(NoticedOffset, 2 * s.noise) && p.TrekBaseline == 0) {
        p.TrekBaseline = 1;
        out.trekBaseline = true;
    }
    // Measured from the surface when the baseline follows it, else from 0.
    const double surface = p.TrekBaseline != 0 ? 0.0 : std::max(0.0, s.level);
    const double wanted = std::max({LeastThreshold, NoiseFactor * s.noise, RangeShare * (s.deep - s.level)});
    const double least = std::ceil((surface + wanted) / ThresholdStep) * ThresholdStep;
    const double span = std::min(RippleSpan, RippleSpanShare * (s.deep - s.level));
    const double seen = p.TrekBaseline != 0 ? s.level : 0.0;  // what the search subtracts
    const double aboveRipples =
        ThresholdAboveRipples(StayPeaks(rec, AnalysisSlot, seen, least), least, std::max(least, surface + span));
    const double threshold =
        std::ceil(std::min(aboveRipples, std::max(least, surface + span / 2)) / ThresholdStep) * ThresholdStep;
    if (threshold != p.Threshold) {
        p.Threshold = threshold;
        out.threshold = true;
    }
    const double seconds = ChannelView(rec, AnalysisSlot).interval() / 1000.0;
    // The end of a dive looks LenRest² samples ahead for a flat surface: at
    // coarse sampling that spans whole surface intervals and joins dives.
    // Kept to about the reach of four samples at 1 s.
    constexpr double EndReach = 16.0;  // s
    if (seconds > 1 && p.LenRest * p.LenRest * seconds > EndReach) {
        const auto lenRest = std::max<int32_t>(1, static_cast<int32_t>(std::lround(std::sqrt(EndReach / seconds))));
        if (lenRest < p.LenRest) {
            p.LenRest = lenRest;
            out.lenRest = true;
        }
    }
    if (p.WiggDuration < WiggleSamples * seconds) {
        p.WiggDuration = static_cast<int32_t>(std::ceil(WiggleSamples * seconds));
        out.wiggDuration = true;
    }
    constexpr int TemperatureSlot = 1;
    if (p.WaterTemp == 0 && HoldsValues(rec, TemperatureSlot)) {
        p.WaterTemp = 1;
        out.waterTemp = true;
    }
    if (p.SpeedAnalysis == 0 && speedSlot > 0 && speedSlot < SlotCount && HoldsValues(rec, speedSlot)) {
        p.SpeedAnalysis = 1;
        out.speed = true;
    }
    return out;
}

ParameterSuggestion SuggestForDefaults(const Recording& rec, const SurfaceEstimate& s, const DiveParameters& given,
                                       int speedSlot)
{
    const DiveParameters defaults;
    ParameterSuggestion out = SuggestParameters(rec, s, defaults, speedSlot);
    DiveParameters suggested = out.params;
    out.params = given;
    // Each suggested value replaces the given one only where that is the program's own.
    const auto take = [&](bool& flag, auto DiveParameters::*field) {
        flag = flag && given.*field == defaults.*field;
        if (flag)
            out.params.*field = suggested.*field;
    };
    take(out.threshold, &DiveParameters::Threshold);
    take(out.trekBaseline, &DiveParameters::TrekBaseline);
    take(out.lenRest, &DiveParameters::LenRest);
    take(out.wiggDuration, &DiveParameters::WiggDuration);
    take(out.waterTemp, &DiveParameters::WaterTemp);
    take(out.speed, &DiveParameters::SpeedAnalysis);
    return out;
}

std::string SuggestionText(const ParameterSuggestion& s)
{
    const DiveParameters& p = s.params;
    std::vector<std::string> parts;
    if (s.threshold)
        parts.push_back("threshold " + ShortText(p.Threshold) + " m");
    if (s.trekBaseline)
        parts.push_back("surface baseline on");
    if (s.lenRest)
        parts.push_back("end of dive over " + std::to_string(p.LenRest) + (p.LenRest == 1 ? " sample" : " samples"));
    if (s.wiggDuration)
        parts.push_back("wiggles over " + std::to_string(p.WiggDuration) + " s");
    if (s.waterTemp)
        parts.push_back("temperature results on");
    if (s.speed)
        parts.push_back("speed values on");
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : ", ") + part;
    return text;
}

void NoteSurfaceAfterStart(Workbench& wb, VkDialogs& ui)
{
    const std::string note = SurfaceNote(EstimateSurface(wb.rec, AnalysisSlot), wb.settings.dive);
    if (note.empty())
        return;
    SetHint(wb.rec, HintSurface, note);
    ui.status(note);
}

void RenewSurfaceNote(Recording& rec, const DiveParameters& p)
{
    if (rec.pendingHint != HintNone && rec.pendingHint != HintSurface)
        return;
    const std::string note = SurfaceNote(EstimateSurface(rec, AnalysisSlot), p);
    SetHint(rec, note.empty() ? HintNone : HintSurface, note);
}

}  // namespace vk
