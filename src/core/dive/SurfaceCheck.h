#pragma once

// A look at the depth channel right after loading: where its surface lies
// and how deep the record goes, so that a threshold or a surface offset that
// would spoil the dive search is pointed out before the first search.

#include <string>

#include "core/setup/DiveParameters.h"
#include "core/setup/Workbench.h"
#include "core/store/Recording.h"

namespace vk {

struct SurfaceEstimate {
    bool known = false;  // false without values
    double level = 0;    // the mode of the shallowest third of the readings
    double noise = 0;    // spread of the readings within 1.5 m of it
    double deep = 0;     // the depth that 1 % of the readings go beyond
    double deepest = 0;
};

// Over every value of the slot (missing values left out).
SurfaceEstimate EstimateSurface(const Recording& rec, int slot);

// What the user should know before searching, in plain words; empty when the
// surface and the threshold look right.
std::string SurfaceNote(const SurfaceEstimate& s, const DiveParameters& p);

// The dive parameters the record suggests, and which of them differ from
// those given: a threshold above the surface scatter and above the shallow
// ripples that are no dives, the surface baseline for a surface that is
// offset, an end of dive that looks no further ahead than about 16 s at
// coarse sampling, wiggles over two samples at least, the temperature and
// speed results when those channels hold values.
struct ParameterSuggestion {
    DiveParameters params;
    bool threshold = false, trekBaseline = false, wiggDuration = false, waterTemp = false, speed = false;
    bool lenRest = false;
    bool any() const { return threshold || trekBaseline || wiggDuration || waterTemp || speed || lenRest; }
};
ParameterSuggestion SuggestParameters(const Recording& rec, const SurfaceEstimate& s, const DiveParameters& given,
                                      int speedSlot);

// The record's suggestion for the parameters `given` leaves as the program
// has them; those set otherwise are kept (the batch runner's --suggest).
ParameterSuggestion SuggestForDefaults(const Recording& rec, const SurfaceEstimate& s, const DiveParameters& given,
                                       int speedSlot);
// What the suggestion changed, in words: "threshold 4 m, surface baseline on, ...".
std::string SuggestionText(const ParameterSuggestion& s);

// After Start: the note of the depth channel, if any, in the status line and
// behind the "Hint" button (its page explains the remedies).
void NoteSurfaceAfterStart(Workbench& wb, VkDialogs& ui);

// After the dive parameters changed: the note worked out again for them
// (gone when they now look right). Another kind of pending hint is kept.
void RenewSurfaceNote(Recording& rec, const DiveParameters& p);

}  // namespace vk
