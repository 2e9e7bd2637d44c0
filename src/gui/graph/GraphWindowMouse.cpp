// The mouse in the graph window: press and release in strips and the total
// window, clicks into the y scales and the time scales.

#include <QCheckBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QWheelEvent>

#include "core/store/VkDialogs.h"
#include "core/view/MouseRelease.h"
#include "core/view/MoveCommands.h"
#include "core/view/PixelMap.h"
#include "core/view/RangeCommands.h"
#include "core/view/RedrawRequest.h"
#include "core/view/ViewCommands.h"
#include "gui/graph/GraphWindow.h"

#include "gui/calc/ClickTools.h"
#include "gui/graph/StripImage.h"

namespace vk {

namespace {

constexpr uint32_t StopRedraw = redraw::ActiveChannel;

}  // namespace

void GraphWindow::positionAt(int image, QPoint at, double& t, double& v) const
{
    const bool strip = image >= 0;
    const StripImage* widget = strip ? strips_[static_cast<std::size_t>(image)] : total_;
    const int slot = strip ? image : view_.active;
    const double f1 = strip ? view_.at.F1 : 0.0, f2 = strip ? view_.at.F2 : view_.T;
    t = ColumnToTime(at.x(), f1, f2, widget->width());
    const ChannelDescriptor& d = wb_.rec.desc(slot);
    v = RowToValue(at.y(), DisplayRangeOf(d), widget->height(), DirectionOf(d));
}

void GraphWindow::mousePressed(int image, QMouseEvent* event)
{
    if (refuseWhileBusy())
        return;
    previous_ = press_;
    press_ = Press{};
    press_.image = image;
    press_.at = event->position().toPoint();
    if (image >= 0 && image != view_.active)
        setActiveChannel(image);
    positionAt(image, press_.at, press_.t, press_.v);
    const StripImage* widget = image >= 0 ? strips_[static_cast<std::size_t>(image)] : total_;
    if (image >= 0 && event->button() == Qt::LeftButton &&
        tools_->grabNode(wb_.rec, view_, image, widget->size(), press_.at))
        return;  // a node taken: moves drag it
    if (image >= 0) {
        press_.edge = EdgeZoneAt(press_.at.x(), press_.at.y(), widget->width(), widget->height());
        if (press_.edge != EdgeNone)
            return;
    }
    const bool strip = image >= 0;
    const bool withSh = (wb_.rec.desc(view_.active).DisplayFlags & ShowShCursors) != 0;
    const LineGrab grab = NearestLine(view_.at, strip ? view_.at.F1 : 0.0, strip ? view_.at.F2 : view_.T,
                                      widget->width(), press_.at.x(), withSh, strip);
    press_.line = grab.line;
    setMoveMode(grab.moveMode);
    if (strip && image == AnalysisSlot) {
        press_.stop = PressOnStops(wb_.dive.stops, view_.at.F1, view_.at.F2, widget->width(), widget->height(),
                                   press_.at.x(), press_.at.y(), grab.distance);
        if (press_.stop.part != StopGrab::None)
            press_.line = Line::None;  // the stop, not the line
    }
}

void GraphWindow::mouseReleased(int image, QMouseEvent* event)
{
    if (image != press_.image)
        return;
    const QPoint at = event->position().toPoint();
    if (tools_->dragging()) {  // a node let go where it was dragged
        tools_->dropNode();
        runCommand([](CommandContext&) { return CommandResult{redraw::ActiveChannel}; });
        return;
    }
    const bool left = event->button() == Qt::LeftButton;
    runCommand([this, image, at, left](CommandContext& cx) {
        CommandResult result = releaseAt(image, at, cx);
        // A click in a strip: Alter, nodes and tags, each that is on.
        if (image >= 0 && !Dragged(press_.at.x(), press_.at.y(), at.x(), at.y()) && press_.edge == EdgeNone) {
            double t = 0, v = 0;
            positionAt(image, at, t, v);
            result.add(tools_->click(cx, image, t, v, left));
        }
        return result;
    });
}

// What a press and its release mean: a stop, line or border dragged, the range
// changed from an edge, or a click read out.
CommandResult GraphWindow::releaseAt(int image, QPoint at, CommandContext& cx)
{
    MouseRelease release{press_.line, press_.edge, Dragged(press_.at.x(), press_.at.y(), at.x(), at.y())};
    positionAt(image, at, release.t, release.v);
    if (release.dragged && press_.stop.part != StopGrab::None) {
        ReleaseOnStops(wb_.dive.stops, press_.stop, release.t);
        return StopRedraw;
    }
    const ReleaseOutcome outcome = ReleaseMouse(cx, release);
    if (outcome.moveMode >= 0)
        setMoveMode(outcome.moveMode);
    if (outcome.readout && image >= 0) {
        const MouseReadout r = ClickReadout(wb_.rec, image, press_.t, press_.v, view_.timeAxisMode,
                                            readouts_->showDifference->isChecked(), previous_.t, previous_.v);
        readouts_->mouse.value->setText(QString::fromStdString(r.value));
        readouts_->mouse.time->setText(QString::fromStdString(r.time));
        readouts_->mouse.date->setText(QString::fromStdString(r.date));
    }
    return outcome.result;
}

void GraphWindow::wheelTurned(int slot, QWheelEvent* event)
{
    event->accept();
    if (refuseWhileBusy())
        return;
    constexpr double Notch = 120;  // eighths of a degree in one notch of a common wheel
    // With Shift some platforms turn the wheel sideways.
    const QPoint delta = event->angleDelta();
    const double steps = (delta.y() != 0 ? delta.y() : delta.x()) / Notch;
    if (steps == 0)
        return;
    if (slot != view_.active)
        setActiveChannel(slot);
    const Qt::KeyboardModifiers m = event->modifiers();
    const WheelKind kind = (m & Qt::ControlModifier) ? WheelKind::Range
                           : (m & Qt::ShiftModifier) ? WheelKind::Pan
                                                     : WheelKind::Zoom;
    const QPoint at = event->position().toPoint();
    const StripImage* image = strip(slot);
    const double t = ColumnToTime(at.x(), view_.at.F1, view_.at.F2, image->width());
    const int height = image->height();
    runCommand([=](CommandContext& cx) { return WheelCommand(cx, kind, slot, t, at.y(), height, steps); });
}

void GraphWindow::yScalePressed(int slot, QMouseEvent* event)
{
    const int y = event->position().toPoint().y(), height = yScale(slot)->height();
    runCommand([slot, y, height](CommandContext& cx) {
        YScaleCommand(cx, slot, y, height);
        return CommandResult{};
    });
    // The strip of the scale clicked, which need not be the active one.
    strip(slot)->invalidate();
    yScale(slot)->invalidate();
}

void GraphWindow::timeScalePressed(bool total, QMouseEvent* event)
{
    const StripImage* scale = total ? totalTimeScale_ : timeScale_;
    const double x = event->position().x();
    const double t =
        total ? x / scale->width() * view_.T : view_.at.F1 + x / scale->width() * (view_.at.F2 - view_.at.F1);
    runCommand([t](CommandContext& cx) { return TimeScaleCommand(cx, t); });
}

}  // namespace vk
