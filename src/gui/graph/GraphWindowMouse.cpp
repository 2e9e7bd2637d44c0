// The mouse in the graph window: press and release in strips and the total
// window, clicks into the y scales and the time scales.

#include <QCheckBox>
#include <QLineEdit>
#include <QMouseEvent>

#include "core/store/VkDialogs.h"
#include "core/view/PixelMap.h"
#include "core/view/RangeCommands.h"
#include "core/view/RedrawRequest.h"
#include "core/view/ViewCommands.h"
#include "gui/graph/GraphWindow.h"
#include "gui/graph/StripImage.h"

namespace vk {

namespace {

constexpr uint32_t BorderMove = redraw::BorderMove, RangeRedraw = redraw::RangeChange,
                   StopRedraw = redraw::ActiveChannel;

}  // namespace

void TForm3::positionAt(int image, QPoint at, double& t, double& v) const
{
    const bool strip = image >= 0;
    const TChanImage* widget = strip ? strips_[static_cast<std::size_t>(image)] : total_;
    const int slot = strip ? image : view_.active;
    const double f1 = strip ? view_.at.F1 : 0.0, f2 = strip ? view_.at.F2 : view_.T;
    t = ColumnToTime(at.x(), f1, f2, widget->width());
    const ChannelDescriptor& d = wb_.rec.desc(slot);
    v = RowToValue(at.y(), DisplayRangeOf(d), widget->height(), d.GrRepr);
}

void TForm3::mousePressed(int image, QMouseEvent* event)
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
    const TChanImage* widget = image >= 0 ? strips_[static_cast<std::size_t>(image)] : total_;
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

void TForm3::mouseReleased(int image, QMouseEvent* event)
{
    if (refuseWhileBusy())
        return;
    if (image != press_.image)
        return;
    BusyCursor busy(ui_);
    view_.saved = view_.at;
    const QPoint at = event->position().toPoint();
    const bool moved = Dragged(press_.at.x(), press_.at.y(), at.x(), at.y());
    double t = 0, v = 0;
    positionAt(image, at, t, v);
    ChannelDescriptor& d = wb_.rec.desc(view_.active);
    const bool upwards = d.GrRepr >= 0;
    uint32_t bits = 0;

    if (moved) {
        if (press_.stop.part != StopGrab::None) {
            ReleaseOnStops(wb_.dive.stops, press_.stop, t);
            bits = StopRedraw;
        } else if (press_.line != Line::None) {
            LinePositions trial = view_.at;
            const uint32_t request = DragLine(trial, press_.line, t);
            if (request != 0) {
                if (LineNeedsUndo(press_.line))
                    pushUndo(UndoZoom, request);
                view_.at = trial;
                bits = request;
            }
        } else if (press_.edge == EdgeLeft || press_.edge == EdgeRight) {
            // Dragged from an edge: the border goes where the mouse was let go,
            // but (our choice) never past its partner.
            const bool left = press_.edge == EdgeLeft;
            if (left ? t < view_.at.F2 : t > view_.at.F1) {
                pushUndo(UndoZoom, BorderMove);
                (left ? view_.at.F1 : view_.at.F2) = std::clamp(t, 0.0, view_.T);
                bits = BorderMove;
            }
        } else if (press_.edge == EdgeTop || press_.edge == EdgeBottom) {
            pushUndo(UndoZoom, RangeRedraw);
            const bool top = press_.edge == EdgeTop;
            (top == upwards ? d.Max : d.Min) = v + d.yOffset;
            bits = RangeRedraw;
        }
    } else {
        switch (press_.edge) {
        case EdgeLeft:
        case EdgeRight: {
            const bool left = press_.edge == EdgeLeft;
            const double s = view_.at.F2 - view_.at.F1;
            pushUndo(UndoZoom, BorderMove);
            if (left)
                view_.at.F1 = std::max(0.0, view_.at.F1 - s / 2);
            else
                view_.at.F2 = std::min(view_.T, view_.at.F2 + s / 2);
            setMoveMode(left ? ModeF1 : ModeF2);
            bits = BorderMove;
            break;
        }
        case EdgeTop:
        case EdgeBottom: {
            pushUndo(UndoZoom, RangeRedraw);
            const bool widenAbove = (press_.edge == EdgeTop) == upwards;  // the limit shown at that edge
            if (widenAbove)
                RangeStep(d, 0, -2);
            else
                RangeStep(d, 2, 0);
            bits = RangeRedraw;
            break;
        }
        default:
            if (image >= 0) {
                const bool diff = diff_->isChecked();
                const MouseReadout r =
                    ClickReadout(wb_.rec, image, press_.t, press_.v, timeAxisMode, diff, previous_.t, previous_.v);
                mouseValue_->setText(QString::fromStdString(r.value));
                mouseTime_->setText(QString::fromStdString(r.time));
                mouseDate_->setText(QString::fromStdString(r.date));
            }
        }
    }
    executeRedraw(bits);
}

void TForm3::yScalePressed(int slot, QMouseEvent* event)
{
    if (refuseWhileBusy())
        return;
    BusyCursor busy(ui_);
    pushUndo(UndoZoom, RangeRedraw, slot);
    YScaleClick(wb_.rec.desc(slot), event->position().toPoint().y(), yScale(slot)->height());
    strip(slot)->invalidate();
    yScale(slot)->invalidate();
    setWindowTitle(QString::fromStdString("Varnik Dive Analysis, Graph Window    " +
                                          wb_.rec.desc(view_.active).NameIn.substr(0, 40)));
}

void TForm3::timeScalePressed(bool total, QMouseEvent* event)
{
    if (refuseWhileBusy())
        return;
    const TChanImage* scale = total ? totalTimeScale_ : timeScale_;
    const double x = event->position().x();
    const double t =
        total ? x / scale->width() * view_.T : view_.at.F1 + x / scale->width() * (view_.at.F2 - view_.at.F1);
    run([this, t] {
        pushUndo(UndoZoom, redraw::AllMove);
        return TimeScaleClick(view_, t);
    });
}

}  // namespace vk
