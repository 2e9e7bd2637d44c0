#include "gui/process/FilterTips.h"

namespace vk {

const FieldTips& PeakEliminationTips()
{
    static const FieldTips tips{
        {"rbtExtremes",
         "Samples at the very ends of the logger's range (no reading) between F4 and F5 take the value before them"},
        {"rbtPeaks", "Spikes between F4 and F5 are replaced by a straight line between their neighbours"},
        {"edtAmplitude",
         "Least height of a spike, in the channel's unit (m for depth), measured from the samples on both sides"},
        {"edtLength", "Spikes shorter than this many samples are removed; longer excursions stay"},
        {"rbtReplace", "Every value between F4 and F5 that meets the condition is replaced"},
        {"cbxRelation", "Which values are replaced: below (<), above (>) or equal to (=) the value beside"},
        {"edtValue", "The value compared with, in the channel's unit (m for depth)"},
        {"rbtByValue", "Replaced by the value beside, in the channel's unit"},
        {"edtReplacement", "The value that replaces them, in the channel's unit (m for depth)"},
        {"rbtByLine", "Replaced by a straight line between the values before and after each run"},
    };
    return tips;
}

const FieldTips& RunningMeanTips()
{
    static const FieldTips tips{
        {"EdtRMR",
         "Half width in samples (at most 500): each value becomes the mean of this many samples before it, "
         "itself and as many after it"},
        {"rbtUp", "A value is only raised: replaced when the mean is greater (fills dips)"},
        {"rbtMiddle", "Every value is replaced by the mean"},
        {"rbtDown", "A value is only lowered: replaced when the mean is smaller (cuts spikes)"},
        {"edtIgnoreExtrem",
         "Percentage (0 to 50) of the window's smallest (Up) or greatest (Down) samples left out "
         "of the mean, so that a spike does not pull it"},
    };
    return tips;
}

const FieldTips& EnvelopeTips()
{
    static const FieldTips tips{
        {"edtMaxPeriod",
         "Samples: neighbouring peaks closer than this are joined by a straight line; farther apart "
         "they are left alone"},
        {"edtMinAmplitude",
         "Least swing, in the channel's unit (m for depth), for a peak to count; smaller wiggles are passed over"},
        {"rbtAbove", "The line runs over the maxima and covers the curve from above"},
        {"rbtBelow", "The line runs under the minima and covers the curve from below"},
    };
    return tips;
}

const FieldTips& FlatBaselineTips()
{
    static const FieldTips tips{
        {"trbStrength",
         "How steep a change may be and still be smoothed: 0 smooths nothing, 32 smooths every step; "
         "steep descents and ascents stay as recorded"},
        {"edtStrength", "How steep a change may be and still be smoothed (0 to 32)"},
        {"rbtWaves0", "Shortest kernel (3 samples): for short waves"},
        {"rbtWaves1", "Kernel of 7 samples weighted to the middle: for medium waves"},
        {"rbtWaves2", "Flatter kernel of 7 samples: for long waves"},
        {"cbxBelowThreshold", "Smooth only samples shallower than the dive threshold: the surface, not the dives"},
    };
    return tips;
}

const FieldTips& CompensationTips()
{
    static const FieldTips tips{
        {"edtAmplitude",
         "Least depth (m) of the dip below the reference for it to be compensated; smaller dips stay as recorded"},
        {"edtStartDepth", "Depth (m): the repeated compensation moves F4 back to where the dive passes this depth"},
        {"cbxInvertPreview", "Shows the preview line (green) turned over, to compare it with the dip"},
        {"rbtSurfaceReference", "The reference level is the mean of the last eighth of F4..F5 (the surface after it)"},
        {"rbtZeroReference", "The reference level is 0 m"},
    };
    return tips;
}

}  // namespace vk
