#include "ProgramIcon.h"

#include <QFile>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace vk::icon {

namespace {

constexpr double Box = 256;  // the drawing's own square
constexpr double Corner = 40;
constexpr double Surface = 64, SurfaceWidth = 8, ProfileWidth = 12;
const char* const SeaTop = "#7fc8f0";
const char* const SeaBottom = "#0b3d6b";
const char* const SurfaceColour = "#ffffff";
const char* const ProfileColour = "#ffb000";
// Rest at the surface, descent, a bottom with wiggles, ascent, rest.
constexpr QPointF Profile[] = {{24, 64},   {56, 64},   {84, 176},  {100, 196}, {116, 186}, {132, 200},
                               {148, 188}, {164, 198}, {180, 184}, {208, 64},  {232, 64}};

}  // namespace

bool WriteSvg(const QString& path)
{
    QString points;
    for (const QPointF& p : Profile)
        points += QString("%1,%2 ").arg(p.x()).arg(p.y());
    const QString svg =
        QString(
            "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" viewBox=\"0 0 %1 %1\">\n"
            "  <defs><linearGradient id=\"sea\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">"
            "<stop offset=\"0\" stop-color=\"%2\"/><stop offset=\"1\" stop-color=\"%3\"/></linearGradient></defs>\n"
            "  <rect width=\"%1\" height=\"%1\" rx=\"%4\" fill=\"url(#sea)\"/>\n"
            "  <line x1=\"%5\" y1=\"%6\" x2=\"%7\" y2=\"%6\" stroke=\"%8\" stroke-width=\"%9\" "
            "stroke-linecap=\"round\"/>\n")
            .arg(Box)
            .arg(SeaTop, SeaBottom)
            .arg(Corner)
            .arg(Profile[0].x())
            .arg(Surface)
            .arg(Profile[std::size(Profile) - 1].x())
            .arg(SurfaceColour)
            .arg(SurfaceWidth) +
        QString(
            "  <polyline points=\"%1\" fill=\"none\" stroke=\"%2\" stroke-width=\"%3\" "
            "stroke-linejoin=\"round\" stroke-linecap=\"round\"/>\n</svg>\n")
            .arg(points.trimmed(), ProfileColour)
            .arg(ProfileWidth);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(svg.toUtf8()) == svg.toUtf8().size();
}

bool WritePng(const QString& path, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / Box, size / Box);
    QLinearGradient sea(0, 0, 0, Box);
    sea.setColorAt(0, QColor(SeaTop));
    sea.setColorAt(1, QColor(SeaBottom));
    painter.setPen(Qt::NoPen);
    painter.setBrush(sea);
    painter.drawRoundedRect(QRectF(0, 0, Box, Box), Corner, Corner);
    painter.setPen(QPen(QColor(SurfaceColour), SurfaceWidth, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(Profile[0].x(), Surface), QPointF(Profile[std::size(Profile) - 1].x(), Surface));
    painter.setPen(QPen(QColor(ProfileColour), ProfileWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(Profile, static_cast<int>(std::size(Profile)));
    painter.end();
    return image.save(path);
}

}  // namespace vk::icon
