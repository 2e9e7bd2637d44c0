#include "gui/dive/BoutFitWindow.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "core/store/NumberText.h"
#include "gui/widgets/HelpViewer.h"

namespace vk {

namespace {

const char* const HelpPage = "DivPar.rtf";
constexpr int Margin = 12, LeftRoom = 64, BottomRoom = 44, TickLength = 4, DotRadius = 3;
constexpr int TickCount = 6;  // about this many labelled ticks per axis
const QColor FastColour(0, 90, 200), SlowColour(210, 110, 0), MixColour(110, 110, 110), CriterionColour(200, 0, 0);

// A round step for about `count` ticks over `span`: 1, 2 or 5 times a power of ten.
double TickStep(double span, int count)
{
    const double raw = span / count;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 5.0})
        if (m * power >= raw)
            return m * power;
    return 10 * power;
}

// The value range the plot shows.
struct Frame {
    double x0, x1, y0, y1;
    QRectF area;
    QPointF at(double x, double y) const
    {
        return {area.left() + (x - x0) / (x1 - x0) * area.width(),
                area.bottom() - (y - y0) / (y1 - y0) * area.height()};
    }
};

QString Figures(const StretchFit& s)
{
    const BoutFit& f = s.fit;
    QString text = QString("%1 dives between F4 and F5, %2 pauses between them").arg(s.dives).arg(f.pauses);
    if (s.acrossGaps > 0)
        text += QString(" (%1 across gaps in the record left out)").arg(s.acrossGaps);
    text += ".\n";
    if (!f.fitted())
        return text + QString::fromStdString(f.message);
    auto withError = [](double v, double e, int decimals) {
        QString t = QString::fromStdString(FixedText(v, decimals));
        if (std::isfinite(e))
            t += " ± " + QString::fromStdString(FixedText(e, decimals));
        return t;
    };
    text += QString("Share of pauses within bouts p = %1\n").arg(withError(f.p, f.pError, 3));
    text += QString("Fast process λf = %1 /s (mean pause %2 s)\n")
                .arg(withError(f.fast, f.fastError, 5))
                .arg(QString::fromStdString(FixedText(1 / f.fast, 0)));
    text += QString("Slow process λs = %1 /s (mean pause %2 s)\n")
                .arg(withError(f.slow, f.slowError, 6))
                .arg(QString::fromStdString(FixedText(1 / f.slow, 0)));
    text += QString("Log-likelihood %1\n").arg(QString::fromStdString(FixedText(f.logLikelihood, 1)));
    text += QString("Bout-ending criterion %1 s: longer pauses end a bout.")
                .arg(QString::fromStdString(FixedText(f.criterion, 1)));
    return text;
}

}  // namespace

BoutFitPlot::BoutFitPlot(const BoutFit& fit, QWidget* parent) : QWidget(parent), fit_(fit)
{
    setObjectName("pbxBoutFit");
    setMinimumSize(360, 240);
}

void BoutFitPlot::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::white);
    const std::vector<PauseClass>& classes = fit_.classes;
    if (classes.empty()) {
        painter.drawText(rect(), Qt::AlignCenter, "No pauses to show");
        return;
    }
    Frame f{0, classes.back().to, HUGE_VAL, -HUGE_VAL, {}};
    for (const PauseClass& c : classes) {
        f.y0 = std::min(f.y0, c.logDensity);
        f.y1 = std::max(f.y1, c.logDensity);
    }
    if (fit_.fitted())
        f.y1 = std::max(f.y1, std::max(fit_.logFast(0), fit_.logSlow(0)));
    f.y0 -= 0.5;
    f.y1 += 0.5;
    f.area = QRectF(LeftRoom, Margin, width() - LeftRoom - Margin, height() - Margin - BottomRoom);

    // Axes with ticks and units.
    const QFontMetrics metrics = painter.fontMetrics();
    painter.setPen(Qt::black);
    painter.drawRect(f.area);
    const double xStep = TickStep(f.x1 - f.x0, TickCount), yStep = TickStep(f.y1 - f.y0, TickCount);
    for (double x = 0; x <= f.x1; x += xStep) {
        const QPointF p = f.at(x, f.y0);
        painter.drawLine(p, p + QPointF(0, TickLength));
        const QString label = QString::fromStdString(ShortText(x));
        painter.drawText(QPointF(p.x() - metrics.horizontalAdvance(label) / 2.0, p.y() + TickLength + metrics.ascent()),
                         label);
    }
    for (double y = std::ceil(f.y0 / yStep) * yStep; y <= f.y1; y += yStep) {
        const QPointF p = f.at(f.x0, y);
        painter.drawLine(p, p - QPointF(TickLength, 0));
        const QString label = QString::fromStdString(ShortText(std::fabs(y) < yStep / 2 ? 0.0 : y));
        painter.drawText(
            QPointF(p.x() - TickLength - 2 - metrics.horizontalAdvance(label), p.y() + metrics.ascent() / 2.0), label);
    }
    const QString xTitle = "Pause between dives [s]";
    painter.drawText(QPointF(f.area.center().x() - metrics.horizontalAdvance(xTitle) / 2.0, height() - 6), xTitle);
    painter.save();
    painter.translate(14, f.area.center().y());
    painter.rotate(-90);
    const QString yTitle = "ln frequency [1/s]";
    painter.drawText(QPointF(-metrics.horizontalAdvance(yTitle) / 2.0, 0), yTitle);
    painter.restore();

    painter.setClipRect(f.area);
    // The fitted processes: straight lines on this scale; their sum as a curve.
    if (fit_.fitted()) {
        auto line = [&](const QColor& colour, double (BoutFit::*of)(double) const) {
            painter.setPen(QPen(colour, 2));
            painter.drawLine(f.at(f.x0, (fit_.*of)(f.x0)), f.at(f.x1, (fit_.*of)(f.x1)));
        };
        line(FastColour, &BoutFit::logFast);
        line(SlowColour, &BoutFit::logSlow);
        QPainterPath sum;
        constexpr int Steps = 200;
        for (int k = 0; k <= Steps; ++k) {
            const double x = f.x0 + (f.x1 - f.x0) * k / Steps;
            const double a = fit_.logFast(x), b = fit_.logSlow(x), top = std::max(a, b);
            const QPointF p = f.at(x, top + std::log(std::exp(a - top) + std::exp(b - top)));
            k == 0 ? sum.moveTo(p) : sum.lineTo(p);
        }
        painter.setPen(QPen(MixColour, 1, Qt::DotLine));
        painter.drawPath(sum);
        const QPointF top = f.at(fit_.criterion, f.y1), bottom = f.at(fit_.criterion, f.y0);
        painter.setPen(QPen(CriterionColour, 1.5, Qt::DashLine));
        painter.drawLine(top, bottom);
        painter.setPen(CriterionColour);
        painter.drawText(top + QPointF(4, metrics.ascent() + 2),
                         QString("criterion %1 s").arg(QString::fromStdString(FixedText(fit_.criterion, 0))));
    }
    // The classes: one dot each at its middle.
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    for (const PauseClass& c : classes)
        painter.drawEllipse(f.at((c.from + c.to) / 2, c.logDensity), DotRadius, DotRadius);

    // Legend, top right.
    painter.setClipping(false);
    if (fit_.fitted()) {
        const QStringList names{"fast process (within bouts)", "slow process (between bouts)", "both together"};
        const QColor colours[] = {FastColour, SlowColour, MixColour};
        double y = f.area.top() + metrics.height() * 2;
        for (int k = 0; k < names.size(); ++k, y += metrics.height()) {
            const double x = f.area.right() - 8 - metrics.horizontalAdvance(names[k]);
            painter.setPen(QPen(colours[k], 2, k == 2 ? Qt::DotLine : Qt::SolidLine));
            painter.drawLine(QPointF(x - 26, y - metrics.ascent() / 2.0), QPointF(x - 4, y - metrics.ascent() / 2.0));
            painter.setPen(Qt::black);
            painter.drawText(QPointF(x, y), names[k]);
        }
    }
}

BoutFitWindow::BoutFitWindow(const StretchFit& fit, int currentPause, HelpViewer& help, QWidget* parent)
        : QDialog(parent), fit_(fit)
{
    setObjectName("boutFitWindow");
    setWindowTitle("Bout criterion");
    auto* plot = new BoutFitPlot(fit_.fit, this);
    auto* figures = new QLabel(Figures(fit_));
    figures->setObjectName("lblBoutFit");
    figures->setWordWrap(true);
    figures->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close | QDialogButtonBox::Help);
    if (fit_.fit.fitted()) {
        const int pause = BoutPauseOf(fit_.fit);
        auto* take = new QPushButton(QString("Take %1 s as bout pause").arg(pause));
        take->setObjectName("btnTakeCriterion");
        take->setToolTip(QString("The bout pause is %1 s now").arg(currentPause));
        buttons->addButton(take, QDialogButtonBox::AcceptRole);
        take->setDefault(true);
    }
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [&help] { help.showPage(HelpPage); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(plot, 1);
    layout->addWidget(figures);
    layout->addWidget(buttons);
}

}  // namespace vk
