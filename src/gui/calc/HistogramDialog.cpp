#include "gui/calc/HistogramDialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/setup/CalcChoices.h"
#include "core/store/NumberText.h"
#include "core/store/VkDialogs.h"
#include "gui/widgets/DialogButtons.h"
#include "gui/widgets/HelpViewer.h"
#include "gui/widgets/NumberField.h"

namespace vk {

namespace {

constexpr const char* IllegalBinSize = " Illegal bin size";
constexpr const char* MeanOutside =
    " Insufficient choice of BinSize or MinBin.  Mean  outside of table. Propably wrong median!";
constexpr int ReadoutGap = 150;  // "Amount" stands this far right of "y-data"

QString General(double v)
{
    char text[48];
    std::snprintf(text, sizeof text, "%.8g", v);
    return QString::fromLatin1(text);
}

}  // namespace

HistogramPlot::HistogramPlot(QWidget* parent) : QWidget(parent), image_(ImageWidth, ImageHeight, QImage::Format_RGB32)
{
    setObjectName("imgHistogram");
    image_.fill(Qt::white);
    setFixedSize(PlotAt.x() + ImageWidth + AxisRoomRight, PlotAt.y() + ImageHeight + AxisRoomBelow);
    setMouseTracking(true);
}

void HistogramPlot::draw(const HistogramResult& h, double cut)
{
    image_.fill(Qt::white);
    const Bins& b = h.bins;
    // Over the bins that hold values, so that a record using a few of the
    // 256 bins is not squeezed into a corner.
    int lo = 0, hi = BinCount - 1;
    while (lo < hi && b.counts[static_cast<std::size_t>(lo)] == 0)
        ++lo;
    while (hi > lo && b.counts[static_cast<std::size_t>(hi)] == 0)
        --hi;
    const bool any = b.counts[static_cast<std::size_t>(lo)] > 0;
    if (!any)
        lo = 0, hi = BinCount - 1;  // an empty plot over the whole table
    const int shown = hi - lo + 1;
    range_ = {b.lowerEdge(lo), b.lowerEdge(hi) + b.width, 0, cut};
    drawn_ = true;
    if (any && cut > 0) {
        QPainter p(&image_);
        const double column = static_cast<double>(ImageWidth) / shown;
        const int barWidth = std::max(1, static_cast<int>(column) - 1);  // a pixel apart where there is room
        for (int i = lo; i <= hi; ++i) {
            const double c = static_cast<double>(b.counts[static_cast<std::size_t>(i)]);
            const int bar = static_cast<int>(std::lround(std::min(c, cut) * ImageHeight / cut));
            if (bar > 0)
                p.fillRect(static_cast<int>(std::lround((i - lo) * column)), ImageHeight - bar, barWidth, bar,
                           Qt::black);
        }
    }
    update();
}

void HistogramPlot::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(PlotAt, image_);
    if (drawn_)
        PaintPlotAxes(p, QRect(PlotAt, QSize(ImageWidth, ImageHeight)), range_);
}

void HistogramPlot::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint() - PlotAt;
    if (!drawn_ || !onMouse || at.x() < 0 || at.y() < 0 || at.x() >= ImageWidth || at.y() >= ImageHeight)
        return;
    onMouse(range_.xFrom + (range_.xTo - range_.xFrom) * at.x() / ImageWidth,
            (ImageHeight - at.y()) * (range_.yTo - range_.yFrom) / ImageHeight + range_.yFrom);
}

HistogramDialog::HistogramDialog(HistogramChoice& choice, std::function<HistogramResult(double, double)> compute,
                                 std::function<std::string(const HistogramResult&)> text, VkDialogs& ui,
                                 HelpViewer& help, QWidget* parent)
        : QDialog(parent), choice_(choice), compute_(std::move(compute)), text_(std::move(text)), ui_(ui)
{
    setObjectName("histogramDialog");
    setWindowTitle("Histogram");
    setModal(true);
    auto field = [](const char* name, const QString& text) {
        auto* e = new QLineEdit(text);
        e->setObjectName(name);
        return e;
    };
    minBin_ = field("edtMinBin", QString::fromStdString(GeneralText(choice.minBin)));
    binSize_ = field("edtBinSize", QString::fromStdString(GeneralText(choice.binSize)));
    cut_ = field("edtCut", {});
    cut_->setToolTip("Blank for best fit");
    file_ = field("edtHistFile", QString::fromStdString(choice.file));
    plot_ = new HistogramPlot;
    value_ = new QLabel("y-data");
    amount_ = new QLabel("Amount");
    value_->setFixedWidth(ReadoutGap);
    plot_->onMouse = [this](double value, double amount) {
        value_->setText("y-data " + General(value));
        amount_->setText("Amount " + General(amount));
    };
    auto button = [this](const char* text, const char* name) { return NamedButton(this, text, name); };
    QPushButton* draw = button("Draw ", "btnDraw");
    QPushButton* helpButton = button("Help", "btnHelp");
    QPushButton* cancel = button("Cancel", "btnCancel");
    export_ = button("Export", "btnExport");
    draw->setDefault(true);
    cancel->setToolTip("Leave");
    export_->setToolTip("Export hist. into file");
    export_->hide();
    connect(draw, &QPushButton::clicked, this, &HistogramDialog::drawHistogram);
    connect(helpButton, &QPushButton::clicked, this, [&help] { help.showPage("dlgHisto.rtf"); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(export_, &QPushButton::clicked, this, &HistogramDialog::exportHistogram);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel("Min. bin"), 0, 0);
    fields->addWidget(minBin_, 0, 1);
    fields->addWidget(new QLabel("Bin size"), 0, 2);
    fields->addWidget(binSize_, 0, 3);
    fields->addWidget(new QLabel("Cut at"), 0, 4);
    fields->addWidget(cut_, 0, 5);
    fields->addWidget(new QLabel("Export histogram to"), 1, 0, 1, 2);
    fields->addWidget(file_, 1, 2, 1, 4);
    auto* readouts = new QHBoxLayout;
    readouts->addWidget(value_);
    readouts->addWidget(amount_, 1);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {draw, export_, helpButton, cancel})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(plot_);
    layout->addLayout(readouts);
    layout->addLayout(buttons);
}

void HistogramDialog::drawHistogram()
{
    const std::optional<double> minBin = NumberIn(minBin_, ui_);
    const std::optional<double> width = minBin ? NumberIn(binSize_, ui_) : std::nullopt;
    if (!width)
        return;
    if (*width < 0) {
        ui_.message(IllegalBinSize, Severity::Error);
        return;
    }
    std::optional<double> cut;
    if (!cut_->text().trimmed().isEmpty() && !(cut = NumberIn(cut_, ui_)))
        return;
    choice_.minBin = *minBin;
    choice_.binSize = *width;
    choice_.file = file_->text().toStdString();
    {
        BusyCursor busy(ui_);
        result_ = compute_(*minBin, *width);
    }
    if (result_.counted && !MeanInTable(result_))
        ui_.message(MeanOutside, Severity::Warning);
    const int64_t highest = *std::max_element(result_.bins.counts.begin(), result_.bins.counts.end());
    plot_->draw(result_, cut ? *cut : static_cast<double>(highest));
    export_->show();
}

void HistogramDialog::exportHistogram()
{
    const std::string file = file_->text().toStdString();
    choice_.file = file;
    if (ExportHistogram(file, text_(result_), ui_) == HistogramExport::Written)
        accept();
}

}  // namespace vk
