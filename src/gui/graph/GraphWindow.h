#pragma once

// The graph window: channel strips with their y scales, the time scale, the
// total window over the whole recording with its time scale, the read-outs,
// and the menu bar from which all work starts.

#include <QImage>
#include <QMainWindow>
#include <QPoint>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/dive/StopMouse.h"
#include "core/setup/Command.h"
#include "core/setup/Workbench.h"
#include "core/view/Envelope.h"
#include "core/view/MouseRules.h"
#include "core/view/ViewState.h"
#include "core/view/WindowLayout.h"
#include "gui/graph/GraphMenus.h"
#include "gui/graph/GraphScene.h"
#include "gui/graph/ReadoutPanel.h"

class QLabel;
class QToolButton;

namespace vk {

class CommandTable;
struct ClickTools;
class HelpViewer;
class StripImage;
class UndoStack;
class VkDialogs;

class GraphWindow : public QMainWindow {
    Q_OBJECT

public:
    GraphWindow(Workbench& wb, VkDialogs& ui, HelpViewer& help, QWidget* parent = nullptr);
    ~GraphWindow() override;

    // Every command runs here: refused while a long command runs, otherwise
    // with the busy cursor, the positions saved, one undo for all its steps,
    // the envelopes updated over the samples it changed, and its redraw once.
    void runCommand(const std::string& name);
    void runCommand(const CommandFunction& command);
    // Runs a long command that lets pending events through (the automatic
    // analysis): meanwhile Halt shows and is the only input taken, every other
    // key, click, menu item and close is refused.
    void runLong(const std::function<void()>& command);
    // Inside a long command: pending events handled; true once Halt was pressed.
    bool pollHalt();
    void showProgress(double share, int count);
    // After a long command: the bar goes, the count and whether it was halted stay.
    void endProgress(int dives, bool halted);
    // The bar along a command that changes a channel's length: done of
    // total, repainted at once; a total of 0 hides it.
    void stepProgress(long long done, long long total);

    // Runs the drawing routines of the set bits once, in their fixed order.
    void executeRedraw(uint32_t bits);
    void setActiveChannel(int slot);
    int activeChannel() const { return view_.active; }

    ViewState& view() { return view_; }
    Workbench& workbench() { return wb_; }
    const WindowLayout& windowLayout() const { return layout_; }
    GraphMenus& menus() { return *menus_; }
    HelpViewer& help() { return help_; }
    GraphScene scene() const;
    StripImage* strip(int slot) const { return strips_[static_cast<std::size_t>(slot)]; }
    StripImage* yScale(int slot) const { return yScales_[static_cast<std::size_t>(slot)]; }
    StripImage* totalImage() const { return total_; }
    StripImage* timeScaleImage() const { return timeScale_; }
    StripImage* totalTimeScaleImage() const { return totalTimeScale_; }

    // Curves from the envelopes (true) or from every sample. (The window's
    // display settings, captions, time axis and interpolation, are in the view.)
    void setUseEnvelopes(bool on);
    const Envelope& envelope(int slot) const { return envelopes_[static_cast<std::size_t>(slot)]; }
    // The compensation's curve drawn over its strip (nullptr: none), at once.
    void showPreview(const PreviewCurve* curve);
    // The statistics' regression line over its strip (nullptr: none), at once.
    void showRegression(const SceneLine* line);
    // What a click may do beside the read-outs (Alter, nodes, tags), and their state.
    ClickTools& clickTools() { return *tools_; }
    UndoStack* undoStack() const { return undoStack_.get(); }
    // The client area as a picture (what "&Image ..." and "&Print ..." take).
    QImage picture() const;
    // After samples or the length of a channel changed: its envelope and the
    // recording's duration follow.
    void samplesChanged(int slot);
    // Shift+Z: the active channel's view as a thumbnail, saved as "0.bmp".
    void thumbnailOfView();
    // Shows a thumbnail beside the total window; its size follows the settings.
    void showThumbnail(const QImage& image);
    void resizeThumbnail();
    // After the channels' relative heights changed: the layout anew, the strips
    // and y scales made again, the active channel moved off a hidden strip.
    void rebuildStrips();
    int totalChannel() const { return totalSlot_; }
    // The move mode of the arrow keys, with the x-Zoom check marks.
    void setMoveMode(int mode);
    void checkMoveItems(const std::vector<int>& modes);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void computeLayout();
    void buildStrips();
    // The stale curves of the strips and the total window, drawn side by side.
    void drawCurvesTogether();
    void buildReadouts(QWidget* area);
    void placeReadouts();
    void updateReadouts();
    void updateHint();
    void showHint();
    void showDive();
    void refreshUndoItem();
    void nextChannel();
    void updateCaption();
    void crossLinesToggled(bool on);
    void paintCrossLines(QPainter& p, int slot);
    void connectCommands();
    void applyChanges(const SampleChanges& changes);
    void repaintOverlays();

    // Input translation (GraphWindowKeys.cpp).
    bool handleKey(int key, Qt::KeyboardModifiers modifiers);
    // True, and the user told, while a long command runs.
    bool refuseWhileBusy();

    // The mouse (GraphWindowMouse.cpp).
    struct Press {
        int image = -2;  // 0..2 a strip, -1 the total window
        QPoint at;
        double t = 0, v = 0;
        int edge = EdgeNone;
        Line line = Line::None;
        StopGrab stop;
    };
    void mousePressed(int image, QMouseEvent* event);
    void mouseReleased(int image, QMouseEvent* event);
    CommandResult releaseAt(int image, QPoint at, CommandContext& cx);
    void positionAt(int image, QPoint at, double& t, double& v) const;
    // The wheel over a strip: time zoom around the mouse, Shift a move, Ctrl the range.
    void wheelTurned(int slot, QWheelEvent* event);
    void yScalePressed(int slot, QMouseEvent* event);
    void timeScalePressed(bool total, QMouseEvent* event);

    Workbench& wb_;
    VkDialogs& ui_;
    HelpViewer& help_;
    ViewState view_;
    std::array<Envelope, SlotCount> envelopes_;
    mutable std::array<RunMeanOverlay, SlotCount> runMeans_;  // worked out when a strip is drawn
    const PreviewCurve* preview_ = nullptr;
    const SceneLine* regression_ = nullptr;
    std::unique_ptr<ClickTools> tools_;
    bool useEnvelopes_ = true;
    WindowLayout layout_;
    std::unique_ptr<GraphMenus> menus_;
    std::unique_ptr<CommandTable> commands_;
    int totalSlot_ = 0;  // the channel the total window shows
    QPoint cross_{-1, -1};
    std::unique_ptr<UndoStack> undoStack_;
    bool inCommand_ = false, longCommand_ = false, haltRequested_ = false;
    std::array<bool, SlotCount> keepUnsaved_{};  // answered No while the window is being closed
    Press press_, previous_;
    ReadoutPanel* readouts_ = nullptr;

    QWidget* area_ = nullptr;
    StripImage* total_ = nullptr;
    StripImage* totalTimeScale_ = nullptr;
    StripImage* timeScale_ = nullptr;
    std::array<StripImage*, SlotCount> strips_{};
    std::array<StripImage*, SlotCount> yScales_{};
    std::array<QWidget*, SlotCount> focus_{};
    QLabel* thumbnail_ = nullptr;
    QToolButton* fetch_ = nullptr;  // "Fetch F4, F5"
    QToolButton* jump_ = nullptr;   // "Jump F1 F2"
};

// The x-Zoom items of the move modes, by mode.
const std::map<int, const char*>& MoveModeItems();
// The shape buttons by shape code: their object names, which are their commands' names too.

// The help page of an alert code for the "Hint" button; empty for none.
const char* HintPage(int code);

}  // namespace vk
