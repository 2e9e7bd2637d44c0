#pragma once

// The graph window: channel strips with their y scales, the time scale, the
// total window over the whole recording with its time scale, the read-outs,
// and the menu bar from which all work starts.

#include <QMainWindow>
#include <QPoint>
#include <array>
#include <memory>

#include "app/Workbench.h"
#include "graph/Envelope.h"
#include "graph/GraphMenus.h"
#include "graph/GraphScene.h"
#include "graph/ViewState.h"
#include "graph/WindowLayout.h"

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

    Workbench& wb_;
    VkDialogs& ui_;
    HelpViewer& help_;
    ViewState view_;
    std::array<Envelope, 3> envelopes_;
    bool useEnvelopes_ = true;
    WindowLayout layout_;
    std::unique_ptr<GraphMenus> menus_;
    int totalSlot_ = 0;  // the channel the total window shows
    bool tabbedOnce_ = false;
    QPoint cross_{-1, -1};

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
    QProgressBar* progress_ = nullptr;
};

// The help page of an alert code for the "Hint" button; empty for none.
const char* HintPage(int code);

}  // namespace vk
