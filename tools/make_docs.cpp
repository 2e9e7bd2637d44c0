// Builds the documents that ship beside the program, at build time:
//
//   make_docs vkmap <Vk_map.bmp>
//       a map of the graph window's keys and mouse actions;
//   make_docs manual <manual folder> <help folder> <Manual-Kestrin.pdf>
//       the user manual: manual/Manual.rtf, then the help pages listed in
//       manual/chapters.txt;
//   make_docs figures <help folder>
//       the figures of the help pages, drawn by the program.

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextStream>
#include <QUrl>
#include <cmath>
#include <cstdio>
#include <string>

#include "HelpFigures.h"
#include "ProgramIcon.h"
#include "core/help/ProgramHelp.h"
#include "core/help/RtfToHtml.h"

namespace {

QString ReadRtf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "make_docs: cannot read %s\n", qPrintable(path));
        return {};
    }
    const QByteArray rtf = file.readAll();
    QString html = QString::fromStdString(vk::RtfToHtml(std::string_view(rtf.constData(), rtf.size())));
    html.remove("<html><body>").remove("</body></html>");
    return html;
}

bool Manual(const QString& manualFolder, const QString& helpFolder, const QString& out)
{
    QString html = "<html><body style=\"font-family: sans-serif;\">" + ReadRtf(manualFolder + "/Manual.rtf");
    QFile list(manualFolder + "/chapters.txt");
    if (!list.open(QIODevice::ReadOnly))
        return false;
    QTextStream lines(&list);
    while (!lines.atEnd()) {
        const QString page = lines.readLine().trimmed();
        if (page.isEmpty() || page.startsWith('#'))
            continue;
        html += "<hr/>" + ReadRtf(helpFolder + "/" + page);
    }
    html += "</body></html>";
    QPdfWriter pdf(out);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setResolution(150);
    pdf.setTitle("Varnik user manual");
    pdf.setCreator("Varnik");
    QTextDocument document;
    document.setMetaInformation(QTextDocument::DocumentUrl, QUrl::fromLocalFile(helpFolder + "/").toString());
    document.setHtml(html);
    document.print(&pdf);
    return QFile::exists(out);
}

// A schematic strip with its lines, and what moves them.
bool VkMap(const QString& out)
{
    QImage image(900, 640, QImage::Format_RGB888);
    image.fill(QColor(236, 236, 236));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QFont title = p.font();
    title.setPixelSize(20);
    title.setBold(true);
    QFont text = p.font();
    text.setPixelSize(13);
    p.setFont(title);
    p.drawText(20, 34, "The graph window: keys and mouse");

    const QRect strip(40, 70, 820, 200);
    p.fillRect(strip, QColor(192, 192, 192));
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(strip);
    QPainterPath curve;
    for (int x = 0; x <= strip.width(); ++x) {
        const double y = strip.top() + 40 + 120 * std::pow(std::sin(x / 140.0), 2) * (x % 280 < 200 ? 1 : 0.2);
        x == 0 ? curve.moveTo(strip.left() + x, y) : curve.lineTo(strip.left() + x, y);
    }
    p.drawPath(curve);
    auto line = [&](int x, QColor c, Qt::PenStyle s, int top, int bottom, const QString& name) {
        p.setPen(QPen(c, 2, s));
        p.drawLine(strip.left() + x, strip.top() + top, strip.left() + x, strip.top() + bottom);
        p.setFont(text);
        p.setPen(c);
        p.drawText(strip.left() + x - 12, strip.bottom() + 18, name);
    };
    line(120, Qt::blue, Qt::DotLine, 8, 192, "F4");
    line(700, Qt::blue, Qt::DotLine, 8, 192, "F5");
    line(300, Qt::blue, Qt::DotLine, 100, 180, "F8");
    line(520, Qt::blue, Qt::DotLine, 100, 180, "F9");
    line(410, QColor(0, 128, 0), Qt::SolidLine, 108, 192, "Sh");
    p.setPen(Qt::darkMagenta);
    p.drawText(strip.left() + 2, strip.top() - 6, "F1: left border");
    p.drawText(strip.right() - 100, strip.top() - 6, "F2: right border");

    const char* const keys[][2] = {
        {"F1  F2  F3", "choose the left, right or both window borders"},
        {"F4  F5  F6", "choose the left, right or both cursors (work section)"},
        {"F8  F9  F10", "choose the left, right or both B-cursors (bottom phase)"},
        {"Shift+F3", "borders and cursors together"},
        {"Left  Right", "move the chosen lines by one step"},
        {"Home  End", "move them to the start or the end"},
        {"PgUp  PgDn", "double or halve the step"},
        {"Ctrl+Left  Ctrl+Right", "page left or right"},
        {"Ctrl+F6  Shift+F6", "cursors into the window / window around the cursors"},
        {"Up  Down", "shift the curve up or down"},
        {"Ctrl+PgUp  Ctrl+PgDn", "zoom the values in or out"},
        {"Ctrl+M  Ctrl+4  Ctrl+U", "baseline: mean of F4..F5, at F4, a step up"},
        {"Tab", "the next channel becomes active"},
        {"Mouse near a line", "drag it; a click shows value, time and date"},
        {"Mouse at an edge", "click: widen the window or the range; drag: set it"},
        {"Ctrl+Z", "undo"},
    };
    p.setFont(text);
    int y = strip.bottom() + 50;
    for (const auto& k : keys) {
        p.setPen(Qt::black);
        QFont bold = text;
        bold.setBold(true);
        p.setFont(bold);
        p.drawText(40, y, k[0]);
        p.setFont(text);
        p.drawText(260, y, k[1]);
        y += 19;
    }
    p.end();
    return image.save(out, "BMP");
}

}  // namespace

int main(int argc, char** argv)
{
    static const vk::ProgramHelp help{
        "make_docs",
        "the help pages' figures, the key map and the user manual",
        {"vkmap <picture>", "figures <folder>", "manual <pages> <help> <pdf>", "icon <folder> <size> ..."},
        {"Draws what the build installs beside the help pages: the key map, the "
         "figures of the dive parameters, the manual as a PDF, and the program's icon."},
        {},
        {},
        {}};
    if (argc == 2 && vk::AnswerHelpOrVersion(help, argv[1]))
        return 0;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool ok = false;
    if (args.size() == 3 && args[1] == "vkmap")
        ok = VkMap(args[2]);
    else if (args.size() == 5 && args[1] == "manual")
        ok = Manual(args[2], args[3], args[4]);
    else if (args.size() == 3 && args[1] == "figures")
        ok = vk::figures::DiveFrame(args[2] + "/DiveFrame.png") && vk::figures::Shapes(args[2] + "/DiveShapes.png") &&
             vk::figures::BottomLevels(args[2] + "/BottomLevels.png") &&
             vk::figures::Sections(args[2] + "/DiveSections.png") && vk::figures::Polynomial(args[2] + "/poly.bmp");
    else if (args.size() >= 3 && args[1] == "icon") {
        ok = vk::icon::WriteSvg(args[2] + "/varnik.svg");
        for (qsizetype k = 3; k < args.size(); ++k)
            ok = ok && args[k].toInt() > 0 &&
                 vk::icon::WritePng(args[2] + "/varnik-" + args[k] + ".png", args[k].toInt());
    } else
        std::fputs(vk::UsageText(help).c_str(), stderr);
    return ok ? 0 : 1;
}
