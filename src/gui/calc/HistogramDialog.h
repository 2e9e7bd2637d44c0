#pragma once

// "Histogram": the frequency distribution of the work section drawn into an
// image with its axes, a read-out under the mouse, and its export.

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <functional>

#include "core/calc/Histogram.h"
#include "gui/calc/PlotAxes.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace vk {

class HelpViewer;
struct HistogramChoice;

// The plot: the image of the bars, the axes right of and below it, and the
// values under the mouse reported as it moves over the image.
class HistogramPlot : public QWidget {
    Q_OBJECT

public:
    static constexpr int ImageWidth = 512, ImageHeight = 200;
    // Where the plot lies in the widget: room for the half of the first
    // value label left of it and the top count label above it.
    static constexpr QPoint PlotAt{10, 8};

    explicit HistogramPlot(QWidget* parent = nullptr);
    // Bars of the counts up to `cut` (clipped at the top); an empty axis or no count draws none.
    void draw(const HistogramResult& h, double cut);
    const QImage& image() const { return image_; }
    std::function<void(double value, double amount)> onMouse;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QImage image_;
    PlotRange range_;
    bool drawn_ = false;
};

class HistogramDialog : public QDialog {
    Q_OBJECT

public:
    // `compute` makes the histogram for min bin and bin size; `text` the export
    // file's text of the last one. The channel's choices are kept in `choice`.
    HistogramDialog(HistogramChoice& choice, std::function<HistogramResult(double, double)> compute,
                    std::function<std::string(const HistogramResult&)> text, VkDialogs& ui, HelpViewer& help,
                    QWidget* parent = nullptr);

    void drawHistogram();  // "Draw "
    void exportHistogram();

private:
    HistogramChoice& choice_;
    std::function<HistogramResult(double, double)> compute_;
    std::function<std::string(const HistogramResult&)> text_;
    VkDialogs& ui_;
    HistogramResult result_;
    QLineEdit* minBin_;
    QLineEdit* binSize_;
    QLineEdit* cut_;
    QLineEdit* file_;
    HistogramPlot* plot_;
    QLabel* value_;
    QLabel* amount_;
    QPushButton* export_;
};

}  // namespace vk
