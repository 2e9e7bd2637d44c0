#include "gui/calc/WayWayWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <cmath>

#include "core/files/PathNames.h"
#include "core/setup/Workbench.h"
#include "core/store/VkDialogs.h"
#include "core/view/ScaleTicks.h"
#include "gui/calc/PlotAxes.h"
#include "gui/graph/GraphWindow.h"

namespace vk {

namespace {

constexpr int RoomLeft = 56, RoomBelow = 40, RoomAbove = 10, RoomRight = 16;
constexpr int TagRadius = 3, TickLength = 4, LabelGap = 6;
constexpr int RetracePause = 150;  // ms after the last resize
constexpr int StartWidth = 640, StartHeight = 420;
const QColor TagColour = Qt::red;

}  // namespace

WayWayDiagram::WayWayDiagram(const Recording& rec, const WayWayRequest& request, const WayWaySums& sums,
                             QWidget* parent)
        : QWidget(parent),
          rec_(rec),
          request_(request),
          sums_(sums),
          range_(DisplayRangeOf(rec.desc(request.depthSlot))),
          direction_(ChannelView(rec, request.depthSlot).direction())
{
    setObjectName("imgWayWay");
    setMouseTracking(true);
    setMinimumSize(240, 160);
    setCursor(Qt::CrossCursor);
    retrace_.setSingleShot(true);
    retrace_.setInterval(RetracePause);
    connect(&retrace_, &QTimer::timeout, this, [this] {
        trace();
        update();
    });
}

QRect WayWayDiagram::imageRect() const
{
    return QRect(RoomLeft, RoomAbove, std::max(1, width() - RoomLeft - RoomRight),
                 std::max(1, height() - RoomAbove - RoomBelow));
}

double WayWayDiagram::distanceAt(int x) const
{
    const QRect r = imageRect();
    return static_cast<double>(x - r.left()) / r.width() * sums_.distance;
}

double WayWayDiagram::depthAt(int y) const
{
    const QRect r = imageRect();
    return RowToValue(y - r.top(), range_, r.height(), direction_);
}

QPoint WayWayDiagram::pointOf(double distance, double depth) const
{
    const QRect r = imageRect();
    return {r.left() + DistanceColumn(distance, sums_.distance, r.width()),
            r.top() + ValueToRow(depth, range_, r.height(), direction_)};
}

void WayWayDiagram::trace()
{
    columns_ = TraceWayWay(rec_, request_, sums_, imageRect().width());
}

void WayWayDiagram::resizeEvent(QResizeEvent*)
{
    if (columns_.empty())
        trace();
    else
        retrace_.start();
}

void WayWayDiagram::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const QRect r = imageRect();
    p.setPen(Qt::black);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    // The depth scale, as the depth strip shows it.
    const YScale scale = YScaleTicks(range_, r.height(), direction_);
    const QFontMetrics metrics = p.fontMetrics();
    for (const YTick& t : scale.ticks) {
        const int y = r.top() + t.row;
        p.drawLine(r.left() - TickLength, y, r.left(), y);
        if (t.labelled) {
            const QString label = QString::number(t.value, 'f', scale.decimals);
            p.drawText(r.left() - LabelGap - metrics.horizontalAdvance(label), y + metrics.ascent() / 2, label);
        }
    }
    PaintValueAxisBelow(p, r, 0, sums_.distance);
    // The path: within a column from its entry through its extremes; between
    // columns from one's exit to the next one's entry.
    p.save();
    p.setClipRect(r);
    const double scaleX = static_cast<double>(r.width()) / std::max<std::size_t>(1, columns_.size() - 1);
    const auto row = [&](double z) { return r.top() + ValueToRow(z, range_, r.height(), direction_); };
    bool before = false;
    QPoint exit;
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        const WayWayColumn& k = columns_[c];
        if (!k.any)
            continue;
        const int x = r.left() + static_cast<int>(std::lround(c * scaleX));
        if (before)
            p.drawLine(exit, QPoint(x, row(k.first)));
        p.drawLine(x, row(k.min), x, row(k.max));
        exit = QPoint(x, row(k.last));
        before = true;
    }
    // The user's tags and texts.
    for (const WayWayNote& n : notes) {
        const QPoint at = pointOf(n.distance, n.depth);
        if (n.kind == WayWayNote::Kind::Tag) {
            p.setPen(TagColour);
            p.setBrush(TagColour);
            p.drawEllipse(at, TagRadius, TagRadius);
        }
        p.setPen(Qt::black);
        p.drawText(at + QPoint(1, 1 + metrics.ascent()), QString::fromStdString(n.text));
    }
    // Cross lines under the mouse.
    if (r.contains(mouse_)) {
        p.setPen(QPen(Qt::gray, 1, Qt::DotLine));
        p.drawLine(r.left(), mouse_.y(), r.right(), mouse_.y());
        p.drawLine(mouse_.x(), r.top(), mouse_.x(), r.bottom());
    }
    p.restore();
}

void WayWayDiagram::mouseMoveEvent(QMouseEvent* event)
{
    mouse_ = event->position().toPoint();
    update();
}

void WayWayDiagram::leaveEvent(QEvent*)
{
    mouse_ = {-1, -1};
    update();
}

void WayWayDiagram::mousePressEvent(QMouseEvent* event)
{
    if (onClick && imageRect().contains(event->position().toPoint()))
        onClick(event->position().toPoint(), event->button());
}

WayWayWindow::WayWayWindow(GraphWindow& window, const WayWayRequest& request, const WayWaySums& sums, int dive)
        : QDialog(&window, Qt::Tool | Qt::WindowStaysOnTopHint), window_(window), request_(request), dive_(dive)
{
    setObjectName("wayWayWindow");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString("Dive%1 Way-way diagram").arg(dive));
    diagram_ = new WayWayDiagram(window.workbench().rec, request, sums, this);
    diagram_->onClick = [this](QPoint at, Qt::MouseButton b) { click(at, b); };
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(diagram_);
    resize(StartWidth, StartHeight);

    popup_ = new QMenu(this);
    popup_->addAction("Export to file", this, &WayWayWindow::exportToFile);
    tagByClick_ = popup_->addAction("Tag by click");
    tagByClick_->setCheckable(true);
    popup_->addAction("Include text", this, &WayWayWindow::includeText);
    popup_->addAction("Copy to clipboard", this, &WayWayWindow::copyToClipboard);
    popup_->addAction("Undo", this, &WayWayWindow::undoNote);
}

void WayWayWindow::click(QPoint at, Qt::MouseButton button)
{
    if (button == Qt::RightButton) {
        rightClick_ = at;
        popup_->popup(diagram_->mapToGlobal(at));
        return;
    }
    if (button != Qt::LeftButton)
        return;
    if (typing_)
        placeText();
    const double distance = diagram_->distanceAt(at.x()), depth = diagram_->depthAt(at.y());
    setWindowTitle(QString::fromStdString(WayWayClickCaption(dive_, distance, depth)));
    if (tagByClick_->isChecked()) {
        diagram_->notes.push_back({WayWayNote::Kind::Tag, distance, depth, WayWayTagText(distance, depth)});
        diagram_->update();
    }
}

void WayWayWindow::includeText()
{
    if (typing_)
        placeText();
    typing_ = new QLineEdit(diagram_);
    typing_->setObjectName("edtWayWayText");
    typing_->move(rightClick_);
    typing_->show();
    typing_->setFocus();
    connect(typing_, &QLineEdit::editingFinished, this, &WayWayWindow::placeText);
}

void WayWayWindow::placeText()
{
    if (!typing_)
        return;
    QLineEdit* field = std::exchange(typing_, nullptr);
    if (const QString text = field->text(); !text.isEmpty())
        diagram_->notes.push_back({WayWayNote::Kind::Text, diagram_->distanceAt(field->x()),
                                   diagram_->depthAt(field->y()), text.toStdString()});
    field->hide();
    field->deleteLater();
    diagram_->update();
}

void WayWayWindow::undoNote()
{
    if (!diagram_->notes.empty())
        diagram_->notes.pop_back();
    diagram_->update();
}

void WayWayWindow::copyToClipboard()
{
    QApplication::clipboard()->setImage(diagram_->grab().toImage());
}

void WayWayWindow::exportToFile()
{
    // A command of the graph window: its busy cursor and seam.
    window_.runCommand([this](CommandContext& cx) {
        FileRequest request;
        request.title = "Export way-way diagram to";
        request.save = true;
        request.start = FolderOf(cx.rec.desc(request_.depthSlot).NameIn) + "Dive" + std::to_string(dive_);
        request.filter = "Text files (*.txt);;All files (*)";
        if (const std::optional<std::string> path = cx.ui.chooseFile(request);
            path && !ExportWayWay(cx.rec, request_, *path))
            cx.ui.message(" Cannot write " + *path + " (folder missing, no permission or disk full).", Severity::Error);
        return CommandResult{};
    });
}

}  // namespace vk
