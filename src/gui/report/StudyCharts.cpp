#include "gui/report/StudyCharts.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QBoxPlotSeries>
#include <QBoxSet>
#include <QCategoryAxis>
#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QGraphicsScene>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "core/store/TimeBase.h"

namespace vk {

const char ReportShapes[8] = "VUYWPLX";

namespace {

constexpr double MsPerHour = 3600000.0;
constexpr int DielTicks = 9;  // every third hour
constexpr int ComparisonPanelWidth = 480;
constexpr int TimelineTicks = 12;  // labels of "dd.MM. HH:mm" side by side across the time line

// A chart as a picture of its own size, white behind it.
QImage Render(QChart* chart, int width = ChartWidth, int height = ChartHeight)
{
    QGraphicsScene scene;
    scene.addItem(chart);  // the scene owns the chart from here on
    chart->setGeometry(0, 0, width, height);
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    scene.render(&painter, QRectF(0, 0, width, height), QRectF(0, 0, width, height));
    return image;
}

QChart* NewChart(const QString& title)
{
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->setBackgroundRoundness(0);
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}

QValueAxis* ValueAxis(QChart* chart, const QString& title, Qt::Alignment side, double low, double high)
{
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setRange(low, high);
    axis->applyNiceNumbers();
    axis->setLabelFormat("%g");
    chart->addAxis(axis, side);
    return axis;
}

// A time of the program's calendar as the toolkit's, in the local time the
// axis labels are written in: the labels show the recorded clock.
QDateTime DateTimeOf(double ms)
{
    const CalendarTime t = DecodeTime(ms);
    return QDateTime(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second));
}

}  // namespace

QColor ShapeColour(char shape)
{
    static const QColor colours[] = {QColor(31, 119, 180), QColor(44, 160, 44),  QColor(148, 103, 189),
                                     QColor(214, 39, 40),  QColor(255, 127, 14), QColor(140, 86, 75),
                                     QColor(127, 127, 127)};
    const char* at = std::find(ReportShapes, ReportShapes + 7, shape);
    return colours[at - ReportShapes < 7 ? at - ReportShapes : 6];
}

QImage ShapePicture(char shape)
{
    // Each profile as points (time, depth) in 0..1, depth downwards.
    static const std::vector<std::pair<char, std::vector<QPointF>>> profiles = {
        {'V', {{0, 0}, {0.5, 1}, {1, 0}}},
        {'U', {{0, 0}, {0.25, 0.95}, {0.35, 1}, {0.65, 1}, {0.75, 0.95}, {1, 0}}},
        {'Y', {{0, 0}, {0.15, 0.45}, {0.42, 0.5}, {0.5, 1}, {0.58, 0.5}, {0.85, 0.45}, {1, 0}}},
        {'W', {{0, 0}, {0.22, 0.95}, {0.35, 1}, {0.5, 0.6}, {0.65, 1}, {0.78, 0.95}, {1, 0}}},
        {'P', {{0, 0}, {0.1, 0.42}, {0.2, 0.72}, {0.3, 0.9}, {0.4, 0.98}, {0.5, 1}, {0.6, 0.98}, {0.7, 0.9},
               {0.8, 0.72}, {0.9, 0.42}, {1, 0}}},
        {'L', {{0, 0}, {0.25, 0.6}, {0.75, 1}, {1, 0}}},
        {'X', {{0, 0}, {0.2, 0.5}, {0.3, 0.3}, {0.45, 0.8}, {0.55, 0.55}, {0.7, 0.9}, {1, 0}}}};
    QImage image(ShapePictureWidth, ShapePictureHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    constexpr double margin = 4;
    const double w = ShapePictureWidth - 2 * margin, h = ShapePictureHeight - 2 * margin;
    painter.setPen(QPen(QColor(190, 190, 190), 1));
    painter.drawLine(QPointF(0, margin), QPointF(ShapePictureWidth, margin));  // the surface
    const auto at = std::find_if(profiles.begin(), profiles.end(), [shape](const auto& p) { return p.first == shape; });
    if (at == profiles.end())
        return image;
    QPolygonF line;
    for (const QPointF& p : at->second)
        line << QPointF(margin + p.x() * w, margin + p.y() * h);
    painter.setPen(QPen(ShapeColour(shape), 2.5));
    painter.drawPolyline(line);
    return image;
}

QImage DepthAgainstDuration(const RecordingStudy& r)
{
    QChart* chart = NewChart("Maximum depth against duration");
    double longest = 1, deepest = 1;
    for (const char* s = ReportShapes; *s; ++s) {
        auto* series = new QScatterSeries;
        series->setName(QString("%1-shape").arg(*s));
        series->setColor(ShapeColour(*s));
        series->setBorderColor(ShapeColour(*s));
        series->setMarkerSize(5);
        for (const StudyDive& d : r.dives)
            if (d.shape == *s) {
                series->append(d.duration / 60, d.maxDepth);
                longest = std::max(longest, d.duration / 60);
                deepest = std::max(deepest, d.maxDepth);
            }
        if (series->count() == 0) {
            delete series;
            continue;
        }
        chart->addSeries(series);
    }
    QValueAxis* x = ValueAxis(chart, "Duration [min]", Qt::AlignBottom, 0, longest * 1.05);
    QValueAxis* y = ValueAxis(chart, "Maximum depth [m]", Qt::AlignLeft, 0, deepest * 1.05);
    y->setReverse(true);  // depth downwards, as the graph window draws it
    for (QAbstractSeries* s : chart->series()) {
        s->attachAxis(x);
        s->attachAxis(y);
    }
    return Render(chart);
}

namespace {

// A histogram's bars as a stepped outline over their edges, so the axis
// carries values, not categories; its right edge in `end`, its highest count in `most`.
QLineSeries* Outline(const Histogram& h, double& end, int& most)
{
    auto* series = new QLineSeries;
    most = 1;
    double x = h.start;
    series->append(x, 0);
    for (const int n : h.counts) {
        series->append(x, n);
        series->append(x + h.width, n);
        x += h.width;
        most = std::max(most, n);
    }
    series->append(x, 0);
    QPen pen(QColor(31, 119, 180));
    pen.setWidth(2);
    series->setPen(pen);
    end = std::max(x, h.start + h.width);
    return series;
}

// A histogram's chart before its value axis: the outline, its right edge and highest count.
struct HistogramPlot {
    QChart* chart = nullptr;
    QLineSeries* series = nullptr;
    double end = 0;
    int most = 1;
};

HistogramPlot NewHistogram(const Histogram& h, const QString& title)
{
    HistogramPlot p;
    p.chart = NewChart(title);
    p.chart->legend()->hide();
    p.series = Outline(h, p.end, p.most);
    p.chart->addSeries(p.series);
    return p;
}

// The picture, once the value axis is on the chart: dives counted upwards.
QImage WithCounts(const HistogramPlot& p, QAbstractAxis* xAxis)
{
    QValueAxis* yAxis = ValueAxis(p.chart, "Dives", Qt::AlignLeft, 0, p.most * 1.1);
    yAxis->setLabelFormat("%d");
    p.series->attachAxis(xAxis);
    p.series->attachAxis(yAxis);
    return Render(p.chart);
}

}  // namespace

QImage HistogramChart(const Histogram& h, const QString& title, const QString& axis, int ticks)
{
    const HistogramPlot p = NewHistogram(h, title);
    QValueAxis* xAxis = ValueAxis(p.chart, axis, Qt::AlignBottom, h.start, p.end);
    if (ticks > 0) {  // the bins' own edges, not rounded outwards
        xAxis->setRange(h.start, p.end);
        xAxis->setTickCount(ticks);
    }
    return WithCounts(p, xAxis);
}

QImage LogDurationChart(const Histogram& h, const QString& title, const QString& axis)
{
    const HistogramPlot p = NewHistogram(h, title);
    // Ticks at durations a reader thinks in, each where its logarithm lies.
    static const std::pair<double, const char*> marks[] = {
        {1, "1 s"},       {10, "10 s"},     {60, "1 min"},   {600, "10 min"}, {3600, "1 h"},
        {36000, "10 h"},  {86400, "1 d"},   {864000, "10 d"}, {8640000, "100 d"}};
    auto* xAxis = new QCategoryAxis;
    xAxis->setTitleText(axis);
    xAxis->setRange(h.start, p.end);
    xAxis->setStartValue(h.start);
    xAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    for (const auto& [seconds, label] : marks)
        if (std::log10(seconds) >= h.start - 1e-9 && std::log10(seconds) <= p.end + 1e-9)
            xAxis->append(label, std::log10(seconds));
    p.chart->addAxis(xAxis, Qt::AlignBottom);
    return WithCounts(p, xAxis);
}

QImage DielChart(const std::array<int, 24>& counts)
{
    // The hours as a histogram of one-hour bins: a value axis labels them without crowding.
    Histogram hours;
    hours.start = 0;
    hours.width = 1;
    hours.counts.assign(counts.begin(), counts.end());
    return HistogramChart(hours, "Dives per hour of day", "Hour of day (recorded time) [h]", DielTicks);
}

QImage BoutTimeline(const RecordingStudy& r)
{
    QChart* chart = NewChart("Bouts over the record");
    chart->legend()->hide();
    auto [from, to] = RecordedSpan(r);
    if (!(to > from))
        to = from + MsPerHour;
    // Each bout a bar at the height of its number of dives, as long as the bout;
    // the time axis reads the toolkit's epoch. Pauses across samples without a
    // value are left blank: nothing is known of them.
    auto epoch = [](double ms) { return static_cast<double>(DateTimeOf(ms).toMSecsSinceEpoch()); };
    std::vector<std::pair<double, double>> blanks;
    for (const StudyDive& d : r.dives)
        if (d.pauseAcrossGap && d.pause >= 0)
            blanks.emplace_back(d.onset - d.pause * 1000, d.onset);
    std::sort(blanks.begin(), blanks.end());
    std::vector<QLineSeries*> pieces;
    const auto piece = [&pieces] {
        auto* series = new QLineSeries;
        QPen pen(QColor(44, 160, 44));
        pen.setWidth(2);
        series->setPen(pen);
        pieces.push_back(series);
        return series;
    };
    QLineSeries* series = piece();
    std::size_t blank = 0;
    const auto passBlanks = [&](double until) {
        for (; blank < blanks.size() && blanks[blank].second <= until; ++blank) {
            series->append(epoch(blanks[blank].first), 0);
            series = piece();
            series->append(epoch(blanks[blank].second), 0);
        }
    };
    int most = 1;
    series->append(epoch(from), 0);
    for (const StudyBout& b : r.bouts) {
        passBlanks(b.onset);
        const double begin = epoch(b.onset), end = epoch(b.onset + b.duration * 1000);
        series->append(begin, 0);
        series->append(begin, b.dives);
        series->append(end, b.dives);
        series->append(end, 0);
        most = std::max(most, b.dives);
    }
    passBlanks(to);
    series->append(epoch(to), 0);
    for (QLineSeries* p : pieces)
        chart->addSeries(p);
    // Ticks at round hours or midnights: the axis runs from the round time
    // before the record to the one after it.
    const double step = RoundTimeStep(to - from, TimelineTicks);
    const double first = std::floor(from / step) * step, last = std::ceil(to / step) * step;
    auto* x = new QDateTimeAxis;
    x->setTitleText("Date and time of the record");
    x->setFormat(step >= 24 * MsPerHour ? "dd.MM." : "dd.MM. HH:mm");
    x->setRange(DateTimeOf(first), DateTimeOf(last));
    x->setTickCount(static_cast<int>(std::lround((last - first) / step)) + 1);
    chart->addAxis(x, Qt::AlignBottom);
    QValueAxis* y = ValueAxis(chart, "Dives in the bout", Qt::AlignLeft, 0, most * 1.1);
    y->setLabelFormat("%d");
    for (QLineSeries* p : pieces) {
        p->attachAxis(x);
        p->attachAxis(y);
    }
    return Render(chart, ChartWidth * 2, ChartHeight * 3 / 4);
}

QImage StudyComparison(const std::vector<RecordingStudy>& study)
{
    // Three charts side by side in one picture: dives per day, duration and depth as boxes.
    constexpr int width = ComparisonPanelWidth;
    QImage image(3 * width, ChartHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QStringList names;
    for (const RecordingStudy& r : study)
        if (r.facts.error.empty())
            names << QString::fromStdString(r.name);

    QChart* perDay = NewChart("Dives per day");
    perDay->legend()->hide();
    auto* set = new QBarSet("Dives per day");
    set->setColor(QColor(31, 119, 180));
    double most = 1;
    for (const RecordingStudy& r : study)
        if (r.facts.error.empty()) {
            *set << DivesPerDay(r);
            most = std::max(most, DivesPerDay(r));
        }
    auto* bars = new QBarSeries;
    bars->append(set);
    perDay->addSeries(bars);
    auto* categories = new QBarCategoryAxis;
    categories->append(names);
    categories->setTitleText("Recording");
    perDay->addAxis(categories, Qt::AlignBottom);
    QValueAxis* y = ValueAxis(perDay, "Dives per day [1/d]", Qt::AlignLeft, 0, most * 1.1);
    bars->attachAxis(categories);
    bars->attachAxis(y);
    painter.drawImage(0, 0, Render(perDay, width, ChartHeight));

    const auto boxes = [&](const QString& title, const QString& axis, auto value) {
        QChart* chart = NewChart(title);
        chart->legend()->hide();
        auto* series = new QBoxPlotSeries;
        double top = 1;
        for (const RecordingStudy& r : study) {
            if (!r.facts.error.empty())
                continue;
            std::vector<double> values;
            for (const StudyDive& d : r.dives)
                values.push_back(value(d));
            const Spread s = SpreadOf(values);
            const double low = values.empty() ? 0 : *std::min_element(values.begin(), values.end());
            const double high = values.empty() ? 0 : *std::max_element(values.begin(), values.end());
            series->append(new QBoxSet(low, s.q1, s.median, s.q3, high, QString::fromStdString(r.name)));
            top = std::max(top, high);
        }
        series->setBrush(QColor(31, 119, 180, 90));
        chart->addSeries(series);
        auto* x = new QBarCategoryAxis;
        x->append(names);
        x->setTitleText("Recording");
        chart->addAxis(x, Qt::AlignBottom);
        QValueAxis* values = ValueAxis(chart, axis, Qt::AlignLeft, 0, top * 1.05);
        series->attachAxis(x);
        series->attachAxis(values);
        return Render(chart, width, ChartHeight);
    };
    painter.drawImage(width, 0, boxes("Dive duration (quartiles, range)", "Duration [min]", [](const StudyDive& d) {
                          return d.duration / 60;
                      }));
    painter.drawImage(
        2 * width, 0,
        boxes("Maximum depth (quartiles, range)", "Maximum depth [m]", [](const StudyDive& d) { return d.maxDepth; }));
    return image;
}

}  // namespace vk
