#include "gui/calc/ChannelPlotWindow.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "gui/calc/PlotAxes.h"
#include "gui/widgets/DialogButtons.h"

namespace vk {

namespace {

constexpr double ImageShare = 0.8;
constexpr int RepaintPause = 150;  // ms after the last resize
constexpr int EllipsePen = 2;
const QColor BandHandle = Qt::yellow;
constexpr int StartWidth = 720, StartHeight = 600;

QRectF RectOf(const PixelBox& b)
{
    return QRectF(QPointF(b.left, b.top), QPointF(b.right, b.bottom));
}

}  // namespace

ChannelPlotArea::ChannelPlotArea(PlotFrame frame, std::function<CloudImage(int, int)> cloud,
                                 std::array<QColor, 3> colours, EllipseState& ellipse, QWidget* parent)
        : QWidget(parent), frame_(frame), cloud_(std::move(cloud)), colours_(colours), ellipse_(ellipse)
{
    setObjectName("imgPlot");
    setMouseTracking(true);
    setMinimumSize(200, 160);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    repaint_.setSingleShot(true);
    repaint_.setInterval(RepaintPause);
    connect(&repaint_, &QTimer::timeout, this, [this] {
        paintCloud();
        update();
    });
}

QRect ChannelPlotArea::imageRect() const
{
    return QRect(0, 0, static_cast<int>(width() * ImageShare), static_cast<int>(height() * ImageShare));
}

void ChannelPlotArea::paintCloud()
{
    const QRect r = imageRect();
    const CloudImage c = cloud_(r.width(), r.height());
    image_ = QImage(r.size(), QImage::Format_RGB32);
    image_.fill(Qt::white);
    const std::array<QRgb, 3> rgb{qRgb(255, 255, 255), colours_[0].rgb(), colours_[1].rgb()};
    for (int y = 0; y < c.height && y < image_.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
        for (int x = 0; x < c.width && x < image_.width(); ++x)
            if (const uint8_t k = c.at(x, y))
                line[x] = rgb[k];
    }
}

void ChannelPlotArea::resizeEvent(QResizeEvent*)
{
    if (image_.isNull()) {
        paintCloud();
        return;
    }
    repaint_.start();
}

void ChannelPlotArea::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    const QRect r = imageRect();
    p.drawImage(r, image_);  // scaled until resizing pauses
    p.setPen(Qt::black);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    if (frame_.tooSmall())
        return;
    // The axes through 0 of each channel.
    p.setPen(Qt::darkGray);
    const int row0 = PlotRow(frame_, 0, r.height()), column0 = PlotColumn(frame_, 0, r.width());
    if (row0 >= 0 && row0 < r.height())
        p.drawLine(0, row0, r.width() - 1, row0);
    if (column0 >= 0 && column0 < r.width())
        p.drawLine(column0, 0, column0, r.height() - 1);
    PaintPlotAxes(p, r, {frame_.xmin, frame_.xmin + frame_.xrange, frame_.ymin, frame_.ymin + frame_.yrange});
    p.setClipRect(r);
    paintEllipse(p, shown());
}

void ChannelPlotArea::paintEllipse(QPainter& p, const EllipseState& e) const
{
    if (e == EllipseState{})
        return;  // none until the first reset
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colours_[2], EllipsePen));
    p.drawEllipse(RectOf({double(e.left), double(e.top), double(e.right), double(e.bottom)}));
    p.setPen(QPen(colours_[2], 1));
    p.drawEllipse(RectOf(OuterBox(e)));
    p.drawEllipse(RectOf(InnerBox(e)));
    p.setRenderHint(QPainter::Antialiasing, false);
    const std::array<HandleCorner, 6> corners = HandleCorners(e);
    for (int h = HandleLeft; h <= HandleInner; ++h) {
        const HandleCorner c = corners[static_cast<std::size_t>(h - 1)];
        p.setPen(Qt::black);
        p.setBrush(h >= HandleOuter ? BandHandle : colours_[2]);
        p.drawRect(c.x, c.y, HandleSize, HandleSize);
    }
}

EllipseState ChannelPlotArea::shown() const
{
    if (grabbed_ == NoHandle)
        return ellipse_;
    const QPoint d = mouse_ - pressed_;
    return MoveHandle(ellipse_, grabbed_, d.x(), d.y());
}

void ChannelPlotArea::resetEllipse()
{
    ellipse_ = ResetEllipse();
    update();
}

void ChannelPlotArea::mousePressEvent(QMouseEvent* event)
{
    pressed_ = mouse_ = event->position().toPoint();
    grabbed_ = event->button() == Qt::LeftButton && !(ellipse_ == EllipseState{})
                   ? HandleAt(ellipse_, pressed_.x(), pressed_.y())
                   : NoHandle;
}

void ChannelPlotArea::mouseMoveEvent(QMouseEvent* event)
{
    mouse_ = event->position().toPoint();
    const QRect r = imageRect();
    if (r.contains(mouse_) && !frame_.tooSmall() && onMouse)
        onMouse(PlotValueX(frame_, mouse_.x(), r.width()), PlotValueY(frame_, mouse_.y(), r.height()));
    if (grabbed_ != NoHandle)
        update();
}

void ChannelPlotArea::mouseReleaseEvent(QMouseEvent* event)
{
    mouse_ = event->position().toPoint();
    if (grabbed_ != NoHandle) {
        ellipse_ = shown();
        grabbed_ = NoHandle;
        update();
    }
}

ChannelPlotWindow::ChannelPlotWindow(PlotFrame frame, std::function<CloudImage(int, int)> cloud,
                                     std::array<QColor, 3> colours, EllipseState& ellipse,
                                     const std::array<std::string, 2>& names, HelpViewer& help, QWidget* parent)
        : QDialog(parent)
{
    setObjectName("channelPlotWindow");
    setWindowTitle("Plot channel against channel");
    resize(StartWidth, StartHeight);
    area_ = new ChannelPlotArea(frame, std::move(cloud), colours, ellipse);
    auto* readouts = new QGridLayout;
    for (std::size_t k = 0; k < values_.size(); ++k) {
        auto* label = new QLabel(QString::fromStdString(names[k]));
        label->setObjectName(k == 0 ? "lblChannel1" : "lblChannel2");
        values_[k] = new QLineEdit;
        values_[k]->setObjectName(k == 0 ? "edtValChn1" : "edtValChn2");
        values_[k]->setReadOnly(true);
        values_[k]->setMaximumWidth(120);
        readouts->addWidget(label, 0, static_cast<int>(2 * k));
        readouts->addWidget(values_[k], 0, static_cast<int>(2 * k + 1));
    }
    QPushButton* reset = NamedButton(this, "Reset circle", "btnResetCircle");
    readouts->addWidget(reset, 0, 4);
    readouts->setColumnStretch(5, 1);
    connect(reset, &QPushButton::clicked, area_, &ChannelPlotArea::resetEllipse);
    area_->onMouse = [this](double a, double b) {
        values_[0]->setText(QString::number(a, 'f', 3));
        values_[1]->setText(QString::number(b, 'f', 3));
    };
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(area_, 1);
    layout->addLayout(readouts);
    layout->addWidget(OkCancelHelp(this, help, "frmPlotChnlChnl.rtf"));
}

}  // namespace vk
