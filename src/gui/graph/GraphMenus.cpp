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
         {{"&Save Settings ...", "file.save-settings"},
          {"&Result file ...", "file.result-file"},
          {"&Image ...", "file.image"},
          {"&Print ...", "file.print"},
          {"&Help", "file.help"},
          {"&Exit", "file.exit"}}},
        {"&View", nullptr,
         {{"&Style ...", "view.style"},
          {"&Grid ...", "view.grid"},
          {"Subsidiary &line ...", "view.subsidiary-lines"},
          {"&Win height ...", "view.window-height"},
          {"&Refresh total window", "view.refresh-total"},
          {"&Help", "view.help"}}},
        {"x-Zoom", nullptr,
         {{"Left Border", "x-zoom.left-border", "F1", nullptr, true},
          {"Right Border", "x-zoom.right-border", "F2", nullptr, true},
          {"Both Borders", "x-zoom.both-borders", "F3", nullptr, true},
          {"Left Cursor ", "x-zoom.left-cursor", "F4", nullptr, true},
          {"Right Cursor", "x-zoom.right-cursor", "F5", nullptr, true},
          {"Both Cursors", "x-zoom.both-cursors", "F6", nullptr, true},
          {"Bord. and Cursors", "x-zoom.borders-and-cursors", "Shift+F3"},
          {"Curs. into Borders", "x-zoom.cursors-to-borders", "Ctrl+F6"},
          {"Bord. to Curs.", "x-zoom.borders-to-cursors", "Shift+F6"},
          {"Left B. Cursor", "x-zoom.left-b-cursor", "F8"},
          {"Right B. Cursor", "x-zoom.right-b-cursor", "F9"},
          {"Both B. Cursor", "x-zoom.both-b-cursors", "F10"},
          {"B. Curs. in Borders", "x-zoom.b-cursors-to-borders", "Ctrl+F10"},
          {"Sh-Cur. in Bordes", "x-zoom.sh-cursors-to-borders", "Shift+F10"},
          {"F1=F4,F2=F5", "x-zoom.borders-at-cursors"},
          {"&Help", "x-zoom.help"}}},
        {"y-Zoom", nullptr,
         {{"&Numerical ...", "y-zoom.numerical"},
          {"Zoom &In (^PgUp)", "y-zoom.zoom-in", "Ctrl+PgUp", nullptr, false, {}, true},
          {"Zoom &out (^PgDn)", "y-zoom.zoom-out", "Ctrl+PgDown", nullptr, false, {}, true},
          {"Shift &Up (Up)", "y-zoom.shift-up", "Up", nullptr, false, {}, true},
          {"Shift &Down (Dn)", "y-zoom.shift-down", "Down", nullptr, false, {}, true},
          {"&Help", "y-zoom.help"}}},
        {"Baseline", nullptr,
         {{"Mean F4..F5", "baseline.mean-between-cursors", "Ctrl+M"},
          {"Mean F4+F5", "baseline.mean-at-cursors", "Ctrl+N"},
          {"At F4", "baseline.at-f4", "Ctrl+4"},
          {"At F5", "baseline.at-f5", "Ctrl+5"},
          {"Numerical ...", "baseline.numerical"},
          {"Increment", "baseline.increment", "Ctrl+U"},
          {"Decrement", "baseline.decrement", "Ctrl+D"},
          {"&Help", "baseline.help"}}},
        {"Export", nullptr,
         {{"&Text file ...", "export.text"}, {"&Binary file ...", "export.binary"}, {"&Help", "export.help"}}},
        {"&Process", "Modify y-values",
         {{"&Add ...", "process.add"},
          {"&Divide ...", "process.divide"},
          {"&Multiply ...", "process.multiply"},
          {"Add ra&mp ...", "process.add-ramp"},
          {"&Set constant ...", "process.set-constant", "S"},
          {"Trigonometric", "process.trigonometric", nullptr, nullptr, false, {{"sin", "process.sine"}, {"cos", "process.cosine"}}},
          {"&Bi-Channel", "process.bi-channel", nullptr, nullptr, false,
           {{"&Subtract", "process.bi-channel.subtract"}, {"&Add", "process.bi-channel.add"}, {"A&bs", "process.bi-channel.abs"},
            {"&Help", "process.bi-channel.help"}}},
          {"Integrate", "process.integrate"},
          {"Differentiate", "process.differentiate"},
          {"Compass difference", "process.compass-difference"},
          {"&Polynom ...", "process.polynomial"},
          {"&Insert points ...", "process.insert-points"},
          {"Dele&te points ..", "process.delete-points"},
          {"&Reduce ...", "process.reduce"},
          {"&Expand ...", "process.expand"},
          {"Double points", "process.double-points"},
          {"Clock Drift ...", "process.clock-drift"},
          {"Se&ctions", "process.sections", nullptr, nullptr, false,
           {{"&Store", "process.sections.store"}, {"Over&write", "process.sections.overwrite"}, {"&Insert", "process.sections.insert"},
            {"&Overlay", "process.sections.overlay"}}},
          {"Undo", "process.undo", "Ctrl+Z"},
          {"Options Undo", "process.undo-options"},
          {"&Help", "process.help"}}},
        {"&Filter", nullptr,
         {{"&Smooth", "filter.smooth", nullptr, nullptr, false,
           {{"1-&2-1", "filter.smooth.1-2-1"},
            {"1-2-&4-10- -", "filter.smooth.1-2-4-10"},
            {"1-1-2-&3-2--", "filter.smooth.1-1-2-3-2"},
            {"&1-1-1-1", "filter.smooth.1-1-1-1"},
            {"&Runn. mean...", "filter.smooth.running-mean"},
            {"&Low Pass...", "filter.smooth.low-pass"},
            {"&Flat Baselline ...", "filter.smooth.flat-baseline"},
            {"Mantle", "filter.smooth.mantle"},
            {"&Help", "filter.smooth.help"}}},
          {"&Peak elimination ...", "filter.peak-elimination"},
          {"&Del. < 0", "filter.negative-to-zero", nullptr, "All y(t)<0 -> y(t)=0"},
          {"&Running mean ...", "filter.running-mean"},
          {"&Compensate", "filter.compensate", "Ctrl+C"},
          {"Comp. settings ...", "filter.compensation-settings"},
          {"&Help", "filter.help"}}},
        {"&Calculations", nullptr,
         {{"&Statistics", "calc.statistics", "Ctrl+S", "min, max, mean, lin. regr.,..."},
          {"Histo&gram ...", "calc.histogram"},
          {"P&lot chnl-chnl ...", "calc.channel-plot"},
          {"Way-way diagram", "calc.way-way"},
          {"&Frequency", "calc.frequency", nullptr, nullptr, false,
           {{"&Calc. Frequ.", "calc.frequency.calculate"}, {"&Dispose tags", "calc.frequency.dispose-tags"}, {"&Show result", "calc.frequency.show-result"}}},
          {"S&pline ...", "calc.spline"},
          {"&Count Events ...", "calc.count-events"},
          {"S&ynchronize", "calc.synchronize"},
          {"&Help", "calc.help"}}},
        {"Analysis", nullptr,
         {{"&Search next", "analysis.search-next", "Q"},
          {"Anal&yse", "analysis.analyse", "A"},
          {"&Write results", "analysis.write-results", "W", "Analize, export results, search next"},
          {"&Automatic Anal. ...", "analysis.automatic"},
          {"Analyze bout, find next", "analysis.analyse-bout", "Ctrl+B", "Export results, search next bout"},
          {"Skip bout, find next", "analysis.skip-bout", "Ctrl+F", "No analysis, search next bout"},
          {"&Dive Stops ...", "analysis.dive-stops"},
          {"&Comment ...", "analysis.comment", "C"},
          {"&Parameters ...", "analysis.parameters", nullptr, "Settings for the analysis"},
          {"&Help", "analysis.help"}}},
        {"Protocol", nullptr, {{"Create protocol", "protocol.create"}}},
        {"&Help", nullptr,
         {{"&Help", "help.help"}, {"Vk map ", "help.map"}, {"Manual", "help.manual"}, {"&Info", "help.info"}}},
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
