#pragma once

// The way-way diagram of the work section: depth against the horizontal
// distance swum, with cross lines under the mouse, the clicked point in the
// caption, tags and texts the user adds (and takes back), the picture to the
// clipboard and the path to a file.

#include <QDialog>
#include <QTimer>
#include <vector>

#include "core/calc/WayWay.h"
#include "core/view/PixelMap.h"

class QLineEdit;
class QMenu;

namespace vk {

class GraphWindow;

struct WayWayNote {
    enum class Kind { Tag = 1, Text = 2 } kind;
    double distance, depth;  // where it stands
    std::string text;
};

// The diagram: the path in an image with the depth scale at its left and the
// distance axis below it.
class WayWayDiagram : public QWidget {
    Q_OBJECT

public:
    WayWayDiagram(const Recording& rec, const WayWayRequest& request, const WayWaySums& sums,
                  QWidget* parent = nullptr);

    QRect imageRect() const;
    // The distance and depth of a point of the widget.
    double distanceAt(int x) const;
    double depthAt(int y) const;
    QPoint pointOf(double distance, double depth) const;

    std::vector<WayWayNote> notes;
    std::function<void(QPoint at, Qt::MouseButton)> onClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void trace();

    const Recording& rec_;
    WayWayRequest request_;
    WayWaySums sums_;
    DisplayRange range_;
    DrawDirection direction_;
    std::vector<WayWayColumn> columns_;
    QTimer retrace_;  // the path is traced again once resizing pauses
    QPoint mouse_{-1, -1};
};

class WayWayWindow : public QDialog {
    Q_OBJECT

public:
    // The diagram of a walk that had every value (sums.enough).
    WayWayWindow(GraphWindow& window, const WayWayRequest& request, const WayWaySums& sums, int dive);

    WayWayDiagram* diagram() const { return diagram_; }
    QMenu* popup() const { return popup_; }

    void exportToFile();
    void includeText();
    void copyToClipboard();
    void undoNote();

private:
    void click(QPoint at, Qt::MouseButton button);
    void placeText();  // the text being typed becomes a note

    GraphWindow& window_;
    WayWayRequest request_;
    int dive_;
    WayWayDiagram* diagram_ = nullptr;
    QMenu* popup_ = nullptr;
    QAction* tagByClick_ = nullptr;
    QLineEdit* typing_ = nullptr;
    QPoint rightClick_;
};

}  // namespace vk
