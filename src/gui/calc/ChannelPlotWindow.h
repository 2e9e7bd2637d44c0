#pragma once

// "Plot channel against channel": the cloud of the work section's samples,
// its axes and zero lines, the values under the mouse, and the ellipse with
// its tolerance band that the user drags into place by six handles.

#include <QDialog>
#include <QImage>
#include <QTimer>
#include <functional>

#include "core/calc/ChannelPlot.h"

class QLineEdit;

namespace vk {

class HelpViewer;

// The image (0.8 of the area at its top left) with the axes beside it.
class ChannelPlotArea : public QWidget {
    Q_OBJECT

public:
    // `cloud` paints the cloud for an image of the given size.
    ChannelPlotArea(PlotFrame frame, std::function<CloudImage(int, int)> cloud, std::array<QColor, 3> colours,
                    EllipseState& ellipse, QWidget* parent = nullptr);

    QRect imageRect() const;
    void resetEllipse();
    std::function<void(double a, double b)> onMouse;  // the values under the mouse

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void paintCloud();
    void paintEllipse(QPainter& p, const EllipseState& e) const;
    EllipseState shown() const;  // the ellipse, with a handle being dragged where the mouse is

    PlotFrame frame_;
    std::function<CloudImage(int, int)> cloud_;
    std::array<QColor, 3> colours_;  // colour 1, colour 2, ellipse
    EllipseState& ellipse_;
    QImage image_;
    QTimer repaint_;  // the cloud is painted again once resizing pauses
    PlotHandle grabbed_ = NoHandle;
    QPoint pressed_, mouse_;
};

class ChannelPlotWindow : public QDialog {
    Q_OBJECT

public:
    ChannelPlotWindow(PlotFrame frame, std::function<CloudImage(int, int)> cloud, std::array<QColor, 3> colours,
                     EllipseState& ellipse, const std::array<std::string, 2>& names, HelpViewer& help,
                     QWidget* parent = nullptr);

    ChannelPlotArea* area() const { return area_; }

private:
    ChannelPlotArea* area_;
    std::array<QLineEdit*, 2> values_{};
};

}  // namespace vk
