#include "gui/dive/DiveParamsTips.h"

namespace vk {

const FieldTips& DiveParameterTips()
{
    static const FieldTips tips{
        // The end and the onset of a dive.
        {"edtLevel",
         "Share of the maximum depth (0 to 1) the depth must have come back by for the dive to end or "
         "begin: 0.9 ends it within a tenth of the maximum depth. Larger: shorter dives"},
        {"edtSlopEoD",
         "Vertical speed (m/s) below which the depth counts as level at the surface. Larger: shorter "
         "dives"},
        {"cbxCriterion",
         "How level and speed combine to end a dive: both (AND), either (OR), only one of them, or "
         "only a level in metres (only Level abs.)"},
        {"cbxAutoDive", "Onset and end from the kinks of the depth profile instead of level and speed"},
        // The bottom phase.
        {"edtRelBottSurf", "Slimness (0 to 1) that tells V from U dives: smaller gives more U dives"},
        {"edtThrBott",
         "Share of the maximum depth (0 to 1) above which the bottom phase lies (Fix Bottom). Smaller: "
         "a longer bottom, more U dives"},
        {"cbxAutoGradient", "The ends of descent and ascent from the descent rate of each dive"},
        {"edtSlopBoB",
         "Vertical speed (m/s) below which descent and ascent end, when Auto Gradient is off. Larger: a "
         "longer bottom, more U dives"},
        {"rbNormal", "The bottom between the knees of the profile"},
        {"rbFixBottom", "The bottom where the dive is deeper than Thresh. Bottom times its maximum depth"},
        {"rbTamrin", "The bottom where a step is smaller than the mean step so far"},
        {"rbWiggleDefined", "The bottom between the first and last wiggle deeper than the given share"},
        {"edtWiggDefPercent", "Share of the maximum depth (%) a wiggle must reach to count for the bottom"},
        // Finding dives.
        {"edtThreshold",
         "Depth (m) a dive must go deeper than to be found, measured from the surface when the "
         "surface baseline is on. Smaller: more dives, and surface ripples among them"},
        {"edtWindowSize", "Time (s) the graph window shows around each dive found"},
        {"edtBaselineQuality",
         "Distance (m, 0.5 to 5) the surface may move from dive to dive: a dive begins and "
         "ends within about this band of the surface"},
        {"edtTimeBelow", "Depth (m): the time each dive spends not deeper than it is written; 0 switches it off"},
        {"edtTimeAbove", "Depth (m): the time each dive spends deeper than it is written; 0 switches it off"},
        {"edtMinDiveDur", "Duration (s): shorter dives are passed over"},
        // Switches.
        {"cbxSearchNext", "W writes the results and searches the next dive; off: W only writes"},
        {"cbxTrekBaseline",
         "Surface baseline: the surface after each dive becomes the zero of the depth, so that a "
         "surface reading other than 0 m does not shift the threshold"},
        {"cbxAdjustYSize", "The depth scale fitted to each dive found"},
        {"cbxNoVisualisation", "The automatic analysis draws nothing while it runs (faster)"},
        {"cbxMakeImages", "A picture of each dive written into the images folder beside the data"},
        {"cbxAbsDifferences", "Differences of duration and maximum depth to the previous dive without their sign"},
        {"cbxBurnishDives", "The dives found are flattened to the surface instead of analysed"},
        {"cbxEndDiveValid", "The pause is measured from the last dive found, also one passed over with Q"},
        // Dive stops.
        {"cbxDiveStops", "Stops in the descent and the ascent are searched and written"},
        {"edtStopGradient", "Vertical speed (m/s) below which the depth counts as a stop"},
        {"edtStopLength1", "Spacing (samples) of the points the vertical speed of a stop is taken from"},
        {"edtStopMinDuration", "Duration (samples) a stop must last at least"},
        // Wiggles.
        {"btnWiggMethod",
         "Wiggles by Simeone (a steady change of depth), by Bost (extremes) or none: click to "
         "change"},
        {"edtWiggAmplitude", "Depth change (m) a wiggle must reach at least"},
        {"edtWiggDuration", "Time (s) within which a wiggle's change of depth must happen; at least two samples"},
        {"edtWiggRelative",
         "Share (0 to 1) of the preceding wiggle's amplitude a wiggle must reach; 0 switches it "
         "off"},
        // Thumbnails.
        {"cbxThumbnail", "A small picture of each dive written with its result line"},
        {"cbxTNNumber", "The dive's number on its thumbnail"},
        {"cbxTNDate", "The dive's date on its thumbnail"},
        {"cbxTNTime", "The dive's time of day on its thumbnail"},
        {"cbxTNShape", "The dive's shape letter on its thumbnail"},
        {"edtTNWidth", "Width of a thumbnail (pixels)"},
        {"edtTNHeight", "Height of a thumbnail (pixels)"},
        // Bouts, water temperature, depth classes, result files.
        {"edtBoutIntermediate", "Bout pause (s): a longer pause between two dives ends the bout"},
        {"edtBoutMinDur", "Duration (s) a bout must last at least to be written"},
        {"cbxWaterTemp", "The water temperature of each dive from the temperature channel"},
        {"edtSurroundMaxDepth", "Time (s) around the deepest point over which the temperature there is averaged"},
        {"edtNrBins", "Number of depth classes (1 to 30) the time of each dive is divided into"},
        {"edtMinBin", "Depth (m) where the first depth class begins"},
        {"edtMaxBin", "Depth (m) where the last depth class ends"},
        {"cbxFrequencies", "The time in each depth class written with each dive"},
        {"edtDiveFile", "File the dive table is written to (red: it exists, the results are appended)"},
        {"edtBoutFile", "File the bout table is written to (red: it exists, the results are appended)"},
        {"edtWiggleFile", "File the wiggle table is written to"},
        {"btnExtended", "Up to eight more values per dive: minimum, mean, way ... of a channel in a phase of the dive"},
        {"btnShapes", "The limits the shape letters V, U, Y, W, P and L are told apart by"},
    };
    return tips;
}

const FieldTips& DiveShapeTips()
{
    static const FieldTips tips{
        {"trbYFormFactor",
         "Y shape (a peak dive rising from a bottom): how small the deep part must be against "
         "the rest (1.0 to 2.0, no unit). Larger: fewer Y dives"},
        {"edtYFormFactor", "Y shape: how small the deep part must be against the rest (1.0 to 2.0, no unit)"},
        {"trbYFormDivision",
         "Y shape: share of the maximum depth (0.25 to 0.75) below which the most frequent "
         "depth must lie. Larger: more Y dives"},
        {"edtYFormDivision",
         "Y shape: share of the maximum depth (0.25 to 0.75) below which the most frequent "
         "depth must lie"},
        {"trbWShapeHeight",
         "W shape: how far the bottom must rise and fall again, as a share of its depth "
         "(0 to 0.8, of a third of it). Larger: fewer W dives"},
        {"edtWShapeHeight",
         "W shape: how far the bottom must rise and fall again (0 to 0.8, a share of a third "
         "of the bottom depth)"},
        {"trbParabolaHeight",
         "Parabola: how much the dive is smoothed and how deep the width is measured (0 to "
         "1, no unit). Larger: smoother, rounder dives count"},
        {"edtParabolaHeight", "Parabola: smoothing and measuring depth (0 to 1, no unit)"},
        {"trbLShapeParm",
         "L shape: least slope of the bottom (m/s, 0.001 to 0.2) for a U dive to count as L. "
         "Larger: fewer L dives"},
        {"edtLShapeParm", "L shape: least slope of the bottom (m/s, 0.001 to 0.2)"},
    };
    return tips;
}

const FieldTips& ExtendedParameterTips()
{
    static const FieldTips tips{
        {"cbxSpeedAnalysis",
         "Angles of descent and ascent and the distances travelled, from the speed channel, into the dive table"},
        {"cbxSpeedChannel", "The channel that holds the swimming speed (m/s)"},
        {"cbxMyVk", "Kept in the setup file for your own use; it changes no result"},
    };
    return tips;
}

}  // namespace vk
