#include "support/FurSealRecord.h"

#include "core/dive/DiveAnalysis.h"
#include "core/files/TextLoader.h"
#include "support/TempDir.h"

namespace vk::test {

bool LoadFurSeal(Recording& rec, ScriptedDialogs& ui)
{
    AllocateAll(rec, 4);
    ChannelDescriptor& d = rec.desc(0);
    d.NameIn = VARNIK_TEST_DATA "/furseal-5s.csv";
    d.HeaderText = 1;
    d.InDelimiter = ';';
    d.SampRate = 5000;
    d.ColumnValue = 3;
    rec.at(1).ChannelUsed = rec.at(2).ChannelUsed = false;
    return LoadTextChannel(rec, 0, SkipStrings{}, ui);
}

DiveParameters FurSealParameters()
{
    DiveParameters p;
    p.Threshold = 4;
    p.TrekBaseline = 1;
    return p;
}

std::vector<FoundDive> SearchAllDives(Recording& rec, ScriptedDialogs& ui,
                                      const std::function<void(const ViewState&, const DiveState&)>& each)
{
    return SearchAllDives(rec, ui, FurSealParameters(), each);
}

std::vector<FoundDive> SearchAllDives(Recording& rec, ScriptedDialogs& ui, const DiveParameters& p,
                                      const std::function<void(const ViewState&, const DiveState&)>& each)
{
    ViewState view;
    DiveState state;
    NoUndo undo;
    DiveContext cx{rec, view, state, ui, undo, {}};
    std::vector<FoundDive> dives;
    while (SearchNext(cx, p).accepted) {
        if (!AnalyseDive(rec, view.at, p, state, cx.setup, ui))
            break;
        dives.push_back({view.at.F4, view.at.F5, state.record.maxDepth, state.record.shape});
        if (each)
            each(view, state);
        CountDive(state.record, view.at.F5);
    }
    return dives;
}

}  // namespace vk::test
