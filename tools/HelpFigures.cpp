// The figures of the dive-analysis help pages: dives made up here, searched
// and analysed by the program's own engines and drawn by its own strip
// painter, then labelled.

#include "HelpFigures.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <memory>

#include "core/dive/DiveSearch.h"
#include "core/example/ExampleRecording.h"
#include "core/setup/Workbench.h"
#include "core/store/Channel.h"
#include "core/store/ConsoleDialogs.h"
#include "core/view/PixelMap.h"
#include "gui/graph/GraphPainter.h"

namespace vk::figures {

namespace {

using example::LineTo;
using example::StayFor;

constexpr int FigureWidth = 640;  // fits the help viewer and a page of the manual

// A recording whose depth channel holds `depth` (1 s a sample), searched once.
struct Dive {
    Workbench wb;
    ViewState view;
    ConsoleDialogs ui;
    NoUndo undo;

    Dive(const std::vector<double>& depth, const DiveParameters& p)
    {
        wb.rec.store.Allocate({true, false, false}, 1);
        wb.rec.at(1).ChannelUsed = wb.rec.at(2).ChannelUsed = false;
        ChannelDescriptor& d = wb.rec.desc(0);
        Channel channel(wb.rec, 0);
        d.Caption = "Depth [m]";
        channel.setInterval(1000);
        d.LowRng = -10;
        d.HighRng = 250;
        SetScaling(wb.rec, 0);
        channel.setExtent(0, static_cast<int64_t>(depth.size()));
        channel.setDirection(DrawDirection::Downwards);
        bool report = false;
        for (std::size_t i = 0; i < depth.size(); ++i)
            WriteRaw(wb.rec, static_cast<int32_t>(i), PhysToRaw(wb.rec, 0, report, depth[i]), 0);
        wb.settings.dive = p;
        DiveContext cx{wb.rec, view, wb.dive, ui, undo, {}};
        SearchNext(cx, p);
        // Frame the whole record, the depth range around the dive.
        view.at.F1 = 0;
        view.at.F2 = channel.span();
        FitDepthRange(d, wb.dive.record.maxDepth);
    }

    int column(double t, int width) const { return LineColumn(t, view.at.F1, view.at.F2, width); }
    int row(double depth, int height) const
    {
        const ChannelDescriptor& d = wb.rec.desc(0);
        return ValueToRow(depth, DisplayRangeOf(d), height, DirectionOf(d));
    }

    // The strip as the graph window draws it.
    // The depth strip as the window draws it, into `at`.
    void paint(QPainter& p, const QRect& at) const
    {
        const GraphScene scene{wb.rec, wb.settings, view, nullptr, CaptionPlace::Top, &wb.dive};
        p.save();
        p.translate(at.topLeft());
        PaintStripBase(p, at.size(), scene, 0);
        PaintStripOverlay(p, at.size(), scene, 0);
        p.restore();
    }
};

// A figure of the help pages' width on the dialogs' grey.
QImage Canvas(int height)
{
    QImage image(FigureWidth, height, QImage::Format_RGB888);
    image.fill(QColor(236, 236, 236));
    return image;
}

QFont Font(int pixels, bool bold = false)
{
    QFont f;
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

// A label under a column, and a thin line from the strip to it.
void Label(QPainter& p, int x, int top, int y, const QString& text, QColor colour = Qt::darkBlue)
{
    p.setPen(QPen(colour, 1, Qt::DotLine));
    p.drawLine(x, top, x, y - 12);
    p.setPen(colour);
    p.setFont(Font(13, true));
    const int w = p.fontMetrics().horizontalAdvance(text);
    p.drawText(x - w / 2, y, text);
}

// Surface, a descent with a stay, a bottom with small wiggles, an ascent with a stay.
std::vector<double> FramedProfile()
{
    std::vector<double> v(60, 0.0);
    LineTo(v, 30, 20);
    StayFor(v, 12);
    LineTo(v, 80, 35);
    for (int k = 0; k < 8; ++k) {
        LineTo(v, 82, 4);
        LineTo(v, 80, 4);
    }
    LineTo(v, 40, 30);
    StayFor(v, 12);
    LineTo(v, 0, 30);
    StayFor(v, 60);
    return v;
}

DiveParameters Defaults(double threshold)
{
    DiveParameters p;
    p.Threshold = threshold;
    return p;
}

}  // namespace

bool DiveFrame(const QString& out)
{
    const Dive dive(FramedProfile(), Defaults(10));
    QImage image = Canvas(330);
    QPainter p(&image);
    const QRect strip(10, 10, FigureWidth - 20, 240);
    dive.paint(p, strip);
    const LinePositions& at = dive.view.at;
    const int w = strip.width(), y = strip.bottom() + 30;
    Label(p, strip.left() + dive.column(at.F4, w), strip.bottom(), y, "F4 onset");
    const int f8 = strip.left() + dive.column(at.B1, w), f9 = strip.left() + dive.column(at.B2, w);
    Label(p, f8, strip.bottom(), y, "F8");
    Label(p, f9, strip.bottom(), y, "F9");
    p.setPen(Qt::darkBlue);
    p.drawText(QRect(f8, y - 14, f9 - f8, 18), Qt::AlignCenter, "bottom");
    Label(p, strip.left() + dive.column(at.F5, w), strip.bottom(), y, "F5 end");
    const StopTable& stops = dive.wb.dive.stops;
    for (std::size_t phase = 0; phase < 2; ++phase)
        if (stops.count[phase] > 0) {
            const DiveStop& s = stops.stop[phase][0];
            Label(p, strip.left() + dive.column((s.onset + s.end) / 2, w), strip.top() + strip.height() / 3,
                  strip.top() + strip.height() / 3 + 22, "dive stop", QColor(0, 110, 0));
        }
    if (const auto& wiggles = dive.wb.dive.wiggles; !wiggles.empty()) {
        const double t = wiggles[wiggles.size() / 2].index * 1000.0;
        Label(p, strip.left() + dive.column(t, w), strip.bottom(), y + 24, "wiggles");
    }
    p.end();
    return image.save(out, "PNG");
}

bool Polynomial(const QString& out)
{
    constexpr int Height = 64, Left = 56, Margin = 12, Baseline = 26, Rule = 32;
    const QString numerator =
        QString::fromUtf8("A + C\u00b7x + E\u00b7x\u00b2 + G\u00b7x\u00b3 + I\u00b7x\u2074 + K\u00b7x\u2075");
    const QString denominator =
        QString::fromUtf8("1 + B\u00b7x + D\u00b7x\u00b2 + F\u00b7x\u00b3 + H\u00b7x\u2074 + J\u00b7x\u2075");
    const QFontMetrics metrics(Font(16));
    const int top = metrics.horizontalAdvance(numerator), bottom = metrics.horizontalAdvance(denominator);
    const int width = std::max(top, bottom);
    QImage image(Left + width + Margin, Height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(Qt::black);
    p.setFont(Font(16));
    p.drawText(Margin, Rule + 6, "y =");
    p.drawText(Left + (width - top) / 2, Baseline, numerator);
    p.drawLine(Left, Rule, Left + width, Rule);
    p.drawText(Left + (width - bottom) / 2, Rule + 22, denominator);
    p.end();
    return image.save(out, "BMP");
}

bool Shapes(const QString& out)
{
    struct Panel {
        const char* letter;
        std::vector<double> depth;
    };
    static const char* const names[] = {"V", "U", "Y", "W", "P (parabola)", "L"};
    static const char shapes[] = "VUYWPL";
    QImage image = Canvas(400);
    QPainter p(&image);
    for (int k = 0; k < 6; ++k) {
        const Dive dive(example::ShapeProfile(shapes[k], 40), Defaults(65));
        const int cellWidth = (FigureWidth - 20) / 3;
        const QRect cell(10 + (k % 3) * cellWidth, 10 + (k / 3) * 195, cellWidth - 8, 160);
        dive.paint(p, cell);
        p.setPen(Qt::black);
        p.setFont(Font(14, true));
        const int code = dive.wb.dive.record.shape;
        p.drawText(cell.left(), cell.bottom() + 20,
                   QString("%1: found as %2").arg(names[k]).arg(code >= 0 && code <= 6 ? ShapeLetter(code) : '?'));
    }
    p.end();
    return image.save(out, "PNG");
}

bool BottomLevels(const QString& out)
{
    std::vector<double> v(60, 0.0);
    LineTo(v, 100, 60);
    LineTo(v, 96, 40);
    LineTo(v, 100, 40);
    LineTo(v, 0, 60);
    StayFor(v, 60);
    DiveParameters fixed = Defaults(10);
    fixed.BottomKind = BottomSearchKind::FixBottom;
    const Dive dive(v, fixed);
    QImage image = Canvas(320);
    QPainter p(&image);
    const QRect strip(10, 10, FigureWidth - 20, 250);
    dive.paint(p, strip);
    const double m = dive.wb.dive.record.maxDepth;
    // Levels, with a text at the left and one at the right end.
    const struct {
        double depth;
        const char *left, *right;
    } levels[] = {{0.85 * m, "0.85 x max (Slimness)", ""},
                  {fixed.ThrBott * m, "0.66 x max (Slimness)", "Thresh. Bottom 0.66: F8, F9 of \"Fix Bottom\""}};
    p.setFont(Font(13, true));
    for (const auto& level : levels) {
        const int y = strip.top() + dive.row(level.depth, strip.height());
        p.setPen(QPen(QColor(160, 0, 0), 1, Qt::DashLine));
        p.drawLine(strip.left(), y, strip.right(), y);
        p.setPen(QColor(160, 0, 0));
        p.drawText(strip.left() + 8, y - 3, level.left);
        p.drawText(strip.right() - 8 - p.fontMetrics().horizontalAdvance(level.right), y - 3, level.right);
    }
    const LinePositions& at = dive.view.at;
    Label(p, strip.left() + dive.column(at.B1, strip.width()), strip.bottom(), strip.bottom() + 30, "F8");
    Label(p, strip.left() + dive.column(at.B2, strip.width()), strip.bottom(), strip.bottom() + 30, "F9");
    p.end();
    return image.save(out, "PNG");
}

bool Sections(const QString& out)
{
    std::vector<double> v(40, 0.0);
    LineTo(v, 50, 40);
    StayFor(v, 30);
    LineTo(v, 0, 40);
    StayFor(v, 60);  // the surface before the next dive
    LineTo(v, 60, 40);
    StayFor(v, 40);
    LineTo(v, 0, 40);
    StayFor(v, 40);
    // The search has framed the first dive; the second is the one shown.
    Dive dive(v, Defaults(10));
    const double previousEnd = dive.view.at.F5;
    DiveContext cx{dive.wb.rec, dive.view, dive.wb.dive, dive.ui, dive.undo, {}};
    SearchNext(cx, dive.wb.settings.dive);
    AnalyseDive(dive.wb.rec, dive.view.at, dive.wb.settings.dive, dive.wb.dive, {}, dive.ui);
    dive.view.at.F1 = 0;
    dive.view.at.F2 = ChannelView(dive.wb.rec, 0).span();
    FitDepthRange(dive.wb.rec.desc(0), 60);

    QImage image = Canvas(380);
    QPainter p(&image);
    const QRect strip(10, 10, FigureWidth - 20, 200);
    dive.paint(p, strip);
    const LinePositions& at = dive.view.at;
    const double maxTime = dive.wb.dive.record.maxDepthIndex * 1000.0;
    const struct {
        double from, to;
        const char* name;
    } sections[] = {{at.F4, at.F5, "Dive"},   {at.F4, at.B1, "Descent"},       {at.B1, at.B2, "Bottom"},
                    {at.B2, at.F5, "Ascent"}, {maxTime, maxTime, "Max depth"}, {previousEnd, at.F4, "Surface"}};
    p.setFont(Font(13, true));
    int y = strip.bottom() + 18;
    for (const auto& s : sections) {
        const int a = strip.left() + dive.column(s.from, strip.width());
        const int b = strip.left() + dive.column(s.to, strip.width());
        p.fillRect(QRect(QPoint(a, y), QPoint(std::max(b, a + 2), y + 14)), QColor(70, 110, 180));
        p.setPen(Qt::black);
        p.drawText(std::max(b, a + 2) + 8, y + 12, s.name);
        y += 24;
    }
    p.end();
    return image.save(out, "PNG");
}

}  // namespace vk::figures
