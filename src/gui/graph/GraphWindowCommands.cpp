// How the graph window runs its commands: the table filled at start-up, the
// one runner, long commands with Halt, and the move-mode check marks.

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <exception>

#include "core/process/UndoStack.h"
#include "core/store/Channel.h"
#include "core/store/VkDialogs.h"
#include "core/view/RedrawRequest.h"
#include "core/view/ViewCommands.h"
#include "gui/graph/CommandTable.h"
#include "gui/graph/GraphWindow.h"
#include "gui/graph/InputGate.h"
#include "gui/graph/commands/Commands.h"

namespace vk {

namespace {

constexpr const char* BusyText = "The automatic analysis is running: press Halt to stop it.";

}  // namespace

void GraphWindow::connectCommands()
{
    commands_ = std::make_unique<CommandTable>(*menus_);
    RegisterCommands(*commands_, *this);
    for (const auto& [name, command] : commands_->items()) {
        QAction* a = menus_->action(QString::fromStdString(name));
        a->setEnabled(true);
        const std::string item = name;
        connect(a, &QAction::triggered, this, [this, item] { runCommand(item); });
    }
    for (int code = 0; code < ShapeButtonCount; ++code) {
        const std::string name = ShapeButtonName(code);
        connect(readouts_->shapeButtons[static_cast<std::size_t>(code)], &QToolButton::clicked, this,
                [this, name] { runCommand(name); });
    }
    connect(fetch_, &QToolButton::clicked, this, [this] { runCommand("x-zoom.cursors-to-borders"); });
    connect(jump_, &QToolButton::clicked, this, [this] { runCommand("x-zoom.borders-to-cursors"); });
    connect(readouts_->halt, &QPushButton::clicked, this, [this] { haltRequested_ = true; });
    refreshUndoItem();
}

void GraphWindow::runCommand(const std::string& name)
{
    if (const CommandFunction* command = commands_->find(name))
        runCommand(*command);
}

void GraphWindow::runCommand(const CommandFunction& command)
{
    if (refuseWhileBusy())
        return;
    BusyCursor busy(ui_);
    view_.saved = view_.at;
    const int active = view_.active;
    const int depth = undoStack_->top();
    CommandResult result;
    std::string failure;
    {
        CommandSteps steps(*undoStack_);
        CommandContext cx{{wb_.rec, view_, ui_, steps}, wb_};
        inCommand_ = true;
        try {
            result = command(cx);
        } catch (const std::exception& e) {  // out of memory, say: the session must not end with it
            failure = e.what();
        }
        inCommand_ = false;
    }
    if (!failure.empty()) {
        // The command's own undo steps put the recording back as it was.
        while (undoStack_->top() > depth && undoStack_->Pop().undone) {
        }
        result = CommandResult{redraw::Everything};
        for (int slot = 0; slot < SlotCount; ++slot)
            result.changed.add(SampleChange{slot, 0, ChannelView(wb_.rec, slot).count(), true});
        ui_.message(" The command could not be carried out (" + failure + ").\r\nThe recording is as it was before it.",
                    Severity::Error);
    }
    applyChanges(result.changed);
    if (view_.active != active) {  // Undo takes the channel of its step
        const int slot = view_.active;
        view_.active = active;
        setActiveChannel(slot);
    }
    executeRedraw(result.redraw);
}

void GraphWindow::applyChanges(const SampleChanges& changes)
{
    for (const SampleChange& change : changes.bySlot) {
        if (!change.any())
            continue;
        const ChannelView channel(wb_.rec, change.slot);
        runMeans_[static_cast<std::size_t>(change.slot)].invalidate();
        if (change.length)
            samplesChanged(change.slot);
        else
            envelopes_[static_cast<std::size_t>(change.slot)].update(
                wb_.rec.store, change.slot, channel.stored(change.from), channel.stored(change.to));
    }
}

bool GraphWindow::refuseWhileBusy()
{
    if (!longCommand_)
        return false;
    ui_.status(BusyText);
    QToolTip::showText(readouts_->halt->mapToGlobal(QPoint(0, readouts_->halt->height())), QString::fromUtf8(BusyText),
                       readouts_->halt);
    return true;
}

void GraphWindow::runLong(const std::function<void()>& command)
{
    // Halt takes the arrow, not the busy cursor of the command around it.
    if (inCommand_)
        ui_.busy(false);
    longCommand_ = true;
    haltRequested_ = false;
    readouts_->halt->show();
    menuBar()->setEnabled(false);
    {
        InputGate gate(readouts_->halt, [this] { QTimer::singleShot(0, this, [this] { refuseWhileBusy(); }); });
        command();
    }
    menuBar()->setEnabled(true);
    readouts_->halt->hide();
    haltRequested_ = false;
    longCommand_ = false;
    if (inCommand_)
        ui_.busy(true);
}

bool GraphWindow::pollHalt()
{
    QApplication::processEvents();
    return haltRequested_;
}

void GraphWindow::showProgress(double share, int count)
{
    readouts_->progress->setValue(static_cast<int>(share * 100));
    readouts_->progress->show();
    readouts_->progressText->setText(QString("%1 dives").arg(count));
}

void GraphWindow::endProgress(int dives, bool halted)
{
    readouts_->progress->hide();
    readouts_->progressText->setText(
        QString("%1 %2%3").arg(dives).arg(dives == 1 ? "dive" : "dives").arg(halted ? ", halted" : ""));
}

void GraphWindow::stepProgress(long long done, long long total)
{
    if (total <= 0) {
        readouts_->progress->hide();
        return;
    }
    readouts_->progress->setValue(static_cast<int>(100 * done / total));
    readouts_->progress->show();
    readouts_->progress->repaint();
}

void GraphWindow::checkMoveItems(const std::vector<int>& modes)
{
    for (const auto& [mode, name] : MoveModeItems())
        menus_->action(name)->setChecked(std::find(modes.begin(), modes.end(), mode) != modes.end());
}

void GraphWindow::setMoveMode(int mode)
{
    view_.moveMode = mode;
    if (MoveModeItems().count(mode))
        checkMoveItems({mode});
}

}  // namespace vk
