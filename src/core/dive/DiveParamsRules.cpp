#include "core/dive/DiveParamsRules.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "core/dive/SurfaceCheck.h"
#include "core/store/FileUtil.h"
#include "core/store/NumberInput.h"
#include "core/store/NumberText.h"
#include "core/store/VkDialogs.h"

namespace vk {

namespace {

std::string Int(int64_t v)
{
    return std::to_string(v);
}

// Reads the fields one after another; the first that holds no number is
// reported and ends the reading.
class FieldReader {
public:
    explicit FieldReader(VkDialogs& ui) : ui_(ui) {}
    const std::string& bad() const { return bad_; }

    void real(const std::string& text, const char* label, double& out)
    {
        double v = 0;
        if (!bad_.empty())
            return;
        if (ParseDecimal(text, v))
            out = v;
        else
            fail(NotANumberText(text), label);
    }
    void integer(const std::string& text, const char* label, int32_t& out)
    {
        int64_t v = 0;
        if (!bad_.empty())
            return;
        if (ParseInteger(text, v) && v >= INT32_MIN && v <= INT32_MAX)
            out = static_cast<int32_t>(v);
        else
            fail(NotAnIntegerText(text), label);
    }
    // A number rounded to the nearest integer.
    void rounded(const std::string& text, const char* label, int32_t& out)
    {
        double v = 0;
        if (!bad_.empty())
            return;
        if (ParseDecimal(text, v) && std::fabs(v) < 2147483647.0)
            out = static_cast<int32_t>(std::lround(v));
        else
            fail(NotAnIntegerText(text), label);
    }

private:
    void fail(const std::string& what, const char* label)
    {
        bad_ = label;
        ui_.message(what + " (\"" + label + "\")", Severity::Error);
    }
    VkDialogs& ui_;
    std::string bad_;
};

}  // namespace

DiveParmsEntry EntryOf(const Workbench& wb)
{
    const DiveParameters& p = wb.settings.dive;
    const ThumbnailSettings& t = wb.settings.thumbnails;
    DiveParmsEntry e;
    e.level = GeneralText(p.Level);
    e.slopEoD = GeneralText(p.SlopEoD);
    e.criterion = static_cast<int>(p.Criterion);
    e.automatic = p.AutoDive != 0;
    e.slimness = GeneralText(p.RelBottSurf);
    e.thrBott = GeneralText(p.ThrBott);
    e.limitGradient = GeneralText(p.SlopBoB);
    e.autoGradient = p.AutoGradient != 0;
    e.threshold = GeneralText(p.Threshold);
    e.windowSize = Int(p.WindowSize);
    e.baselineQuality = GeneralText(p.BaselineQuality);
    e.timeBelow = GeneralText(p.TimeBelow);
    e.timeAbove = GeneralText(p.TimeAbove);
    e.searchNextAtW = p.SearchNextOff == 0;
    e.trekBaseline = p.TrekBaseline != 0;
    e.adjustSize = p.AdjustYSize != 0;
    e.noVisualisation = p.Visualise == 0;
    e.makeImages = p.MakeImages != 0;
    e.absDifferences = p.AbsDifferences != 0;
    e.burnishDives = p.BurnishDives != 0;
    e.pauseRelating = p.EndDiveValid != 0;
    e.skipDives = Int(p.MinDiveDuration);
    e.bottomKind = static_cast<int>(p.BottomKind);
    e.wiggDefPercent = GeneralText(p.WiggDefPercent);
    e.thumbnail = t.Thumbnail;
    e.tnNumber = t.TN_nr;
    e.tnDate = t.TN_date;
    e.tnTime = t.TN_time;
    e.tnShape = t.TN_shape;
    e.tnWidth = Int(t.ThumbnailWidth);
    e.tnHeight = Int(t.ThumbnailHeight);
    e.diveStops = p.DiveStops != 0;
    e.stopGradient = GeneralText(p.StopGradient);
    e.stopLength1 = Int(p.StopLength1);
    e.stopMinDuration = Int(p.StopMinDuration);
    e.wiggMethod = static_cast<int>(p.WiggMethod);
    e.wiggAmplitude = GeneralText(p.WiggAmplitude);
    e.wiggDuration = Int(p.WiggDuration);
    e.wiggRelPreceding = GeneralText(p.WiggRelPreceding);
    e.boutIntermediate = Int(p.BoutIntermediate);
    e.boutMinDur = Int(p.BoutMinDur);
    e.waterTemp = p.WaterTemp != 0;
    e.surroundMaxDepth = Int(p.SurroundMaxDepth);
    e.nrBins = Int(p.NrBins);
    e.minBin = GeneralText(p.MinBin);
    e.maxBin = GeneralText(p.MaxBin);
    e.frequencies = p.Frequencies != 0;
    e.diveFile = wb.settings.NameOutFile[0];
    e.boutFile = wb.results.bouts;
    e.wiggleFile = wb.results.wiggles;
    return e;
}

DiveParmsState EnablingOf(DiveParmsEntry& e)
{
    DiveParmsState s;
    switch (static_cast<BottomSearchKind>(e.bottomKind)) {
    case BottomSearchKind::FixBottom:
        s.slimness = false;
        s.thrBott = true;
        s.limitGradient = false;
        s.autoGradient = false;
        break;
    case BottomSearchKind::Tamrin:
        s.slimness = true;
        s.thrBott = false;
        s.limitGradient = true;
        s.autoGradient = false;  // the Tamrin bottom goes by the limit gradient alone
        break;
    case BottomSearchKind::WiggleDefined:
        s.slimness = s.thrBott = s.limitGradient = false;
        s.wiggDefPercent = true;
        s.autoGradient = true;  // for the gradient-bounded bottom it falls back to
        break;
    default:
        s.slimness = true;
        s.thrBott = false;
        s.autoGradient = true;
        s.limitGradient = !e.autoGradient;
        break;
    }
    s.thumbnailParts = e.thumbnail;

    switch (e.wiggMethod) {
    case 0:
        s.wiggButton = "Simeone";
        s.wiggAmplitudeLabel = "Change in depth ...  ";
        s.wiggDurationLabel = "... over n seconds";
        s.wiggGroup = " Wiggles";
        break;
    case 1:
        s.wiggButton = "Bost";
        s.wiggAmplitudeLabel = "Min. Amplitude ";
        s.wiggDurationLabel = " Max. Duration";
        s.wiggGroup = " Wiggles";
        s.wiggRelative = false;
        break;
    default:
        s.wiggGroup = " No wiggles";
        s.wiggAmplitude = s.wiggDuration = s.wiggRelative = false;
        break;
    }

    double v = 0;
    s.timeBelowLabel = !(ParseDecimal(e.timeBelow, v) && v == 0);
    s.timeAboveLabel = !(ParseDecimal(e.timeAbove, v) && v == 0);
    s.skipLabel = ParseDecimal(e.skipDives, v) && v > 0;

    s.levelLabel = "&Level [0..1] *100%";
    if (e.automatic) {
        s.level = s.slope = s.criterion = false;
        return s;
    }
    switch (static_cast<OnsetCriterion>(e.criterion)) {
    case OnsetCriterion::OnlyLevel: s.slope = false; break;
    case OnsetCriterion::OnlySlope: s.level = false; break;
    case OnsetCriterion::OnlyLevelAbs: {
        s.slope = false;
        s.levelLabel = "&Level [0..1] [m]";
        double threshold = 0, level = 0;
        if (ParseDecimal(e.threshold, threshold) && ParseDecimal(e.level, level) && threshold < level)
            e.level = e.threshold;
        break;
    }
    default: break;
    }
    return s;
}

GroupCaption ResultCaption(const std::string& base, const std::string& file)
{
    if (!file.empty() && FileExists(file))
        return {base + ". Already exist. Append results.", true};
    return {base, false};
}

void BaselineFieldLeft(const std::string& text, VkDialogs& ui)
{
    double v = 0;
    if (ParseDecimal(text, v) && v < 0.1)
        ui.message("Sure? This value for baselline quality is propably too small", Severity::Warning);
}

namespace {

// The fields read into p and t with the choices and the silent corrections;
// the label of a field without a number (named in a message), or empty.
std::string ReadEntry(DiveParmsEntry& e, DiveParameters& p, ThumbnailSettings& t, VkDialogs& ui)
{
    int32_t criterion = e.criterion, bottomKind = e.bottomKind, wiggMethod = e.wiggMethod;

    FieldReader r(ui);
    r.real(e.level, "Level", p.Level);
    r.real(e.slopEoD, "SlopeEoD [m/sec]", p.SlopEoD);
    r.real(e.slimness, "Slimness [0..1]", p.RelBottSurf);
    r.real(e.thrBott, "Thresh. Bottom [0..1]", p.ThrBott);
    r.real(e.limitGradient, "Limit gradient [m/sec]", p.SlopBoB);
    r.real(e.threshold, "Threshold [m]", p.Threshold);
    r.integer(e.windowSize, "Window size [sec.]", p.WindowSize);
    r.real(e.baselineQuality, "Baseline stability [m]", p.BaselineQuality);
    r.real(e.timeBelow, "Time below", p.TimeBelow);
    r.real(e.timeAbove, "Time above", p.TimeAbove);
    r.integer(e.skipDives, "Skip Dives < n sec", p.MinDiveDuration);
    r.real(e.wiggDefPercent, "Wiggle defined", p.WiggDefPercent);
    r.integer(e.tnWidth, "Width", t.ThumbnailWidth);
    r.integer(e.tnHeight, "Height", t.ThumbnailHeight);
    r.real(e.stopGradient, "Gradient  [m/sec]", p.StopGradient);
    r.integer(e.stopLength1, "Length 1", p.StopLength1);
    r.integer(e.stopMinDuration, "Min. Duration [SI]", p.StopMinDuration);
    if (e.wiggMethod != 2) {  // hidden fields keep their values
        r.real(e.wiggAmplitude, "Change in depth ...", p.WiggAmplitude);
        r.integer(e.wiggDuration, "... over n seconds", p.WiggDuration);
        if (e.wiggMethod == 0)
            r.real(e.wiggRelPreceding, "relative to preceding", p.WiggRelPreceding);
    }
    r.rounded(e.boutIntermediate, "Bout Intermed. [sec]", p.BoutIntermediate);
    r.rounded(e.boutMinDur, "Bout Min. Dur. [sec]", p.BoutMinDur);
    r.integer(e.surroundMaxDepth, "Surround max. depth [sec]", p.SurroundMaxDepth);
    r.integer(e.nrBins, "Nr Bins", p.NrBins);
    r.real(e.minBin, "Min y-value", p.MinBin);
    r.real(e.maxBin, "Max y-value", p.MaxBin);
    if (!r.bad().empty())
        return r.bad();
    p.Criterion = static_cast<OnsetCriterion>(std::clamp(criterion, 0, 4));
    p.AutoDive = e.automatic;
    p.AutoGradient = e.autoGradient;
    p.SearchNextOff = e.searchNextAtW ? 0 : 1;
    p.TrekBaseline = e.trekBaseline;
    p.AdjustYSize = e.adjustSize;
    p.Visualise = !e.noVisualisation;
    p.MakeImages = e.makeImages;
    p.AbsDifferences = e.absDifferences;
    p.BurnishDives = e.burnishDives;
    p.EndDiveValid = e.pauseRelating;
    p.BottomKind = static_cast<BottomSearchKind>(std::clamp(bottomKind, 0, 3));
    p.DiveStops = e.diveStops;
    p.WiggMethod = static_cast<WiggleMethod>(std::clamp(wiggMethod, 0, 2));
    p.WaterTemp = e.waterTemp;
    p.Frequencies = e.frequencies;
    t.Thumbnail = e.thumbnail;
    t.TN_nr = e.tnNumber;
    t.TN_date = e.tnDate;
    t.TN_time = e.tnTime;
    t.TN_shape = e.tnShape;

    p.MinDiveDuration = std::max(p.MinDiveDuration, 0);
    if (p.BaselineQuality < 0.5)
        p.BaselineQuality = 1.75;
    else if (p.BaselineQuality > 5)
        p.BaselineQuality = 2.3125;
    t.ThumbnailWidth = std::clamp(t.ThumbnailWidth, 0, 200);
    t.ThumbnailHeight = std::clamp(t.ThumbnailHeight, 0, 100);
    return {};
}

}  // namespace

std::optional<DiveParameters> EnteredDiveParameters(DiveParmsEntry e, const Settings& s, VkDialogs& ui)
{
    DiveParameters p = s.dive;
    ThumbnailSettings t = s.thumbnails;
    if (!ReadEntry(e, p, t, ui).empty())
        return std::nullopt;
    return p;
}

AcceptResult AcceptDiveParms(DiveParmsEntry& e, Workbench& wb, int activeSlot, VkDialogs& ui)
{
    DiveParameters p = wb.settings.dive;
    ThumbnailSettings t = wb.settings.thumbnails;
    if (const std::string bad = ReadEntry(e, p, t, ui); !bad.empty())
        return {false, bad};
    // Depth classes need at least one class over a range that is not empty.
    if (p.NrBins <= 0) {
        ui.message(" Nr Bins must be at least 1.", Severity::Warning);
        return {false, "Nr Bins"};
    }
    if (!(p.MinBin < p.MaxBin)) {
        ui.message(" Min y-value must be below Max y-value.", Severity::Warning);
        return {false, "Min y-value"};
    }

    if (p.BoutMinDur > 2000000 || p.BoutIntermediate > 2000000)
        ui.message("Warning! Bout Intermed. or Bout min dir. is too large", Severity::Warning);
    wb.settings.NameOutFile[0] = e.diveFile;
    wb.results.bouts = e.boutFile;
    wb.results.wiggles = e.wiggleFile;
    // The surface and the dive threshold as lines in the active strip.
    SubsidiaryLines& lines = wb.settings.subsidiaryLines[static_cast<std::size_t>(std::clamp(activeSlot, 0, 2))];
    lines[0].flag = 1;
    lines[1] = {0, 1};
    lines[2] = {p.Threshold, 1};

    AcceptResult result;
    if (p.NrBins >= 31) {
        ui.message("Nr bins max 30", Severity::Warning);
        p.NrBins = 30;
        e.nrBins = "30";
    } else if (p.WiggDefPercent > 100 || p.WiggDefPercent < 0) {
        ui.message("Wiggle defined: [0<%<100]", Severity::Warning);
    } else {
        result.close = true;
    }
    wb.settings.dive = p;
    wb.settings.thumbnails = t;
    RenewSurfaceNote(wb.rec, p);
    return result;
}

}  // namespace vk
