#pragma once

// The bout criterion of a record: the pauses between the dives the automatic
// analysis finds, fitted with two processes. The window fits the stretch
// F4..F5 without writing anything; the batch runner collects the pauses of
// its run and groups the bouts with the fitted criterion.

#include <functional>
#include <string>
#include <vector>

#include "core/calc/BoutCriterion.h"
#include "core/dive/DiveSearch.h"

namespace vk {

// The pauses before the dives, as the Pause column has them; a pause holding
// samples without a value is left out (the animal may have dived there).
class PauseCollector {
public:
    // The next dive, analysed.
    void add(const DiveRecord& r);
    const std::vector<double>& pauses() const { return pauses_; }  // s
    int dives() const { return dives_; }
    int acrossGaps() const { return acrossGaps_; }

private:
    std::vector<double> pauses_;
    int dives_ = 0, acrossGaps_ = 0;
};

struct StretchFit {
    BoutFit fit;
    int dives = 0, acrossGaps = 0;
    bool halted = false;
};

// Searches and analyses the dives of F4..F5 as the automatic analysis does and
// fits their pauses. Nothing is written, and the recording's baseline, the
// view and the dive state are as they were afterwards. `halted` is asked after
// each dive with the share of the stretch done.
StretchFit FitStretchBouts(DiveContext& cx, const DiveParameters& p, const std::function<bool(double share)>& halted);

// The fit in a line: "p 0.81, λf 1/31 s, λs 1/1795 s, criterion 209 s from 1999 pauses", or its message.
std::string BoutFitLine(const BoutFit& fit);

}  // namespace vk
