#pragma once

// The graph window: channel strips with their y scales, the time scale, the
// total window over the whole recording with its time scale, the read-outs,
// and the menu bar from which all work starts.

#include <QImage>
#include <QMainWindow>
#include <QPoint>
#include <array>
#include <functional>
#include <memory>

#include "core/dive/StopMouse.h"
#include "core/setup/Workbench.h"
#include "core/store/UndoSink.h"
#include "core/view/Envelope.h"
#include "core/view/MouseRules.h"
#include "core/view/ViewState.h"
#include "core/view/WindowLayout.h"
#include "gui/graph/GraphMenus.h"
#include "gui/graph/GraphScene.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace vk {

class HelpViewer;
class TChanImage;
class TUndo;
class VkDialogs;

class TForm3 : public QMainWindow {
    Q_OBJECT

public:
    TForm3(Workbench& wb, VkDialogs& ui, HelpViewer& help, QWidget* parent = nullptr);
    ~TForm3() override;

    // Runs the drawing routines of the set bits once, in their fixed order.
    void executeRedraw(uint32_t bits);
    void setActiveChannel(int slot);
    int activeChannel() const { return view_.active; }

    ViewState& view() { return view_; }
    const WindowLayout& windowLayout() const { return layout_; }
    GraphMenus& menus() { return *menus_; }
    GraphScene scene() const;
    TChanImage* strip(int slot) const { return strips_[static_cast<std::size_t>(slot)]; }
    TChanImage* yScale(int slot) const { return yScales_[static_cast<std::size_t>(slot)]; }
    TChanImage* totalImage() const { return total_; }
    TChanImage* timeScaleImage() const { return timeScale_; }
    TChanImage* totalTimeScaleImage() const { return totalTimeScale_; }

    // Display settings of the window (the chart-style dialog sets them).
    CaptionPlace captionPlace = CaptionPlace::Top;
    int timeAxisMode = 0;  // 0 clock time and date, 1 sample numbers
    bool interpolate = true;
    // Curves from the envelopes (true) or from every sample.
    void setUseEnvelopes(bool on);
    // Where view and baseline commands record their undo steps.
    void setUndoSink(UndoSink* sink) { undo_ = sink ? sink : &noUndo_; }
    TUndo* undoStack() const { return undoStack_.get(); }
    // The client area as a picture (what "&Image ..." and "&Print ..." take).
    QImage picture() const;
    // After samples or the length of a channel changed: its envelope and the
    // recording's duration follow.
    void samplesChanged(int slot);
    // Shift+Z: the active channel's view as a thumbnail, saved as "0.bmp".
    void thumbnailOfView();
    // Shows a thumbnail beside the total window.
    void showThumbnail(const QImage& image);
    // The current dive's shape button, maximum depth and hint.
    void showDive();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildStrips();
    void buildReadouts(QWidget* area);
    QLineEdit* readout(QWidget* area, const char* name, const char* hint, int x, int y);
    void updateReadouts();
    void updateHint();
    void showHint();
    void nextChannel();
    void updateCaption();
    void crossLinesToggled(bool on);
    void paintCrossLines(QPainter& p, int slot);

    // Commands (GraphWindowCommands.cpp).
    // A menu item, enabled, that runs `command` unless a long command runs.
    void onItem(const char* name, std::function<void()> command);
    // Runs a long command that lets pending events through (the automatic
    // analysis): meanwhile only "Halt" takes input, every other key, click,
    // menu item and close is refused.
    void runLong(const std::function<void()>& command);
    // True, and the user told, while a long command runs.
    bool refuseWhileBusy();
    void connectCommands();
    void setMoveMode(int mode);
    void checkMoveItems(std::initializer_list<int> modes);
    void pushUndo(int kind, uint32_t redraw, int slot = -1);
    // Runs a command as every key and menu command runs: positions saved
    // first, the redraw request executed once at the end.
    void run(const std::function<uint32_t()>& command);
    uint32_t move(uint32_t (*step)(ViewState&));
    uint32_t rangeStep(int a, int b);
    void askEventCounter();
    bool handleKey(int key, Qt::KeyboardModifiers modifiers);

    // File, Help, Export and Undo menus (GraphWindowMenus.cpp).
    void connectMenus();
    void saveImage();
    void print();
    void openManual();
    void showInfo();
    void undoLast();
    void refreshUndoItem();
    void exportBinary();

    // The dive analysis (GraphWindowDive.cpp).
    void connectDive();
    bool analysisChannelActive();
    void searchNext();
    void analyse();
    void shapePressed(int tag);
    void openParameters();
    void openDiveStops();
    void writeResults();
    void automaticAnalysis();
    void bout(bool analyse);
    void askComment();
    void showProgress(double share, int dives);
    bool haltRequested_ = false;
    bool longCommand_ = false;
    std::array<bool, 3> keepUnsaved_{};  // answered No while the window is being closed

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
    void positionAt(int image, QPoint at, double& t, double& v) const;
    void yScalePressed(int slot, QMouseEvent* event);
    void timeScalePressed(bool total, QMouseEvent* event);

    Workbench& wb_;
    VkDialogs& ui_;
    HelpViewer& help_;
    ViewState view_;
    std::array<Envelope, 3> envelopes_;
    bool useEnvelopes_ = true;
    WindowLayout layout_;
    std::unique_ptr<GraphMenus> menus_;
    int totalSlot_ = 0;  // the channel the total window shows
    QPoint cross_{-1, -1};
    NoUndo noUndo_;
    UndoSink* undo_ = &noUndo_;
    std::unique_ptr<TUndo> undoStack_;
    Press press_, previous_;
    QLineEdit* mouseValue_ = nullptr;
    QLineEdit* mouseTime_ = nullptr;
    QLineEdit* mouseDate_ = nullptr;
    QCheckBox* diff_ = nullptr;

    QWidget* area_ = nullptr;
    TChanImage* total_ = nullptr;
    TChanImage* totalTimeScale_ = nullptr;
    TChanImage* timeScale_ = nullptr;
    std::array<TChanImage*, 3> strips_{};
    std::array<TChanImage*, 3> yScales_{};
    std::array<QWidget*, 3> focus_{};
    QLineEdit* leftValue_ = nullptr;
    QLineEdit* leftTime_ = nullptr;
    QLineEdit* leftDate_ = nullptr;
    QLineEdit* rightValue_ = nullptr;
    QLineEdit* rightTime_ = nullptr;
    QLineEdit* rightDate_ = nullptr;
    QLineEdit* difference_ = nullptr;
    QCheckBox* crossLines_ = nullptr;
    QPushButton* hint_ = nullptr;
    QPushButton* halt_ = nullptr;
    QLineEdit* maxDepth_ = nullptr;
    std::array<QToolButton*, 7> shapeButtons_{};
    QProgressBar* progress_ = nullptr;
    QLabel* progressLabel_ = nullptr;  // dives found, and how the last run ended
};

// The help page of an alert code for the "Hint" button; empty for none.
const char* HintPage(int code);

}  // namespace vk
