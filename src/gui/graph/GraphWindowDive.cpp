// The dive analysis in the graph window: "&Search next" (Q), "Anal&yse" (A),
// the shape buttons, the parameter dialogs and "&Dive Stops ...".

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>

#include "core/dive/Bouts.h"
#include "core/dive/DiveFrame.h"
#include "core/dive/DiveSearch.h"
#include "core/dive/DiveShapes.h"
#include "core/dive/ResultStep.h"
#include "core/process/UndoStack.h"
#include "core/store/VkDialogs.h"
#include "core/view/RedrawRequest.h"
#include "gui/dive/DiveParamsDialog.h"
#include "gui/dive/DiveStopsDialog.h"
#include "gui/graph/GraphWindow.h"
#include "gui/graph/StripImage.h"
#include "gui/graph/WindowPicture.h"
#include "gui/widgets/HelpViewer.h"

namespace vk {

namespace {

// What a dive command redraws: the lines and marks over the strips, the
// total window's lines, the read-outs; everything when the window moved.
constexpr uint32_t DiveRedraw = redraw::StripCursors | redraw::TotalLines | redraw::Readouts;

// The pictures of a written dive: the window as it shows the dive, and the
// thumbnail, also shown beside the total window.
class WindowPictures : public PictureSink {
public:
    // `redraw`: the window is not kept up to date dive by dive (a run without
    // visualisation), so it is brought up to date for each image.
    WindowPictures(TForm3& window, VkDialogs& ui, const ThumbnailSettings& t, bool redraw = false)
            : window_(window), ui_(ui), t_(t), redraw_(redraw)
    {
    }
    bool saveImage(const std::string& path) override
    {
        if (redraw_) {
            window_.showDive();
            window_.executeRedraw(redraw::Everything);
        }
        return SavePicture(window_.picture(), path, PictureFormat::Jpeg);
    }
    bool saveThumbnail(const std::string& folder, int number, const std::string& stamp) override
    {
        const QImage image =
            RenderThumbnail(window_.scene(), AnalysisSlot,
                            QSize(std::max(t_.ThumbnailWidth, 8), std::max(t_.ThumbnailHeight, 8)), stamp);
        window_.showThumbnail(image);
        return SaveThumbnail(image, folder, number, ui_);
    }

private:
    TForm3& window_;
    VkDialogs& ui_;
    const ThumbnailSettings& t_;
    bool redraw_;
};

}  // namespace

void TForm3::connectDive()
{
    auto on = [this](const char* name, void (TForm3::*command)()) {
        onItem(name, [this, command] { (this->*command)(); });
    };
    on("mniSearchNext", &TForm3::searchNext);
    on("mniAnalyse", &TForm3::analyse);
    on("mniParameters", &TForm3::openParameters);
    on("mniDiveStops", &TForm3::openDiveStops);
    on("mniWriteResults", &TForm3::writeResults);
    on("mniAutomatic", &TForm3::automaticAnalysis);
    on("mniComment", &TForm3::askComment);
    onItem("mniAnalyzeBout", [this] { bout(true); });
    onItem("mniSkipBout", [this] { bout(false); });
    connect(halt_, &QPushButton::clicked, this, [this] { haltRequested_ = true; });
    for (int tag = 0; tag < static_cast<int>(shapeButtons_.size()); ++tag)
        connect(shapeButtons_[static_cast<std::size_t>(tag)], &QToolButton::clicked, this, [this, tag] {
            if (!refuseWhileBusy())
                shapePressed(tag);
        });
}

bool TForm3::analysisChannelActive()
{
    return AnalysisChannelReady(wb_.rec, view_.active, ui_);
}

void TForm3::searchNext()
{
    if (!analysisChannelActive())
        return;
    BusyCursor busy(ui_);
    view_.saved = view_.at;
    pushUndo(UndoZoom, redraw::Everything);
    // A baseline the search shifts is taken back by the same Undo as the view.
    NoUndo none;
    JoinedSteps joined(*undoStack_);
    DiveContext cx{wb_.rec,
                   view_,
                   wb_.dive,
                   ui_,
                   undo_ == undoStack_.get() ? static_cast<UndoSink&>(joined) : none,
                   {wb_.settings.CommSampInterval, wb_.settings.SpeedChannel}};
    const SearchOutcome o = SearchNext(cx, wb_.settings.dive);
    if (o.refused)
        return;
    if (!o.accepted)
        ui_.status("No further dive");
    showDive();
    const bool whole = o.windowMoved || o.baselineShifted || wb_.settings.dive.AdjustYSize;
    executeRedraw(whole ? redraw::Everything : DiveRedraw);
}

void TForm3::analyse()
{
    if (!analysisChannelActive())
        return;
    BusyCursor busy(ui_);
    NoUndo none;
    DiveContext cx{wb_.rec, view_, wb_.dive, ui_, none, {wb_.settings.CommSampInterval, wb_.settings.SpeedChannel}};
    AnalyseFramedDive(cx, wb_.settings.dive);
    showDive();
    executeRedraw(DiveRedraw);
}

void TForm3::showDive()
{
    const DiveRecord& r = wb_.dive.record;
    maxDepth_->setText(QString::number(r.maxDepth, 'f', 2));
    if (r.shape >= 0 && r.shape < static_cast<int>(shapeButtons_.size()))
        shapeButtons_[static_cast<std::size_t>(r.shape)]->setChecked(true);  // pressed without reclassifying
}

void TForm3::shapePressed(int tag)
{
    const double interval = wb_.rec.desc(AnalysisSlot).SampRate;
    DiveFrame f = FrameOf(view_.at, interval);
    const DiveFrame before = f;
    PressShapeButton(tag, wb_.dive, f, wb_.settings.dive);
    if (f.F8 != before.F8 || f.F9 != before.F9) {
        view_.at.B1 = f.F8 * interval;
        view_.at.B2 = f.F9 * interval;
        executeRedraw(redraw::StripCursors);
    }
}

void TForm3::openParameters()
{
    TfrmDiveParms dialog(wb_, view_.active, false, ui_, help_, this);
    dialog.exec();
    const ThumbnailSettings& t = wb_.settings.thumbnails;
    if (auto* thumbnail = findChild<QLabel*>("ThumbNail"))
        thumbnail->resize(t.ThumbnailWidth, t.ThumbnailHeight);
    executeRedraw(redraw::Everything);
}

void TForm3::openDiveStops()
{
    TfmDiveStops dialog(wb_.dive.stops, view_.at, ui_, help_, this);
    if (dialog.exec() == QDialog::Accepted)
        executeRedraw(redraw::StripCursors);
}

void TForm3::writeResults()
{
    if (!analysisChannelActive())
        return;
    BusyCursor busy(ui_);
    view_.saved = view_.at;
    WindowPictures pictures(*this, ui_, wb_.settings.thumbnails);
    JoinedSteps joined(*undoStack_);
    NoUndo none;
    ResultContext rc{wb_, view_, ui_, undo_ == undoStack_.get() ? static_cast<UndoSink&>(joined) : none, &pictures};
    pushUndo(UndoZoom, redraw::Everything);
    WriteResults(rc, wb_.settings.dive);
    if (wb_.settings.dive.BurnishDives)
        samplesChanged(AnalysisSlot);
    showDive();
    executeRedraw(redraw::Everything);
}

void TForm3::askComment()
{
    if (const auto text = ui_.input(" Input comment", " Enter a comment ", wb_.dive.comment))
        wb_.dive.comment = *text;
}

void TForm3::bout(bool analyse)
{
    if (!analysisChannelActive())
        return;
    BusyCursor busy(ui_);
    view_.saved = view_.at;
    pushUndo(UndoZoom, redraw::Everything);
    JoinedSteps joined(*undoStack_);
    NoUndo none;
    ResultContext rc{wb_, view_, ui_, undo_ == undoStack_.get() ? static_cast<UndoSink&>(joined) : none, nullptr};
    DiveContext cx = rc.dive();
    const BoutOutcome o = FindBout(cx, wb_.settings.dive, analyse);
    if (o.summary)
        WriteBout(rc, *o.summary);
    executeRedraw(redraw::Everything);
}

void TForm3::showProgress(double share, int dives)
{
    progress_->setValue(static_cast<int>(share * 100));
    progress_->show();
    progressLabel_->setText(QString("%1 dives").arg(dives));
}

void TForm3::automaticAnalysis()
{
    if (!analysisChannelActive())
        return;
    TfrmDiveParms dialog(wb_, view_.active, true, ui_, help_, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const DiveParameters& p = wb_.settings.dive;
    view_.saved = view_.at;
    pushUndo(UndoZoom, redraw::Everything);
    JoinedSteps joined(*undoStack_);
    NoUndo none;
    WindowPictures pictures(*this, ui_, wb_.settings.thumbnails, !p.Visualise);
    ResultContext rc{wb_, view_, ui_, undo_ == undoStack_.get() ? static_cast<UndoSink&>(joined) : none, &pictures};
    haltRequested_ = false;
    halt_->show();
    if (p.Visualise)
        executeRedraw(redraw::Everything);
    AutomaticHooks hooks;
    hooks.framed = [this, &p](const SearchOutcome& o) {
        if (!p.Visualise)
            return;
        showDive();
        executeRedraw(o.windowMoved || o.baselineShifted || p.AdjustYSize ? redraw::Everything : DiveRedraw);
    };
    hooks.progress = [this](double share, int dives) { showProgress(share, dives); };
    hooks.halted = [this] {
        QApplication::processEvents();
        return haltRequested_;
    };
    AutomaticOutcome o;
    runLong([&] { o = AutomaticAnalysis(rc, p, hooks); });
    halt_->hide();
    haltRequested_ = false;
    progress_->hide();
    if (p.BurnishDives)
        samplesChanged(AnalysisSlot);
    showDive();
    // The count stays beside the cursors after the run, with its outcome.
    const QString count = QString("%1 %2").arg(o.dives).arg(o.dives == 1 ? "dive" : "dives");
    const QString halted = o.halted ? ", halted" : "";
    progressLabel_->setText(count + halted);
    ui_.status((count + " analysed" + halted).toStdString());
    executeRedraw(redraw::Everything);
}

}  // namespace vk
