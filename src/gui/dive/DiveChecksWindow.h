#pragma once

// "Dives to check": after an automatic run, the dives that deserve a second
// look, each with why and a "Go to" button that frames it in the graph
// window. It stays beside the graph window until closed or the next run.

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "core/dive/Plausibility.h"

namespace vk {

class HelpViewer;

struct DiveCheckRow {
    RunDive dive;
    std::string begins, why;
};

class DiveChecksWindow : public QDialog {
    Q_OBJECT

public:
    using GoTo = std::function<void(const RunDive&)>;
    DiveChecksWindow(QWidget& window, const std::vector<DiveCheckRow>& rows, const std::string& intro, HelpViewer& help,
                   GoTo goTo);

    // The window of the last run replaced by this run's (none for no rows).
    static void ShowFor(QWidget& window, const std::vector<DiveCheckRow>& rows, const std::string& intro,
                        HelpViewer& help, GoTo goTo);
};

}  // namespace vk
