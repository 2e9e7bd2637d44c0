#include "gui/graph/GraphMenus.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <vector>

namespace vk {

namespace {

struct Item {
    const char* caption;
    const char* name;
    const char* key = nullptr;  // shown after the caption, run by the window's key handler
    const char* hint = nullptr;
    bool checkable = false;
    std::vector<Item> items = {};  // a submenu when not empty
    bool keyInCaption = false;     // the caption names its key already
};

struct Menu {
    const char* caption;
    const char* hint;
    std::vector<Item> items;
};

std::vector<Menu> MenuTree()
{
    // A table laid out by hand.
    // clang-format off
    return {
        {"&File", nullptr,
         {{"&Save Settings ...", "mniSaveSettings"},
          {"&Result file ...", "mniResultFile"},
          {"&Image ...", "mniImage"},
          {"&Print ...", "mniPrint"},
          {"&Help", "mniFileHelp"},
          {"&Exit", "mniExit"}}},
        {"&View", nullptr,
         {{"&Style ...", "mniStyle"},
          {"&Grid ...", "mniGrid"},
          {"Subsidiary &line ...", "mniSubsidLine"},
          {"&Win height ...", "mniWinHeight"},
          {"&Refresh total window", "mniRefreshTotal"},
          {"&Help", "mniViewHelp"}}},
        {"x-Zoom", nullptr,
         {{"Left Border", "mniLeftBorder", "F1", nullptr, true},
          {"Right Border", "mniRightBorder", "F2", nullptr, true},
          {"Both Borders", "mniBothBorders", "F3", nullptr, true},
          {"Left Cursor ", "mniLeftCursor", "F4", nullptr, true},
          {"Right Cursor", "mniRightCursor", "F5", nullptr, true},
          {"Both Cursors", "mniBothCursors", "F6", nullptr, true},
          {"Bord. and Cursors", "mniBordAndCursors", "Shift+F3"},
          {"Curs. into Borders", "mniCursIntoBorders", "Ctrl+F6"},
          {"Bord. to Curs.", "mniBordToCurs", "Shift+F6"},
          {"Left B. Cursor", "mniLeftBCursor", "F8"},
          {"Right B. Cursor", "mniRightBCursor", "F9"},
          {"Both B. Cursor", "mniBothBCursor", "F10"},
          {"B. Curs. in Borders", "mniBCursInBorders", "Ctrl+F10"},
          {"Sh-Cur. in Bordes", "mniShCurInBorders", "Shift+F10"},
          {"F1=F4,F2=F5", "mniF1F4F2F5"},
          {"&Help", "mnixZoomHelp"}}},
        {"y-Zoom", nullptr,
         {{"&Numerical ...", "mniYNumerical"},
          {"Zoom &In (^PgUp)", "mniZoomIn", "Ctrl+PgUp", nullptr, false, {}, true},
          {"Zoom &out (^PgDn)", "mniZoomOut", "Ctrl+PgDown", nullptr, false, {}, true},
          {"Shift &Up (Up)", "mniShiftUp", "Up", nullptr, false, {}, true},
          {"Shift &Down (Dn)", "mniShiftDown", "Down", nullptr, false, {}, true},
          {"&Help", "mniyZoomHelp"}}},
        {"Baseline", nullptr,
         {{"Mean F4..F5", "mniMeanF4F5", "Ctrl+M"},
          {"Mean F4+F5", "mniMeanF4plusF5", "Ctrl+N"},
          {"At F4", "mniAtF4", "Ctrl+4"},
          {"At F5", "mniAtF5", "Ctrl+5"},
          {"Numerical ...", "mniBaseNumerical"},
          {"Increment", "mniIncrement", "Ctrl+U"},
          {"Decrement", "mniDecrement", "Ctrl+D"},
          {"&Help", "mniBaselineHelp"}}},
        {"Export", nullptr,
         {{"&Text file ...", "mniExportText"}, {"&Binary file ...", "mniExportBinary"}, {"&Help", "mniExportHelp"}}},
        {"&Process", "Modify y-values",
         {{"&Add ...", "mniAdd"},
          {"&Divide ...", "mniDivide"},
          {"&Multiply ...", "mniMultiply"},
          {"Add ra&mp ...", "mniAddRamp"},
          {"&Set constant ...", "mniSetConstant", "S"},
          {"Trigonometric", "mniTrigonometric", nullptr, nullptr, false, {{"sin", "mniSinus"}, {"cos", "mniCosinus"}}},
          {"&Bi-Channel", "mniBiChannel", nullptr, nullptr, false,
           {{"&Subtract", "mniSubtrChanel"}, {"&Add", "mniAddChnl"}, {"A&bs", "mniAbsChannel"},
            {"&Help", "mniBiChannelHelp"}}},
          {"Integrate", "mniIntegrate"},
          {"Differentiate", "Differentiate1"},
          {"Compass difference", "Diffcompass"},
          {"&Polynom ...", "mniPolynom"},
          {"&Insert points ...", "mniInsert"},
          {"Dele&te points ..", "mniDelete"},
          {"&Reduce ...", "mniReduce"},
          {"&Expand ...", "mniExpand"},
          {"Double points", "mniDoublePoints"},
          {"Clock Drift ...", "Stretchtime1"},
          {"Se&ctions", "mniSections", nullptr, nullptr, false,
           {{"&Store", "mniSecStore"}, {"Over&write", "mniSecOverwrite"}, {"&Insert", "mniSecInsert"},
            {"&Overlay", "mniSecOverlay"}}},
          {"Undo", "mniUndo", "Ctrl+Z"},
          {"Options Undo", "mniUndoOptions"},
          {"&Help", "mniProcessHelp"}}},
        {"&Filter", nullptr,
         {{"&Smooth", "mniSmooth", nullptr, nullptr, false,
           {{"1-&2-1", "mniSmooth121"},
            {"1-2-&4-10- -", "mniSmooth124"},
            {"1-1-2-&3-2--", "mniSmooth1123"},
            {"&1-1-1-1", "mniSmooth111"},
            {"&Runn. mean...", "mniSmoothRunMean"},
            {"&Low Pass...", "HighFrequ1"},
            {"&Flat Baselline ...", "FlatBaseline"},
            {"Mantle", "SmoothMantle"},
            {"&Help", "mniSmoothHelp"}}},
          {"&Peak elinination ...", "mniPeakElim"},
          {"&Del. < 0", "mniDelZero", nullptr, "All y(t)<0 -> y(t)=0"},
          {"&Running mean ...", "mniRunMean"},
          {"&Compensate", "CompWorkArea", "Ctrl+C"},
          {"Comp. settings ...", "CompSettings"},
          {"&Help", "mniFilterHelp"}}},
        {"&Calculations", nullptr,
         {{"&Statistics", "mniStatistics", "Ctrl+S", "min, max, mean, lin. regr.,..."},
          {"Histo&gram ...", "mniHistogram"},
          {"P&lot chnl-chnl ...", "mniPlotChnlChnl"},
          {"Way-way diagram", "mniWayWay"},
          {"&Frequency", "mniFrequency", nullptr, nullptr, false,
           {{"&Calc. Frequ.", "mniCalcFrequ"}, {"&Dispose tags", "mniDisposeTags"}, {"&Show result", "mniShowResult"}}},
          {"S&pline ...", "mniSpline"},
          {"&Count Events ...", "mniCountEvents"},
          {"S&ynronize", "mniSIAdjustment"},
          {"&Help", "mniCalcHelp"}}},
        {"Analysis", nullptr,
         {{"&Search next", "mniSearchNext", "Q"},
          {"Anal&yse", "mniAnalyse", "A"},
          {"&Write results", "mniWriteResults", "W", "Analize, export results, search next"},
          {"&Automatic Anal. ...", "mniAutomatic"},
          {"Analyze bout, find next", "mniAnalyzeBout", "Ctrl+B", "Export results, search next bout"},
          {"Skip bout, find next", "mniSkipBout", "Ctrl+F", "No analysis, search next bout"},
          {"&Dive Stops ...", "mniDiveStops"},
          {"&Comment ...", "mniComment", "C"},
          {"&Parameters ...", "mniParameters", nullptr, "Settings for the analysis"},
          {"&Help", "mniAnalysisHelp"}}},
        {"Protocol", nullptr, {{"Create protocol", "Createprotocol1"}}},
        {"&Help", nullptr,
         {{"&Help", "mniHelpHelp"}, {"Vk map ", "mniVkMap"}, {"Manual", "mniManual"}, {"&Info", "mniInfo"}}},
    };
    // clang-format on
}

void AddItems(QMenu* menu, const std::vector<Item>& items, QHash<QString, QAction*>& actions)
{
    for (const Item& item : items) {
        QAction* action;
        if (!item.items.empty()) {
            QMenu* sub = menu->addMenu(QString::fromUtf8(item.caption));
            action = sub->menuAction();
            AddItems(sub, item.items, actions);
        } else {
            QString text = QString::fromUtf8(item.caption);
            if (item.key && !item.keyInCaption)
                text += "\t" + QKeySequence(QString::fromUtf8(item.key)).toString(QKeySequence::NativeText);
            action = menu->addAction(text);
            if (item.key)
                action->setData(QKeySequence(QString::fromUtf8(item.key))[0].toCombined());
        }
        action->setObjectName(QString::fromUtf8(item.name));
        action->setCheckable(item.checkable);
        if (item.hint) {
            action->setToolTip(QString::fromUtf8(item.hint));
            action->setStatusTip(QString::fromUtf8(item.hint));
        }
        if (item.items.empty())
            action->setEnabled(false);
        actions.insert(action->objectName(), action);
    }
}

}  // namespace

GraphMenus::GraphMenus(QMenuBar* bar)
{
    for (const Menu& m : MenuTree()) {
        QMenu* menu = bar->addMenu(QString::fromUtf8(m.caption));
        menu->setToolTipsVisible(true);
        if (m.hint)
            menu->menuAction()->setToolTip(QString::fromUtf8(m.hint));
        AddItems(menu, m.items, actions_);
    }
}

QAction* GraphMenus::action(const QString& name) const
{
    return actions_.value(name, nullptr);
}

QAction* GraphMenus::actionForKey(int key) const
{
    for (QAction* a : actions_)
        if (a->data().isValid() && a->data().toInt() == key && a->isEnabled())
            return a;
    return nullptr;
}

}  // namespace vk
