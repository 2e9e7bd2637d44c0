// The key and menu commands of the graph window: move modes, steps, pages,
// the pair commands, y-zoom and baseline.

#include <QAction>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <map>

#include "core/store/NumberText.h"
#include "core/store/VkDialogs.h"
#include "core/view/RangeCommands.h"
#include "core/view/RedrawRequest.h"
#include "core/view/ViewCommands.h"
#include "gui/graph/GraphWindow.h"
#include "gui/graph/InputGate.h"
#include "gui/graph/StripImage.h"
#include "gui/widgets/HelpViewer.h"

namespace vk {

namespace {

// The check group of the x-Zoom menu, by move mode.
const std::map<int, const char*> ModeItems{{ModeF1, "mniLeftBorder"},       {ModeF2, "mniRightBorder"},
                                           {ModeBorders, "mniBothBorders"}, {ModeF4, "mniLeftCursor"},
                                           {ModeF5, "mniRightCursor"},      {ModeCursors, "mniBothCursors"}};

constexpr uint32_t RangeRedraw = redraw::RangeChange;

constexpr const char* BusyText = "The automatic analysis is running: press Halt to stop it.";

}  // namespace

void TForm3::onItem(const char* name, std::function<void()> command)
{
    QAction* a = menus_->action(name);
    a->setEnabled(true);
    connect(a, &QAction::triggered, this, [this, command = std::move(command)] {
        if (!refuseWhileBusy())
            command();
    });
}

bool TForm3::refuseWhileBusy()
{
    if (!longCommand_)
        return false;
    ui_.status(BusyText);
    QToolTip::showText(halt_->mapToGlobal(QPoint(0, halt_->height())), QString::fromUtf8(BusyText), halt_);
    return true;
}

void TForm3::runLong(const std::function<void()>& command)
{
    longCommand_ = true;
    menuBar()->setEnabled(false);
    {
        InputGate gate(halt_, [this] { QTimer::singleShot(0, this, [this] { refuseWhileBusy(); }); });
        command();
    }
    menuBar()->setEnabled(true);
    longCommand_ = false;
}

void TForm3::pushUndo(int kind, uint32_t redraw, int slot)
{
    undo_->Push(kind, redraw, slot < 0 ? view_.active : slot);
}

void TForm3::run(const std::function<uint32_t()>& command)
{
    BusyCursor busy(ui_);
    view_.saved = view_.at;
    executeRedraw(command());
}

void TForm3::checkMoveItems(std::initializer_list<int> modes)
{
    for (const auto& [mode, name] : ModeItems)
        menus_->action(name)->setChecked(std::find(modes.begin(), modes.end(), mode) != modes.end());
}

void TForm3::setMoveMode(int mode)
{
    view_.moveMode = mode;
    if (ModeItems.count(mode))
        checkMoveItems({mode});
}

uint32_t TForm3::move(uint32_t (*step)(ViewState&))
{
    if (view_.moveMode != ModeNone)
        pushUndo(UndoZoom, MoveRedraw(view_.moveMode));
    return step(view_);
}

uint32_t TForm3::rangeStep(int a, int b)
{
    pushUndo(UndoZoom, RangeRedraw);
    RangeStep(wb_.rec.desc(view_.active), a, b);
    return RangeRedraw;
}

void TForm3::askEventCounter()
{
    const auto text = ui_.input("Type in event counter", "Warning! Pause will be wrong", "0");
    if (!text)
        return;
    int64_t n = 0;
    if (!ParseInteger(*text, n) || n < INT32_MIN || n > INT32_MAX) {
        ui_.message("'" + *text + "' is not a valid integer value", Severity::Error);
        return;
    }
    wb_.dive.EventCounter = static_cast<int32_t>(n);
}

void TForm3::connectCommands()
{
    auto on = [this](const char* name, std::function<void()> f) { onItem(name, std::move(f)); };
    auto runs = [this](std::function<uint32_t()> command) { return [this, command] { run(command); }; };

    on("mniExit", [this] { close(); });
    on("mniRefreshTotal", [this] { executeRedraw(redraw::TotalCurve | redraw::TotalLines); });

    for (const auto& [mode, name] : ModeItems) {
        const int m = mode;
        on(name, [this, m] { setMoveMode(m); });
    }
    on("mniBordAndCursors", [this] {
        view_.moveMode = ModeBordersAndCursors;
        checkMoveItems({ModeCursors, ModeBorders});
    });
    for (const auto& [name, mode] : std::map<const char*, int>{
             {"mniLeftBCursor", ModeB1}, {"mniRightBCursor", ModeB2}, {"mniBothBCursor", ModeBCursors}}) {
        const int m = mode;
        on(name, [this, m] { view_.moveMode = m; });  // the check marks stay
    }
    const auto cursorsIntoBorders = runs([this] {
        pushUndo(UndoZoom, redraw::CursorMove);
        checkMoveItems({ModeCursors});
        return CursorsIntoBorders(view_);
    });
    const auto bordersToCursors = runs([this] {
        pushUndo(UndoZoom, redraw::WindowOnCursors);
        checkMoveItems({ModeBorders});
        return BordersToCursors(view_, wb_.rec);
    });
    on("mniCursIntoBorders", cursorsIntoBorders);
    on("mniBordToCurs", bordersToCursors);
    on("mniBCursInBorders", runs([this] {
           pushUndo(UndoZoom, redraw::PairMove);
           checkMoveItems({ModeCursors});
           return BCursorsIntoBorders(view_);
       }));
    on("mniShCurInBorders", runs([this] {
           pushUndo(UndoZoom, redraw::PairMove);
           checkMoveItems({ModeCursors});
           return ShCursorsIntoBorders(view_);
       }));
    on("mniF1F4F2F5", runs([this] {
           pushUndo(UndoZoom, redraw::WindowOnCursors);
           checkMoveItems({ModeBorders});
           return BordersOntoCursors(view_, wb_.rec);
       }));
    if (auto* fetch = area_->findChild<QToolButton*>("FetchF4F5"))
        connect(fetch, &QToolButton::clicked, this, cursorsIntoBorders);
    if (auto* jump = area_->findChild<QToolButton*>("JumpF1F2"))
        connect(jump, &QToolButton::clicked, this, bordersToCursors);

    on("mniYNumerical", runs([this]() -> uint32_t {
           ChannelDescriptor& d = wb_.rec.desc(view_.active);
           const ChannelDescriptor before = d;
           if (!AskRange(d, ui_))
               return 0;
           const double min = d.Min, max = d.Max;
           d = before;
           pushUndo(UndoZoom, RangeRedraw);
           d.Min = min;
           d.Max = max;
           return RangeRedraw;
       }));
    on("mniZoomIn", runs([this] { return rangeStep(-1, 1); }));
    on("mniZoomOut", runs([this] { return rangeStep(1, -1); }));
    on("mniShiftUp", runs([this] { return rangeStep(1, 1); }));
    on("mniShiftDown", runs([this] { return rangeStep(-1, -1); }));

    const std::pair<const char*, BaselineCommand> baselines[] = {{"mniMeanF4F5", BaselineCommand::MeanF4F5},
                                                                 {"mniMeanF4plusF5", BaselineCommand::MeanF4plusF5},
                                                                 {"mniAtF4", BaselineCommand::AtF4},
                                                                 {"mniAtF5", BaselineCommand::AtF5},
                                                                 {"mniBaseNumerical", BaselineCommand::Numerical},
                                                                 {"mniIncrement", BaselineCommand::Increment},
                                                                 {"mniDecrement", BaselineCommand::Decrement}};
    for (const auto& [name, command] : baselines) {
        const BaselineCommand c = command;
        on(name, runs([this, c] { return Baseline(c, wb_.rec, view_, ui_, *undo_); }));
    }
}

// The keys without a menu item; the others run their menu item.
bool TForm3::handleKey(int key, Qt::KeyboardModifiers modifiers)
{
    const Qt::KeyboardModifiers mods = modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (mods == Qt::ShiftModifier) {
        switch (key) {
        case Qt::Key_F8: view_.moveMode = ModeSh1; return true;
        case Qt::Key_F9: view_.moveMode = ModeSh2; return true;
        case Qt::Key_E: askEventCounter(); return true;
        case Qt::Key_Z: thumbnailOfView(); return true;
        default: break;
        }
    }
    if (mods == Qt::ControlModifier) {
        switch (key) {
        case Qt::Key_Left: run([this] { return move(PageLeft); }); return true;
        case Qt::Key_Right: run([this] { return move(PageRight); }); return true;
        default: break;
        }
    }
    if (mods == Qt::NoModifier) {
        switch (key) {
        case Qt::Key_Tab: nextChannel(); return true;
        case Qt::Key_Left: run([this] { return move(StepLeft); }); return true;
        case Qt::Key_Right: run([this] { return move(StepRight); }); return true;
        case Qt::Key_Home: run([this] { return move(MoveHome); }); return true;
        case Qt::Key_End: run([this] { return move(MoveEnd); }); return true;
        case Qt::Key_PageUp: run([this] { return DoubleStep(view_); }); return true;
        case Qt::Key_PageDown: run([this] { return HalveStep(view_); }); return true;
        default: break;
        }
    }
    if (QAction* a = menus_->actionForKey(QKeyCombination(mods, Qt::Key(key)).toCombined())) {
        a->trigger();
        return true;
    }
    return false;
}

void TForm3::keyPressEvent(QKeyEvent* event)
{
    if (refuseWhileBusy())
        return;
    if (QWidget* focus = focus_[static_cast<std::size_t>(view_.active)])
        focus->setFocus();
    if (!handleKey(event->key(), event->modifiers()))
        QMainWindow::keyPressEvent(event);
}

bool TForm3::eventFilter(QObject* watched, QEvent* event)
{
    // The focus fields hand every key to the window, Tab included.
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
        for (QWidget* f : focus_)
            if (f && watched == f) {
                if (event->type() == QEvent::ShortcutOverride) {
                    // The window, not a menu, takes F10 and the like; Alt stays for the menu bar.
                    if (!(static_cast<QKeyEvent*>(event)->modifiers() & Qt::AltModifier))
                        event->accept();
                    return false;
                }
                keyPressEvent(static_cast<QKeyEvent*>(event));
                return true;
            }
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace vk
