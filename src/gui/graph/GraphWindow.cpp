#include "gui/graph/GraphWindow.h"
#include "gui/calc/WayWayWindow.h"
#include "gui/process/ProtocolWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

#include "core/process/UndoStack.h"
#include "core/store/Channel.h"
#include "core/store/VkDialogs.h"
#include "core/view/Readouts.h"
#include "core/view/RedrawRequest.h"
#include "core/view/ViewCommands.h"
#include "gui/app/ProgramFolders.h"
#include "gui/calc/ClickTools.h"
#include "gui/graph/CommandTable.h"
#include "gui/graph/GraphPainter.h"
#include "gui/graph/ReadoutPanel.h"
#include "gui/graph/StripImage.h"
#include "gui/graph/WindowPicture.h"
#include "gui/widgets/HelpViewer.h"

namespace vk {

namespace {

}  // namespace

const char* HintPage(int code)
{
    switch (code) {
    case HintTooFewPoints: return "AlertLessPoints.rtf";
    case HintRangeExcess: return "AlertRangeExcess.rtf";
    case HintInvertData: return "AlertInvert.rtf";
    case HintRunMean: return "AlertRunMean.rtf";
    case HintSurface: return "AlertSurface.rtf";
    default: return "";
    }
}

const std::map<int, const char*>& MoveModeItems()
{
    static const std::map<int, const char*> items{
        {ModeF1, "x-zoom.left-border"}, {ModeF2, "x-zoom.right-border"}, {ModeBorders, "x-zoom.both-borders"},
        {ModeF4, "x-zoom.left-cursor"}, {ModeF5, "x-zoom.right-cursor"}, {ModeCursors, "x-zoom.both-cursors"}};
    return items;
}

namespace {

QRect RectOf(const Box& b)
{
    return {b.left, b.top, b.width, b.height};
}

}  // namespace

GraphWindow::GraphWindow(Workbench& wb, VkDialogs& ui, HelpViewer& help, QWidget* parent)
        : QMainWindow(parent), wb_(wb), ui_(ui), help_(help), tools_(std::make_unique<ClickTools>())
{
    setObjectName("graphWindow");
    setAttribute(Qt::WA_DeleteOnClose);
    BusyCursor busy(ui_);
    Recording& rec = wb_.rec;
    view_ = InitialView(rec.time.LongestSpan);

    menus_ = std::make_unique<GraphMenus>(menuBar());
    menus_->action("x-zoom.both-borders")->setChecked(true);  // checked although no mode is chosen yet

    computeLayout();
    if (rec.at(1).ChannelUsed + rec.at(2).ChannelUsed + rec.at(0).ChannelUsed < 2)
        for (const char* name : {"calc.synchronize", "calc.channel-plot", "process.bi-channel"})
            menus_->action(name)->setEnabled(false);

    BuildEnvelopes(rec, envelopes_);
    area_ = new QWidget;
    setCentralWidget(area_);

    total_ = new StripImage(
        "TotalImage", [this](QPainter& p, QSize s) { PaintTotalBase(p, s, scene(), totalSlot_); },
        [this](QPainter& p, QSize s) { PaintTotalOverlay(p, s, scene()); }, area_);
    total_->setGeometry(RectOf(layout_.total));
    total_->setDrawTogether([this] { drawCurvesTogether(); });
    connect(total_, &StripImage::pressed, this, [this](QMouseEvent* e) { mousePressed(-1, e); });
    connect(total_, &StripImage::released, this, [this](QMouseEvent* e) { mouseReleased(-1, e); });
    connect(total_, &StripImage::doubleClicked, this,
            [this](QMouseEvent*) { executeRedraw(redraw::TotalCurve | redraw::TotalLines); });
    totalTimeScale_ = new StripImage(
        "TotalimgTimeScale", [this](QPainter& p, QSize s) { PaintTimeScale(p, s, scene(), TimeScaleKind::Total); },
        nullptr, area_);
    totalTimeScale_->setGeometry(RectOf(layout_.totalTimeScale));
    connect(totalTimeScale_, &StripImage::pressed, this, [this](QMouseEvent* e) { timeScalePressed(true, e); });
    timeScale_ = new StripImage(
        "imgTime", [this](QPainter& p, QSize s) { PaintTimeScale(p, s, scene(), TimeScaleKind::Strips); }, nullptr,
        area_);
    timeScale_->setGeometry(RectOf(layout_.timeScale));
    connect(timeScale_, &StripImage::pressed, this, [this](QMouseEvent* e) { timeScalePressed(false, e); });

    buildStrips();
    buildReadouts(area_);
    undoStack_ = std::make_unique<UndoStack>(rec, view_, RunFolder() + "/Undo.bin");
    connectCommands();
    FollowTagList(*menus_, tools_->tags);
    updateCaption();

    if (!rec.at(0).ChannelUsed && !rec.at(1).ChannelUsed && !rec.at(2).ChannelUsed) {
        ui_.message("Error. Delete file $VM...$.&&& and try again", Severity::Error);
        QTimer::singleShot(0, this, &QWidget::close);
        return;
    }
    for (int s = 0; s < SlotCount; ++s)
        if (strip(s)) {
            view_.active = s;
            break;
        }
    totalSlot_ = view_.active;
    executeRedraw(redraw::Everything);
}

GraphWindow::~GraphWindow() = default;  // the undo stack goes, and with it Undo.bin

void GraphWindow::computeLayout()
{
    const QRect screenRect = screen()->geometry();
    layout_ = LayoutOfRecording(wb_.rec, screenRect.width(), screenRect.height());
}

void GraphWindow::rebuildStrips()
{
    computeLayout();
    for (int s = 0; s < SlotCount; ++s) {
        const auto i = static_cast<std::size_t>(s);
        delete strips_[i];
        delete yScales_[i];
        delete focus_[i];
        strips_[i] = nullptr;
        yScales_[i] = nullptr;
        focus_[i] = nullptr;
    }
    buildStrips();
    for (int s = 0; s < SlotCount; ++s)
        if (strip(s)) {
            strip(s)->show();
            yScale(s)->show();
            focus_[static_cast<std::size_t>(s)]->show();
        }
    if (!strip(view_.active))
        for (int s = 0; s < SlotCount; ++s)
            if (strip(s)) {
                view_.active = s;
                break;
            }
    setActiveChannel(view_.active);  // the command that asked redraws all
}

GraphScene GraphWindow::scene() const
{
    GraphScene s{wb_.rec, wb_.settings, view_, useEnvelopes_ ? &envelopes_ : nullptr, view_.caption, &wb_.dive};
    s.runMeans = &runMeans_;
    s.preview = preview_;
    s.regression = regression_;
    s.tools = tools_.get();
    s.sections = &wb_.sections;
    return s;
}

void GraphWindow::showPreview(const PreviewCurve* curve)
{
    preview_ = curve;
    repaintOverlays();
}

void GraphWindow::showRegression(const SceneLine* line)
{
    regression_ = line;
    repaintOverlays();
}

void GraphWindow::repaintOverlays()
{
    for (StripImage* strip : strips_)
        if (strip)
            strip->update();
}

void GraphWindow::samplesChanged(int slot)
{
    runMeans_[static_cast<std::size_t>(slot)].invalidate();
    const ChannelView channel(wb_.rec, slot);
    envelopes_[static_cast<std::size_t>(slot)].build(
        wb_.rec.store, slot, std::min<int64_t>(channel.storedCount(), wb_.rec.store.capacity(slot)), channel.gaps());
    view_.T = wb_.rec.time.LongestSpan;
}

void GraphWindow::setUseEnvelopes(bool on)
{
    useEnvelopes_ = on;
}

void GraphWindow::drawCurvesTogether()
{
    std::vector<StripImage*> images(strips_.begin(), strips_.end());
    images.push_back(total_);
    DrawStaleTogether(images);
}

void GraphWindow::buildStrips()
{
    for (int slot = 0; slot < SlotCount; ++slot) {
        const auto i = static_cast<std::size_t>(slot);
        if (layout_.strips[i].height <= 0)
            continue;
        auto* image = new StripImage(
            QString("image%1").arg(slot), [this, slot](QPainter& p, QSize s) { PaintStripBase(p, s, scene(), slot); },
            [this, slot](QPainter& p, QSize s) {
                PaintStripOverlay(p, s, scene(), slot);
                paintCrossLines(p, slot);
            },
            area_);
        image->setGeometry(RectOf(layout_.strips[i]));
        image->setMouseTracking(true);
        connect(image, &StripImage::pressed, this, [this, slot](QMouseEvent* e) { mousePressed(slot, e); });
        connect(image, &StripImage::released, this, [this, slot](QMouseEvent* e) { mouseReleased(slot, e); });
        connect(image, &StripImage::wheeled, this, [this, slot](QWheelEvent* e) { wheelTurned(slot, e); });
        connect(image, &StripImage::moved, this, [this, slot, image](QMouseEvent* e) {
            if ((e->buttons() & Qt::LeftButton) &&
                tools_->dragNode(wb_.rec, view_, slot, image->size(), e->position().toPoint())) {
                image->update();
                return;
            }
            if (readouts_->crossLines && readouts_->crossLines->isChecked() && slot == view_.active) {
                cross_ = e->position().toPoint();
                image->update();
            }
        });
        strips_[i] = image;
        image->setDrawTogether([this] { drawCurvesTogether(); });

        auto* scale = new StripImage(
            QString("imageSc%1").arg(slot), [this, slot](QPainter& p, QSize s) { PaintYScale(p, s, scene(), slot); },
            nullptr, area_);
        scale->setGeometry(RectOf(layout_.yScales[i]));
        connect(scale, &StripImage::pressed, this, [this, slot](QMouseEvent* e) { yScalePressed(slot, e); });
        yScales_[i] = scale;

        // A zero-size field per strip takes the keyboard focus: keys reach the window.
        auto* focus = new QWidget(area_);
        focus->setObjectName(QString("focus%1").arg(slot));
        focus->setGeometry(layout_.strips[i].left, layout_.strips[i].top, 0, 0);
        focus->setFocusPolicy(Qt::StrongFocus);
        focus->installEventFilter(this);
        focus_[i] = focus;
    }
}

void GraphWindow::buildReadouts(QWidget* area)
{
    readouts_ = new ReadoutPanel(area);
    ReadoutPanel& r = *readouts_;
    connect(r.alterData, &QCheckBox::toggled, this, [this](bool on) { tools_->alter = on; });
    connect(r.crossLines, &QCheckBox::toggled, this, &GraphWindow::crossLinesToggled);
    connect(r.hint, &QPushButton::clicked, this, &GraphWindow::showHint);
    placeReadouts();

    int bx = layout_.totalTimeScale.right() + 3;
    for (auto [button, text] : {std::pair{&fetch_, "Fetch F4, F5"}, {&jump_, "Jump F1 F2"}}) {
        auto* b = *button = new QToolButton(area);
        b->setText(text);
        b->setObjectName(QString(text).replace(' ', "").replace(',', ""));
        b->setFocusPolicy(Qt::NoFocus);
        b->adjustSize();
        b->move(bx, layout_.totalTimeScale.bottom() - b->height());
        bx += b->width() + 2;
    }
    thumbnail_ = new QLabel(area);
    thumbnail_->setObjectName("thumbnail");
    thumbnail_->move(layout_.total.right() + 10, layout_.total.top);
    thumbnail_->hide();
}

// The read-outs take the window's width under the strips; their layout does the rest.
void GraphWindow::placeReadouts()
{
    if (!readouts_)
        return;
    const int top = layout_.readoutTop;
    readouts_->setGeometry(0, top, std::max(area_->width(), layout_.total.right()),
                           std::max(area_->height() - top, readouts_->sizeHint().height()));
}

void GraphWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    placeReadouts();
}

void GraphWindow::executeRedraw(uint32_t bits)
{
    using namespace redraw;
    auto eachStrip = [&](auto&& f) {
        for (StripImage* s : strips_)
            if (s)
                f(s);
    };
    StripImage* active = strip(view_.active);
    for (Bit b : Order) {
        if (!(bits & b))
            continue;
        switch (b) {
        case TotalCurve:
            totalSlot_ = view_.active;
            total_->invalidate();
            break;
        case TotalLines:
        case TotalBorders:
        case TotalCursors: total_->update(); break;
        case ActiveStrip:
            if (active)
                active->invalidate();
            break;
        case AllStrips: eachStrip([](StripImage* s) { s->invalidate(); }); break;
        case StripCursors:
        case CursorsAndMoved:
        case MovedLines:
            eachStrip([](StripImage* s) { s->update(); });
            if (b == CursorsAndMoved)
                total_->update();
            break;
        case ActiveCursors:
        case Grid:
        case redraw::SubsidiaryLines:
            if (active)
                active->update();
            break;
        case Readouts:
            updateReadouts();
            showDive();
            break;
        case TimeScale:
            timeScale_->invalidate();
            totalTimeScale_->invalidate();
            break;
        case YScale:
            if (StripImage* scale = yScale(view_.active))
                scale->invalidate();
            break;
        }
    }
    updateHint();
    refreshUndoItem();
}

void GraphWindow::updateReadouts()
{
    const CursorReadouts r = MakeCursorReadouts(wb_.rec, view_, view_.timeAxisMode, view_.interpolate);
    readouts_->cursorF4.value->setText(QString::fromStdString(r.leftValue));
    readouts_->cursorF4.time->setText(QString::fromStdString(r.leftTime));
    readouts_->cursorF4.date->setText(QString::fromStdString(r.leftDate));
    readouts_->cursorF5.value->setText(QString::fromStdString(r.rightValue));
    readouts_->cursorF5.time->setText(QString::fromStdString(r.rightTime));
    readouts_->cursorF5.date->setText(QString::fromStdString(r.rightDate));
    readouts_->spanF4F5->setText(QString::fromStdString(r.difference));
}

void GraphWindow::updateHint()
{
    const bool pending = *HintPage(wb_.rec.pendingHint) != '\0';
    const QString text = pending ? QString::fromStdString(wb_.rec.pendingHintText) : QString();
    readouts_->hint->setVisible(pending);
    readouts_->hint->setToolTip(text);
    readouts_->hintText->setText(text);
    readouts_->hintText->setVisible(!text.isEmpty());
}

void GraphWindow::showHint()
{
    const char* page = HintPage(wb_.rec.pendingHint);
    if (*page)
        help_.showPage(page);
    SetHint(wb_.rec, HintNone);
    updateHint();
}

void GraphWindow::updateCaption()
{
    const int slot = isVisible() ? view_.active : 0;
    setWindowTitle(
        QString::fromStdString("Varnik Dive Analysis, Graph Window    " + wb_.rec.desc(slot).NameIn.substr(0, 40)));
}

void GraphWindow::setActiveChannel(int slot)
{
    if (slot < 0 || slot >= SlotCount || !strip(slot))
        return;
    const int old = view_.active;
    view_.active = slot;
    if (old != slot) {
        // The curve colours follow the active channel, and so does the frame.
        if (strip(old))
            strip(old)->invalidate();
        strip(slot)->invalidate();
        cross_ = QPoint(-1, -1);
        crossLinesToggled(readouts_->crossLines->isChecked());
    }
    focus_[static_cast<std::size_t>(slot)]->setFocus();
    setWindowTitle(
        QString::fromStdString("Varnik Dive Analysis, Graph Window    " + wb_.rec.desc(slot).NameIn.substr(0, 40)));
    executeRedraw(redraw::Readouts);
}

void GraphWindow::nextChannel()
{
    for (int k = 1; k <= SlotCount; ++k) {
        const int slot = (view_.active + k) % SlotCount;
        if (strip(slot)) {
            setActiveChannel(slot);
            return;
        }
    }
}

void GraphWindow::crossLinesToggled(bool on)
{
    for (int s = 0; s < SlotCount; ++s)
        if (StripImage* image = strip(s)) {
            image->setCursor(on && s == view_.active ? Qt::BlankCursor : Qt::CrossCursor);
            image->update();
        }
    if (!on)
        cross_ = QPoint(-1, -1);
}

void GraphWindow::paintCrossLines(QPainter& p, int slot)
{
    if (slot != view_.active || !readouts_->crossLines || !readouts_->crossLines->isChecked() || cross_.x() < 0)
        return;
    StripImage* image = strip(slot);
    p.setPen(QPen(TableColour(wb_.settings, ColForeground), 1));
    p.drawLine(cross_.x(), 0, cross_.x(), image->height());
    p.drawLine(0, cross_.y(), image->width(), cross_.y());
}

void GraphWindow::closeEvent(QCloseEvent* event)
{
    if (refuseWhileBusy()) {
        event->ignore();
        return;
    }
    for (const SlotData& s : wb_.rec.slots) {
        const auto slot = static_cast<std::size_t>(&s - wb_.rec.slots.data());
        if (!s.ChannelUsed || !s.ChannelModified || keepUnsaved_[slot])
            continue;
        const Answer a = ui_.ask(" Channel " + s.desc.Caption + " is modified. Save as binary file? ",
                                 Buttons::YesNoCancel, Severity::Question);
        keepUnsaved_[slot] = a == Answer::No;
        // Yes keeps the window open and starts the binary export; Cancel keeps it open.
        // Once the channel is saved whole, closing goes on with the next one.
        if (a != Answer::No) {
            event->ignore();
            if (a == Answer::Yes) {
                setActiveChannel(static_cast<int>(slot));
                QTimer::singleShot(0, this, [this, slot] {
                    runCommand("export.binary");
                    if (!wb_.rec.at(static_cast<int>(slot)).ChannelModified)
                        close();  // the channels answered No are not asked again
                    else
                        keepUnsaved_ = {};
                });
            } else {
                keepUnsaved_ = {};
            }
            return;
        }
    }
    // The protocol's rows are offered for saving; keeping them keeps the window.
    if (!CloseProtocolWindow(*this)) {
        event->ignore();
        return;
    }
    if (auto* wayWay = findChild<WayWayWindow*>("wayWayWindow"))
        wayWay->close();
    event->accept();
}

QImage GraphWindow::picture() const
{
    return area_->grab().toImage();
}

void GraphWindow::showDive()
{
    // The record describes the framed dive only when it was found, analysed
    // or gone to there; after Undo or a moved F4 the boxes stay empty until A.
    const DiveRecord& r = wb_.dive.record;
    const bool framed = wb_.dive.recordOnset >= 0 && wb_.dive.recordOnset == view_.at.F4;
    readouts_->maxDepth->setText(framed ? QString::number(r.maxDepth, 'f', 2) : QString());
    const int shape = framed ? r.shape : -1;
    for (int k = 0; k < ShapeButtonCount; ++k) {
        QToolButton* b = readouts_->shapeButtons[static_cast<std::size_t>(k)];
        b->setAutoExclusive(false);  // else the pressed one cannot be released
        b->setChecked(k == shape);   // pressed without reclassifying
        b->setAutoExclusive(true);
    }
}

void GraphWindow::refreshUndoItem()
{
    if (!undoStack_)
        return;
    QAction* a = menus_->action("process.undo");
    a->setText(QString::fromStdString(undoStack_->MenuCaption()) + "\tCtrl+Z");
    a->setEnabled(undoStack_->enabled());
}

void GraphWindow::thumbnailOfView()
{
    const ThumbnailSettings& t = wb_.settings.thumbnails;
    const QSize size(std::max(t.ThumbnailWidth, 8), std::max(t.ThumbnailHeight, 8));
    const QImage image = RenderThumbnail(scene(), view_.active, size, "");
    const bool shown = thumbnail_->isVisible();
    showThumbnail(image);
    thumbnail_->setVisible(!shown);
    SaveThumbnail(image, wb_.results.thumbnailPrefix, 0, ui_);
}

void GraphWindow::showThumbnail(const QImage& image)
{
    thumbnail_->setPixmap(QPixmap::fromImage(image));
    thumbnail_->resize(image.size());
    thumbnail_->show();
}

void GraphWindow::resizeThumbnail()
{
    const ThumbnailSettings& t = wb_.settings.thumbnails;
    thumbnail_->resize(t.ThumbnailWidth, t.ThumbnailHeight);
}

}  // namespace vk
