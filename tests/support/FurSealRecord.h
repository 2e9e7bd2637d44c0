#pragma once

// The public fur-seal record (tests/data/furseal-5s.csv: 5 s, depth in whole
// metres, column 3) in slot 0, and the search over all of it as a researcher
// would first run it: threshold 4 m, the surface baseline on.

#include <functional>
#include <vector>

#include "core/dive/DiveSearch.h"
#include "support/ScriptedDialogs.h"

namespace vk::test {

struct FoundDive {
    double f4, f5, maxDepth;
    int32_t shape;
};

// False when the file could not be loaded.
bool LoadFurSeal(Recording& rec, ScriptedDialogs& ui);

DiveParameters FurSealParameters();

// Every dive from the start on; `each` sees the view and state of each one
// after its analysis.
std::vector<FoundDive> SearchAllDives(Recording& rec, ScriptedDialogs& ui,
                                      const std::function<void(const ViewState&, const DiveState&)>& each = {});
// The same with other parameters.
std::vector<FoundDive> SearchAllDives(Recording& rec, ScriptedDialogs& ui, const DiveParameters& p,
                                      const std::function<void(const ViewState&, const DiveState&)>& each = {});

}  // namespace vk::test
